#include "virtualport.h"

#include "ptydevice.h"

VirtualPort::VirtualPort(QObject *parent) : QObject(parent) {}

VirtualPort::~VirtualPort() { stop(); }

bool VirtualPort::start(const ModuleSettings &settings, qint64 lineBaud, QString *error)
{
    stop();
    auto pty = std::make_unique<PtyDevice>();
    if (!pty->openPty(error))
        return false;
    pty->setBaud(lineBaud);
    m_pty = std::move(pty);
    m_module = std::make_unique<VirtualModule>();
    m_module->setSettings(settings);
    PtyDevice *device = m_pty.get();
    m_module->setLineRateSource([device] { return device->lineRate(); });
    if (lineBaud > 0 && settings.baud > 0)
        connect(m_module.get(), &VirtualModule::baudChanged, device, [device](int baud) { device->setBaud(baud); });
    m_module->attach(device);
    return true;
}

void VirtualPort::stop()
{
    // The module first: it must not hear the pty closing.
    m_module.reset();
    m_pty.reset();
}

QString VirtualPort::devicePath() const { return m_pty ? m_pty->slavePath() : QString(); }
