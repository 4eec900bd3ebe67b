#pragma once

#include "download/downloadjob.h"
#include "download/downloadsteps.h"

#include <QObject>

#include <atomic>

class QThread;
class StepWorker;

// Runs the download step machine of one job at a time in a thread of its own. Event driven: one
// single-shot timer for the waiting step's time-out and queued calls for acknowledgements, so an
// idle or waiting worker uses no CPU. Time-outs run on a monotonic clock.
//
// The object itself lives in the caller's thread; all signals arrive there, in emission order.
class InstructSerialPort : public QObject {
    Q_OBJECT
public:
    explicit InstructSerialPort(QObject *parent = nullptr);
    ~InstructSerialPort() override;

    // Starts a job; the caller has checked isBusy(). The job carries its own snapshot.
    void startJob(const DownloadJob &job);
    // Ends the running job without a message.
    void resetJob();
    // The module acknowledged the current step.
    void advanceStep();
    // Everything written so far has left the port (a block's time-out starts now).
    void lineDrained();
    // The module reported an erase or write tick.
    void progressTick();
    bool isBusy() const { return m_busy.load(); }

    // Machine milliseconds per real millisecond: tests run the time-outs faster. 1 by default.
    void setTimeScale(double scale);

signals:
    void s_sendProgressBar(int kind, int total, int value);
    void s_sendMes(int code, const QString &text);
    void s_writePort(const QByteArray &bytes);
    // The job ended: by its last step (ok), its own failure (time-out, font size) with the message.
    // Not emitted for resetJob().
    void s_jobFinished(bool ok, const QString &text);

private:
    void onOutputs(quint64 generation, const QVector<StepOutput> &outputs);

    QThread *m_thread = nullptr;
    StepWorker *m_worker = nullptr;
    std::atomic<bool> m_busy{false};
    std::atomic<quint64> m_generation{0};
};
