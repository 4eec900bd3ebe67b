#include "download/moduleanswer.h"

#include <QCoreApplication>
#include <QtTest>

namespace {

QString msg(const char *s) { return QCoreApplication::translate("SerialPortDlg", s); }

DownloadJob jobWithPage(int controls, const QString &text = QStringLiteral("A"))
{
    DownloadJob job;
    PageData page;
    for (int i = 0; i < controls; ++i) {
        ControlRecord r = ControlRecord::make(ControlKind::Text, i);
        r.text = text;
        page.controls << r;
    }
    job.pages << page;
    return job;
}

}  // namespace

class TestModuleAnswer : public QObject {
    Q_OBJECT
private slots:
    void tokenOrder_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("token");
        QTest::newRow("OK before INFO") << QByteArray("INFO_1_2_3_4_5_6\r\nOK") << int(ModuleAnswer::Token::Ok);
        QTest::newRow("GETADDR before e") << QByteArray("GETADDR_1_7\r\n") << int(ModuleAnswer::Token::GetAddr);
        QTest::newRow("FLASH_11") << QByteArray("FLASH_11\r\n") << int(ModuleAnswer::Token::Flash11);
        QTest::newRow("FW") << QByteArray("FW_V2\r\n") << int(ModuleAnswer::Token::Firmware);
        QTest::newRow("tick o") << QByteArray("o") << int(ModuleAnswer::Token::Write);
        QTest::newRow("nothing") << QByteArray("#?\x01") << int(ModuleAnswer::Token::None);
    }
    void tokenOrder()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, token);
        QCOMPARE(int(ModuleAnswer::findToken(text)), token);
    }

    void okWinsOverInformation()
    {
        AnswerHandler h;
        h.begin(jobWithPage(11));
        const AnswerOutcome o = h.feed("OK INFO_2_10_200_5_16\r\n");
        QCOMPARE(o.action, AnswerOutcome::Advance);
        QCOMPARE(o.logLines, QStringList{QStringLiteral("--接收:OK")});
        QVERIFY(h.pending().isEmpty());
    }

    void address_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("hasAddress");
        QTest::addColumn<int>("enabled");
        QTest::addColumn<int>("address");
        QTest::newRow("three fields") << QByteArray("GETADDR_1_7\r\n") << true << 1 << 7;
        QTest::newRow("junk before") << QByteArray("\x01_#GETADDR_0_255\r\n") << true << 0 << 255;
        QTest::newRow("two fields") << QByteArray("GETADDR_1\r\n") << false << 0 << 0;
    }
    void address()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, hasAddress);
        QFETCH(int, enabled);
        QFETCH(int, address);
        AnswerHandler h;
        h.begin(DownloadJob());
        const AnswerOutcome o = h.feed(text);
        QCOMPARE(o.action, AnswerOutcome::Advance);
        QCOMPARE(o.hasAddress, hasAddress);
        QCOMPARE(o.addressEnabled, enabled);
        QCOMPARE(o.address, address);
    }

    // Answers without a line end are judged after the quiet gap (flush); an information or
    // address answer that still lacks fields keeps waiting for the rest.
    void answersCutByAPause_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("rest");
        QTest::addColumn<int>("afterGap");
        QTest::addColumn<int>("atEnd");
        QTest::addColumn<bool>("hasAddress");
        const int wait = int(AnswerOutcome::Nothing), advance = int(AnswerOutcome::Advance);
        QTest::newRow("address flag alone") << QByteArray("GETADDR_1") << QByteArray("_7") << wait << advance << true;
        QTest::newRow("address token alone") << QByteArray("GETADDR_") << QByteArray("1_7\r\n") << wait << advance << true;
        QTest::newRow("address without its value") << QByteArray("GETADDR_1_") << QByteArray("7") << wait << advance << true;
        QTest::newRow("whole address") << QByteArray("GETADDR_1_7") << QByteArray() << advance << advance << true;
        QTest::newRow("information in two parts") << QByteArray("INFO_2_10_20") << QByteArray("00_5_16\r\n") << wait
                                                 << advance << false;
        QTest::newRow("information without line end") << QByteArray("INFO_2_10_2000_5_16") << QByteArray() << advance
                                                     << advance << false;
        QTest::newRow("information with a field too many") << QByteArray("INFO_2_10_2000_5_16_9") << QByteArray()
                                                         << int(AnswerOutcome::ResetQuiet)
                                                         << int(AnswerOutcome::ResetQuiet) << false;
    }
    void answersCutByAPause()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, rest);
        QFETCH(int, afterGap);
        QFETCH(int, atEnd);
        QFETCH(bool, hasAddress);
        AnswerHandler h;
        h.begin(jobWithPage(1));
        QCOMPARE(h.feed(first).action, AnswerOutcome::Wait);
        AnswerOutcome o = h.flush();
        QCOMPARE(int(o.action), afterGap);
        if (!rest.isEmpty()) {
            QCOMPARE(h.pending(), first);
            o = h.feed(rest);
            if (o.action == AnswerOutcome::Wait)
                o = h.flush();
        }
        QCOMPARE(int(o.action), atEnd);
        QCOMPARE(o.hasAddress, hasAddress);
        if (hasAddress) {
            QCOMPARE(o.addressEnabled, 1);
            QCOMPARE(o.address, 7);
        }
        QVERIFY(h.pending().isEmpty());
    }

    void quietGap_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("gapMs");
        QTest::newRow("115200") << 115200 << 50;
        QTest::newRow("9600") << 9600 << 50;
        QTest::newRow("4000: 20 byte times are exactly 50 ms") << 4000 << 50;
        QTest::newRow("3999") << 3999 << 51;
        QTest::newRow("1200") << 1200 << 167;
        QTest::newRow("unknown") << 0 << 50;
    }
    void quietGap()
    {
        QFETCH(int, baud);
        QFETCH(int, gapMs);
        QCOMPARE(ModuleAnswer::quietGapMs(baud), gapMs);
    }

    void endlessAddressIsJudgedAsItStands()
    {
        AnswerHandler h;
        h.begin(DownloadJob());
        h.feed("GETADDR_1");
        QCOMPARE(h.flush().action, AnswerOutcome::Nothing);
        h.feed(QByteArray(ModuleAnswer::KeepBytes, '1'));
        const AnswerOutcome o = h.flush();
        QCOMPARE(o.action, AnswerOutcome::Advance);
        QVERIFY(!o.hasAddress);
        QVERIFY(h.pending().isEmpty());
    }

    void information_data()
    {
        QTest::addColumn<int>("controls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("fits") << 10 << QStringLiteral("A") << QByteArray("INFO_2_10_2000_5_16\r\n")
                              << int(AnswerOutcome::Advance) << QString();
        QTest::newRow("too many controls") << 11 << QStringLiteral("A") << QByteArray("INFO_2_10_2000_5_16\r\n")
                                           << int(AnswerOutcome::Fail) << msg("第%1页控件数量已超过%2！").arg(0).arg(10);
        QTest::newRow("text too long") << 4 << QStringLiteral("一二三四五六七八九") << QByteArray("INFO_2_10_2000_5_16\r\n")
                                       << int(AnswerOutcome::Fail)
                                       << msg("%1文本字符已超过%2！").arg(QStringLiteral("第0页编号0,第0页编号1,第0页编号2,第0页编号3")).arg(16);
        QTest::newRow("five fields") << 1 << QStringLiteral("A") << QByteArray("INFO_2_10_2000\r\n")
                                     << int(AnswerOutcome::ResetQuiet) << QString();
    }
    void information()
    {
        QFETCH(int, controls);
        QFETCH(QString, text);
        QFETCH(QByteArray, answer);
        QFETCH(int, action);
        QFETCH(QString, message);
        AnswerHandler h;
        h.begin(jobWithPage(controls, text));
        const AnswerOutcome o = h.feed(answer);
        QCOMPARE(int(o.action), action);
        QCOMPARE(o.message, message);
        QVERIFY(h.pending().isEmpty());
    }

    // The module's byte limit counts controls and primitives (not the background): a page may be
    // over it through its primitives alone.
    void byteLimit_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("pagesOver");
        QTest::newRow("at the limit") << 68 << QString();
        QTest::newRow("one under") << 67 << QStringLiteral("1,2");
        QTest::newRow("the control alone fits") << 34 << QStringLiteral("1,2");
        QTest::newRow("nothing fits") << 33 << QStringLiteral("0,1,2");
    }
    void byteLimit()
    {
        QFETCH(int, limit);
        QFETCH(QString, pagesOver);
        QMyDrawType box;
        box.setDrawType(QMyDrawType::Box);
        box.setRect(5, 5, 20, 10);  // "BOX(5,5,24,14,0);", 17 bytes
        // Page 0: one text control, "TXT(0,0,60,30,16,'A',0,0,0,0,7,0);", 34 bytes. Page 1: the
        // same and two boxes (68). Page 2: four boxes and no control (68).
        DownloadJob job = jobWithPage(1);
        job.pages << job.pages.at(0) << PageData();
        job.pages[1].primitives << box << box;
        job.pages[2].primitives << box << box << box << box;
        job.pages[2].backgroundNum = 63;
        AnswerHandler h;
        h.begin(job);
        const AnswerOutcome o = h.feed(QStringLiteral("INFO_2_10_%1_5_16\r\n").arg(limit).toLatin1());
        if (pagesOver.isEmpty()) {
            QCOMPARE(o.action, AnswerOutcome::Advance);
        } else {
            QCOMPARE(o.action, AnswerOutcome::Fail);
            QCOMPARE(o.message, msg("第%1页字节数已超过%2！").arg(pagesOver).arg(limit));
        }
    }

    void ticksPerRead()
    {
        AnswerHandler h;
        h.begin(DownloadJob());
        // Before the progress is announced a tick is dropped.
        AnswerOutcome o = h.feed("e");
        QVERIFY(!o.hasProgress);
        h.setPictureProgress(100000, 0);
        h.feed("e");
        o = h.feed("e");
        QCOMPARE(o.progressValue, qint64(8192));
        // Ticks that arrive together each count, with a log line each.
        o = h.feed("eo");
        QCOMPARE(h.pictureDone(), qint64(20480));
        QCOMPARE(o.progressValue, qint64(20480));
        QCOMPARE(o.logLines, (QStringList{msg("--下载图片进度总大小:%1 擦除进度:%2").arg(100000).arg(12288),
                                          msg("--下载图片进度总大小:%1 配置进度:%2").arg(100000).arg(20480)}));
        QCOMPARE(o.action, AnswerOutcome::Nothing);
        // With anything else in the arrival it is one tick.
        h.feed("e\x01e");
        QCOMPARE(h.pictureDone(), qint64(24576));
        // The shown value never passes the total.
        h.setPictureProgress(10, 0);
        QCOMPARE(h.feed("o").progressValue, qint64(10));
    }

    void flashBoundary_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("action");
        QTest::newRow("2M exactly") << QByteArray("FLASH_2") << 1024 << int(AnswerOutcome::Advance);
        QTest::newRow("2M plus one pixel") << QByteArray("FLASH_2") << 1025 << int(AnswerOutcome::Fail);
        QTest::newRow("11M") << QByteArray("FLASH_11") << 1025 << int(AnswerOutcome::Advance);
    }
    void flashBoundary()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, side);
        QFETCH(int, action);
        // A fake library entry: the check only reads the recorded sizes.
        DownloadJob job;
        PictureInfo info;
        info.size = QSize(side, 1024);
        job.pictures.append(info);
        AnswerHandler h;
        h.begin(job);
        const AnswerOutcome o = h.feed(answer);
        QCOMPARE(int(o.action), action);
        if (o.action == AnswerOutcome::Fail)
            QCOMPARE(o.message, msg("下载失败，下载图片的bin文件总大小超过2M！"));
    }

    void splitAnswers_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("address");
        QTest::newRow("O then K") << QList<QByteArray>{"O", "K"} << int(AnswerOutcome::Advance) << 0;
        QTest::newRow("information in two pieces")
            << QList<QByteArray>{"INFO_2_", "10_2000_5_16\r\n"} << int(AnswerOutcome::Advance) << 0;
        QTest::newRow("address cut in a number") << QList<QByteArray>{"GETADDR_1_2", "55\r\n"} << int(AnswerOutcome::Advance)
                                                 << 255;
        QTest::newRow("single bytes") << QList<QByteArray>{"F", "L", "A", "S", "H", "_", "1", "1"}
                                      << int(AnswerOutcome::Advance) << 0;
        QTest::newRow("tick then start of OK") << QList<QByteArray>{"oO", "K"} << int(AnswerOutcome::Advance) << 0;
        QTest::newRow("junk kept before OK") << QList<QByteArray>{"#\x01", "OK"} << int(AnswerOutcome::Advance) << 0;
    }
    void splitAnswers()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(int, action);
        QFETCH(int, address);
        AnswerHandler h;
        h.begin(jobWithPage(1));
        AnswerOutcome o;
        for (int i = 0; i < reads.size(); ++i) {
            o = h.feed(reads.at(i));
            if (i + 1 < reads.size())
                QVERIFY2(o.action == AnswerOutcome::Wait || o.action == AnswerOutcome::Nothing, reads.at(i).constData());
        }
        if (o.action == AnswerOutcome::Wait)
            o = h.flush();
        QCOMPARE(int(o.action), action);
        QCOMPARE(o.address, address);
    }

    void keptBytesAreBounded()
    {
        AnswerHandler h;
        h.begin(DownloadJob());
        for (int i = 0; i < 10; ++i)
            h.feed(QByteArray(1000, '#'));
        QVERIFY(h.pending().size() <= ModuleAnswer::KeepBytes);
        QCOMPARE(h.feed("OK").action, AnswerOutcome::Advance);
    }
};

QTEST_GUILESS_MAIN(TestModuleAnswer)
#include "tst_moduleanswer.moc"
