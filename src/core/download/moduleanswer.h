#pragma once

#include "download/downloadjob.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Recognises the module's answers in what the serial line delivers. Reads are not framed: an
// answer may come in pieces, so unrecognised bytes are kept (the last 4 KiB) in front of the next
// read. An answer with a line end is complete at its line end; one without waits for a quiet gap
// on the line before it is acted on, and an information or address answer whose fields are still
// missing after the gap keeps waiting (the step's time-out ends the wait).
namespace ModuleAnswer {

enum class Token { None, Ok, GetAddr, Info, Firmware, Flash2, Flash3, Flash11, Erase, Write };

// One answer the module sends: its text, the "_"-separated fields a whole one has (0: any), and
// for a flash answer the most picture bytes that module stores.
struct TokenText {
    Token token;
    const char *text;
    int fields;
    qint64 flashBytes;
};
// Every token, in the order the module's answers are tested.
const TokenText *tokenTable(int *count);

// The first token found, in the order the module's answers are tested.
Token findToken(const QByteArray &text, int *position = nullptr);
// True when the text may be the start of an answer still on its way: it ends in a proper prefix
// of a token, or holds an information, address or firmware answer without a line end after it.
bool looksCutOff(const QByteArray &text);

constexpr int KeepBytes = 4096;
// Shortest quiet gap that ends an answer without a line end.
constexpr int MinQuietGapMs = 50;
constexpr int QuietGapBytes = 20;
// The quiet gap at a baud rate: at least MinQuietGapMs and 20 byte times (10 bits a byte), so a
// slow line's pause between two bytes is never taken for the end of an answer.
int quietGapMs(int baud);
// True when an information or address answer (from its token on) has no line end yet and lacks
// fields it must have, so that more bytes are still to come.
bool lacksFields(Token token, const QByteArray &fromToken);

}  // namespace ModuleAnswer

// What the link does with one answer.
struct AnswerOutcome {
    enum Action {
        Wait,       // maybe cut off: wait for more bytes or the quiet gap, then call flush()
        Nothing,    // not an answer or not a whole one yet (kept for the next read), or a tick
        Advance,    // acknowledge the current step
        Fail,       // end the job with message (shown as a warning)
        ResetQuiet, // end the job without a message (malformed information answer)
    };
    Action action = Nothing;
    QStringList logLines;  // texts that follow the time stamp in the log
    QString message;
    bool hasAddress = false;
    int addressEnabled = 0;
    int address = 0;
    bool hasProgress = false;
    qint64 progressTotal = 0;
    qint64 progressValue = 0;
};

// Handles the answers of one job: token order, address answer, information check against the
// job's page snapshot, flash check against its pictures, erase and write ticks.
class AnswerHandler {
public:
    // Starts a job: picture progress off, nothing kept.
    void begin(const DownloadJob &job);
    // The worker announced a picture total (and value).
    void setPictureProgress(qint64 total, qint64 value);
    void clear() { m_text.clear(); }

    // One read from the port.
    AnswerOutcome feed(const QByteArray &bytes);
    // The quiet gap passed: act on what is there.
    AnswerOutcome flush();

    const QByteArray &pending() const { return m_text; }
    bool pictureProgressActive() const { return m_progressActive; }
    qint64 pictureTotal() const { return m_pictureTotal; }
    qint64 pictureDone() const { return m_pictureDone; }

private:
    AnswerOutcome decide(bool final);

    QVector<PageData> m_pages;
    qint64 m_pictureBytes = 0;
    QByteArray m_text;
    bool m_progressActive = false;
    qint64 m_pictureTotal = 0;
    qint64 m_pictureDone = 0;
};
