#pragma once

#include "download/downloadjob.h"
#include "download/transferestimate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class QThread;
class BatchLinkRunner;

// One port of a batch and how far its job is.
struct BatchJobState {
    enum Status { Running, Succeeded, Failed, Stopped };
    QString port;   // as given: a port name or a device path
    QString label;  // what people see for it
    int baud = 0;
    Status status = Running;
    qint64 doneBytes = 0;
    qint64 totalBytes = 0;
    qint64 elapsedMs = 0;  // from the start of the job; final once it ended
    QString message;       // the job's own message once it ended
    bool finished() const { return status != Running; }
};

// The same download to many modules at once. Every port gets a job of its own: its own SerialLink
// on its own thread, going through exactly the single download's steps, checks, time-outs and
// messages, so a port that fails or is slow touches no other. The job (the project snapshot and
// the picture pixels) is made once and shared; nothing here writes to the project.
//
// Lives in the caller's thread and never waits on a port: ports open, and jobs run, in their
// threads; progress and results arrive as queued signals.
class BatchDownload : public QObject {
    Q_OBJECT
public:
    explicit BatchDownload(QObject *parent = nullptr);
    // Jobs still running are ended (their ports closed) and their threads joined.
    ~BatchDownload() override;

    // Why the project cannot be downloaded at all in this mode (the single download's reasons);
    // empty when it can. Checked once, before any port starts.
    static QString refusal(const DownloadJob &job);
    // Two entries that name the same device ("ttyUSB0" and "/dev/ttyUSB0", a link to it): the
    // message refusing them, empty when every entry is a device of its own.
    static QString duplicateMessage(const QStringList &ports);
    // The device an entry names, for comparing entries.
    static QString deviceKey(const QString &port);
    // How far a job is, for people watching: bytes handed to the port's buffer count as sent, so
    // early on the measured rate is capped at what the line carries.
    static TransferEstimate estimate(const BatchJobState &state);

    // The job every port receives; prepares the pixel data once. Call before adding ports.
    void setJob(const DownloadJob &job);
    const DownloadJob &job() const { return m_job; }
    qint64 totalBytes() const { return m_totalBytes; }
    // Machine milliseconds per real millisecond for the jobs' time-outs (tests).
    void setTimeScale(double scale) { m_timeScale = scale; }

    // Starts the job on a port at a rate; returns its index. A port whose device already has a job
    // running is refused (-1, *error says why).
    int addPort(const QString &port, int baud, const QString &label = QString(), QString *error = nullptr);
    // The port disappeared (hot-plug, by port name or path): its running job fails with the
    // unplug message.
    void portRemoved(const QString &name);
    // Ends every running job now: each fails with reason, or with the link's message when empty.
    void cancelAll(const QString &reason = QString());
    // The user stops the batch: every running job ends where it is, sends nothing more and is
    // reported as stopped (stoppedText()), not as failed.
    void stopAll();
    static QString stoppedText();

    int count() const { return m_states.size(); }
    const BatchJobState &state(int index) const { return m_states.at(index); }
    int runningCount() const;
    int succeededCount() const;
    int failedCount() const;
    int stoppedCount() const;
    bool isRunning() const { return runningCount() > 0; }
    // True when a job is running on the device of this entry.
    bool isBusy(const QString &port) const;

signals:
    void jobStarted(int index);
    // At most a few times a second per job, and once at its end.
    void progressChanged(int index);
    void jobFinished(int index);
    // The last running job ended.
    void allFinished();

private:
    struct Slot {
        QThread *thread = nullptr;
        QPointer<BatchLinkRunner> runner;
        QString key;
    };
    void onProgress(int index, qint64 done, qint64 elapsedMs);
    void onFinished(int index, BatchJobState::Status status, const QString &message, qint64 elapsedMs);
    int countOf(BatchJobState::Status status) const;

    DownloadJob m_job;
    qint64 m_totalBytes = 0;
    double m_timeScale = 1.0;
    QVector<BatchJobState> m_states;
    QVector<Slot> m_slots;
    QString m_cancelReason;
};
