#include "file/projectfile.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "tavocli.h"
#include "demoproject.h"
#include "imagecompare.h"

namespace {

CliRun cli(const QStringList &args) { return runTavoCli(args); }

}  // namespace

class TestCliDevice : public QObject {
    Q_OBJECT
private slots:
    void downloadToTheVirtualModule()
    {
        QTemporaryDir out;
        const CliRun r = cli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), QStringLiteral("--port"),
                           QStringLiteral("virtual"), QStringLiteral("--with-pictures"), QStringLiteral("--render"), out.path()});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.outText().contains(QStringLiteral("页面下载成功！")));
        ProjectData data;
        QVERIFY(ProjectFile::read(QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), 100, &data).ok);
        for (int i = 0; i < data.pages.size(); ++i) {
            QTemporaryDir ref;
            const QString refPath = ref.filePath(QStringLiteral("ref.png"));
            QCOMPARE(cli({QStringLiteral("render"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), QStringLiteral("--page"),
                          QString::number(i), QStringLiteral("-o"), refPath, QStringLiteral("--module")})
                         .code,
                     0);
            // The pages the module shows are the module look's pixels, exactly.
            const QImage shown(out.filePath(QStringLiteral("page%1.png").arg(i)));
            QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), QImage(refPath).convertToFormat(QImage::Format_RGB32));
        }
    }

    void settingsChangeTheProjectOnlyWhenConfirmed()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        CliRun r = cli({QStringLiteral("set-backlight"), QStringLiteral("--port"), QStringLiteral("virtual"), QStringLiteral("77"),
                     project});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        r = cli({QStringLiteral("set-baud"), QStringLiteral("--port"), QStringLiteral("virtual"), QStringLiteral("9600"), project});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        ProjectData data;
        QVERIFY(ProjectFile::read(project, 100, &data).ok);
        QCOMPARE(data.blValue, 77);
        QCOMPARE(data.baud, QStringLiteral("9600"));
        // No module on the other end: the project stays as it was.
        r = cli({QStringLiteral("set-backlight"), QStringLiteral("--port"), dir.filePath(QStringLiteral("none")),
                 QStringLiteral("5"), project});
        QCOMPARE(r.code, 1);
        QVERIFY(ProjectFile::read(project, 100, &data).ok);
        QCOMPARE(data.blValue, 77);
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("output");
        const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        const QString v = QStringLiteral("virtual");
        const QString port = QStringLiteral("--port");
        QTest::newRow("fonts") << QStringList{QStringLiteral("download"), demo, port, v, QStringLiteral("--fonts")} << 0
                               << QStringLiteral("字库下载成功！");
        QTest::newRow("pictures only") << QStringList{QStringLiteral("download"), demo, port, v, QStringLiteral("--pictures-only")}
                                       << 0 << QStringLiteral("图片下载成功！");
        QTest::newRow("console") << QStringList{QStringLiteral("send"), port, v, QStringLiteral("VER();")} << 0
                                 << QStringLiteral("FW_");
        QTest::newRow("address") << QStringList{QStringLiteral("set-address"), port, v, QStringLiteral("200")} << 0
                                 << QStringLiteral("写入485地址成功！");
        QTest::newRow("read address") << QStringList{QStringLiteral("get-address"), port, v} << 0
                                      << QStringLiteral("enabled=0 address=0");
        QTest::newRow("backlight log") << QStringList{QStringLiteral("set-backlight"), port, v, QStringLiteral("--log"),
                                                      QStringLiteral("30")}
                                       << 0 << QStringLiteral("--发送:背光度设置成功！");
        QTest::newRow("baud log") << QStringList{QStringLiteral("set-baud"), port, v, QStringLiteral("--log"),
                                                 QStringLiteral("9600")}
                                  << 0 << QStringLiteral("--发送:波特率设置成功！");
        QTest::newRow("no port") << QStringList{QStringLiteral("download"), demo} << 2 << QString();
        QTest::newRow("two modes") << QStringList{QStringLiteral("download"), demo, port, v, QStringLiteral("--fonts"),
                                                  QStringLiteral("--pictures-only")}
                                   << 2 << QString();
        QTest::newRow("address out of range") << QStringList{QStringLiteral("set-address"), port, v, QStringLiteral("256")} << 2
                                              << QString();
        QTest::newRow("backlight out of range") << QStringList{QStringLiteral("set-backlight"), port, v, QStringLiteral("-1")}
                                                << 2 << QString();
        QTest::newRow("render needs the virtual module")
            << QStringList{QStringLiteral("download"), demo, port, QStringLiteral("/dev/null"), QStringLiteral("--render"),
                           QStringLiteral("x")}
            << 2 << QString();
        QTest::newRow("port that does not exist")
            << QStringList{QStringLiteral("get-address"), port, QStringLiteral("/nonexistent/tty")} << 1 << QString();
    }
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, output);
        const CliRun r = cli(args);
        QVERIFY2(r.code == code, qPrintable(r.err));
        QVERIFY2(r.outText().contains(output), qPrintable(r.outText()));
    }

    // A module that listens at 38400 only is found there (9600 and 19200 are tried first and
    // get no answer); nothing found is exit status 1.
    void findModule()
    {
        QProcess sim;
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), {QStringLiteral("--baud"), QStringLiteral("38400")});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        QVERIFY(path.startsWith(QLatin1Char('/')));
        const CliRun found = cli({QStringLiteral("find-module"), QStringLiteral("--port"), path});
        QVERIFY2(found.code == 0, qPrintable(found.err));
        QCOMPARE(found.outText(), path + QStringLiteral(" 38400\n"));
        sim.kill();
        sim.waitForFinished();

        const CliRun none = cli({QStringLiteral("find-module"), QStringLiteral("--port"), QStringLiteral("/dev/tavo-no-such-port")});
        QCOMPARE(none.code, 1);
        QVERIFY(none.err.contains(QStringLiteral("no module answered")));
        QCOMPARE(cli({QStringLiteral("find-module"), QStringLiteral("extra")}).code, 2);
    }

    void standaloneSimulator()
    {
        QTemporaryDir out;
        QProcess sim;
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), {QStringLiteral("--size"), QStringLiteral("240x320"),
                                                            QStringLiteral("--render"), out.path()});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        QVERIFY(path.startsWith(QLatin1Char('/')));
        const CliRun r = cli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), QStringLiteral("--port"),
                           path});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QTRY_VERIFY(QFileInfo::exists(out.filePath(QStringLiteral("page0.png"))));
        sim.kill();
        sim.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCliDevice)
#include "tst_cli_device.moc"
