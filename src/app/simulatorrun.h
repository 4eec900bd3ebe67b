#pragma once

#include "download/downloadjob.h"
#include "seriallink.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <memory>

class PtyDevice;
#include "simulatorwindow.h"
class VirtualModule;

// "模拟运行": a virtual module in this process on a real pty, the project downloaded to it over
// the serial link exactly as to a module, and the simulator window on it. Lives as long as the
// main window; the module keeps running between runs, so a program or the console can go on
// talking to it.
class SimulatorRun : public QObject {
    Q_OBJECT
public:
    explicit SimulatorRun(QWidget *windowParent, QObject *parent = nullptr);
    ~SimulatorRun() override;

    // Starts the download of the job to the module (whose screen gets this size) and shows the
    // window. False with a message when it cannot start.
    bool start(const DownloadJob &job, const QSize &screen, QString *error);
    // Sends hand-written instructions to the module as a command job. False with a message when
    // the simulator is not running or busy.
    bool send(const QString &text, QString *error);
    bool isBusy() const { return m_link && m_link->isBusy(); }
    bool isShown() const;
    // Started and its window open: what the console may send to. Closing the window stops it
    // as a target (the module itself keeps running for programs on the pty).
    bool isRunning() const;

    VirtualModule *module() const { return m_module.get(); }
    SimulatorWindow *window() const { return m_window; }
    SerialLink *link() const { return m_link.get(); }
    // The pty a program of the user's can open to talk to the same module.
    QString devicePath() const;

signals:
    // The download of a run ended.
    void s_finished(bool ok, const QString &message);
    // A line of the communication log.
    void s_log(const QString &line);
    void s_runningChanged(bool running);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool ensureModule(const QSize &screen, QString *error);
    void updateRunning();

    QPointer<QWidget> m_windowParent;
    std::unique_ptr<PtyDevice> m_pty;
    std::unique_ptr<VirtualModule> m_module;
    std::unique_ptr<SerialLink> m_link;
    QPointer<SimulatorWindow> m_window;
    const QObject *m_filteredWindow = nullptr;  // the window whose events are watched, never dereferenced
    bool m_downloading = false;
    bool m_running = false;
};
