#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "canvas/palettes.h"
#include "canvas/qmystandarditemmodel.h"
#include "canvas/qmyframe.h"
#include "canvas/modulelook.h"
#include "canvas/zoombox.h"
#include "canvas/qmywidget.h"
#include "languagedlg.h"
#include "projecthistory.h"
#include "propertypanel.h"
#include "qttreepropertybrowser.h"
#include "library/librarypanel.h"
#include "library/picturecache.h"
#include "library/picturefiles.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/serialportdlg.h"
#include "seriallink.h"
#include "simulatorrun.h"
#include "setscreensizedlg.h"
#include "systemsettings.h"
#include "dialogs/version.h"

#include <QAction>
#include <QCloseEvent>
#include <QStatusBar>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLayout>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QTextEdit>
#include <QUndoStack>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <utility>

static void initResources()
{
    Q_INIT_RESOURCE(app);
    Q_INIT_RESOURCE(translations);
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initResources();
    ui.setupUi(this);
    ui.retranslateUi(this);

    QFile qss(QStringLiteral(":qss/Rodo.qss"));
    if (qss.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromLatin1(qss.readAll()));
    qss.close();

    for (QToolButton *b : ui.toolButtons()) {
        auto *shadow = new QGraphicsDropShadowEffect(b);
        shadow->setOffset(1, 2);
        shadow->setColor(QColor(43, 43, 43, 255));
        shadow->setBlurRadius(8);
        b->setGraphicsEffect(shadow);
    }

    m_infoBox = new QMyMessageBox(this);
    m_questionBox = new QMyMessageBox(this);
    connect(m_questionBox, &QMyMessageBox::s_sendIsNo, this, &MainWindow::slotDealIsNo);
    m_autoSaveTimer = new QTimer(this);
    connect(m_autoSaveTimer, &QTimer::timeout, this, &MainWindow::slotTimerAutoSavePro);

    m_screenSizeDlg = new SetScreenSizeDlg(this);
    ui.progressBarDown->hide();
    setupDownload();

    // One canvas for all pages; it is shown once a project gives it a page size.
    m_table = new PageTable(this);
    m_frame = new QMyFrame;
    m_frame->setPageTable(m_table);
    ui.setCanvas(m_frame);
    qRegisterMetaType<QMyWidget *>("QMyWidget *");
    qRegisterMetaType<QMyDrawType *>("QMyDrawType *");
    connect(m_frame, &QMyFrame::s_sendPressWnd, this, &MainWindow::slotRecvWnd);
    connect(m_frame, &QMyFrame::s_sendParent, this, &MainWindow::slotRecvParent);
    connect(m_frame, &QMyFrame::s_delAction, this, &MainWindow::slotDelAction);
    connect(m_frame, &QMyFrame::s_sendPressPos, this, &MainWindow::slotRecvFramePressPos);
    m_frame->hide();

    m_controlModel = new QMyStandardItemModel(this);
    m_drawModel = new QMyStandardItemModel(this);
    Palettes::setupControlView(ui.listView, m_controlModel);
    Palettes::setupDrawView(ui.listViewDraw, m_drawModel, m_table);
    auto *browser = new QtTreePropertyBrowser(ui.designWnd);
    ui.designWnd->layout()->addWidget(browser);
    m_panel = new PropertyPanel(this, browser);
    setUpLibrary();

    m_helpMenu = new QMenu(this);
    m_helpMenu->addAction(ui.actionUseDocument);
    m_helpMenu->addAction(ui.actionDocument);
    m_helpMenu->addAction(ui.actionStudy);
    m_helpMenu->addAction(ui.actionSupport);
    ui.btnHelp->setMenu(m_helpMenu);
    ui.btnHelp->setPopupMode(QToolButton::DelayedPopup);
    ui.tabWidgetImageFont->removeTab(1);
    ui.labImageSize->hide();

    m_languageDlg = new LanguageDlg(this);
    connect(m_languageDlg, &LanguageDlg::s_translator, this, &MainWindow::slotRefleshUI);
    m_version = new Version(this);

    m_pageMenu = new QMenu(this);
    m_actCopy = m_pageMenu->addAction(QIcon(QStringLiteral(":images/copy.png")), tr("页面复制"));
    m_actPaste = m_pageMenu->addAction(QIcon(QStringLiteral(":images/paste.png")), tr("页面粘贴"));
    connect(m_actCopy, &QAction::triggered, this, &MainWindow::slotCopyAction);
    connect(m_actPaste, &QAction::triggered, this, &MainWindow::slotPasteAction);
    ui.listWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    setupPageNames();

    connectForm();
    setupBootPage();
    setupKeys();
    retranslateKeys();
    setupHistory();
    setupBindings();
    statusBar()->addPermanentWidget(new ModuleLookSwitch(m_frame, statusBar()));
    statusBar()->addPermanentWidget(new ZoomBox(m_frame, statusBar()));
    setupSimulator();
    ui.setDefaultSizes();

    if (App::isProjectOpen() && !QFileInfo(App::projectPath()).isFile()) {
        // A project named on the command line that is not there: nothing is created, and the
        // window starts with no project open.
        App::projectPath().clear();
        setTitlePath(App::programPath());
        message(m_infoBox, QMyMessageBox::Error, 0, 0, tr("加载项目路径错误，导入失败！"));
    } else if (App::isProjectOpen()) {
        setTitlePath(App::projectPath());
        const QString restored = reloadLibrary();
        // A file that cannot be read fully is said so at once, as on import.
        if (!loadProject())
            message(m_infoBox, QMyMessageBox::Error, 0, 0,
                    withNote(tr("加载控件错误，可能该项目之前未做保存操作，导入失败！"), restored));
        else if (!restored.isEmpty())
            message(m_infoBox, QMyMessageBox::Hint, 0, 0, restored);
    } else {
        setTitlePath(App::programPath());
    }
}

MainWindow::~MainWindow()
{
    m_autoSaveTimer->stop();
    // Unsettled picture changes are the next opening's to put back.
    if (App::isProjectOpen())
        PictureFiles::leaveUnsavedNote(App::projectPath());
    // The history is a child destroyed after this body: its stack's last signals must not reach
    // a window that is half gone.
    if (m_history)
        disconnect(m_history->stack(), nullptr, this, nullptr);
    // Likewise the port closing and the simulator stopping as the children go.
    if (m_serialPortDlg)
        disconnect(m_serialPortDlg->link(), nullptr, this, nullptr);
    if (m_simulator)
        disconnect(m_simulator, nullptr, this, nullptr);
}

void MainWindow::connectForm()
{
    connect(ui.btnNewPro, &QToolButton::clicked, this, &MainWindow::on_btnNewPro_clicked);
    connect(ui.btnLoadPro, &QToolButton::clicked, this, &MainWindow::on_btnLoadPro_clicked);
    connect(ui.btnSavePro, &QToolButton::clicked, this, &MainWindow::on_btnSavePro_clicked);
    connect(ui.btnSetCOM, &QToolButton::clicked, this, &MainWindow::on_btnSetCOM_clicked);
    connect(ui.btnSetSys, &QToolButton::clicked, this, &MainWindow::on_btnSetSys_clicked);
    connect(ui.btnInstrDownLoad, &QToolButton::clicked, this, &MainWindow::on_btnInstrDownLoad_clicked);
    connect(ui.btnHelp, &QToolButton::clicked, this, &MainWindow::on_btnHelp_clicked);
    connect(ui.btnLanguage, &QToolButton::clicked, this, &MainWindow::on_btnLanguage_clicked);
    connect(ui.btnVersion, &QToolButton::clicked, this, &MainWindow::on_btnVersion_clicked);

    connect(ui.listWidget, &QListWidget::currentRowChanged, this, &MainWindow::on_listWidget_currentRowChanged);
    connect(ui.listWidget, &QListWidget::clicked, this, &MainWindow::on_listWidget_clicked);
    connect(ui.listWidget, &QListWidget::customContextMenuRequested, this,
            &MainWindow::on_listWidget_customContextMenuRequested);
    connect(ui.btnPageAdd, &QPushButton::clicked, this, &MainWindow::on_btnPageAdd_clicked);
    connect(ui.btnPageSub, &QPushButton::clicked, this, &MainWindow::on_btnPageSub_clicked);

    connect(ui.tvImage, &QTableView::clicked, this, &MainWindow::on_tvImage_clicked);
    connect(ui.tvFont, &QTableView::clicked, this, &MainWindow::on_tvFont_clicked);
    connect(ui.tabWidgetImageFont, &QTabWidget::currentChanged, this, &MainWindow::on_tabWidgetImageFont_currentChanged);
    connect(ui.btnImageFontAdd, &QPushButton::clicked, this, &MainWindow::on_btnImageFontAdd_clicked);
    connect(ui.btnImageFontSub, &QPushButton::clicked, this, &MainWindow::on_btnImageFontSub_clicked);
    connect(ui.btnImageFontAll, &QPushButton::clicked, this, &MainWindow::on_btnImageFontAll_clicked);
    connect(ui.btnImageFontCannel, &QPushButton::clicked, this, &MainWindow::on_btnImageFontCannel_clicked);
    connect(ui.btnDownLoad, &QPushButton::clicked, this, &MainWindow::on_btnDownLoad_clicked);
    connect(ui.listViewDraw, &QListView::clicked, this, &MainWindow::on_listViewDraw_clicked);
    connect(ui.listViewCmd, &QListView::doubleClicked, this, &MainWindow::on_listViewCmd_doubleClicked);
    connect(ui.btnClearCmd, &QPushButton::clicked, this, &MainWindow::on_btnClearCmd_clicked);
    connect(ui.btnSendCmd, &QPushButton::clicked, this, &MainWindow::on_btnSendCmd_clicked);
    connect(ui.btnClearRecv, &QPushButton::clicked, this, &MainWindow::on_btnClearRecv_clicked);
    connect(ui.textBrowser, &QTextBrowser::textChanged, this, &MainWindow::on_textBrowser_textChanged);

    connect(ui.btnLogo1, &QPushButton::clicked, this, &MainWindow::on_btnLogo1_clicked);
    connect(ui.btnLogo2, &QPushButton::clicked, this, &MainWindow::on_btnLogo2_clicked);
    connect(ui.btnRemoveLogo1, &QPushButton::clicked, this, &MainWindow::on_btnRemoveLogo1_clicked);
    connect(ui.btnRemoveLogo2, &QPushButton::clicked, this, &MainWindow::on_btnRemoveLogo2_clicked);

    connect(ui.actionUseDocument, &QAction::triggered, this, &MainWindow::on_actionUseDocument_triggered);
    connect(ui.actionDocument, &QAction::triggered, this, &MainWindow::on_actionDocument_triggered);
    connect(ui.actionInstr, &QAction::triggered, this, &MainWindow::on_actionInstr_triggered);
    connect(ui.actionProgram, &QAction::triggered, this, &MainWindow::on_actionProgram_triggered);
    connect(ui.actionNotice, &QAction::triggered, this, &MainWindow::on_actionNotice_triggered);
    connect(ui.actionOffline, &QAction::triggered, this, &MainWindow::on_actionOffline_triggered);
    connect(ui.actionStudy, &QAction::triggered, this, &MainWindow::on_actionStudy_triggered);
    connect(ui.actionSupport, &QAction::triggered, this, &MainWindow::on_actionSupport_triggered);
}

void MainWindow::message(QMyMessageBox *box, int type, int buttons, int code, const QString &text)
{
    box->showMessage(type, buttons, code, text);
}

void MainWindow::setTitlePath(const QString &path)
{
    m_titlePath = path;
    updateTitle();
}

bool MainWindow::autoSaveActive() const
{
    return m_autoSaveTimer->isActive();
}

int MainWindow::autoSaveInterval() const
{
    return m_autoSaveTimer->interval();
}

// ---- answers to questions -------------------------------------------------------------------

void MainWindow::slotDealIsNo(int code)
{
    switch (code) {
    case 1:
        deleteCurrentPage();
        break;
    case 3:
        deleteTickedPictures();
        break;
    case 5:
        deleteTickedFonts();
        break;
    case 7:
        if (saveProject())
            message(m_infoBox, QMyMessageBox::Hint, 0, 0, tr("保存成功！"));
        else
            message(m_infoBox, QMyMessageBox::Warning, 0, 0, tr("路径错误，保存失败！"));
        break;
    case 9:
        m_questionBox->hide();
        importChosenProject();
        break;
    case 11:
        startProjectDownload();
        break;
    case 15:
        stopDownloadAndClose();
        break;
    case 41:
        moveItemsInside();
        break;
    case 13:
        if (saveProject()) {
            finishClose();
        } else {
            message(m_infoBox, QMyMessageBox::Warning, 0, 0, tr("路径错误，保存失败！"));
        }
        break;
    case 14:
        if (App::isProjectOpen())
            discardPictureChanges();
        finishClose();
        break;
    default:
        // 2, 4, 6, 8, 10: No to a question that changes nothing. The download answers are
        // handled with that area.
        break;
    }
}

// ---- language -------------------------------------------------------------------------------

void MainWindow::slotRefleshUI(const QString &)
{
    m_languageDlg->retranslateUi();
    retranslateBindings();
    m_version->retranslate();
    m_screenSizeDlg->retranslateUi();
    retranslateWindow();
    m_panel->rebuild();
    retranslateDownload();
}

void MainWindow::retranslateWindow()
{
    m_actCopy->setText(tr("页面复制"));
    m_actPaste->setText(tr("页面粘贴"));
    m_actRenamePage->setText(tr("重命名页面"));
    m_frame->retranslate();
    showBootPage();
    ui.retranslateUi(this);
    setTitlePath(App::isProjectOpen() ? App::projectPath() : App::programPath());
    Palettes::fillControlModel(m_controlModel);
    Palettes::fillDrawModel(m_drawModel);
    ui.listViewDraw->setCurrentIndex(m_drawModel->index(m_table->drawTool(), 0));
    m_questionBox->retranslate();
    m_infoBox->retranslate();
    m_library->retranslate();
    retranslateHistory();
    retranslateSimulator();
    retranslateKeys();
}

void MainWindow::on_btnLanguage_clicked()
{
    m_languageDlg->show();
    m_languageDlg->raise();
}

void MainWindow::on_btnVersion_clicked()
{
    m_version->show();
    m_version->raise();
}

// ---- exit -----------------------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent *event)
{
    PictureCache::global().prefetch(std::exchange(m_picturesToPrefetch, {}));
    QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (downloadHoldsClose()) {
        event->ignore();
        return;
    }
    // Nothing to lose: no question.
    if (m_closeConfirmed || !App::isProjectOpen() || !hasUnsavedWork()) {
        event->accept();
        // The pictures are as saved (or settled by the answer to the question).
        if (App::isProjectOpen() && !m_closeConfirmed)
            PictureFiles::dropUnsavedNote(App::projectPath());
        m_autoSaveTimer->stop();
        shutDownDownload();
        emit s_closing();
        return;
    }
    event->ignore();
    const QString question = m_loadIncomplete
        ? tr("该项目未能完整导入，保存将覆盖原项目文件。退出软件前是否保存当前项目？")
        : tr("退出软件前是否保存当前项目？");
    // Yes saves and exits, No exits without saving, Cancel keeps the window and the project.
    message(m_questionBox, QMyMessageBox::Hint, 4, 13, question);
}

void MainWindow::finishClose()
{
    m_closeConfirmed = true;
    close();
    QCoreApplication::quit();
}

bool MainWindow::textEntryActive() const
{
    const QWidget *focus = focusWidget();
    if (qobject_cast<const QLineEdit *>(focus) || qobject_cast<const QAbstractSpinBox *>(focus))
        return true;
    if (const auto *edit = qobject_cast<const QTextEdit *>(focus))
        return !edit->isReadOnly();
    // Any other widget that takes typed text; item views take input only to find a row.
    return focus && focus->testAttribute(Qt::WA_InputMethodEnabled) && !qobject_cast<const QAbstractItemView *>(focus);
}

// ---- areas wired up with their own features ---------------------------------------------------

void MainWindow::slotRecvParent(int kind, QMyDrawType *draw)
{
    m_panel->slotRecvParent(kind, draw);
}

void MainWindow::slotRecvWnd(QMyWidget *w)
{
    m_panel->slotRecvWnd(w);
}

void MainWindow::slotDelAction()
{
    m_frame->deleteSelection();
}

void MainWindow::slotRecvFramePressPos(const QPoint &pos)
{
    ui.labFramePressPos->setText(QStringLiteral("Pos(%1,%2)").arg(pos.x()).arg(pos.y()));
}

void MainWindow::on_listWidget_clicked(const QModelIndex &) {}
void MainWindow::on_listViewDraw_clicked(const QModelIndex &) {}
