#pragma once

#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

// Tells when a serial port appears or disappears, by port name ("ttyUSB0", as QSerialPortInfo
// names it). On Linux the source is a udev monitor of the tty subsystem; without udev the list of
// ports is compared once a second.
class QMyNativeEventFilter : public QObject {
    Q_OBJECT
public:
    explicit QMyNativeEventFilter(QObject *parent = nullptr);
    ~QMyNativeEventFilter() override;

    // True when events come from udev rather than from polling.
    bool usesUdev() const { return m_monitor != nullptr; }

    // Ports that appeared (true) and disappeared (false) between two listings, in listing order.
    static QVector<QPair<QString, bool>> changes(const QStringList &before, const QStringList &after);

signals:
    void comStatus(const QString &name, bool arrived);

private:
    void onUdevEvent();
    void poll();

    void *m_udev = nullptr;     // struct udev
    void *m_monitor = nullptr;  // struct udev_monitor
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_pollTimer;
    QStringList m_ports;
};
