#pragma once

#include "virtualmodule.h"

#include <QObject>
#include <QString>

#include <memory>

class PtyDevice;

// A virtual module served in this process on a real pseudo-terminal: what the port name
// "virtual" stands for. The host opens devicePath() like any serial port.
class VirtualPort : public QObject {
    Q_OBJECT
public:
    explicit VirtualPort(QObject *parent = nullptr);
    ~VirtualPort() override;

    // Creates the pty and starts the module. lineBaud > 0 holds reading to that wire speed.
    // A module started with settings.baud set understands only that rate, and reading follows
    // the rate a "BPS(n)" moves it to.
    bool start(const ModuleSettings &settings = ModuleSettings(), qint64 lineBaud = 0, QString *error = nullptr);
    void stop();
    bool isRunning() const { return m_module != nullptr; }

    QString devicePath() const;
    VirtualModule *module() const { return m_module.get(); }
    PtyDevice *pty() const { return m_pty.get(); }

private:
    std::unique_ptr<PtyDevice> m_pty;
    std::unique_ptr<VirtualModule> m_module;
};
