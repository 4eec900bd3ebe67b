#pragma once

#include "download/downloadjob.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

// One thing the step machine asks its owner to do, in order.
struct StepOutput {
    enum Kind {
        Message,   // code and text: see DownloadSteps::MessageCode
        Write,     // bytes for the module
        Progress,  // picture progress: total and value (kind 1)
        Finished,  // the job ended: ok and the text that describes it
    };
    Kind kind = Message;
    int code = 0;
    QString text;
    QByteArray bytes;
    qint64 total = 0;
    qint64 value = 0;
    bool ok = false;
};

// The download protocol of every job mode as a plain step machine. It is driven by start(),
// acknowledge() (the module confirmed the current step) and the clock; it never touches a port or
// a thread. Every action appends StepOutputs the owner drains with takeOutput().
class DownloadSteps {
public:
    enum MessageCode {
        Hint = 0,
        Warning = 1,
        Log = 3,
        BacklightSet = 4,
        BaudSet = 5,
        CommandDone = 6,
        BootScriptSent = 7,
    };

    // A held block's step may also wait BlockLineFactor times the block's line time and
    // BlockSlackMs more before the block has left the port.
    static constexpr int BlockLineFactor = 2;
    static constexpr int BlockSlackMs = 1000;
    // The slowest rate, assumed when the job's rate is unknown.
    static constexpr int FallbackBaud = 9600;
    // PicturesAndPages runs the page steps from this step on.
    static constexpr int PageStepsOffset = 6;

    // Milliseconds from any fixed origin; must not go backwards.
    using Clock = std::function<qint64()>;

    explicit DownloadSteps(Clock clock);

    void start(const DownloadJob &job);
    // The module acknowledged: move on and perform the next action(s).
    void acknowledge();
    // Ends the job without a message (failures decided by the link, cancelling).
    void reset();
    // The last byte the current step wrote has left the port: a block's time-out counts from here.
    void lineDrained();
    // The module reported an erase or write tick: it is working, so the wait starts again.
    void progressTick();
    // Fails the job when the current step has waited longer than the mode allows.
    void checkTimeout();
    // Milliseconds until checkTimeout() would fail the job; -1 when nothing is waiting.
    qint64 msUntilTimeout() const;

    bool isActive() const { return m_active; }
    DownloadMode mode() const { return m_job.mode; }
    int step() const { return m_step; }
    int pageIndex() const { return m_pageIndex; }
    // Bytes of blocks the current step wrote that have not yet left the port.
    qint64 heldBytes() const { return m_heldBytes; }
    // Time-out of the current step, and its message.
    int timeoutMs() const;
    QString timeoutMessage() const;

    QVector<StepOutput> takeOutput();

    static QString tr(const char *text);

private:
    void run();
    void perform();
    void performPages(int s);
    void performPictures(int s);
    void performFonts(int s);
    void performCommand(int s);

    void message(int code, const QString &text);
    void sendText(const QString &text);
    void write(const QByteArray &bytes);
    // A data block: its step waits for the line before its time-out starts.
    void writeBlock(const QByteArray &bytes);
    // Longest wait of the current step from its start, including the line time of a held block.
    qint64 allowedMs() const;
    void progress(qint64 total, qint64 value);
    void finish(bool ok, const QString &text);

    Clock m_clock;
    DownloadJob m_job;
    bool m_active = false;
    int m_step = 0;
    int m_lastStep = 0;
    int m_pageIndex = 0;
    qint64 m_stepStartMs = 0;
    // Bytes of a block still on their way out; the step's time-out has not started yet.
    qint64 m_heldBytes = 0;
    qint64 m_progressTotal = 0;
    QString m_currentText;
    QByteArray m_fontData;
    QVector<StepOutput> m_out;
};

// Bytes a job writes to a module that acknowledges every step at once (progress totals, the
// wire-time bound of benchmarks).
qint64 wireByteCount(const DownloadJob &job);

