#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QIODevice>
#include <QTimer>

class QSocketNotifier;

// The module's end of a pseudo-terminal. The other end (slavePath()) is what a serial port opens.
// Reading can be held to a wire speed, so that a download takes as long as it would on a cable.
class PtyDevice : public QIODevice {
    Q_OBJECT
public:
    explicit PtyDevice(QObject *parent = nullptr);
    ~PtyDevice() override;

    // Creates the pty in raw mode and opens this device on its master side.
    bool openPty(QString *error = nullptr);
    QString slavePath() const { return m_slavePath; }
    // Reads no faster than the bytes a line of this baud rate carries (8N1: baud / 10); 0 = no limit.
    void setBaud(qint64 baud);
    // The rate the other end last set on the line (its termios speed); 0 when unknown.
    qint64 lineRate() const;

    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override { return m_out.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void flushOut();
    qint64 takeCredit(qint64 wanted);
    void pauseReading();

    int m_master = -1;
    int m_slave = -1;  // kept open so the master never sees a hang-up between clients
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_out;
    qint64 m_bytesPerSecond = 0;
    double m_credit = 0;
    qint64 m_creditMs = 0;
    QElapsedTimer m_clock;
    QTimer m_resume;
};
