// The README's Python example, run as a reader would run it: against lxp-sim after a download of
// the demo project. Its time is printed (not judged): it should take about as long as its sleeps.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "tavocli.h"

namespace {

// The system's interpreter first: python3-serial is installed for it.
QString python()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
}

}  // namespace

class TestReadmeExample : public QObject {
    Q_OBJECT
private slots:
    void pythonExampleRuns()
    {
        QFile readme(QStringLiteral(TAVO_EXAMPLES "/../README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const QRegularExpression block(QStringLiteral("```python\\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = block.match(text);
        QVERIFY2(m.hasMatch(), "no Python example in the README");
        QString code = m.captured(1);
        QVERIFY(code.contains(QLatin1String("\"/dev/pts/7\"")));

        QProcess check;
        check.start(python(), {QStringLiteral("-c"), QStringLiteral("import serial")});
        QVERIFY(check.waitForFinished(30000));
        QVERIFY2(check.exitCode() == 0, "pyserial is missing: scripts/install-deps.sh installs python3-serial");

        QProcess sim;
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), {QStringLiteral("--size"), QStringLiteral("240x320")});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        const CliRun download = runTavoCli({QStringLiteral("download"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"),
                                            QStringLiteral("--port"), path, QStringLiteral("--with-pictures")});
        QVERIFY2(download.code == 0, qPrintable(download.err));

        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("example.py"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(code.replace(QLatin1String("\"/dev/pts/7\""), QLatin1Char('"') + path + QLatin1Char('"')).toUtf8());
        f.close();

        QProcess py;
        QElapsedTimer clock;
        clock.start();
        py.start(python(), {script});
        QVERIFY(py.waitForFinished(60000));
        const qint64 ms = clock.elapsed();
        const QString out = QString::fromUtf8(py.readAllStandardOutput()).trimmed();
        const QString err = QString::fromUtf8(py.readAllStandardError());
        sim.kill();
        sim.waitForFinished();
        QVERIFY2(py.exitStatus() == QProcess::NormalExit && py.exitCode() == 0, qPrintable(err));
        QCOMPARE(out, QStringLiteral("FW_LXP-SIM_1.0"));
        // The benchmark line: the example's wall time (its sleeps are 0.55 s).
        qInfo("README Python example: %.2f s", ms / 1000.0);
    }
};

QTEST_MAIN(TestReadmeExample)
#include "tst_readmeexample.moc"
