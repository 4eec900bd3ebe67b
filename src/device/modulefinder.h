#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

// Looks for a module that answers: every port at every rate of the port list, asking for its
// address and waiting a moment for the answer. People lose their module after changing its rate;
// this finds it again.
class ModuleFinder : public QObject {
    Q_OBJECT
public:
    static constexpr int AnswerWaitMs = 300;

    explicit ModuleFinder(QObject *parent = nullptr);

    // The rates a port is opened with, in the order they are offered and tried.
    static QStringList baudRates();

    // Tries the ports (names or device paths) in order; ends with s_found or s_notFound.
    void start(const QStringList &ports);
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void s_trying(const QString &port, int baud);
    void s_found(const QString &port, int baud);
    void s_notFound();

private:
    void tryNext();
    void onReadyRead();
    void giveUpOnThisRate();

    QSerialPort m_port;
    QTimer m_wait;
    QStringList m_ports;
    QList<int> m_rates;
    int m_portIndex = 0;
    int m_rateIndex = -1;
    QByteArray m_answer;
    bool m_running = false;
};
