// Many modules at once: the orchestrator and production mode, on virtual modules in threads of
// their own, as the command line and the window run them.
#include "batchdownload.h"
#include "download/downloadjob.h"
#include "file/projectfile.h"
#include "library/picturelibrary.h"
#include "productionwatch.h"
#include "ptydevice.h"
#include "seriallink.h"
#include "virtualmodule.h"
#include "virtualport.h"
#include "virtualportthread.h"

#include <QCryptographicHash>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

#include "demoproject.h"

namespace {

QString msg(const char *context, const char *s) { return QCoreApplication::translate(context, s); }

struct Stored {
    QByteArray boot;
    QMap<int, QByteArray> pages;
    QByteArray header;
    QByteArray pixels;
    qint64 received = 0;
};

Stored storedIn(VirtualModule *m)
{
    return {m->bootScript(), m->pageScripts(), m->pictureHeader(), m->pixelData(), m->bytesReceived()};
}

Stored storedIn(VirtualPortThread &v)
{
    Stored s;
    v.withModule([&s](VirtualModule *m) { s = storedIn(m); });
    return s;
}

DownloadJob demoJob(const QString &project, DownloadMode mode)
{
    ProjectData data;
    const QString folder = QFileInfo(project).absolutePath();
    const PictureLibrary pictures = PictureLibrary::fromProjectFolder(folder);
    if (!ProjectFile::read(project, pictures.count(), &data).ok)
        return DownloadJob();
    return jobFromProject(data, folder, mode);
}

// The single download of the same job, for the bytes every module of a batch must receive.
Stored singleDownload(const DownloadJob &job)
{
    VirtualPort port;
    if (!port.start())
        return Stored();
    SerialLink link;
    QSignalSpy finished(&link, &SerialLink::s_jobFinished);
    QSignalSpy reset(port.module(), &VirtualModule::resetDone);
    if (!link.open(port.devicePath(), 115200) || !link.startJob(job) || !finished.wait(60000))
        return Stored();
    if (reset.isEmpty())
        reset.wait(5000);
    return storedIn(port.module());
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Runs a batch over the ports to its end.
bool runBatch(BatchDownload &batch, const QStringList &ports, int timeoutMs = 60000)
{
    QSignalSpy all(&batch, &BatchDownload::allFinished);
    for (const QString &p : ports)
        if (batch.addPort(p, 115200) < 0)
            return false;
    return all.wait(timeoutMs);
}

}  // namespace

class TestBatchDownload : public QObject {
    Q_OBJECT
private slots:
    void fourModulesReceiveWhatASingleDownloadSends()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QByteArray before = fileHash(project);
        const QDateTime modified = QFileInfo(project).lastModified();
        const DownloadJob job = demoJob(project, DownloadMode::PicturesAndPages);
        QVERIFY(!job.pages.isEmpty() && !job.pictures.isEmpty());
        const Stored single = singleDownload(job);
        // The demo's boot script, as the module must store it.
        QCOMPARE(single.boot, QByteArray("DIR(0);BL(20);GIF(5,96,136,48,48);DELAYMS(200);GIF(6,96,136,48,48);"
                                         "DELAYMS(200);GIF(7,96,136,48,48);DELAYMS(200);JUMP(0);\r\n"));
        QVERIFY(single.pixels.size() > 10000);

        std::vector<std::unique_ptr<VirtualPortThread>> modules;
        QStringList ports;
        for (int i = 0; i < 4; ++i) {
            modules.push_back(std::make_unique<VirtualPortThread>());
            QVERIFY(modules.back()->start());
            ports << modules.back()->devicePath();
        }
        BatchDownload batch;
        batch.setJob(job);
        QSignalSpy finished(&batch, &BatchDownload::jobFinished);
        QVERIFY(runBatch(batch, ports));
        QCOMPARE(finished.count(), 4);
        QCOMPARE(batch.succeededCount(), 4);
        QCOMPARE(batch.failedCount(), 0);
        for (int i = 0; i < 4; ++i) {
            const BatchJobState &s = batch.state(i);
            QCOMPARE(s.message, msg("InstructSerialPort", "页面下载成功！"));
            QCOMPARE(s.doneBytes, batch.totalBytes());
            // The reset that ends the job may still be on its way to the module.
            Stored got;
            for (int t = 0; t < 100 && got.received != single.received; ++t) {
                QTest::qWait(20);
                got = storedIn(*modules.at(size_t(i)));
            }
            QCOMPARE(got.received, single.received);
            QCOMPARE(got.boot, single.boot);
            QCOMPARE(got.pages, single.pages);
            QCOMPARE(got.header, single.header);
            QVERIFY(got.pixels == single.pixels);
        }
        QCOMPARE(fileHash(project), before);
        QCOMPARE(QFileInfo(project).lastModified(), modified);
    }

    void aFaultyModuleFailsAlone_data()
    {
        QTest::addColumn<int>("silent");
        QTest::addColumn<qint64>("closeAfter");
        QTest::addColumn<QString>("message");
        QTest::newRow("never answers the second step") << 2 << qint64(-1) << msg("InstructSerialPort", "通信超时，下载失败！");
        QTest::newRow("line closes mid-job") << 0 << qint64(300) << msg("SerialPortDlg", "通信已断开，下载失败！");
    }
    void aFaultyModuleFailsAlone()
    {
        QFETCH(int, silent);
        QFETCH(qint64, closeAfter);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        std::vector<std::unique_ptr<VirtualPortThread>> modules;
        QStringList ports;
        for (int i = 0; i < 3; ++i) {
            ModuleSettings settings;
            if (i == 1) {
                settings.silentAnswer = silent;
                settings.closeAfterBytes = closeAfter;
            }
            modules.push_back(std::make_unique<VirtualPortThread>());
            QVERIFY(modules.back()->start(settings));
            ports << modules.back()->devicePath();
        }
        BatchDownload batch;
        // Time-outs run four times faster: the silent module fails in 2.5 s, while a busy machine still
        // leaves the sound modules time to answer.
        batch.setTimeScale(4);
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        QVERIFY(runBatch(batch, ports));
        QCOMPARE(batch.state(0).status, BatchJobState::Succeeded);
        QCOMPARE(batch.state(1).status, BatchJobState::Failed);
        QCOMPARE(batch.state(1).message, message);
        QCOMPARE(batch.state(2).status, BatchJobState::Succeeded);
    }

    void aPortUnpluggedMidJobFailsAlone()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        std::vector<std::unique_ptr<VirtualPortThread>> modules;
        QStringList ports;
        for (int i = 0; i < 3; ++i) {
            modules.push_back(std::make_unique<VirtualPortThread>());
            // A slow line, so the job is still running when its port goes.
            QVERIFY(modules.back()->start(ModuleSettings(), i == 2 ? 19200 : 0));
            ports << modules.back()->devicePath();
        }
        // The slow one is started through a link; the unplug comes under the device's own path.
        const QString link = dir.filePath(QStringLiteral("fixture"));
        QVERIFY(QFile::link(ports.at(2), link));
        ports[2] = link;
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PicturesAndPages));
        QSignalSpy all(&batch, &BatchDownload::allFinished);
        for (const QString &p : ports)
            QVERIFY(batch.addPort(p, 115200) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(batch.state(2).doneBytes > 1000, 20000);
        QVERIFY(!batch.state(2).finished());
        batch.portRemoved(modules.at(2)->devicePath());
        modules.at(2)->stop();
        QVERIFY(all.wait(60000));
        QCOMPARE(batch.state(0).status, BatchJobState::Succeeded);
        QCOMPARE(batch.state(1).status, BatchJobState::Succeeded);
        QCOMPARE(batch.state(2).status, BatchJobState::Failed);
        QCOMPARE(batch.state(2).message, msg("SerialPortDlg", "串口%1已拔出！").arg(ports.at(2)));
    }

    void aPortOpenElsewhereFailsAlone()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        VirtualPortThread a, b;
        QVERIFY(a.start());
        QVERIFY(b.start());
        QSerialPort other;
        other.setPortName(b.devicePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        QVERIFY(runBatch(batch, {a.devicePath(), b.devicePath()}));
        QCOMPARE(batch.state(0).status, BatchJobState::Succeeded);
        QCOMPARE(batch.state(1).status, BatchJobState::Failed);
        QVERIFY2(batch.state(1).message.startsWith(BatchDownload::tr("串口%1打开失败：%2").arg(b.devicePath(), QString())),
                 qPrintable(batch.state(1).message));
        // The job never reached the module behind the port.
        QCOMPARE(storedIn(b).received, qint64(0));
    }

    void sameDeviceTwiceIsRefused_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<bool>("refused");
        QTest::newRow("name and path") << QStringList{QStringLiteral("ttyS3"), QStringLiteral("/dev/ttyS3")} << true;
        QTest::newRow("path spelled twice") << QStringList{QStringLiteral("/dev/ttyS3"), QStringLiteral("/dev/../dev/ttyS3")}
                                            << true;
        QTest::newRow("same entry") << QStringList{QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyS0"),
                                                   QStringLiteral("/dev/ttyUSB1")}
                                    << true;
        QTest::newRow("different devices") << QStringList{QStringLiteral("ttyS3"), QStringLiteral("/dev/ttyS4")} << false;
    }
    void sameDeviceTwiceIsRefused()
    {
        QFETCH(QStringList, ports);
        QFETCH(bool, refused);
        QCOMPARE(!BatchDownload::duplicateMessage(ports).isEmpty(), refused);
    }

    void aLinkToAPortIsThatPort()
    {
        VirtualPortThread v;
        QVERIFY(v.start());
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("module"));
        QVERIFY(QFile::link(v.devicePath(), link));
        QCOMPARE(BatchDownload::duplicateMessage({link, v.devicePath()}),
                 BatchDownload::tr("%1和%2是同一个串口，不能同时下载！").arg(link, v.devicePath()));
        // Nor may a running job's device get a second job under another name.
        QString project;
        QVERIFY(copyDemo(dir, &project));
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        QSignalSpy all(&batch, &BatchDownload::allFinished);
        QVERIFY(batch.addPort(v.devicePath(), 115200) == 0);
        QString error;
        QCOMPARE(batch.addPort(link, 115200, QString(), &error), -1);
        QVERIFY(!error.isEmpty());
        QVERIFY(all.wait(30000));
        QCOMPARE(batch.count(), 1);
    }

    void refusesForTheSingleDownloadsReasons_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("pages");
        QTest::addColumn<bool>("pictures");
        QTest::addColumn<QString>("message");
        QTest::newRow("no page") << int(DownloadMode::PagesOnly) << false << true
                                 << msg("MainWindow", "项目中没有页面，无法下载！");
        QTest::newRow("no picture") << int(DownloadMode::Pictures) << true << false
                                    << msg("MainWindow", "未添加图片无法下载，请您先添加图片！");
        QTest::newRow("sound") << int(DownloadMode::PicturesAndPages) << true << true << QString();
    }
    void refusesForTheSingleDownloadsReasons()
    {
        QFETCH(int, mode);
        QFETCH(bool, pages);
        QFETCH(bool, pictures);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        DownloadJob job = demoJob(project, DownloadMode(mode));
        if (!pages)
            job.pages.clear();
        if (!pictures)
            job.pictures = PictureLibrary();
        QCOMPARE(BatchDownload::refusal(job), message);
    }

    void progressNeverFasterThanTheLine_data()
    {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<double>("rate");
        QTest::addColumn<qint64>("left");
        // 34 000 bytes in 2 s looks like 17 000 B/s while the port's buffer fills; 115200 baud
        // carries 11 520.
        QTest::newRow("buffer filling") << qint64(34000) << qint64(2000) << 11520.0 << qint64(26563);
        QTest::newRow("slower than the line") << qint64(10000) << qint64(2000) << 5000.0 << qint64(66000);
    }
    void progressNeverFasterThanTheLine()
    {
        QFETCH(qint64, done);
        QFETCH(qint64, elapsed);
        QFETCH(double, rate);
        QFETCH(qint64, left);
        BatchJobState s;
        s.baud = 115200;
        s.totalBytes = 340000;
        s.doneBytes = done;
        s.elapsedMs = elapsed;
        const TransferEstimate e = BatchDownload::estimate(s);
        QCOMPARE(e.bytesPerSecond, rate);
        QCOMPARE(e.msLeft, left);
    }

    void productionModeDownloadsEachNewModuleOnce()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QByteArray before = fileHash(project);
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        ProductionWatch watch(&batch, 115200);
        QSignalSpy done(&watch, &ProductionWatch::moduleDone);

        // Plugged in: downloaded.
        auto a = std::make_unique<VirtualPortThread>();
        QVERIFY(a->start());
        watch.portChanged(a->devicePath(), true);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toInt(), 1);
        QVERIFY(done.at(0).at(2).toBool());
        // Left plugged in, announced again, still answering: not downloaded twice.
        watch.portChanged(a->devicePath(), true);
        QTest::qWait(4 * ProductionWatch::ProbeIntervalMs);
        QCOMPARE(done.count(), 1);
        QCOMPARE(storedIn(*a).pages.size(), 3);

        // Unplugged, another one plugged in.
        watch.portChanged(a->devicePath(), false);
        a->stop();
        VirtualPortThread b;
        QVERIFY(b.start());
        watch.portChanged(b.devicePath(), true);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.count(), 2);
        QCOMPARE(done.at(1).at(0).toInt(), 2);

        // A port whose module is not there yet: nothing until it starts answering.
        PtyDevice bare;
        QVERIFY(bare.openPty());
        watch.watchPort(bare.slavePath(), QStringLiteral("fixture"));
        QTest::qWait(3 * ProductionWatch::ProbeIntervalMs);
        QCOMPARE(done.count(), 2);
        VirtualModule late;
        late.attach(&bare);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.count(), 3);
        QCOMPARE(done.at(2).at(1).toString(), QStringLiteral("fixture"));
        QCOMPARE(late.pageScripts().size(), 3);

        // Unplugged mid-job: that module fails with the unplug message, and counts.
        VirtualPortThread slow;
        QVERIFY(slow.start(ModuleSettings(), 9600));
        QSignalSpy started(&watch, &ProductionWatch::downloadStarted);
        watch.portChanged(slow.devicePath(), true);
        QVERIFY(started.wait(10000));
        QTRY_VERIFY_WITH_TIMEOUT(batch.state(started.at(0).at(0).toInt()).doneBytes > 100, 10000);
        watch.portChanged(slow.devicePath(), false);
        QVERIFY(done.wait(10000));
        QCOMPARE(done.count(), 4);
        QVERIFY(!done.at(3).at(2).toBool());
        QCOMPARE(done.at(3).at(3).toString(), msg("SerialPortDlg", "串口%1已拔出！").arg(slow.devicePath()));

        QSignalSpy stopped(&watch, &ProductionWatch::stopped);
        watch.stop();
        QVERIFY(stopped.wait(5000));
        QCOMPARE(watch.succeeded(), 3);
        QCOMPARE(watch.failed(), 1);
        QCOMPARE(ProductionWatch::totalsText(3, 1), msg("ProductionWatch", "共%1个模块：成功%2个，失败%3个").arg(4).arg(3).arg(1));
        QCOMPARE(fileHash(project), before);
    }

    // A module that keeps answering is downloaded once however long it stays; one that is silent
    // for a few probes (restarting) is the same module, one silent for longer is a new one.
    void productionWatchCountsSilence()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        ProductionWatch watch(&batch, 115200);
        QSignalSpy done(&watch, &ProductionWatch::moduleDone);
        PtyDevice pty;
        QVERIFY(pty.openPty());
        auto module = std::make_unique<VirtualModule>();
        module->attach(&pty);
        watch.watchPort(pty.slavePath());
        QVERIFY(done.wait(30000));
        const int probe = ProductionWatch::ProbeIntervalMs;
        const int window = ProductionWatch::SilentProbesForGone;
        QTest::qWait((window + 3) * probe);
        QCOMPARE(done.count(), 1);

        const struct {
            int silentProbes;
            int downloads;
        } steps[] = {{3, 1}, {window + 3, 2}};
        for (const auto &step : steps) {
            module.reset();
            QTest::qWait(step.silentProbes * probe);
            module = std::make_unique<VirtualModule>();
            module->attach(&pty);
            if (step.downloads > done.count())
                QVERIFY(done.wait(30000));
            else
                QTest::qWait(4 * probe);
            QCOMPARE(done.count(), step.downloads);
        }
        QVERIFY(done.last().at(2).toBool());
        QCOMPARE(module->pageScripts().size(), 3);
    }

    void stopWaitsForTheJobsInFlight()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        BatchDownload batch;
        batch.setJob(demoJob(project, DownloadMode::PagesOnly));
        ProductionWatch watch(&batch, 115200);
        QSignalSpy done(&watch, &ProductionWatch::moduleDone);
        QSignalSpy stopped(&watch, &ProductionWatch::stopped);
        QSignalSpy started(&watch, &ProductionWatch::downloadStarted);
        VirtualPortThread v;
        QVERIFY(v.start(ModuleSettings(), 19200));
        watch.portChanged(v.devicePath(), true);
        QVERIFY(started.wait(10000));
        watch.stop();
        QVERIFY(stopped.wait(30000));
        // The job in flight ended on its own, successfully, before the watch stopped.
        QCOMPARE(done.count(), 1);
        QVERIFY(done.at(0).at(2).toBool());
        // A module plugged in after stopping is left alone.
        VirtualPortThread late;
        QVERIFY(late.start());
        watch.portChanged(late.devicePath(), true);
        QTest::qWait(3 * ProductionWatch::ProbeIntervalMs);
        QCOMPARE(batch.count(), 1);
    }
};

QTEST_MAIN(TestBatchDownload)
#include "tst_batchdownload.moc"
