#pragma once

#include <QHash>
#include <QSet>
#include <QObject>
#include <QString>
#include <QTimer>

class BatchDownload;
class QSerialPort;

// Production mode over a batch: every module that appears gets the batch's job once. A module
// appears when its port is plugged in (hot-plug) or when a watched port starts answering. A
// module left plugged in is not downloaded again: its port has to go away (hot-plug) or stay
// silent for a while (the module was taken off the port) before a module there counts as new.
class ProductionWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int ProbeIntervalMs = 500;
    static constexpr int AnswerWaitMs = 300;
    // Silent probes after which the module of a port that stays counts as taken away. Long enough
    // for a module restarting after its download.
    static constexpr int SilentProbesForGone = 10;

    ProductionWatch(BatchDownload *batch, int baud, QObject *parent = nullptr);
    ~ProductionWatch() override;

    // Keeps an eye on a port (name or path): its module is downloaded to once it answers.
    void watchPort(const QString &port, const QString &label = QString());
    // A hot-plug event (by port name, as the port watcher gives it).
    void portChanged(const QString &name, bool arrived);
    // No new downloads; stopped() follows once the jobs in flight have ended.
    void stop();
    bool isStopping() const { return m_stopping; }

    int count() const { return m_succeeded + m_failed; }
    int succeeded() const { return m_succeeded; }
    int failed() const { return m_failed; }
    // Ports watched now.
    QStringList ports() const { return m_ports.keys(); }

    // "第17个模块：成功" / "第18个模块：失败：<message>".
    static QString resultText(int number, bool ok, const QString &message);
    // "共20个模块：成功19个，失败1个".
    static QString totalsText(int succeeded, int failed);
    // For a terminal: waiting for modules, and finishing the modules in flight after Ctrl+C.
    static QString waitingText();
    static QString finishingText();

signals:
    // A module's job ended; number counts the modules of this watch from 1.
    void moduleDone(int number, const QString &label, bool ok, const QString &message, qint64 elapsedMs);
    void downloadStarted(int batchIndex, const QString &label);
    void stopped();

private:
    struct Watched {
        enum State { Waiting, Downloading, Done } state = Waiting;
        QString label;
        int silentProbes = 0;
        int jobIndex = -1;
        QSerialPort *probe = nullptr;
        QByteArray answer;
        QTimer *answerTimer = nullptr;
    };
    void probeAll();
    void startProbe(const QString &port);
    void endProbe(const QString &port, bool answered);
    void onJobFinished(int index);
    void forget(const QString &port);
    QString keyOf(const QString &port) const;

    BatchDownload *m_batch;
    int m_baud;
    QHash<QString, Watched> m_ports;  // by the port as given
    QSet<int> m_ownJobs;  // batch indexes of the jobs this watch started
    QTimer m_probeTimer;
    bool m_stopping = false;
    int m_succeeded = 0;
    int m_failed = 0;
};
