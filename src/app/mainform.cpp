#include "mainform.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QSvgRenderer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Sizes each row for the list's current width, so a long comment wraps onto further lines
// instead of running past the edge.
class WrappingDelegate : public QStyledItemDelegate
{
public:
    explicit WrappingDelegate(QListView *view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem wrapped = option;
        wrapped.rect.setWidth(m_view->viewport()->width());
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

private:
    QListView *m_view;
};

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QToolButton *toolButton(QWidget *parent, const char *name, const char *icon)
{
    auto *b = named(new QToolButton(parent), name);
    b->setIcon(QIcon(QLatin1String(icon)));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumSize(84, 62);
    return b;
}

QPixmap logoPixmap(qreal ratio)
{
    QSvgRenderer svg(QStringLiteral(":/images/logo.svg"));
    QPixmap pm((QSizeF(120, 40) * ratio).toSize());
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p);
    p.end();
    pm.setDevicePixelRatio(ratio);
    return pm;
}

QSpinBox *logoSpinBox(QWidget *parent, const char *name)
{
    auto *sb = named(new QSpinBox(parent), name);
    sb->setRange(0, 999999999);
    return sb;
}

}  // namespace

void MainForm::setupUi(QMainWindow *w)
{
    w->setObjectName(QStringLiteral("MainWindow"));
    w->resize(1303, 853);  // MainWindow::DefaultSize
    centralWidget = named(new QWidget(w), "centralWidget");
    auto *root = new QVBoxLayout(centralWidget);
    root->setContentsMargins(8, 6, 8, 8);
    root->setSpacing(6);

    // Top bar: project, device and program buttons, then the logo.
    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    btnNewPro = toolButton(centralWidget, "btnNewPro", ":/images/NewPro.png");
    btnLoadPro = toolButton(centralWidget, "btnLoadPro", ":/images/LoadPro.png");
    btnSavePro = toolButton(centralWidget, "btnSavePro", ":/images/SavePro.png");
    btnSetCOM = toolButton(centralWidget, "btnSetCOM", ":/images/Com.png");
    btnSetSys = toolButton(centralWidget, "btnSetSys", ":/images/ScreenSet.png");
    btnInstrDownLoad = toolButton(centralWidget, "btnInstrDownLoad", ":/images/DownLoad.png");
    btnHelp = toolButton(centralWidget, "btnHelp", ":/images/help.png");
    btnLanguage = toolButton(centralWidget, "btnLanguage", ":/images/Language.png");
    btnVersion = toolButton(centralWidget, "btnVersion", ":/images/Version.png");
    const QList<QToolButton *> buttons = toolButtons();
    for (int i = 0; i < buttons.size(); ++i) {
        if (i == 3 || i == 6)
            bar->addSpacing(18);
        bar->addWidget(buttons.at(i));
    }
    bar->addStretch(1);
    labLogo = named(new QLabel(centralWidget), "labLogo");
    labLogo->setPixmap(logoPixmap(w->devicePixelRatioF()));
    bar->addWidget(labLogo);
    root->addLayout(bar);
    line = named(new QFrame(centralWidget), "line");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    root->addWidget(line);

    // The areas around the canvas are sized by the user: palettes and pages | canvas over the
    // console | property panel, boot settings and library.
    splitterBody = named(new QSplitter(Qt::Horizontal, centralWidget), "splitterBody");
    splitterBody->setChildrenCollapsible(false);
    root->addWidget(splitterBody, 1);

    // Left: the palettes and the page list.
    auto *left = new QVBoxLayout;
    listView = named(new QListView(centralWidget), "listView");
    listViewDraw = named(new QListView(centralWidget), "listViewDraw");
    left->addWidget(listView);
    left->addWidget(listViewDraw);
    auto *pageRow = new QHBoxLayout;
    label = named(new QLabel(centralWidget), "label");
    btnPageAdd = named(new QPushButton(centralWidget), "btnPageAdd");
    btnPageSub = named(new QPushButton(centralWidget), "btnPageSub");
    btnPageAdd->setFixedWidth(34);
    btnPageSub->setFixedWidth(34);
    pageRow->addWidget(label, 1);
    pageRow->addWidget(btnPageAdd);
    pageRow->addWidget(btnPageSub);
    left->addLayout(pageRow);
    listWidget = named(new QListWidget(centralWidget), "listWidget");
    left->addWidget(listWidget, 1);
    auto *leftHolder = named(new QWidget(splitterBody), "leftColumn");
    leftHolder->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    splitterBody->addWidget(leftHolder);

    // Centre: the design area over the command console.
    splitterCentre = named(new QSplitter(Qt::Vertical, splitterBody), "splitterCentre");
    splitterCentre->setChildrenCollapsible(false);
    scrollArea = named(new QScrollArea(splitterCentre), "scrollArea");
    scrollArea->setWidgetResizable(true);
    scrollAreaWidgetContents = named(new QWidget, "scrollAreaWidgetContents");
    canvasLayout = new QVBoxLayout(scrollAreaWidgetContents);
    canvasLayout->setContentsMargins(16, 8, 16, 16);
    labFramePressPos = named(new QLabel(scrollAreaWidgetContents), "labFramePressPos");
    // As tall from the start as with a position in it, so the canvas under it never shifts.
    labFramePressPos->setText(QStringLiteral("Pos(0,0)"));
    labFramePressPos->setFixedHeight(labFramePressPos->sizeHint().height());
    labFramePressPos->clear();
    canvasLayout->addWidget(labFramePressPos, 0, Qt::AlignLeft);
    frame = named(new QFrame(scrollAreaWidgetContents), "frame");
    canvasLayout->addWidget(frame, 0, Qt::AlignLeft | Qt::AlignTop);
    canvasLayout->addStretch(1);
    scrollArea->setWidget(scrollAreaWidgetContents);
    scrollArea->setMinimumHeight(160);
    splitterCentre->addWidget(scrollArea);

    groupBox = named(new QGroupBox(splitterCentre), "groupBox");
    auto *console = new QHBoxLayout(groupBox);
    console->setContentsMargins(4, 4, 4, 4);
    // Instructions being written | examples | what the module said.
    splitterConsole = named(new QSplitter(Qt::Horizontal, groupBox), "splitterConsole");
    splitterConsole->setChildrenCollapsible(false);
    console->addWidget(splitterConsole);
    auto *cmdHolder = new QWidget(splitterConsole);
    auto *cmdColumn = new QVBoxLayout(cmdHolder);
    cmdColumn->setContentsMargins(0, 0, 0, 0);
    textBrowser = named(new QTextBrowser(groupBox), "textBrowser");
    textBrowser->setReadOnly(false);
    cmdColumn->addWidget(textBrowser, 1);
    auto *cmdButtons = new QHBoxLayout;
    labInstrCount = named(new QLabel(groupBox), "labInstrCount");
    btnClearCmd = named(new QPushButton(groupBox), "btnClearCmd");
    cbSendTarget = named(new QComboBox(groupBox), "cbSendTarget");
    // On a row of its own with the send button, so the examples beside keep their room.
    cbSendTarget->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbSendTarget->setMinimumContentsLength(7);
    btnSendCmd = named(new QPushButton(groupBox), "btnSendCmd");
    cmdButtons->addWidget(labInstrCount, 1);
    cmdButtons->addWidget(btnClearCmd);
    cmdColumn->addLayout(cmdButtons);
    auto *sendRow = new QHBoxLayout;
    sendRow->addWidget(cbSendTarget, 1);
    sendRow->addWidget(btnSendCmd);
    cmdColumn->addLayout(sendRow);
    splitterConsole->addWidget(cmdHolder);
    listViewCmd = named(new QListView(splitterConsole), "listViewCmd");
    listViewCmd->setMinimumWidth(160);
    listViewCmd->setWordWrap(true);
    listViewCmd->setResizeMode(QListView::Adjust);
    listViewCmd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listViewCmd->setItemDelegate(new WrappingDelegate(listViewCmd));
    splitterConsole->addWidget(listViewCmd);
    frameDebug = named(new QFrame(splitterConsole), "frameDebug");
    auto *debug = new QVBoxLayout(frameDebug);
    debug->setContentsMargins(0, 0, 0, 0);
    textBrowserRecv = named(new QTextBrowser(frameDebug), "textBrowserRecv");
    btnClearRecv = named(new QPushButton(frameDebug), "btnClearRecv");
    debug->addWidget(textBrowserRecv, 1);
    debug->addWidget(btnClearRecv, 0, Qt::AlignRight);
    splitterConsole->addWidget(frameDebug);
    // Dragged down as far as it goes, the console keeps two lines of text over its buttons: no
    // fixed minimum, so the splitter stops at what the console's layout needs once styled.
    const int twoLines = 2 * textBrowser->fontMetrics().lineSpacing() + 2 * textBrowser->frameWidth() + 8;
    textBrowser->setMinimumHeight(twoLines);
    textBrowserRecv->setMinimumHeight(twoLines);
    splitterCentre->addWidget(groupBox);
    splitterCentre->setStretchFactor(0, 1);
    splitterCentre->setStretchFactor(1, 0);
    splitterBody->addWidget(splitterCentre);

    // Right: the property panel, the boot settings and the picture library.
    splitterRight = named(new QSplitter(Qt::Vertical, splitterBody), "splitterRight");
    splitterRight->setChildrenCollapsible(false);
    frameDesignParent = named(new QFrame(splitterRight), "frameDesignParent");
    frameDesignParent->setFrameShape(QFrame::StyledPanel);
    auto *design = new QVBoxLayout(frameDesignParent);
    design->setContentsMargins(0, 0, 0, 0);
    designWnd = named(new QWidget(frameDesignParent), "designWnd");
    auto *designLayout = new QVBoxLayout(designWnd);
    designLayout->setContentsMargins(0, 0, 0, 0);
    design->addWidget(designWnd);
    frameDesignParent->setMinimumHeight(120);
    splitterRight->addWidget(frameDesignParent);

    auto *bootHolder = named(new QWidget(splitterRight), "bootColumn");
    auto *boot = new QVBoxLayout(bootHolder);
    boot->setContentsMargins(0, 0, 0, 0);
    boot->setSpacing(2);
    auto *bootRow = new QHBoxLayout;
    label_2 = named(new QLabel(centralWidget), "label_2");
    cbBootJump = named(new QComboBox(centralWidget), "cbBootJump");
    bootRow->addWidget(label_2);
    bootRow->addWidget(cbBootJump, 1);
    boot->addLayout(bootRow);

    groupBox_2 = named(new QGroupBox(centralWidget), "groupBox_2");
    auto *logo = new QGridLayout(groupBox_2);
    // Compact: the property panel and the library above and below want the height.
    logo->setContentsMargins(4, 2, 4, 2);
    logo->setHorizontalSpacing(6);
    logo->setVerticalSpacing(2);
    label_3 = named(new QLabel(groupBox_2), "label_3");
    editLogo1 = named(new QLineEdit(groupBox_2), "editLogo1");
    editLogo1->setReadOnly(true);
    btnLogo1 = named(new QPushButton(groupBox_2), "btnLogo1");
    btnRemoveLogo1 = named(new QPushButton(groupBox_2), "btnRemoveLogo1");
    label_4 = named(new QLabel(groupBox_2), "label_4");
    editLogo2 = named(new QLineEdit(groupBox_2), "editLogo2");
    editLogo2->setReadOnly(true);
    btnLogo2 = named(new QPushButton(groupBox_2), "btnLogo2");
    btnRemoveLogo2 = named(new QPushButton(groupBox_2), "btnRemoveLogo2");
    logo->addWidget(label_3, 0, 0);
    logo->addWidget(editLogo1, 0, 1);
    logo->addWidget(btnLogo1, 0, 2);
    logo->addWidget(btnRemoveLogo1, 0, 3);
    logo->addWidget(label_4, 1, 0);
    logo->addWidget(editLogo2, 1, 1);
    logo->addWidget(btnLogo2, 1, 2);
    logo->addWidget(btnRemoveLogo2, 1, 3);
    label_6 = named(new QLabel(groupBox_2), "label_6");
    sbLogoX = logoSpinBox(groupBox_2, "sbLogoX");
    label_7 = named(new QLabel(groupBox_2), "label_7");
    sbLogoY = logoSpinBox(groupBox_2, "sbLogoY");
    label_8 = named(new QLabel(groupBox_2), "label_8");
    sbLogoW = logoSpinBox(groupBox_2, "sbLogoW");
    label_9 = named(new QLabel(groupBox_2), "label_9");
    sbLogoH = logoSpinBox(groupBox_2, "sbLogoH");
    label_5 = named(new QLabel(groupBox_2), "label_5");
    sbLogoTime = logoSpinBox(groupBox_2, "sbLogoTime");
    logo->addWidget(label_6, 2, 0);
    logo->addWidget(sbLogoX, 2, 1);
    logo->addWidget(label_7, 2, 2);
    logo->addWidget(sbLogoY, 2, 3);
    logo->addWidget(label_8, 3, 0);
    logo->addWidget(sbLogoW, 3, 1);
    logo->addWidget(label_9, 3, 2);
    logo->addWidget(sbLogoH, 3, 3);
    logo->addWidget(label_5, 4, 0, 1, 2);
    logo->addWidget(sbLogoTime, 4, 2, 1, 2);
    boot->addWidget(groupBox_2);
    boot->addStretch(1);
    splitterRight->addWidget(bootHolder);

    auto *libraryHolder = named(new QWidget(splitterRight), "libraryColumn");
    auto *right = new QVBoxLayout(libraryHolder);
    right->setContentsMargins(0, 0, 0, 0);
    tabWidgetImageFont = named(new QTabWidget(libraryHolder), "tabWidgetImageFont");
    tab1 = named(new QWidget, "tab1");
    auto *imageTab = new QVBoxLayout(tab1);
    imageTab->setContentsMargins(4, 4, 4, 4);
    tvImage = named(new QTableView(tab1), "tvImage");
    tvImage->setSelectionBehavior(QAbstractItemView::SelectRows);
    imageTab->addWidget(tvImage, 1);
    labImageSize = named(new QLabel(tab1), "labImageSize");
    progressBarDown = named(new QProgressBar(tab1), "progressBarDown");
    imageTab->addWidget(labImageSize);
    imageTab->addWidget(progressBarDown);
    tabWidgetImageFont->addTab(tab1, QString());
    tab2 = named(new QWidget, "tab2");
    auto *fontTab = new QVBoxLayout(tab2);
    fontTab->setContentsMargins(4, 4, 4, 4);
    tvFont = named(new QTableView(tab2), "tvFont");
    fontTab->addWidget(tvFont);
    tabWidgetImageFont->addTab(tab2, QString());
    right->addWidget(tabWidgetImageFont, 1);
    // Says what delete mode is while it lasts.
    labDeleteHint = named(new QLabel(centralWidget), "labDeleteHint");
    labDeleteHint->setWordWrap(true);
    labDeleteHint->hide();
    right->addWidget(labDeleteHint);
    auto *libButtons = new QHBoxLayout;
    btnImageFontAdd = named(new QPushButton(centralWidget), "btnImageFontAdd");
    btnImageFontSub = named(new QPushButton(centralWidget), "btnImageFontSub");
    btnImageFontAll = named(new QPushButton(centralWidget), "btnImageFontAll");
    btnImageFontCannel = named(new QPushButton(centralWidget), "btnImageFontCannel");
    btnDownLoad = named(new QPushButton(centralWidget), "btnDownLoad");
    for (QPushButton *b : {btnImageFontAdd, btnImageFontSub, btnImageFontAll, btnImageFontCannel, btnDownLoad})
        libButtons->addWidget(b);
    btnImageFontAdd->setFixedWidth(34);
    btnImageFontSub->setFixedWidth(34);
    right->addLayout(libButtons);
    libraryHolder->setMinimumHeight(140);
    splitterRight->addWidget(libraryHolder);
    splitterRight->setMinimumWidth(300);
    splitterBody->addWidget(splitterRight);

    w->setCentralWidget(centralWidget);

    auto action = [w](const char *name) { return named(new QAction(w), name); };
    actionUseDocument = action("actionUseDocument");
    actionDocument = action("actionDocument");
    actionInstr = action("actionInstr");
    actionProgram = action("actionProgram");
    actionNotice = action("actionNotice");
    actionOffline = action("actionOffline");
    actionStudy = action("actionStudy");
    actionSupport = action("actionSupport");
}

QList<QSplitter *> MainForm::splitters() const
{
    return {splitterBody, splitterCentre, splitterRight, splitterConsole};
}

void MainForm::setDefaultSizes()
{
    // Pixels at the first window size; when the window grows the extra room goes to the canvas,
    // the console's examples, the property panel and the library (3:2), never to the boot settings.
    const int right = qMax(370, splitterRight->minimumSizeHint().width());
    const int left = qMax(200, splitterBody->widget(0)->minimumSizeHint().width());
    splitterBody->setSizes({left, 1303 - left - right, right});
    splitterBody->setStretchFactor(0, 0);
    splitterBody->setStretchFactor(1, 1);
    splitterBody->setStretchFactor(2, 0);
    splitterCentre->setSizes({500, 230});
    splitterConsole->setSizes({150, 400, 150});
    splitterConsole->setStretchFactor(0, 1);
    splitterConsole->setStretchFactor(1, 2);
    splitterConsole->setStretchFactor(2, 1);
    const int boot = splitterRight->widget(1)->sizeHint().height();
    splitterRight->setSizes({290, boot, 230});
    splitterRight->setStretchFactor(0, 3);
    splitterRight->setStretchFactor(1, 0);
    splitterRight->setStretchFactor(2, 2);
}

QList<QToolButton *> MainForm::toolButtons() const
{
    return {btnNewPro, btnLoadPro, btnSavePro, btnSetCOM, btnSetSys, btnInstrDownLoad, btnHelp, btnLanguage, btnVersion};
}

void MainForm::setCanvas(QWidget *canvas)
{
    if (canvas == frame)
        return;
    delete canvasLayout->replaceWidget(frame, canvas);
    delete frame;
    frame = canvas;
    canvas->setObjectName(QStringLiteral("frame"));
}

void MainForm::retranslateUi(QMainWindow *w)
{
    w->setWindowTitle(QStringLiteral("Tavo"));
    btnNewPro->setText(tr("新建"));
    btnLoadPro->setText(tr("导入"));
    btnSavePro->setText(tr("保存"));
    btnSetCOM->setText(tr("端口选择"));
    btnSetSys->setText(tr("显示屏设置"));
    btnInstrDownLoad->setText(tr("下载"));
    btnHelp->setText(tr("上手指引"));
    btnLanguage->setText(tr("语言"));
    btnVersion->setText(tr("版本信息"));
    int imageTab = tabWidgetImageFont->indexOf(tab1);
    if (imageTab >= 0)
        tabWidgetImageFont->setTabText(imageTab, tr("图库"));
    int fontTab = tabWidgetImageFont->indexOf(tab2);
    if (fontTab >= 0)
        tabWidgetImageFont->setTabText(fontTab, tr("字库"));
    btnImageFontAdd->setText(QStringLiteral("+"));
    btnImageFontSub->setText(QStringLiteral("-"));
    btnImageFontAll->setText(tr("全选"));
    btnImageFontCannel->setText(tr("取消"));
    btnDownLoad->setText(tr("下载"));
    groupBox->setTitle(tr("命令控制台"));
    btnClearCmd->setText(tr("清空"));
    btnSendCmd->setText(tr("发送"));
    btnClearRecv->setText(tr("清空"));
    label_2->setText(tr("BOOT跳转页："));
    groupBox_2->setTitle(tr("开机动画"));
    label_3->setText(tr("起始动画ID："));
    label_4->setText(tr("结束动画ID："));
    btnLogo1->setText(tr("设置"));
    btnLogo2->setText(tr("设置"));
    btnRemoveLogo1->setText(tr("移除"));
    btnRemoveLogo2->setText(tr("移除"));
    label_6->setText(tr("动画X："));
    label_7->setText(tr("动画Y："));
    label_8->setText(tr("动画W："));
    label_9->setText(tr("动画H："));
    label_5->setText(tr("动画时间(毫秒)："));
    label->setText(tr("添加或删除页"));
    btnPageAdd->setText(QStringLiteral("+"));
    btnPageSub->setText(QStringLiteral("-"));

    const struct {
        QAction *action;
        QString text;
    } help[] = {
        {actionUseDocument, tr("Tavo使用文档")}, {actionDocument, tr("LXP应用文档")},
        {actionInstr, tr("LXP指令集")},          {actionProgram, tr("LXP编程实例")},
        {actionNotice, tr("LXP使用注意事项")},   {actionOffline, tr("LXP图片脱机上传流程")},
        {actionStudy, tr("LXP视频学习资料")},    {actionSupport, tr("技术支持窗口")},
    };
    for (const auto &h : help) {
        h.action->setText(h.text);
        h.action->setToolTip(h.text);
    }
}
