#include "serialportdlg.h"

#include "dialogs/qmymessagebox.h"
#include "dialogs/qmyprogressbarmes.h"
#include "download/transferestimate.h"
#include "modulefinder.h"
#include "seriallink.h"
#include "virtualport.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>

namespace {

template <typename T>
T *named(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

}  // namespace

SerialPortDlg::SerialPortDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SerialPortDlg"));
    resize(458, 306);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    m_labPort = new QLabel(this);
    m_labBaud = new QLabel(this);
    m_portCombox = named(new QComboBox(this), "portCombox");
    // A pty or a bridge is typed as its device path.
    m_portCombox->setEditable(true);
    m_portCombox->setInsertPolicy(QComboBox::NoInsert);
    m_baudCombox = named(new QComboBox(this), "baudCombox");
    m_btnOpenClose = named(new QPushButton(this), "btnOpenClose");
    m_btnInstrTest = named(new QPushButton(this), "btnInstrTest");
    m_btnFindModule = named(new QPushButton(this), "btnFindModule");
    m_btnClose = named(new QPushButton(this), "btnClose");
    m_labConnectState = named(new QLabel(this), "labConnectState");
    m_labConnectState->setAlignment(Qt::AlignCenter);
    m_labConnectState->setWordWrap(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(40, 30, 40, 24);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(18);
    grid->addWidget(m_labPort, 0, 0);
    grid->addWidget(m_portCombox, 0, 1, 1, 3);
    grid->addWidget(m_labBaud, 1, 0);
    grid->addWidget(m_baudCombox, 1, 1, 1, 3);
    grid->addWidget(m_labConnectState, 2, 0, 1, 4);
    grid->addWidget(m_btnOpenClose, 3, 0);
    grid->addWidget(m_btnInstrTest, 3, 1);
    grid->addWidget(m_btnFindModule, 3, 2);
    grid->addWidget(m_btnClose, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);

    m_messageBox = new QMyMessageBox(this);
    // Stays above the main window, which is what the user clicks during a download; this dialog
    // itself is usually closed by then.
    m_progressDialog = new QMyProgressBarMes(parent ? parent->window() : this);

    m_link = new SerialLink(this);
    connect(m_link, &SerialLink::s_sendMes, this, &SerialPortDlg::s_sendMes);
    connect(m_link, &SerialLink::s_send485, this, &SerialPortDlg::s_send485);
    connect(m_link, &SerialLink::s_sendProbar, this, &SerialPortDlg::slotRecvProgressBar);
    connect(m_link, &SerialLink::s_showMessage, this, &SerialPortDlg::showMessage);
    connect(m_link, &SerialLink::s_openChanged, this, &SerialPortDlg::refreshConnection);
    connect(m_link, &SerialLink::s_jobFinished, this, [this](bool ok, const QString &text) {
        if (m_pictureProgressActive)
            m_progressDialog->finish(ok, text);
        m_pictureProgressActive = false;
    });

    m_virtual = new VirtualPort(this);
    m_finder = new ModuleFinder(this);
    connect(m_finder, &ModuleFinder::s_trying, this, [this](const QString &port, int baud) {
        m_state = State::Finding;
        m_findingText = port;
        m_labConnectState->setStyleSheet(QString());
        m_labConnectState->setText(tr("正在查找模块：%1，%2").arg(port).arg(baud));
    });
    connect(m_finder, &ModuleFinder::s_found, this, &SerialPortDlg::onFound);
    connect(m_finder, &ModuleFinder::s_notFound, this, &SerialPortDlg::onNotFound);

    connect(m_btnOpenClose, &QPushButton::clicked, this, &SerialPortDlg::on_btnOpenClose_clicked);
    connect(m_btnInstrTest, &QPushButton::clicked, this, &SerialPortDlg::on_btnInstrTest_clicked);
    connect(m_btnFindModule, &QPushButton::clicked, this, &SerialPortDlg::on_btnFindModule_clicked);
    connect(m_btnClose, &QPushButton::clicked, this, &SerialPortDlg::on_btnClose_clicked);

    retranslate();
    hide();
    m_btnInstrTest->setEnabled(false);
}

SerialPortDlg::~SerialPortDlg()
{
    shutDown();
    if (m_progressDialog->parent() != this)
        delete m_progressDialog;
}

void SerialPortDlg::retranslate()
{
    setWindowTitle(tr("端口选择"));
    m_labPort->setText(tr("端口："));
    m_labBaud->setText(tr("波特率："));
    m_btnInstrTest->setText(tr("通信测试"));
    m_btnFindModule->setText(m_finder && m_finder->isRunning() ? tr("停止查找") : tr("查找模块"));
    m_btnClose->setText(tr("关闭"));
    const int v = virtualIndex();
    if (v >= 0)
        m_portCombox->setItemText(v, tr("虚拟模块"));
    switch (m_state) {
    case State::Unknown:
        m_labConnectState->setText(tr("串口未连接！"));
        m_btnOpenClose->setText(tr("打开串口"));
        break;
    case State::Finding: m_labConnectState->setText(tr("正在查找模块：%1").arg(m_findingText)); break;
    case State::Open:
    case State::Closed: refreshConnection(); break;
    }
}

void SerialPortDlg::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void SerialPortDlg::showMessage(int kind, const QString &text)
{
    // With the progress window up, the job's hints ("页面下载中", its success) are said there, where
    // its result is shown, rather than a second time in a box.
    if (kind == SerialLink::Hint && m_pictureProgressActive) {
        m_progressDialog->setStatus(text);
        return;
    }
    m_messageBox->showMessage(kind, 0, 0, text);
}

int SerialPortDlg::virtualIndex() const { return m_portCombox->findData(virtualEntry()); }

void SerialPortDlg::refreshPorts()
{
    const QString openPath = m_link->isOpen() ? m_link->portName() : QString();
    const bool virtualOpen = m_virtual->isRunning() && openPath == m_virtual->devicePath();
    m_portCombox->clear();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        m_portCombox->addItem(info.portName());
    // A typed path stays in the list while it is open.
    if (!openPath.isEmpty() && !virtualOpen && m_portCombox->findText(openPath) < 0 &&
        m_portCombox->findText(QSerialPortInfo(openPath).portName()) < 0)
        m_portCombox->addItem(openPath);
    m_portCombox->addItem(tr("虚拟模块"), virtualEntry());
    int select = -1;
    if (virtualOpen)
        select = virtualIndex();
    else if (!m_link->portName().isEmpty())
        select = qMax(m_portCombox->findText(m_link->portName()),
                      m_portCombox->findText(QSerialPortInfo(m_link->portName()).portName()));
    m_portCombox->setCurrentIndex(select >= 0 ? select : 0);

    m_baudCombox->clear();
    m_baudCombox->addItems(ModuleFinder::baudRates());
    const int b = m_baudCombox->findText(QString::number(m_link->baud()));
    m_baudCombox->setCurrentIndex(b >= 0 ? b : m_baudCombox->findText(QStringLiteral("115200")));
    refreshConnection();
}

void SerialPortDlg::refreshConnection()
{
    const bool open = m_link->isOpen();
    m_state = open ? State::Open : State::Closed;
    m_btnInstrTest->setEnabled(open);
    m_labConnectState->setText(open ? tr("串口已连接！") : tr("串口已断开！"));
    m_labConnectState->setStyleSheet(open ? QStringLiteral("color:green;") : QStringLiteral("color:red;"));
    m_btnOpenClose->setText(open ? tr("关闭串口") : tr("打开串口"));
}

bool SerialPortDlg::ensureVirtualModule()
{
    if (m_virtual->isRunning())
        return true;
    bool ok = false;
    int baud = m_baudCombox->currentText().toInt(&ok);
    if (!ok || baud <= 0)
        baud = 115200;
    // Like a real module it listens at one rate, and its line carries no more than that rate.
    ModuleSettings settings;
    settings.baud = baud;
    if (!m_virtualScreen.isEmpty())
        settings.screen = m_virtualScreen;
    return m_virtual->start(settings, baud);
}

void SerialPortDlg::setVirtualScreen(const QSize &size)
{
    if (size.isEmpty())
        return;
    m_virtualScreen = size;
    if (!m_virtual->isRunning())
        return;
    // A running module keeps what it stores and the rate it listens at.
    ModuleSettings settings = m_virtual->module()->settings();
    settings.screen = size;
    if (settings.baud > 0)
        settings.baud = m_virtual->module()->baud();
    m_virtual->module()->setSettings(settings);
}

QString SerialPortDlg::selectedPortPath()
{
    const int v = virtualIndex();
    if (v >= 0 && m_portCombox->currentIndex() == v && m_portCombox->currentText() == m_portCombox->itemText(v))
        return ensureVirtualModule() ? m_virtual->devicePath() : QString();
    return m_portCombox->currentText().trimmed();
}

bool SerialPortDlg::openSelected()
{
    m_finder->cancel();
    const QString path = selectedPortPath();
    const int baud = m_baudCombox->currentText().toInt();
    const bool ok = !path.isEmpty() && baud > 0 && m_link->open(path, baud);
    refreshConnection();
    return ok;
}

bool SerialPortDlg::isBusy() const { return m_link->isBusy(); }

bool SerialPortDlg::startJob(const DownloadJob &job)
{
    m_pictureProgressActive = false;
    m_progressDetail.clear();
    return m_link->startJob(job);
}

void SerialPortDlg::shutDown()
{
    m_finder->cancel();
    // The window is closing: nobody is left to read a message about the job it ends.
    disconnect(m_link, &SerialLink::s_showMessage, this, nullptr);
    m_link->close();
    connect(m_link, &SerialLink::s_showMessage, this, &SerialPortDlg::showMessage);
}

void SerialPortDlg::slotRecvProgressBar(int total, int value)
{
    const int shown = qMin(total, value);
    if (!m_pictureProgressActive) {
        m_pictureProgressActive = true;
        m_transferClock.start();
        m_progressDialog->setProgressTitle(tr("图片下载进度"));
        m_progressDialog->startProgress();
    }
    // Progress counts two units a byte: one for erasing, one for writing.
    const TransferEstimate e =
        Transfer::estimate(shown / 2, total / 2, m_transferClock.elapsed(), m_link->baud());
    m_progressDetail = QStringLiteral("%1% · ").arg(e.percent) + Transfer::describe(e);
    m_progressDialog->setDetail(m_progressDetail);
    m_progressDialog->setProgress(total, shown);
    emit s_sendProbar(total, shown);
}

void SerialPortDlg::on_btnClose_clicked() { hide(); }

void SerialPortDlg::on_btnOpenClose_clicked()
{
    if (m_link->isOpen()) {
        m_link->close();
        refreshConnection();
        return;
    }
    openSelected();
}

void SerialPortDlg::on_btnInstrTest_clicked()
{
    if (m_link->isBusy()) {
        showMessage(QMyMessageBox::Warning, tr("下载中请稍后重试！"));
        return;
    }
    DownloadJob job;
    job.mode = DownloadMode::Command;
    job.command = QStringLiteral("GET_ADDR();\r\n");
    startJob(job);
}

void SerialPortDlg::slotComStatus(const QString &name, bool arrived)
{
    if (arrived) {
        if (m_portCombox->findText(name) < 0) {
            const int v = virtualIndex();
            m_portCombox->insertItem(v >= 0 ? v : m_portCombox->count(), name);
        }
        return;
    }
    const int i = m_portCombox->findText(name, Qt::MatchExactly);
    if (i >= 0 && i != virtualIndex())
        m_portCombox->removeItem(i);
    m_link->portRemoved(name);
    refreshConnection();
}

void SerialPortDlg::on_btnFindModule_clicked()
{
    if (m_finder->isRunning()) {
        m_finder->cancel();
        m_btnFindModule->setText(tr("查找模块"));
        refreshConnection();
        return;
    }
    if (m_link->isBusy()) {
        showMessage(QMyMessageBox::Warning, tr("下载中请稍后重试！"));
        return;
    }
    QStringList ports;
    for (int i = 0; i < m_portCombox->count(); ++i) {
        if (i == virtualIndex()) {
            if (ensureVirtualModule())
                ports << m_virtual->devicePath();
        } else {
            ports << m_portCombox->itemText(i);
        }
    }
    // The port we probe must not be held open by the link at the same time.
    m_link->close();
    m_btnFindModule->setText(tr("停止查找"));
    m_finder->start(ports);
}

void SerialPortDlg::onFound(const QString &port, int baud)
{
    m_btnFindModule->setText(tr("查找模块"));
    const bool isVirtual = m_virtual->isRunning() && port == m_virtual->devicePath();
    const int i = isVirtual ? virtualIndex() : m_portCombox->findText(port);
    if (i >= 0)
        m_portCombox->setCurrentIndex(i);
    else
        m_portCombox->setEditText(port);
    const int b = m_baudCombox->findText(QString::number(baud));
    if (b >= 0)
        m_baudCombox->setCurrentIndex(b);
    const QString shownName = isVirtual ? tr("虚拟模块") : port;
    if (m_link->open(port, baud)) {
        emit s_sendMes(SerialLink::LogLine, SerialLink::logLine(tr("--找到模块：%1，波特率%2").arg(shownName).arg(baud)));
        showMessage(QMyMessageBox::Hint, tr("已找到模块：%1，波特率%2").arg(shownName).arg(baud));
    }
    refreshConnection();
}

void SerialPortDlg::onNotFound()
{
    m_btnFindModule->setText(tr("查找模块"));
    refreshConnection();
    showMessage(QMyMessageBox::Warning, tr("未找到模块，请检查连接和电源！"));
}
