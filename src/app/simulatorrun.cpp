#include "simulatorrun.h"

#include "ptydevice.h"
#include "simulatorwindow.h"
#include "virtualmodule.h"

#include <QCoreApplication>
#include <QEvent>

SimulatorRun::SimulatorRun(QWidget *windowParent, QObject *parent) : QObject(parent), m_windowParent(windowParent) {}

SimulatorRun::~SimulatorRun()
{
    if (m_link)
        m_link->close();
    delete m_window;
}

bool SimulatorRun::ensureModule(const QSize &screen, QString *error)
{
    if (!m_module) {
        m_pty = std::make_unique<PtyDevice>();
        QString why;
        if (!m_pty->openPty(&why)) {
            *error = tr("无法启动模拟器：%1").arg(why);
            m_pty.reset();
            return false;
        }
        m_module = std::make_unique<VirtualModule>();
        m_module->attach(m_pty.get());
    }
    if (m_module->settings().screen != screen) {
        ModuleSettings settings = m_module->settings();
        settings.screen = screen;
        m_module->setSettings(settings);
    }
    if (!m_link) {
        m_link = std::make_unique<SerialLink>();
        connect(m_link.get(), &SerialLink::s_sendMes, this, [this](int code, const QString &text) {
            if (code == SerialLink::LogLine && !text.isEmpty())
                emit s_log(text);
        });
        connect(m_link.get(), &SerialLink::s_jobFinished, this, [this](bool ok, const QString &message) {
            if (!m_downloading)
                return;
            m_downloading = false;
            emit s_finished(ok, message);
        });
    }
    if (!m_link->isOpen() && !m_link->open(m_pty->slavePath(), 115200)) {
        *error = tr("无法启动模拟器：%1").arg(m_link->errorString());
        return false;
    }
    if (!m_window) {
        m_window = new SimulatorWindow(m_module.get(), m_windowParent);
        // A dialog-type window of the main window: window managers keep it above the main window
        // (transient for it) instead of letting it fall behind on the next click there.
        m_window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        m_window->installEventFilter(this);
        m_filteredWindow = m_window;
    }
    return true;
}

bool SimulatorRun::start(const DownloadJob &job, const QSize &screen, QString *error)
{
    if (isBusy()) {
        *error = tr("下载中请稍后重试！");
        return false;
    }
    if (!ensureModule(screen, error))
        return false;
    m_window->show();
    m_window->raise();
    m_downloading = true;
    if (!m_link->startJob(job)) {
        m_downloading = false;
        *error = tr("无法启动模拟器：%1").arg(m_link->errorString());
        return false;
    }
    return true;
}

bool SimulatorRun::send(const QString &text, QString *error)
{
    if (!m_link || !m_link->isOpen()) {
        *error = tr("模拟器未运行！");
        return false;
    }
    if (isBusy()) {
        *error = tr("下载中请稍后重试！");
        return false;
    }
    DownloadJob job;
    job.mode = DownloadMode::Command;
    job.command = text + QStringLiteral("\r\n");
    return m_link->startJob(job);
}

bool SimulatorRun::isShown() const { return m_window && m_window->isVisible(); }

bool SimulatorRun::isRunning() const { return isShown() && m_link && m_link->isOpen(); }

void SimulatorRun::updateRunning()
{
    const bool running = isRunning();
    if (running == m_running)
        return;
    m_running = running;
    emit s_runningChanged(running);
}

bool SimulatorRun::eventFilter(QObject *watched, QEvent *event)
{
    // Looked at once the show or hide has been carried out.
    // The window is compared by address only: it may be part way through its destruction.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched == m_filteredWindow)
        QMetaObject::invokeMethod(this, &SimulatorRun::updateRunning, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

QString SimulatorRun::devicePath() const { return m_pty ? m_pty->slavePath() : QString(); }
