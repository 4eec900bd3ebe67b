// The Qt 6 and the Qt 5.15 builds must tell a module the same bytes: their tavo-cli programs run
// side by side on the same projects, and a module of this build records every byte each of them
// sends in a download.
#include "file/projectfile.h"
#include "virtualmodule.h"
#include "ptydevice.h"

#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "demoproject.h"
#include "recordingline.h"

namespace {

const QString kThisCli = QStringLiteral(TAVO_BIN_DIR "/tavo-cli");
const QString kOtherCli = QStringLiteral(TAVO_OTHER_BUILD "/tavo-cli");
const QString kDemo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");

// Every byte the given tavo-cli sends while downloading the project with these options.
QByteArray wireBytes(const QString &cli, const QString &project, const QStringList &options, QString *error)
{
    PtyDevice pty;
    if (!pty.openPty(error))
        return QByteArray();
    RecordingLine line(&pty);
    VirtualModule module;
    module.attach(&line);
    const ProgramRun r = runProgram(cli, QStringList{QStringLiteral("download"), project, QStringLiteral("--port"), pty.slavePath()} + options);
    if (r.code != 0)
        *error = QStringLiteral("%1 exited with %2: %3").arg(cli).arg(r.code).arg(QString::fromUtf8(r.err));
    return line.received;
}

// The demo with one more page whose texts reach across GBK: full-width forms, symbols, Greek,
// Cyrillic, kana, bopomofo, box drawing, rare ideographs, the euro sign.
bool writeWideTextProject(const QTemporaryDir &dir, QString *project)
{
    if (!copyDemo(dir, project))
        return false;
    ProjectData data;
    if (!ProjectFile::read(*project, 100, &data).ok)
        return false;
    const QStringList texts = {
        QStringLiteral("温度℃ ￥１２３ ①②⑩ ⅰⅫ"),
        QStringLiteral("《标题》「引」『号』【框】〔〕"),
        QStringLiteral("§※‰°±×÷≤≥∞√∑∫"),
        QStringLiteral("αβΩ АБЯя ぁァヶ ㄅㄩ"),
        QStringLiteral("─│┌┼╋ ▲△●○◆□■"),
        QStringLiteral("〇乂龘丟兀嗀 €"),
        QStringLiteral("ABC xyz 0-9 ~!@#$%^&*()_+"),
    };
    PageData page;
    for (int i = 0; i < texts.size(); ++i) {
        ControlRecord r = ControlRecord::make(ControlKind::Text, i);
        r.x = 2;
        r.y = 2 + 20 * i;
        r.text = texts.at(i);
        page.controls << r;
    }
    data.pages << page;
    return ProjectFile::write(*project, data);
}

}  // namespace

class TestCrossBuild : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(kOtherCli).isExecutable(), qPrintable(kOtherCli + QStringLiteral(" is not built")));
    }

    void sameOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("wideTexts");
        QTest::newRow("all scripts") << QStringList{QStringLiteral("script"), QStringLiteral("--all")} << false;
        QTest::newRow("boot script") << QStringList{QStringLiteral("script"), QStringLiteral("--boot")} << false;
        QTest::newRow("wide texts") << QStringList{QStringLiteral("script"), QStringLiteral("--all")} << true;
        QTest::newRow("info") << QStringList{QStringLiteral("info"), QStringLiteral("--json")} << false;
        QTest::newRow("check against limits")
            << QStringList{QStringLiteral("check"), QStringLiteral("--limits"), QStringLiteral("6,4000,64")} << false;
        QTest::newRow("check wide texts")
            << QStringList{QStringLiteral("check"), QStringLiteral("--limits"), QStringLiteral("20,4000,24")} << true;
    }

    void sameOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, wideTexts);
        QTemporaryDir dir;
        QString project = kDemo;
        if (wideTexts)
            QVERIFY(writeWideTextProject(dir, &project));
        args.insert(1, project);
        const ProgramRun mine = runProgram(kThisCli, args);
        const ProgramRun other = runProgram(kOtherCli, args);
        QVERIFY(mine.code >= 0);
        QCOMPARE(mine.code, other.code);
        QCOMPARE(mine.out, other.out);
        QCOMPARE(mine.err, other.err);
        if (args.first() == QLatin1String("script"))
            QVERIFY(mine.out.size() > 100);
    }

    // Generated firmware files: the same files, byte for byte. OUT stands for the output path.
    void sameGeneratedFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("files");
        QTest::newRow("exported download") << QStringList{QStringLiteral("export-download"), QStringLiteral("--c"),
                                                          QStringLiteral("OUT"), QStringLiteral("--with-pictures"),
                                                          QStringLiteral("--example")}
                                           << 4;
        QTest::newRow("C bindings, all of GBK")
            << QStringList{QStringLiteral("bindings"), QStringLiteral("--c"), QStringLiteral("OUT"),
                           QStringLiteral("--all-chars")}
            << 2;
        QTest::newRow("Python bindings")
            << QStringList{QStringLiteral("bindings"), QStringLiteral("--python"), QStringLiteral("OUT/drive.py")} << 1;
    }

    void sameGeneratedFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(int, files);
        QTemporaryDir dir;
        QString project;
        QVERIFY(writeWideTextProject(dir, &project));
        QByteArray generated[2];
        const QString clis[2] = {kThisCli, kOtherCli};
        for (int i = 0; i < 2; ++i) {
            // The same folder name in both runs: the C files' opening comment names it.
            const QString out = dir.filePath(QString::number(i) + QStringLiteral("/generated"));
            QVERIFY(QDir().mkpath(out));
            QStringList run = args;
            for (QString &a : run)
                a.replace(QLatin1String("OUT"), out);
            run.insert(1, project);
            const ProgramRun r = runProgram(clis[i], run);
            QVERIFY2(r.code == 0, r.err.constData());
            const QStringList names = QDir(out).entryList(QDir::Files, QDir::Name);
            QCOMPARE(names.size(), files);
            for (const QString &n : names) {
                QFile f(QDir(out).filePath(n));
                QVERIFY(f.open(QIODevice::ReadOnly));
                generated[i] += n.toUtf8() + '\n' + f.readAll();
            }
        }
        QCOMPARE(generated[0], generated[1]);
    }

    void sameWireBytes_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("wideTexts");
        QTest::newRow("pages") << QStringList() << false;
        QTest::newRow("pages with pictures") << QStringList{QStringLiteral("--with-pictures")} << false;
        QTest::newRow("fonts") << QStringList{QStringLiteral("--fonts")} << false;
        QTest::newRow("wide texts") << QStringList() << true;
    }

    void sameWireBytes()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, wideTexts);
        QTemporaryDir dir;
        QString project = kDemo;
        if (wideTexts)
            QVERIFY(writeWideTextProject(dir, &project));
        QString error;
        const QByteArray mine = wireBytes(kThisCli, project, options, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QByteArray other = wireBytes(kOtherCli, project, options, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(mine.size() > 100);
        QCOMPARE(mine.size(), other.size());
        QVERIFY(mine == other);
    }
};

QTEST_GUILESS_MAIN(TestCrossBuild)
#include "tst_crossbuild.moc"
