#pragma once

#include "virtualmodule.h"

#include <QString>

#include <functional>

class QThread;
class VirtualPort;

// A virtual module served from a thread of its own: many of them at once (a batch of downloads)
// neither share one event loop nor take time from the window's.
class VirtualPortThread {
public:
    VirtualPortThread();
    ~VirtualPortThread();
    VirtualPortThread(const VirtualPortThread &) = delete;
    VirtualPortThread &operator=(const VirtualPortThread &) = delete;

    // As VirtualPort::start, in the module's thread.
    bool start(const ModuleSettings &settings = ModuleSettings(), qint64 lineBaud = 0, QString *error = nullptr);
    // Closes the pty: the port disappears.
    void stop();
    bool isRunning() const { return !m_path.isEmpty(); }
    QString devicePath() const { return m_path; }
    // Runs fn on the module in its thread and returns once it has run (nothing when stopped).
    void withModule(const std::function<void(VirtualModule *)> &fn);

private:
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr;  // lives in m_thread
    VirtualPort *m_port = nullptr; // lives in m_thread
    QString m_path;
};
