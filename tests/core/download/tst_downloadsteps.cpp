#include "download/downloadblocks.h"
#include "download/downloadsteps.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Drives the machine with a fake clock and records what it emits.
struct Harness {
    qint64 now = 1000;
    DownloadSteps steps{[this] { return now; }};
    QStringList writes;
    QVector<StepOutput> outputs;
    // A port that sends everything at once; off to hold a block on the line.
    bool autoDrain = true;

    void drain()
    {
        for (const StepOutput &o : steps.takeOutput()) {
            outputs << o;
            if (o.kind == StepOutput::Write)
                writes << QString::fromLatin1(o.bytes.constData(), o.bytes.size());
        }
    }
    void start(const DownloadJob &job)
    {
        steps.start(job);
        drain();
        if (autoDrain)
            steps.lineDrained();
    }
    void ack()
    {
        steps.acknowledge();
        drain();
        if (autoDrain)
            steps.lineDrained();
    }
    // Acknowledges until the job ends; returns how many acknowledgements it took.
    int runToEnd()
    {
        int n = 0;
        while (steps.isActive() && n < 1000) {
            ack();
            ++n;
        }
        return n;
    }
    const StepOutput *finished() const
    {
        for (const StepOutput &o : outputs)
            if (o.kind == StepOutput::Finished)
                return &o;
        return nullptr;
    }
    bool hasMessage(int code, const QString &text) const
    {
        for (const StepOutput &o : outputs)
            if (o.kind == StepOutput::Message && o.code == code && o.text == text)
                return true;
        return false;
    }
};

PageData pageWithText(const QString &text)
{
    PageData p;
    ControlRecord r = ControlRecord::make(ControlKind::Text, 0);
    r.text = text;
    p.controls << r;
    return p;
}

DownloadJob pagesJob(int pageCount, DownloadMode mode = DownloadMode::PagesOnly)
{
    DownloadJob job;
    job.mode = mode;
    job.backlight = 20;
    for (int i = 0; i < pageCount; ++i)
        job.pages << pageWithText(QStringLiteral("第%1页").arg(i));
    return job;
}

QString msg(const char *s) { return DownloadSteps::tr(s); }

}  // namespace

class TestDownloadSteps : public QObject {
    Q_OBJECT
private slots:
    void pageLoop_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("pages");
        QTest::newRow("pages, 1 page") << int(DownloadMode::PagesOnly) << 1;
        QTest::newRow("pages, 3 pages") << int(DownloadMode::PagesOnly) << 3;
        QTest::newRow("pictures and pages, 3 pages") << int(DownloadMode::PicturesAndPages) << 3;
    }
    void pageLoop()
    {
        QFETCH(int, mode);
        QFETCH(int, pages);
        Harness h;
        const DownloadJob job = pagesJob(pages, DownloadMode(mode));
        h.start(job);
        h.runToEnd();

        QStringList expected;
        if (DownloadMode(mode) == DownloadMode::PicturesAndPages)
            expected << QStringLiteral("FCHECK();\r\n") << QStringLiteral("FS_HEAD(6);\r\n")
                     << QString::fromLatin1(QByteArray(6, 0).constData(), 6);
        const QString boot = QStringLiteral("DIR(0);BL(20);JUMP(0);\r\n");
        expected << QStringLiteral("ICHECK();\r\n") << QStringLiteral("BOOT_START(%1);\r\n").arg(boot.size()) << boot;
        for (int i = 0; i < pages; ++i) {
            QString script;
            QVERIFY(buildPageScript(job.pages.at(i), i, job.pictures, &script));
            const QByteArray bytes = ModuleText::encode(script);
            expected << QStringLiteral("PG_DLOAD(%1,%2);\r\n").arg(i).arg(bytes.size()) << QString::fromLatin1(bytes);
        }
        expected << QStringLiteral("RESET();\r\n");
        QCOMPARE(h.writes, expected);
        QVERIFY(h.finished() && h.finished()->ok);
        QCOMPARE(h.finished()->text, msg("页面下载成功！"));
        QVERIFY(h.hasMessage(DownloadSteps::Hint, msg("页面下载中，请稍后......")));
        QVERIFY(h.hasMessage(DownloadSteps::BootScriptSent, QString()));
        QVERIFY(!h.steps.isActive());
    }

    void timeoutBoundary_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("acks");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QString>("message");
        const QString failed = msg("通信超时，下载失败！");
        const QString timedOut = msg("通信超时！");
        QTest::newRow("pages") << int(DownloadMode::PagesOnly) << 0 << 10000 << failed;
        QTest::newRow("pages, page script") << int(DownloadMode::PagesOnly) << 3 << 10000 << failed;
        // The flash check is a question any module answers at once: a missing module is reported
        // after the page time-out, not after the picture transfer's.
        QTest::newRow("pictures, flash check") << int(DownloadMode::Pictures) << 0 << 10000 << failed;
        QTest::newRow("pictures") << int(DownloadMode::Pictures) << 2 << 1200000 << failed;
        QTest::newRow("pictures and pages, flash check") << int(DownloadMode::PicturesAndPages) << 0 << 10000 << timedOut;
        QTest::newRow("pictures and pages, pictures") << int(DownloadMode::PicturesAndPages) << 2 << 1200000 << timedOut;
        // Without pictures the pixel steps are skipped: three acknowledgements reach the page steps.
        QTest::newRow("pictures and pages, pages") << int(DownloadMode::PicturesAndPages) << 3 << 10000 << timedOut;
        QTest::newRow("fonts") << int(DownloadMode::Fonts) << 1 << 300000 << failed;
        QTest::newRow("backlight") << int(DownloadMode::Backlight) << 0 << 5000 << timedOut;
        QTest::newRow("baud rate") << int(DownloadMode::BaudRate) << 0 << 5000 << timedOut;
        QTest::newRow("bus address") << int(DownloadMode::BusAddress) << 1 << 10000 << timedOut;
        QTest::newRow("command") << int(DownloadMode::Command) << 0 << 10000 << timedOut;
    }
    void timeoutBoundary()
    {
        QFETCH(int, mode);
        QFETCH(int, acks);
        QFETCH(int, timeout);
        QFETCH(QString, message);
        Harness h;
        DownloadJob job = pagesJob(2, DownloadMode(mode));
        job.command = QStringLiteral("VER();\r\n");
        h.start(job);
        for (int i = 0; i < acks; ++i)
            h.ack();
        QVERIFY(h.steps.isActive());
        QCOMPARE(h.steps.msUntilTimeout(), qint64(timeout) + 1);
        h.now += timeout;
        h.steps.checkTimeout();
        h.drain();
        QVERIFY(h.steps.isActive());
        QCOMPARE(h.steps.msUntilTimeout(), qint64(1));
        h.now += 1;
        h.steps.checkTimeout();
        h.drain();
        QVERIFY(!h.steps.isActive());
        QVERIFY(h.hasMessage(DownloadSteps::Log, message));
        QVERIFY(h.hasMessage(DownloadSteps::Warning, message));
        QVERIFY(h.finished() && !h.finished()->ok);
        QCOMPARE(h.steps.msUntilTimeout(), qint64(-1));
    }

    void acknowledgementRestartsTheClock()
    {
        Harness h;
        h.start(pagesJob(1));
        h.now += 9000;
        h.ack();
        h.now += 9000;
        h.steps.checkTimeout();
        QVERIFY(h.steps.isActive());
    }

    void noPageTimesOutAfterTheBootScript()
    {
        Harness h;
        h.start(pagesJob(0));
        h.ack();  // information
        h.ack();  // boot start
        h.ack();  // boot script
        QCOMPARE(h.writes.size(), 3);
        QCOMPARE(h.steps.step(), 3);
        h.now += 10001;
        h.steps.checkTimeout();
        h.drain();
        QCOMPARE(h.writes.size(), 3);
        QVERIFY(h.finished() && !h.finished()->ok);
    }

    void unsafePageTextFailsTheJob()
    {
        Harness h;
        DownloadJob job = pagesJob(1);
        job.pages[0].controls[0].text = QStringLiteral("it's");
        h.start(job);
        h.runToEnd();
        QVERIFY(h.finished() && !h.finished()->ok);
        QVERIFY(!h.writes.contains(QStringLiteral("RESET();\r\n")));
    }

    void picturesOnly()
    {
        QTemporaryDir dir;
        QImage a(2, 1, QImage::Format_RGB32);
        a.fill(Qt::red);
        QImage b(1, 1, QImage::Format_RGB32);
        b.fill(Qt::white);
        QVERIFY(a.save(dir.filePath(QStringLiteral("a.bmp"))));
        QVERIFY(b.save(dir.filePath(QStringLiteral("b.bmp"))));
        DownloadJob job;
        job.mode = DownloadMode::Pictures;
        job.pictures = PictureLibrary::fromPaths({dir.filePath(QStringLiteral("a.bmp")), dir.filePath(QStringLiteral("b.bmp"))});
        Harness h;
        h.start(job);
        h.runToEnd();
        QCOMPARE(h.writes.size(), 6);
        QCOMPARE(h.writes.at(1), QStringLiteral("FS_HEAD(14);\r\n"));
        QCOMPARE(h.writes.at(3), QStringLiteral("SR_DLOAD(2,6);\r\n"));
        QCOMPARE(h.writes.at(4).toLatin1(), QByteArray::fromHex("F800F800FFFF"));
        QCOMPARE(h.writes.at(5), QStringLiteral("RESET();\r\n"));
        QVector<QPair<qint64, qint64>> progress;
        for (const StepOutput &o : h.outputs)
            if (o.kind == StepOutput::Progress)
                progress << qMakePair(o.total, o.value);
        QCOMPARE(progress, (QVector<QPair<qint64, qint64>>{{40, 0}, {40, 40}}));
        QVERIFY(h.finished() && h.finished()->ok);
        QCOMPARE(h.finished()->text, msg("图片下载成功！"));
    }

    // A picture job whose library holds an unreadable picture sends nothing.
    void unreadablePictureStopsBeforeSending()
    {
        QTemporaryDir dir;
        QImage a(2, 1, QImage::Format_RGB32);
        a.fill(Qt::red);
        QVERIFY(a.save(dir.filePath(QStringLiteral("100001_a.bmp"))));
        QFile empty(dir.filePath(QStringLiteral("100002_empty.bmp")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        for (DownloadMode mode : {DownloadMode::Pictures, DownloadMode::PicturesAndPages}) {
            DownloadJob job = pagesJob(1);
            job.mode = mode;
            job.pictures = PictureLibrary::fromFolder(dir.path());
            Harness h;
            h.start(job);
            QVERIFY(h.writes.isEmpty());
            QVERIFY(h.finished() && !h.finished()->ok);
            QVERIFY(h.finished()->text.contains(QLatin1String("100002_empty.bmp")));
            QVERIFY(!h.steps.isActive());
        }
    }

    // Font files are read up to the limit: huge, sparse or unreadable ones never get a success.
    void fontFilesBounded_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("sparseSize");
        QTest::addColumn<QString>("message");
        QTest::newRow("sparse 3 GiB small font") << QStringLiteral("C_16.bin") << (qint64(3) << 30)
                                                 << msg("小字库不能超过2M！");
        QTest::newRow("sparse 100 MB small font") << QStringLiteral("E_16.bin") << qint64(100) * 1000 * 1000
                                                  << msg("小字库不能超过2M！");
        QTest::newRow("sparse 5 GiB large font") << QStringLiteral("C_48.bin") << (qint64(5) << 30)
                                                 << msg("大字库不能超过3M！");
        QTest::newRow("link to a FIFO") << QStringLiteral("C_24.bin") << qint64(-1)
                                        << msg("字库文件%1无法读取，下载失败！").arg(QStringLiteral("C_24.bin"));
    }
    void fontFilesBounded()
    {
        QFETCH(QString, name);
        QFETCH(qint64, sparseSize);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (sparseSize >= 0) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(sparseSize));
        } else {
            const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
            QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
            QVERIFY(QFile::link(QString::fromLocal8Bit(fifo), path));
        }
        DownloadJob job;
        job.mode = DownloadMode::Fonts;
        job.fonts << path;
        Harness h;
        h.start(job);
        h.runToEnd();
        QVERIFY(h.finished() && !h.finished()->ok);
        QCOMPARE(h.finished()->text, message);
        QVERIFY(h.hasMessage(DownloadSteps::Warning, message));
        for (const QString &w : h.writes)
            QVERIFY(w.size() <= DownloadBlocks::LargeFontLimit + 64);
    }

    // A block's wait starts when its last byte left the port, and every erase or write tick from
    // the module starts it again: a long transfer fails only when the module falls silent.
    void blockTimeoutWaitsForTheLineAndTicks()
    {
        QTemporaryDir dir;
        QImage a(64, 64, QImage::Format_RGB32);
        a.fill(Qt::blue);
        QVERIFY(a.save(dir.filePath(QStringLiteral("a.bmp"))));
        DownloadJob job;
        job.mode = DownloadMode::Pictures;
        job.baud = QStringLiteral("9600");
        job.pictures = PictureLibrary::fromPaths({dir.filePath(QStringLiteral("a.bmp"))});
        Harness h;
        h.start(job);
        h.ack();  // flash check
        h.ack();  // header announced
        h.ack();  // header sent
        h.autoDrain = false;
        h.ack();  // pixel block announced: 8192 bytes go out
        QCOMPARE(h.writes.last().size(), 8192);
        // Still on the line after the step's whole wait: no time-out (8192 bytes at 9600 baud,
        // so the line is allowed twice 8.5 s on top).
        h.now += 1210000;
        h.steps.checkTimeout();
        h.drain();
        QVERIFY(h.steps.isActive());
        // The port reports the block sent: the full wait starts now.
        h.steps.lineDrained();
        QCOMPARE(h.steps.msUntilTimeout(), qint64(1200001));
        h.now += 1000000;
        h.steps.progressTick();
        QCOMPARE(h.steps.msUntilTimeout(), qint64(1200001));
        h.now += 1200000;
        h.steps.checkTimeout();
        QVERIFY(h.steps.isActive());
        h.now += 1;
        h.steps.checkTimeout();
        h.drain();
        QVERIFY(!h.steps.isActive());
        QVERIFY(h.finished() && !h.finished()->ok);
        QCOMPARE(h.finished()->text, msg("通信超时，下载失败！"));
    }

    // A line that never reports the block sent still ends the job, after twice its wire time.
    void heldBlockHasABackstop_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<qint64>("allowed");
        // 300 s for the module, twice the line time of the block at the job's rate, 1 s of slack.
        QTest::newRow("115200: twice 165754 ms") << QStringLiteral("115200") << qint64(632509);
        QTest::newRow("rate unknown: as at 9600") << QString() << qint64(300000 + 2 * 1989050 + 1001);
    }
    void heldBlockHasABackstop()
    {
        QFETCH(QString, baud);
        QFETCH(qint64, allowed);
        DownloadJob job;
        job.mode = DownloadMode::Fonts;
        job.baud = baud;
        Harness h;
        h.autoDrain = false;
        h.start(job);  // the small font image, 1909488 bytes, goes out with its announcement
        h.ack();
        QCOMPARE(h.writes.at(1).size(), 1909488);
        QCOMPARE(h.steps.msUntilTimeout(), allowed);
        h.now += allowed - 1;
        h.steps.checkTimeout();
        QVERIFY(h.steps.isActive());
        h.now += 1;
        h.steps.checkTimeout();
        h.drain();
        QVERIFY(!h.steps.isActive());
    }

    void fonts_data()
    {
        QTest::addColumn<int>("c16Size");
        QTest::addColumn<bool>("ok");
        // With no other file the small image is 1909488 - 261696 bytes plus the C_16 file.
        QTest::newRow("no files") << -1 << true;
        QTest::newRow("small image at the limit") << 449360 << true;
        QTest::newRow("one byte over") << 449361 << false;
    }
    void fonts()
    {
        QFETCH(int, c16Size);
        QFETCH(bool, ok);
        QTemporaryDir dir;
        DownloadJob job;
        job.mode = DownloadMode::Fonts;
        if (c16Size >= 0) {
            QFile f(dir.filePath(QStringLiteral("C_16.bin")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(c16Size, 'x'));
            job.fonts << f.fileName();
        }
        Harness h;
        h.start(job);
        h.runToEnd();
        if (ok) {
            const int small = c16Size < 0 ? 1909488 : 1909488 - 261696 + c16Size;
            QCOMPARE(h.writes.size(), 4);
            QCOMPARE(h.writes.at(0), QStringLiteral("ZIKU(%1);\r\n").arg(small));
            QCOMPARE(h.writes.at(1).size(), small);
            QCOMPARE(h.writes.at(2), QStringLiteral("ZIKU48(2744640);\r\n"));
            QCOMPARE(h.writes.at(3).size(), 2744640);
            QVERIFY(h.hasMessage(DownloadSteps::Hint, msg("字库下载成功！")));
        } else {
            QVERIFY(h.writes.isEmpty());
            QVERIFY(h.hasMessage(DownloadSteps::Warning, msg("小字库不能超过2M！")));
        }
        QCOMPARE(h.finished()->ok, ok);
        QVERIFY(!h.steps.isActive());
    }

    void commandJobs_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("enabled");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString cmd = QStringLiteral("ADDR(0);BL(20);\r\n");
        QTest::newRow("backlight") << int(DownloadMode::Backlight) << 0 << QString() << QStringList{cmd} << 4
                                   << msg("背光度设置成功！");
        QTest::newRow("baud") << int(DownloadMode::BaudRate) << 0 << QString() << QStringList{cmd} << 5
                              << msg("波特率设置成功！");
        QTest::newRow("command") << int(DownloadMode::Command) << 0 << QString() << QStringList{cmd} << 6
                                 << msg("指令集发送成功！");
        const QString reset = QStringLiteral("RESET();\r\n");
        QTest::newRow("address on")
            << int(DownloadMode::BusAddress) << 1 << QStringLiteral("200")
            << QStringList{cmd, QStringLiteral("\x01\xC8"), reset} << 6 << msg("写入485地址成功！");
        QTest::newRow("address off ignores the field")
            << int(DownloadMode::BusAddress) << 0 << QStringLiteral("200")
            << QStringList{cmd, QString(2, QChar(0)), reset} << 6 << msg("写入485地址成功！");
    }
    void commandJobs()
    {
        QFETCH(int, mode);
        QFETCH(int, enabled);
        QFETCH(QString, address);
        QFETCH(QStringList, writes);
        QFETCH(int, code);
        QFETCH(QString, message);
        DownloadJob job;
        job.mode = DownloadMode(mode);
        job.command = QStringLiteral("ADDR(0);BL(20);\r\n");
        job.busAddressEnabled = enabled;
        job.busAddress = address;
        Harness h;
        h.start(job);
        QVERIFY(h.hasMessage(DownloadSteps::Log, job.command));
        h.runToEnd();
        QCOMPARE(h.writes, writes);
        QVERIFY(h.hasMessage(code, message));
        QVERIFY(h.finished() && h.finished()->ok);
    }

    void acknowledgementWhileIdleIsHarmless()
    {
        Harness h;
        h.ack();
        QVERIFY(!h.steps.isActive());
        QVERIFY(h.outputs.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDownloadSteps)
#include "tst_downloadsteps.moc"
