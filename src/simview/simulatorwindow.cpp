#include "simulatorwindow.h"

#include "screenview.h"
#include "script/moduletext.h"
#include "support/zoomlevels.h"
#include "virtualmodule.h"

#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

SimulatorWindow::SimulatorWindow(VirtualModule *module, QWidget *parent) : QWidget(parent), m_module(module)
{
    setObjectName(QStringLiteral("SimulatorWindow"));
    m_view = new ScreenView;
    m_view->setObjectName(QStringLiteral("screenView"));
    auto *scroll = m_scroll = new QScrollArea;
    scroll->setWidget(m_view);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);

    m_labPage = new QLabel;
    m_labPage->setObjectName(QStringLiteral("labPage"));
    m_labDirection = new QLabel;
    m_labDirection->setObjectName(QStringLiteral("labDirection"));
    m_labBacklight = new QLabel;
    m_labBacklight->setObjectName(QStringLiteral("labBacklight"));
    m_labZoom = new QLabel;
    m_cbZoom = new QComboBox;
    m_cbZoom->setObjectName(QStringLiteral("cbZoom"));
    for (const int z : ZoomLevels::all())
        m_cbZoom->addItem(ZoomLevels::label(z), z);
    m_cbZoom->setCurrentIndex(m_cbZoom->findData(m_view->zoomPercent()));
    auto *status = new QHBoxLayout;
    status->addWidget(m_labPage);
    status->addSpacing(12);
    status->addWidget(m_labDirection);
    status->addSpacing(12);
    status->addWidget(m_labBacklight);
    status->addStretch();
    status->addWidget(m_labZoom);
    status->addWidget(m_cbZoom);

    m_log = new QPlainTextEdit;
    m_log->setObjectName(QStringLiteral("textLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(MaxLogLines);
    m_editCommand = new QLineEdit;
    m_editCommand->setObjectName(QStringLiteral("editCommand"));
    m_editCommand->setClearButtonEnabled(true);
    m_btnSend = new QPushButton;
    m_btnSend->setObjectName(QStringLiteral("btnSend"));
    m_btnClearLog = new QPushButton;
    m_btnClearLog->setObjectName(QStringLiteral("btnClearLog"));
    auto *commandRow = new QHBoxLayout;
    commandRow->addWidget(m_editCommand, 1);
    commandRow->addWidget(m_btnSend);
    commandRow->addWidget(m_btnClearLog);

    auto *top = new QWidget;
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addLayout(status);
    topLayout->addWidget(scroll, 1);
    auto *bottom = new QWidget;
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_log, 1);
    bottomLayout->addLayout(commandRow);
    auto *split = m_split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split);

    m_frameTimer.setSingleShot(true);
    connect(&m_frameTimer, &QTimer::timeout, this, &SimulatorWindow::refresh);
    connect(m_cbZoom, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_view->setZoomPercent(m_cbZoom->itemData(index).toInt()); });
    connect(m_btnSend, &QPushButton::clicked, this, &SimulatorWindow::onSendClicked);
    connect(m_editCommand, &QLineEdit::returnPressed, this, &SimulatorWindow::onSendClicked);
    connect(m_btnClearLog, &QPushButton::clicked, m_log, &QPlainTextEdit::clear);
    if (m_module) {
        connect(m_module, &VirtualModule::stateChanged, this, &SimulatorWindow::scheduleRefresh);
        connect(m_module, &VirtualModule::commandReceived, this,
                [this](const QString &command) { appendLog(tr("收到"), command); });
        connect(m_module, &VirtualModule::answered, this, [this](const QByteArray &answer) {
            appendLog(tr("应答"), QString::fromLatin1(answer).trimmed());
        });
        connect(m_module, &VirtualModule::noted, this, [this](const QString &note) { appendLog(tr("提示"), note); });
        connect(m_view, &ScreenView::s_pressed, m_module, &VirtualModule::press);
        connect(m_view, &ScreenView::s_released, m_module, &VirtualModule::releasePress);
    }
    retranslateUi();
    refresh();
    const QScreen *screen = QGuiApplication::primaryScreen();
    fitScreen(screen ? screen->availableGeometry().size() : QSize(1280, 800));
}

void SimulatorWindow::fitScreen(const QSize &room)
{
    // What lies around the screen: margins, the status row, the scroll area's frame, and a log
    // of a few lines with the command row under it.
    layout()->activate();
    const QMargins m = layout()->contentsMargins();
    const int frame = 2 * m_scroll->frameWidth();
    const int log = 6 * fontMetrics().lineSpacing() + m_editCommand->sizeHint().height() + 8;
    const int status = qMax(m_labZoom->sizeHint().height(), m_cbZoom->sizeHint().height()) + 6;
    const QSize around(m.left() + m.right() + frame + 4,
                       m.top() + m.bottom() + status + frame + m_split->handleWidth() + log + 8);
    // Windows frames and title bars take a little more.
    const QSize free = room - QSize(16, 48);
    const int zoom = ZoomLevels::largestFitting([&](int z) { return m_view->sizeAt(z) + around; }, free, 200);
    m_cbZoom->setCurrentIndex(m_cbZoom->findData(zoom));
    m_view->setZoomPercent(zoom);
    const QSize shown = m_view->sizeAt(zoom) + around;
    resize(qMax(shown.width(), 560), shown.height());
    const int top = m_view->height() + frame + status;
    m_split->setSizes({top, log});
    m_fittedFor = m_view->image().size();
}

void SimulatorWindow::retranslateUi()
{
    setWindowTitle(tr("模拟器"));
    m_labZoom->setText(tr("缩放："));
    m_btnSend->setText(tr("发送"));
    m_btnClearLog->setText(tr("清空"));
    m_editCommand->setPlaceholderText(tr("输入指令，例如 SET_TXT(0,'你好');"));
    refresh();
}

void SimulatorWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void SimulatorWindow::scheduleRefresh()
{
    if (!m_frameTimer.isActive())
        m_frameTimer.start(FrameIntervalMs);
}

QString SimulatorWindow::statusText() const
{
    return m_labPage->text() + QLatin1Char(' ') + m_labDirection->text() + QLatin1Char(' ') + m_labBacklight->text();
}

QString SimulatorWindow::logText() const { return m_log->toPlainText(); }

void SimulatorWindow::refresh()
{
    if (!m_module)
        return;
    const ModuleRuntime &rt = m_module->runtime();
    m_view->setImage(rt.display());
    // A screen of another size or turned the other way is shown whole again.
    if (!m_fittedFor.isEmpty() && m_view->image().size() != m_fittedFor) {
        const QScreen *screen = this->screen();
        fitScreen(screen ? screen->availableGeometry().size() : QSize(1280, 800));
    }
    m_labPage->setText(rt.currentPage() < 0 ? tr("页面：无") : tr("页面：%1").arg(rt.currentPage()));
    static const char *const directions[] = {QT_TR_NOOP("竖屏1"), QT_TR_NOOP("横屏1"), QT_TR_NOOP("竖屏2"),
                                             QT_TR_NOOP("横屏2")};
    m_labDirection->setText(tr("方向：%1 (%2)").arg(tr(directions[rt.direction() & 3])).arg(rt.direction()));
    m_labBacklight->setText(rt.lcdOn() ? tr("背光：%1").arg(rt.backlight()) : tr("背光：%1 (屏幕关闭)").arg(rt.backlight()));
}

void SimulatorWindow::appendLog(const QString &kind, const QString &text)
{
    m_log->appendPlainText(QStringLiteral("%1 %2: %3")
                               .arg(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz")), kind,
                                    text.left(400)));
}

void SimulatorWindow::sendCommand(const QString &text)
{
    if (!m_module || text.trimmed().isEmpty())
        return;
    m_module->inject(ModuleText::encode(text) + "\r\n");
}

void SimulatorWindow::onSendClicked()
{
    const QString text = m_editCommand->text();
    if (text.trimmed().isEmpty())
        return;
    sendCommand(text);
    m_editCommand->selectAll();
}
