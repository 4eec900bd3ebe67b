// tavo-cli download to several ports at once and in production mode, as a line's script runs it.
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <memory>
#include <vector>

#include "demoproject.h"
#include "tavocli.h"

namespace {

QString msg(const char *context, const char *s) { return QCoreApplication::translate(context, s); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An lxp-sim process and the device path it printed.
struct Sim {
    QProcess process;
    QString path;
    bool start(const QStringList &args)
    {
        process.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), args);
        if (!process.waitForReadyRead(10000))
            return false;
        path = QString::fromUtf8(process.readLine()).trimmed();
        return !path.isEmpty();
    }
    ~Sim()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

const QString kPort = QStringLiteral("--port");
const QString kVirtual = QStringLiteral("virtual");

}  // namespace

class TestCliBatch : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("fifo"))).constData(), 0600) == 0);
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("elsewhere.log")), m_dir.filePath(QStringLiteral("link.log"))));
    }

    void fourVirtualModulesAtOnce()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QByteArray before = fileBytes(project);
        const QDateTime modified = QFileInfo(project).lastModified();
        const CliRun r = runTavoCli({QStringLiteral("download"), project, kPort, kVirtual, kPort, kVirtual, kPort, kVirtual,
                                     kPort, kVirtual, QStringLiteral("--with-pictures")});
        QVERIFY2(r.code == 0, qPrintable(r.err + r.outText()));
        const QStringList lines = r.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList results;
        for (const QString &line : lines)
            if (!line.contains(QLatin1Char('%')))
                results << line;
        QCOMPARE(results.size(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(QRegularExpression(QStringLiteral("^virtual%1 ok \\d+\\.\\d s$").arg(i + 1)).match(results.at(i)).hasMatch(),
                     qPrintable(results.at(i)));
        // Standard output is no terminal: plain lines, no cursor movements.
        QVERIFY(!r.out.contains('\x1b'));
        QCOMPARE(fileBytes(project), before);
        QCOMPARE(QFileInfo(project).lastModified(), modified);
    }

    void faultyModulesFailAlone()
    {
        Sim silent, closing;
        QVERIFY(silent.start({QStringLiteral("--silent"), QStringLiteral("2")}));
        QVERIFY(closing.start({QStringLiteral("--close-after"), QStringLiteral("200")}));
        const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        const CliRun r = runTavoCli({QStringLiteral("download"), demo, kPort, kVirtual, kPort, silent.path, kPort,
                                     closing.path, kPort, kVirtual});
        QCOMPARE(r.code, 1);
        const QString out = r.outText();
        QVERIFY2(out.contains(QRegularExpression(QStringLiteral("^virtual1 ok "), QRegularExpression::MultilineOption)), qPrintable(out));
        QVERIFY2(out.contains(QRegularExpression(QStringLiteral("^virtual2 ok "), QRegularExpression::MultilineOption)), qPrintable(out));
        // The single download's own messages (a page download waits ten seconds for an answer).
        QVERIFY2(out.contains(silent.path + QStringLiteral(" failed: ") + msg("InstructSerialPort", "通信超时，下载失败！")),
                 qPrintable(out));
        QVERIFY2(out.contains(closing.path + QStringLiteral(" failed: ") + msg("SerialPortDlg", "通信已断开，下载失败！")),
                 qPrintable(out));
    }

    void jsonResults()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("ttyNone"));
        const CliRun r = runTavoCli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), kPort,
                                     kVirtual, kPort, missing, kPort, kVirtual, QStringLiteral("--json")});
        QCOMPARE(r.code, 1);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(r.outText()));
        QCOMPARE(o.value(QStringLiteral("ok")).toBool(), false);
        QCOMPARE(o.value(QStringLiteral("succeeded")).toInt(), 2);
        QCOMPARE(o.value(QStringLiteral("failed")).toInt(), 1);
        const QJsonArray ports = o.value(QStringLiteral("ports")).toArray();
        QCOMPARE(ports.size(), 3);
        QCOMPARE(ports.at(0).toObject().value(QStringLiteral("port")).toString(), QStringLiteral("virtual1"));
        QCOMPARE(ports.at(0).toObject().value(QStringLiteral("ok")).toBool(), true);
        QCOMPARE(ports.at(0).toObject().value(QStringLiteral("message")).toString(), msg("InstructSerialPort", "页面下载成功！"));
        QCOMPARE(ports.at(0).toObject().value(QStringLiteral("bytes")).toDouble(),
                 o.value(QStringLiteral("totalBytes")).toDouble());
        QVERIFY(ports.at(0).toObject().value(QStringLiteral("seconds")).toDouble() > 0);
        QCOMPARE(ports.at(1).toObject().value(QStringLiteral("port")).toString(), missing);
        QCOMPARE(ports.at(1).toObject().value(QStringLiteral("ok")).toBool(), false);
        QVERIFY(ports.at(1).toObject().value(QStringLiteral("message")).toString().startsWith(
            QCoreApplication::translate("BatchDownload", "串口%1打开失败：%2").arg(missing, QString())));
        QCOMPARE(ports.at(2).toObject().value(QStringLiteral("port")).toString(), QStringLiteral("virtual2"));
        QCOMPARE(ports.at(2).toObject().value(QStringLiteral("ok")).toBool(), true);
    }

    void aPortOpenElsewhereFailsAlone()
    {
        Sim busy;
        QVERIFY(busy.start({}));
        QSerialPort other;
        other.setPortName(busy.path);
        QVERIFY(other.open(QIODevice::ReadWrite));
        const CliRun r = runTavoCli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), kPort,
                                     busy.path, kPort, kVirtual});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.outText().contains(QStringLiteral("virtual1 ok ")), qPrintable(r.outText()));
        QVERIFY2(r.outText().contains(busy.path + QStringLiteral(" failed: ") +
                                      QCoreApplication::translate("BatchDownload", "串口%1打开失败：%2").arg(busy.path, QString())),
                 qPrintable(r.outText()));
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        QTest::newRow("same device twice") << QStringList{demo, kPort, QStringLiteral("ttyS7"), kPort, QStringLiteral("/dev/ttyS7")}
                                           << QCoreApplication::translate("BatchDownload", "%1和%2是同一个串口，不能同时下载！")
                                                  .arg(QStringLiteral("ttyS7"), QStringLiteral("/dev/ttyS7"));
        QTest::newRow("render") << QStringList{demo, kPort, kVirtual, kPort, kVirtual, QStringLiteral("--render"), QStringLiteral("x")}
                                << QStringLiteral("--render works with a single virtual module");
        QTest::newRow("nothing chosen") << QStringList{demo, QStringLiteral("--json")} << QStringLiteral("--port DEV, --ports-found or --watch is required");
        QTest::newRow("log without file") << QStringList{demo, kPort, kVirtual, kPort, kVirtual, QStringLiteral("--log")}
                                          << QStringLiteral("--log needs a file");
        // The port library takes a name without a leading "/", "./" or "../" under /dev.
        QTest::newRow("same device, relative name")
            << QStringList{demo, kPort, QStringLiteral("/dev/pts/977"), kPort, QStringLiteral("pts/977")}
            << QCoreApplication::translate("BatchDownload", "%1和%2是同一个串口，不能同时下载！")
                   .arg(QStringLiteral("/dev/pts/977"), QStringLiteral("pts/977"));
        const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
        QTest::newRow("log is a FIFO") << QStringList{demo, kPort, kVirtual, kPort, kVirtual, QStringLiteral("--log"), fifo}
                                       << QStringLiteral("'%1' is not a regular file").arg(fifo);
        const QString link = m_dir.filePath(QStringLiteral("link.log"));
        QTest::newRow("log is a link") << QStringList{demo, kPort, kVirtual, kPort, kVirtual, QStringLiteral("--log"), link}
                                       << QStringLiteral("'%1' is a symbolic link").arg(link);
    }
    void badUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const CliRun r = runTavoCli(QStringList{QStringLiteral("download")} + args, 30000);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(error), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("elsewhere.log"))));
    }

    // A log that cannot take a line (already past the size limit the process may write): every
    // result is still printed, the loss is said, and the exit status is 1.
    void logWriteErrorFails()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("line.log"));
        {
            QFile earlier(log);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write(QByteArray(4096, '#'));
        }
        QProcess p;
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("ulimit -f 1; trap '' XFSZ; exec \"$0\" \"$@\""),
                 QStringLiteral(TAVO_BIN_DIR "/tavo-cli"), QStringLiteral("download"),
                 QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), kPort, kVirtual, kPort, kVirtual, QStringLiteral("--log"), log});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(out.contains(QLatin1String("virtual1 ok ")) && out.contains(QLatin1String("virtual2 ok ")), qPrintable(out));
        QVERIFY2(err.contains(QStringLiteral("cannot write the log '%1'").arg(log)), qPrintable(err));
        QCOMPARE(p.exitCode(), 1);
    }

    // Ctrl+C while two modules are being downloaded: nothing more goes out, each job ends as
    // interrupted, and the results are printed as JSON.
    void interruptedBatchPrintsItsResults()
    {
        Sim first, second;
        const QStringList silent{QStringLiteral("--silent"), QStringLiteral("2"), QStringLiteral("--verbose")};
        QVERIFY(first.start(silent));
        QVERIFY(second.start(silent));
        QProcess p;
        p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-cli"),
                {QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), kPort, first.path, kPort,
                 second.path, QStringLiteral("--json")});
        // Both modules have heard from their job; each then waits ten seconds for an answer.
        QElapsedTimer clock;
        clock.start();
        QByteArray heard1, heard2;
        while ((heard1.isEmpty() || heard2.isEmpty()) && clock.elapsed() < 30000) {
            QTest::qWait(50);
            heard1 += first.process.readAllStandardError();
            heard2 += second.process.readAllStandardError();
        }
        QVERIFY(!heard1.isEmpty() && !heard2.isEmpty());
        clock.restart();
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(8000));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QJsonParseError error;
        const QByteArray out = p.readAllStandardOutput();
        const QJsonObject o = QJsonDocument::fromJson(out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, out.constData());
        QCOMPARE(o.value(QStringLiteral("ok")).toBool(), false);
        const QJsonArray ports = o.value(QStringLiteral("ports")).toArray();
        QCOMPARE(ports.size(), 2);
        for (const QJsonValue &port : ports) {
            QCOMPARE(port.toObject().value(QStringLiteral("ok")).toBool(), false);
            QCOMPARE(port.toObject().value(QStringLiteral("message")).toString(), msg("BatchDownload", "已中断"));
        }
    }

    void portsFoundWithNoModuleAnswering()
    {
        // No module is on this machine's serial ports: every one is tried at every rate, then refused.
        const CliRun r = runTavoCli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"),
                                     QStringLiteral("--ports-found")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("no module answered on any serial port")), qPrintable(r.err));
    }

    // Stopped before any module came: the totals say none, the JSON that nothing succeeded.
    void productionModeOnHotPlugAlone_data()
    {
        QTest::addColumn<bool>("json");
        QTest::newRow("lines") << false;
        QTest::newRow("json") << true;
    }
    void productionModeOnHotPlugAlone()
    {
        QFETCH(bool, json);
        QProcess p;
        QStringList args{QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"), QStringLiteral("--watch")};
        if (json)
            args << QStringLiteral("--json");
        p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-cli"), args);
        QByteArray said;
        QElapsedTimer clock;
        clock.start();
        const QByteArray waiting = msg("ProductionWatch", "正在等待模块接入，按Ctrl+C结束……").toUtf8();
        while (!said.contains(waiting) && clock.elapsed() < 20000) {
            p.waitForReadyRead(200);
            said += json ? p.readAllStandardError() : p.readAllStandardOutput();
        }
        QVERIFY2(said.contains(waiting), said.constData());
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        const QByteArray out = json ? p.readAllStandardOutput() : said + p.readAllStandardOutput();
        QCOMPARE(p.exitCode(), 0);
        if (json) {
            const QJsonObject root = QJsonDocument::fromJson(out).object();
            QVERIFY2(root.contains(QStringLiteral("ok")), out.constData());
            QCOMPARE(root.value(QStringLiteral("ok")).toBool(true), false);
        } else {
            QVERIFY2(out.contains(msg("ProductionWatch", "共%1个模块：成功%2个，失败%3个").arg(0).arg(0).arg(0).toUtf8()),
                     out.constData());
        }
    }

    void productionModeUntilCtrlC()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QByteArray before = fileBytes(project);
        const QString logFile = dir.filePath(QStringLiteral("line.log"));
        {
            QFile old(logFile);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier line\n");
        }
        QProcess p;
        p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-cli"),
                {QStringLiteral("download"), project, kPort, kVirtual, QStringLiteral("--watch"), QStringLiteral("--log"), logFile});
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        const QByteArray first = msg("ProductionWatch", "第%1个模块：成功").arg(1).toUtf8();
        while (!out.contains(first) && clock.elapsed() < 60000) {
            p.waitForReadyRead(200);
            out += p.readAllStandardOutput();
        }
        QVERIFY2(out.contains(first), out.constData());
        // The module stays plugged in and keeps answering: it is not downloaded again.
        QTest::qWait(2500);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(30000));
        out += p.readAllStandardOutput();
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(!out.contains(msg("ProductionWatch", "第%1个模块：成功").arg(2).toUtf8()), out.constData());
        QVERIFY2(out.contains(msg("ProductionWatch", "共%1个模块：成功%2个，失败%3个").arg(1).arg(1).arg(0).toUtf8()),
                 out.constData());
        const QStringList log = QString::fromUtf8(fileBytes(logFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.at(0), QStringLiteral("earlier line"));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\tvirtual1\tok\t\\d+\\.\\d$"))
                     .match(log.at(1))
                     .hasMatch(),
                 qPrintable(log.at(1)));
        QCOMPARE(fileBytes(project), before);
    }
};

QTEST_GUILESS_MAIN(TestCliBatch)
#include "tst_cli_batch.moc"
