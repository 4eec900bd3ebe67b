// lxp-sim's screen tests as a firmware project's CI runs them: --run with a downloaded project,
// a golden picture made once and compared, a refused line, a recorded session replayed, and the
// screen file holding the framebuffer whatever the backlight.
#include "script/moduletext.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

struct SimRun {
    int code = -1;
    QString out;
    QString err;
};

SimRun runSim(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), args);
    SimRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool writeText(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) == text.toUtf8().size();
}

const QString kDemo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");

}  // namespace

class TestScreenRun : public QObject {
    Q_OBJECT
private slots:
    void goldenScreen()
    {
        QTemporaryDir dir;
        const QString lines = dir.filePath(QStringLiteral("status.txt"));
        const QString golden = dir.filePath(QStringLiteral("status.png"));
        QVERIFY(writeText(lines, QStringLiteral("# page 1 with a text and the bar at 70\n"
                                                "JUMP(1);\n\nSET_TXT(0,'温度 23.5');\r\nSET_PROG(6,70);DELAYMS(300);\n")));
        const QStringList common{QStringLiteral("--run"), lines, QStringLiteral("--project"), kDemo, QStringLiteral("--fast")};
        SimRun r = runSim(common + QStringList{QStringLiteral("--screen"), golden});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QImage shot(golden);
        QCOMPARE(shot.size(), QSize(240, 320));

        r = runSim(common + QStringList{QStringLiteral("--expect"), golden});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QLatin1String("matches")));

        // A size given beside the project is the panel's, not the project's (drawn upright, as
        // the project's direction says).
        const QString small = dir.filePath(QStringLiteral("small.png"));
        r = runSim(common + QStringList{QStringLiteral("--size"), QStringLiteral("180x250"), QStringLiteral("--screen"), small});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QImage(small).size(), QSize(180, 250));

        // The same lines in the module's own encoding, as a recording holds them.
        QFile gbk(lines);
        QVERIFY(gbk.open(QIODevice::WriteOnly));
        gbk.write(ModuleText::encode(QStringLiteral("JUMP(1);\nSET_TXT(0,'温度 23.5');\nSET_PROG(6,70);\n")));
        gbk.close();
        r = runSim(common + QStringList{QStringLiteral("--expect"), golden});
        QVERIFY2(r.code == 0, qPrintable(r.err));

        // Without --fast the delays pass in real time; the screen is the same.
        r = runSim(QStringList{QStringLiteral("--run"), lines, QStringLiteral("--project"), kDemo, QStringLiteral("--expect"), golden});
        QVERIFY2(r.code == 0, qPrintable(r.err));

        // The bar at 40 instead of 70: bar 6 of page 1 (186 x 20 at (44,240), no border) fills
        // from the right: 130 columns at 70, 74 at 40, so columns 100..155 differ.
        QVERIFY(writeText(lines, QStringLiteral("JUMP(1);\nSET_TXT(0,'温度 23.5');\nSET_PROG(6,40);DELAYMS(300);\n")));
        r = runSim(common + QStringList{QStringLiteral("--expect"), golden});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("1120 pixel(s) differ")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QLatin1String("x 100..155, y 240..259 (56 x 20)")), qPrintable(r.err));
        const QImage diff(dir.filePath(QStringLiteral("status.diff.png")));
        QCOMPARE(diff.size(), QSize(240, 320));
        QCOMPARE(diff.pixelColor(130, 250), QColor(255, 0, 255));
        QVERIFY(diff.pixelColor(10, 10) != QColor(255, 0, 255));
    }

    void refusedLine_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("named");
        QTest::newRow("no such control") << "JUMP(1);\nSET_PROG(6,10);\nSET_PROG(99,50);\nCLR(1);\n" << ":3: the module refuses \"SET_PROG(99,50);\"";
        QTest::newRow("unknown") << "CLR(1);\nBOXX(1,2);\n" << ":2:";
        QTest::newRow("colour out of range") << "BOXF(0,0,10,10,64);\n" << ":1:";
        QTest::newRow("no such page") << "JUMP(7);\n" << ":1:";
    }
    void refusedLine()
    {
        QFETCH(QString, lines);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("lines.txt"));
        const QString shot = dir.filePath(QStringLiteral("shot.png"));
        QVERIFY(writeText(file, lines));
        const SimRun r = runSim({QStringLiteral("--run"), file, QStringLiteral("--project"), kDemo, QStringLiteral("--fast"),
                                 QStringLiteral("--screen"), shot});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(named), qPrintable(r.err));
        QVERIFY(!QFile::exists(shot));
    }

    void usage()
    {
        QTemporaryDir dir;
        QCOMPARE(runSim({QStringLiteral("--run"), dir.filePath(QStringLiteral("missing.txt"))}).code, 2);
        QCOMPARE(runSim({QStringLiteral("--expect"), dir.filePath(QStringLiteral("a.png"))}).code, 2);
        const QString file = dir.filePath(QStringLiteral("l.txt"));
        QVERIFY(writeText(file, QStringLiteral("CLR(1);\n")));
        QCOMPARE(runSim({QStringLiteral("--run"), file, QStringLiteral("--expect"), dir.filePath(QStringLiteral("none.png"))}).code, 2);
        // A golden picture of another size is a difference, not a crash.
        QImage small(10, 10, QImage::Format_RGB32);
        small.fill(Qt::red);
        QVERIFY(small.save(dir.filePath(QStringLiteral("small.png"))));
        const SimRun r = runSim({QStringLiteral("--run"), file, QStringLiteral("--expect"), dir.filePath(QStringLiteral("small.png"))});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QLatin1String("10 x 10")));
    }

    // Paths given for the screen, the golden picture and the recording: a link, a FIFO, or a
    // difference image name that is a link, are refused without touching what they point to.
    void hostilePaths_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        const QString lines = QStringLiteral("@lines"), link = QStringLiteral("@link.png"), fifo = QStringLiteral("@fifo");
        const QStringList run{QStringLiteral("--run"), lines, QStringLiteral("--fast")};
        QTest::newRow("screen through a link") << run + QStringList{QStringLiteral("--screen"), link} << 2 << "symbolic link";
        QTest::newRow("screen on a FIFO") << run + QStringList{QStringLiteral("--screen"), fifo} << 2 << "not a regular file";
        QTest::newRow("golden on a FIFO") << run + QStringList{QStringLiteral("--expect"), fifo} << 2 << "not a regular file";
        QTest::newRow("golden through a link") << run + QStringList{QStringLiteral("--expect"), link} << 2 << "symbolic link";
        QTest::newRow("difference image is a link")
            << run + QStringList{QStringLiteral("--expect"), QStringLiteral("@golden.png")} << 1
            << "cannot write the difference image";
        QTest::newRow("live screen through a link") << QStringList{QStringLiteral("--screen"), link} << 2 << "symbolic link";
        QTest::newRow("live screen on a FIFO") << QStringList{QStringLiteral("--screen"), fifo} << 2 << "not a regular file";
        QTest::newRow("record on a FIFO") << QStringList{QStringLiteral("--record"), fifo} << 2 << "not a regular file";
    }
    void hostilePaths()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        QTemporaryDir dir;
        QVERIFY(writeText(dir.filePath(QStringLiteral("lines")), QStringLiteral("CLR(1);\n")));
        QImage golden(240, 320, QImage::Format_RGB32);
        golden.fill(qRgb(1, 2, 3));
        QVERIFY(golden.save(dir.filePath(QStringLiteral("golden.png"))));
        const QByteArray victim("not a picture");
        QVERIFY(writeText(dir.filePath(QStringLiteral("victim")), QString::fromLatin1(victim)));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("victim")), dir.filePath(QStringLiteral("link.png"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("victim")), dir.filePath(QStringLiteral("golden.diff.png"))));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600) == 0);
        for (QString &a : args)
            if (a.startsWith(QLatin1Char('@')))
                a = dir.filePath(a.mid(1));
        QElapsedTimer clock;
        clock.start();
        const SimRun r = runSim(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
        QVERIFY(clock.elapsed() < 30000);
        QFile f(dir.filePath(QStringLiteral("victim")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), victim);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("link.png"))).isSymLink());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("golden.diff.png"))).isSymLink());
        struct stat st;
        QVERIFY(::lstat(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }

    // A fresh module shows the table's colours in the screen file; the backlight dims only the
    // view, unless --screen-dimmed asks for it.
    void framebufferNotDimmed_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("dimmed");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("fresh") << "CLR(1);" << false << QColor(248, 0, 0);
        QTest::newRow("fresh, dimmed view") << "CLR(1);" << true << QColor(248, 0, 0);
        QTest::newRow("BL 128") << "BL(128);CLR(1);" << false << QColor(248, 0, 0);
        QTest::newRow("BL 128, dimmed view") << "BL(128);CLR(1);" << true << QColor(123, 0, 0);
        QTest::newRow("LCD off, dimmed view") << "CLR(1);LCDON(0);" << true << QColor(0, 0, 0);
    }
    void framebufferNotDimmed()
    {
        QFETCH(QString, lines);
        QFETCH(bool, dimmed);
        QFETCH(QColor, colour);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("l.txt"));
        const QString shot = dir.filePath(QStringLiteral("s.png"));
        QVERIFY(writeText(file, lines + QLatin1Char('\n')));
        QStringList args{QStringLiteral("--run"), file, QStringLiteral("--size"), QStringLiteral("40x30"), QStringLiteral("--screen"), shot};
        if (dimmed)
            args << QStringLiteral("--screen-dimmed");
        const SimRun r = runSim(args);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QImage(shot).pixelColor(5, 5), colour);
    }

    // A session on the pty, recorded, replays to the same screen.
    void recordThenReplay()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("session.txt"));
        const QString live = dir.filePath(QStringLiteral("live.png"));
        QProcess sim;
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"),
                  {QStringLiteral("--size"), QStringLiteral("120x90"), QStringLiteral("--record"), record,
                   QStringLiteral("--screen"), live});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString path = QString::fromUtf8(sim.readLine()).trimmed();
        QSerialPort port;
        port.setPortName(path);
        port.setBaudRate(115200);
        QVERIFY(port.open(QIODevice::ReadWrite));
        const QList<QByteArray> lines{"CLR(3);", "BOXF(10,10,40,30,1);DELAYMS(100);CIR(60,45,20,4);", "PL(0,0,119,89,2);"};
        for (const QByteArray &line : lines) {
            port.write(line + "\r\n");
            QByteArray got;
            while (got.count("OK") < line.count(';') && port.waitForReadyRead(3000))
                got += port.readAll();
            QCOMPARE(got.count("OK"), line.count(';'));
        }
        QTest::qWait(300);  // the screen file is rewritten at most ten times a second
        port.close();
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));

        QFile f(record);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList recorded = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(recorded.size(), 4);  // a comment, then the three lines with their times
        QVERIFY(recorded.at(0).startsWith(QLatin1Char('#')));
        QVERIFY(recorded.at(2).endsWith(QLatin1String("\tBOXF(10,10,40,30,1);DELAYMS(100);CIR(60,45,20,4);")));
        const QString replay = dir.filePath(QStringLiteral("replay.png"));
        const SimRun r = runSim({QStringLiteral("--run"), record, QStringLiteral("--size"), QStringLiteral("120x90"),
                                 QStringLiteral("--fast"), QStringLiteral("--screen"), replay});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QImage(replay).convertToFormat(QImage::Format_RGB32), QImage(live).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(QImage(replay).pixelColor(60, 25), QColor(248, 252, 0));  // top of the circle
    }
};

QTEST_MAIN(TestScreenRun)
#include "tst_screenrun.moc"
