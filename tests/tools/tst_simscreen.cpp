// The standalone simulator as a microcontroller program meets it: a project downloaded by
// tavo-cli, then instructions from a program of its own on the pty, the screen read from the file
// lxp-sim keeps.
#include <QImage>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include "imagecompare.h"
#include "tavocli.h"

namespace {

QColor pixel(const QString &path, int x, int y)
{
    const QImage img(path);
    return img.isNull() ? QColor() : img.pixelColor(x, y);
}

// Sends a line and waits for that many answers.
bool exchange(QSerialPort &port, const QByteArray &line, int oks)
{
    port.write(line + "\r\n");
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.count("OK") < oks && clock.elapsed() < 5000) {
        if (port.waitForReadyRead(100))
            got += port.readAll();
    }
    return got.count("OK") == oks;
}

}  // namespace

class TestSimScreen : public QObject {
    Q_OBJECT
private slots:
    void downloadThenDriveFromAProgram()
    {
        QTemporaryDir dir;
        const QString screen = dir.filePath(QStringLiteral("screen.png"));
        QProcess sim;
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), {QStringLiteral("--size"), QStringLiteral("240x320"),
                                                            QStringLiteral("--screen"), screen});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        QVERIFY(QFileInfo::exists(screen));
        const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
        const CliRun r = runTavoCli({QStringLiteral("download"), demo, QStringLiteral("--port"), path,
                                     QStringLiteral("--with-pictures")});
        QVERIFY2(r.code == 0, qPrintable(r.err));

        QSerialPort port;
        port.setPortName(path);
        port.setBaudRate(115200);
        QVERIFY(port.open(QIODevice::ReadWrite));
        // The boot animation ends on page 0, pixel for pixel as tavo-cli renders the module's look;
        // the file holds the framebuffer, undimmed by the demo's backlight of 20.
        const QString ref = dir.filePath(QStringLiteral("ref.png"));
        QCOMPARE(runTavoCli({QStringLiteral("render"), demo, QStringLiteral("--page"), QStringLiteral("0"),
                             QStringLiteral("-o"), ref, QStringLiteral("--module")})
                     .code,
                 0);
        const QImage reference = QImage(ref).convertToFormat(QImage::Format_RGB32);
        QTRY_COMPARE_WITH_TIMEOUT(QImage(screen).convertToFormat(QImage::Format_RGB32), reference, 5000);

        // Page 1: bar 6 fills from the right in colour 56 over colour 8; text 0 changes.
        QVERIFY(exchange(port, "JUMP(1);SET_PROG(6,0);", 2));
        QTRY_COMPARE(pixel(screen, 225, 250), QColor(64, 64, 64));
        const QImage before = QImage(screen).copy(10, 10, 220, 30);
        QVERIFY(exchange(port, "SET_PROG(6,50);SET_TXT(0,'WWWW');", 2));
        QTRY_COMPARE(pixel(screen, 225, 250), QColor(208, 124, 16));
        QCOMPARE(pixel(screen, 50, 250), QColor(64, 64, 64));
        QVERIFY(QImage(screen).copy(10, 10, 220, 30) != before);

        // Something the module does not know is not answered.
        port.write("NOT_AN_INSTRUCTION(1);\r\n");
        QVERIFY(!port.waitForReadyRead(300));
        port.close();
        sim.kill();
        sim.waitForFinished();
    }
};

QTEST_MAIN(TestSimScreen)
#include "tst_simscreen.moc"
