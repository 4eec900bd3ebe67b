#include "instructserialport.h"
#include "qmynativeeventfilter.h"
#include "ptydevice.h"
#include "seriallink.h"
#include "virtualmodule.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString msg(const char *context, const char *s) { return QCoreApplication::translate(context, s); }

// A virtual module on a real pty and a serial link opened on its other end.
struct Bench {
    PtyDevice pty;
    VirtualModule module;
    SerialLink link;
    QSignalSpy finished{&link, &SerialLink::s_jobFinished};
    QSignalSpy linkMessages{&link, &SerialLink::s_sendMes};
    QSignalSpy shown{&link, &SerialLink::s_showMessage};

    bool open(const ModuleSettings &settings = ModuleSettings(), double timeScale = 1.0)
    {
        module.setSettings(settings);
        if (!pty.openPty())
            return false;
        module.attach(&pty);
        link.setTimeScale(timeScale);
        return link.open(pty.slavePath(), 115200);
    }
    // Runs a job to its end; returns (ok, message).
    QPair<bool, QString> run(const DownloadJob &job)
    {
        finished.clear();
        if (!link.startJob(job))
            return {false, QStringLiteral("not started")};
        if (!finished.wait(60000))
            return {false, QStringLiteral("no end")};
        return {finished.first().at(0).toBool(), finished.first().at(1).toString()};
    }
    bool linkCodeSeen(int code) const
    {
        for (const QList<QVariant> &args : linkMessages)
            if (args.at(0).toInt() == code)
                return true;
        return false;
    }
};

PageData textPage(int controls, const QString &text = QStringLiteral("温度"))
{
    PageData page;
    page.backgroundNum = 3;
    for (int i = 0; i < controls; ++i) {
        ControlRecord r = ControlRecord::make(ControlKind::Text, i);
        r.x = 10 * i;
        r.text = text;
        page.controls << r;
    }
    QMyDrawType box;
    box.setDrawType(QMyDrawType::Box);
    box.setRect(5, 5, 20, 10);
    page.primitives << box;
    return page;
}

DownloadJob pagesJob(int pages, DownloadMode mode = DownloadMode::PagesOnly)
{
    DownloadJob job;
    job.mode = mode;
    job.backlight = 33;
    job.bootPage = 1;
    for (int i = 0; i < pages; ++i)
        job.pages << textPage(i + 1);
    return job;
}

QStringList makePictures(const QTemporaryDir &dir, const QList<QSize> &sizes)
{
    QStringList paths;
    for (int i = 0; i < sizes.size(); ++i) {
        QImage img(sizes.at(i), QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb(x * 7 + i, y * 3, (x + y) & 0xFF));
        const QString path = dir.filePath(QStringLiteral("%1_p.png").arg(100001 + i));
        img.save(path);
        paths << path;
    }
    return paths;
}

}  // namespace

class TestDownloadEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void pagesOnly_data()
    {
        QTest::addColumn<bool>("split");
        QTest::addColumn<QByteArray>("junk");
        QTest::newRow("plain") << false << QByteArray();
        QTest::newRow("answers in single bytes") << true << QByteArray();
        QTest::newRow("junk before answers") << false << QByteArray("#\x01?");
    }
    void pagesOnly()
    {
        QFETCH(bool, split);
        QFETCH(QByteArray, junk);
        ModuleSettings settings;
        settings.splitAnswers = split;
        settings.junk = junk;
        Bench b;
        QVERIFY(b.open(settings));
        QSignalSpy reset(&b.module, &VirtualModule::resetDone);
        const DownloadJob job = pagesJob(3);
        const auto result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "页面下载成功！"));
        QVERIFY(result.first);
        QVERIFY(!b.link.isBusy());
        // What the module must receive, written out by hand ("温度" is CE C2 B6 C8 in GBK).
        QCOMPARE(b.module.bootScript(), QByteArray("DIR(0);BL(33);JUMP(1);\r\n"));
        const QByteArray head = "CLR(3);BOX(5,5,24,14,0);";
        const QByteArray tail = ",0,60,30,16,'\xce\xc2\xb6\xc8',0,0,0,0,7,0);";
        const QList<QByteArray> pages = {
            head + "TXT(0" + tail + "\r\n",
            head + "TXT(0" + tail + "TXT(10" + tail + "\r\n",
            head + "TXT(0" + tail + "TXT(10" + tail + "TXT(20" + tail + "\r\n",
        };
        QCOMPARE(b.module.pageScripts().size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(b.module.pageScripts().value(i), pages.at(i));
        QVERIFY(reset.count() == 1 || reset.wait(5000));
        QCOMPARE(b.module.backlight(), 33);
        QVERIFY(b.linkCodeSeen(SerialLink::BootScriptSent));
    }

    void pictures_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("pictures") << int(DownloadMode::Pictures);
        QTest::newRow("pictures and pages") << int(DownloadMode::PicturesAndPages);
    }
    void pictures()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        // 300 x 100 x 2 = 60000 bytes: several erase and write ticks.
        DownloadJob job = pagesJob(2, DownloadMode(mode));
        job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(300, 100), QSize(3, 2)}));
        job.pages[1].imageNum = 1;
        Bench b;
        QVERIFY(b.open());
        QSignalSpy progress(&b.link, &SerialLink::s_sendProbar);
        const auto result = b.run(job);
        QVERIFY2(result.first, qPrintable(result.second));
        // P = 300 x 100 x 2 + 3 x 2 x 2 = 60012 (00 00 EA 6C), two pictures, then their sides.
        QCOMPARE(b.module.pictureHeader(), QByteArray::fromHex("0000ea6c0002012c006400030002"));
        QCOMPARE(b.module.pixelData().size(), 60012);
        // Pixels are (x * 7 + i, y * 3, x + y) in 8 bits, row by row: (40, 50) and the last pixel of
        // picture 0, then all of picture 1.
        const QByteArray pixels = b.module.pixelData();
        QCOMPARE(pixels.mid((50 * 300 + 40) * 2, 2), QByteArray::fromHex("1cab"));
        QCOMPARE(pixels.mid(59998, 2), QByteArray::fromHex("2951"));
        QCOMPARE(pixels.right(12), QByteArray::fromHex("000008000800000008000800"));
        const qint64 total = 2 * (14 + 60012);
        QVERIFY(progress.count() > 3);  // start, ticks, end
        QCOMPARE(progress.last().at(0).toLongLong(), total);
        QCOMPARE(progress.last().at(1).toLongLong(), total);
        QCOMPARE(b.module.pageScripts().size(), DownloadMode(mode) == DownloadMode::Pictures ? 0 : 2);
        if (DownloadMode(mode) == DownloadMode::PicturesAndPages)
            QVERIFY(b.module.pageScripts().value(1).startsWith("PIC(1,0,0,3,2);"));
    }

    void fonts()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("E_48.bin")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, 'x'));
        f.close();
        DownloadJob job;
        job.mode = DownloadMode::Fonts;
        job.fonts << f.fileName();
        Bench b;
        QVERIFY(b.open());
        const auto result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "字库下载成功！"));
        QCOMPARE(b.module.smallFontBytes(), 1909488);
        QCOMPARE(b.module.largeFontBytes(), 2744640);
    }

    void settings()
    {
        Bench b;
        QVERIFY(b.open());
        DownloadJob job;
        job.mode = DownloadMode::Backlight;
        job.command = QStringLiteral("ADDR(0);BL(40);\r\n");
        auto result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "背光度设置成功！"));
        QCOMPARE(b.module.backlight(), 40);
        QVERIFY(b.linkCodeSeen(SerialLink::BacklightConfirmed));

        job.mode = DownloadMode::BaudRate;
        job.command = QStringLiteral("ADDR(0);BPS(9600);\r\n");
        result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "波特率设置成功！"));
        QCOMPARE(b.module.baud(), 9600);
        QVERIFY(b.linkCodeSeen(SerialLink::BaudConfirmed));

        job.mode = DownloadMode::BusAddress;
        job.command = QStringLiteral("write_flash(2002944,2);\r\n");
        job.busAddressEnabled = 1;
        job.busAddress = QStringLiteral("7");
        result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "写入485地址成功！"));
        QCOMPARE(b.module.addressEnabled(), 1);
        QCOMPARE(b.module.address(), 7);

        QSignalSpy address(&b.link, &SerialLink::s_send485);
        job.mode = DownloadMode::Command;
        job.command = QStringLiteral("GET_ADDR();\r\n");
        result = b.run(job);
        QCOMPARE(result.second, msg("InstructSerialPort", "指令集发送成功！"));
        QCOMPARE(address.count(), 1);
        QCOMPARE(address.first(), (QList<QVariant>{1, 7}));

        job.command = QStringLiteral("VER();\r\n");
        QVERIFY(b.run(job).first);
        QVERIFY(b.module.commands().contains(QStringLiteral("VER();")));
    }

    void failures_data()
    {
        QTest::addColumn<int>("silent");
        QTest::addColumn<int>("maxControls");
        QTest::addColumn<int>("flash");
        QTest::addColumn<int>("closeAfter");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        const int pages = int(DownloadMode::PagesOnly), pictures = int(DownloadMode::Pictures);
        QTest::newRow("no answer") << 1 << 100 << 11 << -1 << pages << msg("InstructSerialPort", "通信超时，下载失败！");
        QTest::newRow("no answer mid-job") << 4 << 100 << 11 << -1 << pages << msg("InstructSerialPort", "通信超时，下载失败！");
        QTest::newRow("limits exceeded") << 0 << 1 << 11 << -1 << pages
                                         << msg("SerialPortDlg", "第%1页控件数量已超过%2！").arg(QStringLiteral("1")).arg(1);
        QTest::newRow("flash too small") << 0 << 100 << 2 << -1 << pictures
                                         << msg("SerialPortDlg", "下载失败，下载图片的bin文件总大小超过2M！");
        QTest::newRow("line closed") << 0 << 100 << 11 << 40 << pages << msg("SerialPortDlg", "通信已断开，下载失败！");
    }
    void failures()
    {
        QFETCH(int, silent);
        QFETCH(int, maxControls);
        QFETCH(int, flash);
        QFETCH(int, closeAfter);
        QFETCH(int, mode);
        QFETCH(QString, message);
        ModuleSettings settings;
        settings.silentAnswer = silent;
        settings.maxControls = maxControls;
        settings.flashMiB = flash;
        settings.closeAfterBytes = closeAfter;
        QTemporaryDir dir;
        DownloadJob job = pagesJob(2, DownloadMode(mode));
        if (DownloadMode(mode) == DownloadMode::Pictures)
            job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(1025, 1024)}));
        Bench b;
        // Time-outs of 10 s pass in half a second.
        QVERIFY(b.open(settings, 20.0));
        const auto result = b.run(job);
        QVERIFY(!result.first);
        QCOMPARE(result.second, message);
        QVERIFY(!b.link.isBusy());
        QCOMPARE(b.shown.last().at(0).toInt(), int(SerialLink::Warning));
        QCOMPARE(b.shown.last().at(1).toString(), message);
        if (closeAfter >= 0)
            QVERIFY(!b.link.isOpen());
        QCOMPARE(b.module.resets(), 0);
    }

    void portListChanges()
    {
        using Changes = QVector<QPair<QString, bool>>;
        QCOMPARE(QMyNativeEventFilter::changes({}, {}), Changes());
        QCOMPARE(QMyNativeEventFilter::changes({QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")},
                                               {QStringLiteral("ttyS0"), QStringLiteral("ttyUSB1")}),
                 (Changes{{QStringLiteral("ttyUSB1"), true}, {QStringLiteral("ttyUSB0"), false}}));
    }

    void unpluggingTheOpenPortEndsTheJob()
    {
        Bench b;
        ModuleSettings settings;
        settings.silentAnswer = 1;
        QVERIFY(b.open(settings));
        QVERIFY(b.link.startJob(pagesJob(1)));
        // Another port going away changes nothing.
        b.link.portRemoved(QStringLiteral("ttyUSB7"));
        QVERIFY(b.link.isOpen());
        QVERIFY(b.link.isBusy());
        b.link.portRemoved(b.pty.slavePath());
        QVERIFY(!b.link.isOpen());
        QVERIFY(!b.link.isBusy());
        QCOMPARE(b.finished.count(), 1);
        QCOMPARE(b.shown.last().at(1).toString(), msg("SerialPortDlg", "串口%1已拔出！").arg(b.pty.slavePath()));
    }

    void nextSessionAfterAnAbandonedBlock()
    {
        QTemporaryDir dir;
        DownloadJob job = pagesJob(1, DownloadMode::Pictures);
        job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(1000, 1000)}));
        ModuleSettings settings;
        settings.blockIdleMs = 100;
        Bench b;
        QVERIFY(b.open(settings));
        b.pty.setBaud(115200);
        QVERIFY(b.link.startJob(job));
        QTRY_VERIFY(b.module.bytesReceived() > 1000);
        b.link.close();
        b.pty.setBaud(0);
        // A new session on the same module, as another run of the command-line tool would open.
        SerialLink second;
        QVERIFY(second.open(b.pty.slavePath(), 115200));
        QSignalSpy done(&second, &SerialLink::s_jobFinished);
        QTest::qWait(300);
        QVERIFY(second.startJob(pagesJob(1)));
        QVERIFY(done.wait(20000));
        QVERIFY2(done.first().at(0).toBool(), qPrintable(done.first().at(1).toString()));
    }

    // A block that needs longer on the line than the whole wait of its step still arrives: the
    // wait starts when its last byte left, and the module's ticks keep it alive.
    void slowLineOutlastsTheWait()
    {
        QTemporaryDir dir;
        DownloadJob job = pagesJob(1, DownloadMode::Pictures);
        job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(250, 200)}));
        Bench b;
        // 100000 bytes at 115200 baud: about 8.7 s, which at this scale is 29 minutes of waiting.
        QVERIFY(b.open(ModuleSettings(), 200.0));
        b.pty.setBaud(115200);
        const auto result = b.run(job);
        QVERIFY2(result.first, qPrintable(result.second));
        QCOMPARE(b.module.pixelData().size(), 100000);
    }

    void timeOutMidBlockStopsSending()
    {
        QTemporaryDir dir;
        DownloadJob job = pagesJob(1, DownloadMode::Pictures);
        job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(1000, 1000)}));
        Bench b;
        // 2 MB at 115200 baud take minutes, and a module that stops reporting its progress is
        // given up twice the line time after the block: in about three seconds at this scale.
        ModuleSettings quiet;
        quiet.noTicks = true;
        QVERIFY(b.open(quiet, 600.0));
        b.pty.setBaud(115200);
        const auto result = b.run(job);
        QVERIFY(!result.first);
        QCOMPARE(result.second, msg("InstructSerialPort", "通信超时，下载失败！"));
        QCOMPARE(b.link.pendingWriteBytes(), qint64(0));
        const qint64 received = b.module.bytesReceived();
        QTest::qWait(300);
        // At most what was already in the line when the job ended.
        QVERIFY(b.module.bytesReceived() - received < SerialLink::SliceBytes);
        QVERIFY(b.module.bytesReceived() < 1000000);
    }

    void jobNeedsAnOpenPort()
    {
        SerialLink link;
        QSignalSpy shown(&link, &SerialLink::s_showMessage);
        QVERIFY(!link.startJob(pagesJob(1)));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().at(1).toString(), msg("SerialPortDlg", "通信未连接，请您先连接通信！"));
        QVERIFY(!link.isBusy());
    }

    void closingMidJobEndsIt()
    {
        QTemporaryDir dir;
        DownloadJob job = pagesJob(1, DownloadMode::Pictures);
        job.pictures = PictureLibrary::fromPaths(makePictures(dir, {QSize(1000, 1000)}));
        Bench b;
        QVERIFY(b.open());
        b.pty.setBaud(115200);  // 2 MB take minutes: the job is surely running when we close
        QVERIFY(b.link.startJob(job));
        QTRY_VERIFY(b.module.commands().contains(QStringLiteral("SR_DLOAD(2,2000000);")));
        QTRY_VERIFY(b.link.pendingWriteBytes() > 0);
        // Only about one slice is ever queued in the port.
        QVERIFY(b.link.pendingWriteBytes() <= 2000000);
        b.link.close();
        QCOMPARE(b.finished.count(), 1);
        QCOMPARE(b.finished.first().at(1).toString(), msg("SerialPortDlg", "通信已断开，下载失败！"));
        QVERIFY(!b.link.isBusy());
        QCOMPARE(b.link.pendingWriteBytes(), qint64(0));
    }
};

QTEST_MAIN(TestDownloadEndToEnd)
#include "tst_download_e2e.moc"
