// Undo and redo of the main window: the history's view of the project, the actions, the
// modified mark, and whether there is anything to lose on exit or import.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "file/projectfolders.h"
#include "projecthistory.h"
#include "setscreensizedlg.h"

#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

void MainWindow::setupHistory()
{
    m_history = new ProjectHistory(this, this);
    QUndoStack *stack = m_history->stack();
    m_undoAction = new QAction(this);
    m_undoAction->setObjectName(QStringLiteral("actionUndo"));
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = new QAction(this);
    m_redoAction->setObjectName(QStringLiteral("actionRedo"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addAction(m_undoAction);
    addAction(m_redoAction);
    connect(m_undoAction, &QAction::triggered, this, [this]() {
        m_history->checkpoint();
        m_history->stack()->undo();
    });
    connect(m_redoAction, &QAction::triggered, this, [this]() { m_history->stack()->redo(); });
    connect(stack, &QUndoStack::indexChanged, this, &MainWindow::updateHistoryActions);
    connect(stack, &QUndoStack::cleanChanged, this, &MainWindow::updateTitle);

    m_historyView = new QDialog(this);
    m_historyView->setObjectName(QStringLiteral("historyDialog"));
    auto *layout = new QVBoxLayout(m_historyView);
    auto *view = new QUndoView(stack, m_historyView);
    view->setObjectName(QStringLiteral("undoView"));
    layout->addWidget(view);
    m_historyView->resize(280, 360);

    auto *bar = statusBar();
    for (QAction *a : {m_undoAction, m_redoAction}) {
        auto *b = new QToolButton(bar);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bar->addWidget(b);
    }
    m_historyButton = new QToolButton(bar);
    m_historyButton->setObjectName(QStringLiteral("btnHistory"));
    connect(m_historyButton, &QToolButton::clicked, m_historyView, &QDialog::show);
    bar->addWidget(m_historyButton);

    updateHistoryActions();
}

void MainWindow::updateHistoryActions()
{
    QUndoStack *stack = m_history->stack();
    const QString undo = stack->undoText();
    const QString redo = stack->redoText();
    m_undoAction->setText(undo.isEmpty() ? tr("撤销") : tr("撤销“%1”").arg(undo));
    m_redoAction->setText(redo.isEmpty() ? tr("重做") : tr("重做“%1”").arg(redo));
    m_undoAction->setEnabled(stack->canUndo());
    m_redoAction->setEnabled(stack->canRedo());
    m_historyButton->setText(tr("历史记录"));
    m_historyView->setWindowTitle(tr("历史记录"));
    if (auto *view = m_historyView->findChild<QUndoView *>()) {
        const QString empty = tr("<打开时的项目>");
        if (view->emptyLabel() != empty)
            view->setEmptyLabel(empty);
    }
}

void MainWindow::updateTitle()
{
    const bool modified = m_history && m_history->isModified() && App::isProjectOpen();
    setWindowTitle(tr("路径：") + m_titlePath + (modified ? QStringLiteral(" *") : QString()));
}

bool MainWindow::hasUnsavedWork()
{
    if (!App::isProjectOpen())
        return false;
    m_history->checkpoint();
    return m_history->isModified() || m_loadIncomplete || !QFileInfo::exists(App::projectPath())
        || ProjectFolders::picturesChangedSinceSave(projectFolder());
}

void MainWindow::retranslateHistory()
{
    m_history->retranslate();
    // The view's model copies no texts but does not hear of renamed commands: give it a new one.
    if (auto *view = m_historyView->findChild<QUndoView *>()) {
        view->setStack(nullptr);
        view->setStack(m_history->stack());
    }
    updateHistoryActions();
}

ProjectHistory *MainWindow::history() const
{
    return m_history;
}

// ---- what the history sees of the project ---------------------------------------------------

ProjectData MainWindow::historyFields() const
{
    ProjectData d = projectFields();
    // Values the module confirms and the page shown are not edits.
    d.baud.clear();
    d.blValue = 0;
    d.currentPage = 0;
    d.parentImageNum = 0;
    d.parentBackgroundNum = 0;
    return d;
}

void MainWindow::applyHistoryFields(const ProjectData &f)
{
    if (f.frameW > 0 && f.frameH > 0
        && (f.dpi != m_screenSizeDlg->resolutionText() || f.screenType != m_frame->screenType()
            || f.frameW != m_frame->frameW() || f.frameH != m_frame->frameH())) {
        m_screenSizeDlg->setResolutionText(f.dpi);
        setPageSize(f.frameW, f.frameH, f.screenType);
    }
    m_logo1 = f.logo1;
    m_logo2 = f.logo2;
    ui.editLogo1->setText(m_logo1 == -1 ? QString() : QString::number(m_logo1));
    ui.editLogo2->setText(m_logo2 == -1 ? QString() : QString::number(m_logo2));
    ui.sbLogoX->setValue(f.logoX);
    ui.sbLogoY->setValue(f.logoY);
    ui.sbLogoW->setValue(f.logoW);
    ui.sbLogoH->setValue(f.logoH);
    ui.sbLogoTime->setValue(f.logoTime);
    m_bootPage = f.bootPage;
    showBootPage();
}

void MainWindow::replaceAllPages(const QVector<PageData> &pages, int shown)
{
    ProjectData d = projectFields();
    d.pages = pages;
    d.currentPage = shown;
    clearProject();
    applyProjectData(d, false);
}

void MainWindow::showHistoryPage(int n)
{
    if (!m_table->isValidPage(n))
        return;
    refreshPageLabels();
    {
        const QSignalBlocker block(ui.listWidget);
        ui.listWidget->setCurrentRow(n);
    }
    showPage(n);
}

PageTable *MainWindow::historyTable() const
{
    return m_table;
}

QMyFrame *MainWindow::historyCanvas() const
{
    return m_frame;
}

bool MainWindow::historyActive() const
{
    return App::isProjectOpen();
}
