#include "ptydevice.h"
#include "seriallink.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

QString msg(const char *context, const char *s) { return QCoreApplication::translate(context, s); }

// The module's end of a pty that answers the first command line with scripted pieces, each after
// its own pause, so that the link sees an answer cut exactly where a test wants it.
class ScriptedModule : public QObject {
public:
    struct Piece {
        int pauseMs;
        QByteArray bytes;
    };

    bool open(const QList<Piece> &pieces)
    {
        m_pieces = pieces;
        if (!m_pty.openPty())
            return false;
        connect(&m_pty, &QIODevice::readyRead, this, [this] {
            m_received += m_pty.readAll();
            if (!m_answered && m_received.contains("\r\n")) {
                m_answered = true;
                m_clock.start();
                sendFrom(0);
            }
        });
        return true;
    }
    QString path() const { return m_pty.slavePath(); }
    // Milliseconds since the command arrived.
    qint64 sinceCommand() const { return m_clock.elapsed(); }
    qint64 lastPieceAtMs() const { return m_lastPieceAtMs; }

private:
    void sendFrom(int i)
    {
        if (i >= m_pieces.size())
            return;
        QTimer::singleShot(m_pieces.at(i).pauseMs, this, [this, i] {
            m_pty.write(m_pieces.at(i).bytes);
            m_lastPieceAtMs = m_clock.elapsed();
            sendFrom(i + 1);
        });
    }

    PtyDevice m_pty;
    QList<Piece> m_pieces;
    QByteArray m_received;
    bool m_answered = false;
    QElapsedTimer m_clock;
    qint64 m_lastPieceAtMs = -1;
};

DownloadJob commandJob(const char *command)
{
    DownloadJob job;
    job.mode = DownloadMode::Command;
    job.command = QString::fromLatin1(command);
    return job;
}

}  // namespace

// Answers cut by pauses on a real serial line: the link must wait for the rest of an answer, and
// act on an answer without a line end once the line has been quiet for the gap.
class TestAnswerPauses : public QObject {
    Q_OBJECT
private slots:
    void addressWithoutLineEndEndsAfterTheGap()
    {
        ScriptedModule module;
        QVERIFY(module.open({{0, "GETADDR_1_7"}}));
        SerialLink link;
        QVERIFY(link.open(module.path(), 115200));
        QSignalSpy finished(&link, &SerialLink::s_jobFinished);
        QSignalSpy address(&link, &SerialLink::s_send485);
        QVERIFY(link.startJob(commandJob("GET_ADDR();\r\n")));
        // The gap is 50 ms at this rate: waiting for a line end or the 10 s time-out would miss this.
        QVERIFY(finished.wait(3000));
        QVERIFY2(module.sinceCommand() < 500, qPrintable(QString::number(module.sinceCommand())));
        QCOMPARE(finished.first().at(0).toBool(), true);
        QCOMPARE(address.count(), 1);
        QCOMPARE(address.first(), (QList<QVariant>{1, 7}));
    }

    void pauseInsideAnAnswer_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("pauseMs");
        QTest::addColumn<QByteArray>("rest");
        QTest::addColumn<bool>("hasAddress");
        QTest::newRow("information, 40 ms") << QByteArray("INFO_2_10_") << 40 << QByteArray("2000_5_16\r\n") << false;
        QTest::newRow("information, 300 ms") << QByteArray("INFO_2_10") << 300 << QByteArray("_2000_5_16\r\n") << false;
        QTest::newRow("address, 300 ms") << QByteArray("GETADDR_") << 300 << QByteArray("1_7") << true;
    }
    void pauseInsideAnAnswer()
    {
        QFETCH(QByteArray, first);
        QFETCH(int, pauseMs);
        QFETCH(QByteArray, rest);
        QFETCH(bool, hasAddress);
        ScriptedModule module;
        QVERIFY(module.open({{0, first}, {pauseMs, rest}}));
        SerialLink link;
        QVERIFY(link.open(module.path(), 115200));
        QSignalSpy finished(&link, &SerialLink::s_jobFinished);
        QSignalSpy address(&link, &SerialLink::s_send485);
        QVERIFY(link.startJob(commandJob(hasAddress ? "GET_ADDR();\r\n" : "ICHECK();\r\n")));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().at(1).toString(), msg("InstructSerialPort", "指令集发送成功！"));
        // Judged on the whole answer, not on its first part.
        QVERIFY(module.lastPieceAtMs() >= pauseMs);
        QCOMPARE(address.count(), hasAddress ? 1 : 0);
        if (hasAddress)
            QCOMPARE(address.first(), (QList<QVariant>{1, 7}));
    }

    void unfinishedAnswerWaitsForTheTimeOut()
    {
        ScriptedModule module;
        QVERIFY(module.open({{0, "GETADDR_"}}));
        SerialLink link;
        // The 10 s time-out passes in half a second.
        link.setTimeScale(20.0);
        QVERIFY(link.open(module.path(), 115200));
        QSignalSpy finished(&link, &SerialLink::s_jobFinished);
        QSignalSpy address(&link, &SerialLink::s_send485);
        QVERIFY(link.startJob(commandJob("GET_ADDR();\r\n")));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().at(0).toBool(), false);
        QCOMPARE(finished.first().at(1).toString(), msg("InstructSerialPort", "通信超时！"));
        QCOMPARE(address.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAnswerPauses)
#include "tst_answerpauses.moc"
