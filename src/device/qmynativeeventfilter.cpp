#include "qmynativeeventfilter.h"

#include <QSerialPortInfo>
#include <QSocketNotifier>

#ifdef TAVO_HAVE_UDEV
#include <libudev.h>
#endif

namespace {

QStringList portNames()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}

}  // namespace

QMyNativeEventFilter::QMyNativeEventFilter(QObject *parent) : QObject(parent), m_pollTimer(this)
{
#ifdef TAVO_HAVE_UDEV
    struct udev *u = udev_new();
    struct udev_monitor *mon = u ? udev_monitor_new_from_netlink(u, "udev") : nullptr;
    if (mon && udev_monitor_filter_add_match_subsystem_devtype(mon, "tty", nullptr) == 0 &&
        udev_monitor_enable_receiving(mon) == 0) {
        m_udev = u;
        m_monitor = mon;
        m_notifier = new QSocketNotifier(udev_monitor_get_fd(mon), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &QMyNativeEventFilter::onUdevEvent);
        return;
    }
    if (mon)
        udev_monitor_unref(mon);
    if (u)
        udev_unref(u);
#endif
    m_ports = portNames();
    m_pollTimer.setInterval(1000);
    connect(&m_pollTimer, &QTimer::timeout, this, &QMyNativeEventFilter::poll);
    m_pollTimer.start();
}

QMyNativeEventFilter::~QMyNativeEventFilter()
{
#ifdef TAVO_HAVE_UDEV
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(static_cast<struct udev_monitor *>(m_monitor));
    if (m_udev)
        udev_unref(static_cast<struct udev *>(m_udev));
#endif
}

QVector<QPair<QString, bool>> QMyNativeEventFilter::changes(const QStringList &before, const QStringList &after)
{
    QVector<QPair<QString, bool>> out;
    for (const QString &name : after)
        if (!before.contains(name))
            out.append({name, true});
    for (const QString &name : before)
        if (!after.contains(name))
            out.append({name, false});
    return out;
}

void QMyNativeEventFilter::poll()
{
    const QStringList now = portNames();
    const auto diff = changes(m_ports, now);
    m_ports = now;
    for (const auto &c : diff)
        emit comStatus(c.first, c.second);
}

void QMyNativeEventFilter::onUdevEvent()
{
#ifdef TAVO_HAVE_UDEV
    struct udev_device *dev = udev_monitor_receive_device(static_cast<struct udev_monitor *>(m_monitor));
    if (!dev)
        return;
    const QString action = QString::fromLatin1(udev_device_get_action(dev));
    const QString name = QString::fromLocal8Bit(udev_device_get_sysname(dev));
    // Virtual consoles are ttys too; serial ports have a device behind them.
    const bool serial = udev_device_get_parent(dev) != nullptr;
    udev_device_unref(dev);
    if (name.isEmpty())
        return;
    if (action == QLatin1String("add") && serial)
        emit comStatus(name, true);
    else if (action == QLatin1String("remove"))
        emit comStatus(name, false);
#endif
}
