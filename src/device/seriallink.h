#pragma once

#include "download/downloadjob.h"
#include "download/moduleanswer.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

class InstructSerialPort;

// Everything that touches the serial port: opens it (8N1, no flow control), writes what the
// download worker emits, recognises the module's answers and advances or ends the job, and keeps
// the communication log. No widgets: the port dialog and the command-line tool both drive it.
class SerialLink : public QObject {
    Q_OBJECT
public:
    // Codes of s_sendMes, as the main window reads them.
    enum LinkCode { LogLine = 0, BaudConfirmed = 1, BacklightConfirmed = 2, BootScriptSent = 3 };
    // Kinds of s_showMessage.
    enum MessageKind { Hint = 0, Warning = 1, Error = 2 };

    static constexpr int SliceBytes = 64 * 1024;

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    // Opens a port by name ("ttyUSB0") or by device path ("/dev/pts/3"); ptys are opened directly.
    bool open(const QString &portName, int baud);
    // Closes the port; a running job ends with "通信已断开，下载失败！". Unless discardOutput is
    // false, what is still queued for the line is dropped (closing means stop now).
    void close(bool discardOutput = true);
    bool isOpen() const;
    QString portName() const { return m_portName; }
    int baud() const { return m_baud; }
    QString errorString() const { return m_port.errorString(); }

    bool isBusy() const;
    // Changes the rate of the open port (the module was told to change its own).
    bool setBaud(int baud);
    // Starts a job when the port is open; otherwise shows "通信未连接，请您先连接通信！" and returns false.
    bool startJob(DownloadJob job);
    // A port disappeared: if it is the open one, end the job, close and tell the user.
    void portRemoved(const QString &name);

    InstructSerialPort *worker() const { return m_worker; }
    void setTimeScale(double scale);
    // Bytes queued in the port and waiting in the link.
    qint64 pendingWriteBytes() const;

    static QString logLine(const QString &text);
    static QString msg(const char *text);

signals:
    void s_sendMes(int code, const QString &text);
    void s_sendProbar(int total, int value);
    void s_send485(int enabled, int address);
    void s_showMessage(int kind, const QString &text);
    // Every job ends with exactly one of these (also when the link ends it).
    void s_jobFinished(bool ok, const QString &message);
    void s_openChanged(bool open);
    // Bytes the port handed to the line.
    void s_bytesWritten(qint64 bytes);

private:
    void onWorkerMessage(int code, const QString &text);
    void onWorkerProgress(int kind, int total, int value);
    void onWrite(const QByteArray &bytes);
    void feedPort();
    void onReadyRead();
    void onGapElapsed();
    void apply(const AnswerOutcome &outcome);
    void onError(QSerialPort::SerialPortError error);
    // Forgets what is queued for the line and not yet sent.
    void dropOutput();
    // Ends the running job because of the link, with a warning.
    void failJob(const QString &message, bool showMessage = true);
    void lineLost(const QString &message);
    void onBytesWritten(qint64 bytes);
    void followBaudChange();

    QSerialPort m_port;
    InstructSerialPort *m_worker = nullptr;
    AnswerHandler m_answers;
    QTimer m_gapTimer;
    QList<QByteArray> m_queue;  // blocks waiting for room in the port
    int m_queueOffset = 0;      // bytes of m_queue.first() already handed to the port
    QString m_portName;
    int m_baud = 115200;
    bool m_jobRunning = false;
    bool m_closing = false;
    // Rate a running baud-rate job asks the module for; the port follows once it is confirmed.
    int m_requestedBaud = 0;
};
