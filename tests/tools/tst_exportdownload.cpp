// The download exported as C: compiled as C and as C++, its example program run on a virtual
// module must send exactly what tavo-cli download sends and end the same way when the module
// misbehaves.
#include "ptydevice.h"
#include "virtualmodule.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "demoproject.h"
#include "recordingline.h"

namespace {

const QString kCli = QStringLiteral(TAVO_BIN_DIR "/tavo-cli");

struct ModuleRun {
    ProgramRun run;
    QByteArray received;
    QImage frame;
};

// Runs a program whose arguments name the line as "@PTY@" against a recording virtual module.
ModuleRun againstModule(const QString &program, QStringList args, const ModuleSettings &settings)
{
    ModuleRun r;
    PtyDevice pty;
    if (!pty.openPty())
        return r;
    RecordingLine line(&pty);
    VirtualModule module;
    module.setSettings(settings);
    module.attach(&line);
    args.replaceInStrings(QStringLiteral("@PTY@"), pty.slavePath());
    r.run = runProgram(program, args);
    // The reset is the last thing sent; the module may still be reading it.
    if (r.run.code == 0 && module.resets() == 0) {
        QEventLoop loop;
        QObject::connect(&module, &VirtualModule::resetDone, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    r.received = line.received;
    r.frame = module.runtime().frame();
    return r;
}

// Exports the project with the flags into dir and builds the example; returns its path.
QString buildExample(const QString &project, const QString &dir, const QStringList &flags, bool asCpp)
{
    const ProgramRun e = runProgram(kCli, QStringList{QStringLiteral("export-download"), project, QStringLiteral("--c"), dir,
                                                       QStringLiteral("--prefix"), QStringLiteral("demo"),
                                                       QStringLiteral("--example")} +
                                               flags);
    if (e.code != 0) {
        qWarning("export-download: %s", e.err.constData());
        return QString();
    }
    const QStringList sources{dir + QStringLiteral("/demo_download.c"), dir + QStringLiteral("/demo_download_data.c"),
                              dir + QStringLiteral("/demo_example_posix.c")};
    const QStringList strict{QStringLiteral("-Wall"), QStringLiteral("-Wextra"), QStringLiteral("-Werror"),
                             QStringLiteral("-pedantic"), QStringLiteral("-O1")};
    const QString binary = dir + QStringLiteral("/example");
    ProgramRun c = runProgram(QStringLiteral("gcc"), QStringList{QStringLiteral("-std=c99")} + strict + sources +
                                                          QStringList{QStringLiteral("-o"), binary});
    if (c.code == 0 && asCpp) {
        // Firmware is often built as C++.
        for (const QString &s : sources) {
            c = runProgram(QStringLiteral("g++"), QStringList{QStringLiteral("-std=c++17"), QStringLiteral("-x"),
                                                               QStringLiteral("c++")} +
                                                      strict + QStringList{QStringLiteral("-c"), s, QStringLiteral("-o"),
                                                                           dir + QStringLiteral("/cpp.o")});
            if (c.code != 0)
                break;
        }
    }
    if (c.code != 0) {
        qWarning("compiler: %s", c.err.constData());
        return QString();
    }
    return binary;
}

// The demo with one more picture, larger than the smallest module's flash.
bool writeLargePictureProject(const QTemporaryDir &dir, QString *project)
{
    if (!copyDemo(dir, project))
        return false;
    QImage big(1100, 1000, QImage::Format_RGB888);
    big.fill(Qt::darkCyan);
    return big.save(dir.filePath(QStringLiteral("tempImages/100010_big.bmp")), "BMP");
}

}  // namespace

Q_DECLARE_METATYPE(ModuleSettings)

class TestExportDownload : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("gcc")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("g++")).isEmpty())
            QSKIP("needs gcc and g++");
    }

    // What the module receives and shows afterwards is the same as after tavo-cli download.
    void sameAsDownload_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<bool>("reader");
        QTest::newRow("pages") << QStringList{QStringLiteral("--pages")} << false;
        QTest::newRow("with pictures") << QStringList{QStringLiteral("--with-pictures")} << false;
        QTest::newRow("pictures only") << QStringList{QStringLiteral("--pictures-only")} << false;
        QTest::newRow("pixels from a reader")
            << QStringList{QStringLiteral("--with-pictures"), QStringLiteral("--pictures-from-reader")} << true;
    }
    void sameAsDownload()
    {
        QFETCH(QStringList, flags);
        QFETCH(bool, reader);
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        const QString out = dir.filePath(QStringLiteral("out"));
        const QString example = buildExample(project, out, flags, qstrcmp(QTest::currentDataTag(), "pages") == 0);
        QVERIFY(!example.isEmpty());

        QStringList args{QStringLiteral("@PTY@")};
        if (reader)
            args << QStringLiteral("--pixels") << out + QStringLiteral("/demo_pixels.bin");
        const ModuleRun mine = againstModule(example, args, ModuleSettings());
        QVERIFY2(mine.run.code == 0, mine.run.out.constData());
        QVERIFY(mine.run.out.contains("result 0: downloaded"));
        QVERIFY(mine.run.out.contains("100%"));

        QStringList download{QStringLiteral("download"), project, QStringLiteral("--port"), QStringLiteral("@PTY@")};
        download << flags.filter(QRegularExpression(QStringLiteral("^--(with-pictures|pictures-only)$")));
        const ModuleRun theirs = againstModule(kCli, download, ModuleSettings());
        QCOMPARE(theirs.run.code, 0);
        QVERIFY(mine.received.size() > 1000);
        QCOMPARE(mine.received, theirs.received);
        QVERIFY(!mine.frame.isNull());
        QCOMPARE(mine.frame, theirs.frame);
    }

    // A misbehaving module ends both downloads with exit status 1, the example with its code.
    void faults_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<ModuleSettings>("settings");
        QTest::addColumn<bool>("largePicture");
        QTest::addColumn<QByteArray>("result");
        ModuleSettings closes;
        closes.closeAfterBytes = 100000;
        QTest::newRow("line closed mid-block") << QStringLiteral("--with-pictures") << closes << false
                                               << QByteArray("result 4: the line broke");
        ModuleSettings silent;
        silent.silentAnswer = 2;
        QTest::newRow("no answer") << QStringLiteral("--pages") << silent << false
                                   << QByteArray("result 1: the module did not answer in time");
        ModuleSettings small;
        small.maxControls = 7;
        QTest::newRow("limits: controls") << QStringLiteral("--pages") << small << false
                                << QByteArray("result 2: a page is more than the module takes (page 1, controls, the "
                                              "module takes 7)");
        ModuleSettings bytes;
        bytes.maxBytes = 400;
        QTest::newRow("limits: bytes") << QStringLiteral("--pages") << bytes << false
                                       << QByteArray("(page 0, bytes, the module takes 400)");
        ModuleSettings text;
        text.maxTextBytes = 8;
        QTest::newRow("limits: text") << QStringLiteral("--pages") << text << false
                                      << QByteArray("(page 0, text bytes, the module takes 8)");
        ModuleSettings flash;
        flash.flashMiB = 2;
        QTest::newRow("flash") << QStringLiteral("--pictures-only") << flash << true
                               << QByteArray("result 3: the pictures do not fit the module's flash (the module stores "
                                             "2097152 bytes)");
    }
    void faults()
    {
        QFETCH(QString, mode);
        QFETCH(ModuleSettings, settings);
        QFETCH(bool, largePicture);
        QFETCH(QByteArray, result);
        QTemporaryDir dir;
        QString project;
        QVERIFY(largePicture ? writeLargePictureProject(dir, &project) : copyDemo(dir, &project));
        // A large block is read from its file rather than compiled in.
        const QStringList flags = largePicture ? QStringList{mode, QStringLiteral("--pictures-from-reader")} : QStringList{mode};
        const QString example = buildExample(project, dir.filePath(QStringLiteral("out")), flags, false);
        QVERIFY(!example.isEmpty());

        QStringList args{QStringLiteral("@PTY@")};
        if (largePicture)
            args << QStringLiteral("--pixels") << dir.filePath(QStringLiteral("out/demo_pixels.bin"));
        const ModuleRun mine = againstModule(example, args, settings);
        QCOMPARE(mine.run.code, 1);
        QVERIFY2(mine.run.out.contains(result), mine.run.out.constData());

        QStringList download{QStringLiteral("download"), project, QStringLiteral("--port"), QStringLiteral("@PTY@")};
        if (mode != QLatin1String("--pages"))
            download << mode;
        const ModuleRun theirs = againstModule(kCli, download, settings);
        QCOMPARE(theirs.run.code, 1);
        if (settings.closeAfterBytes < 0)
            QCOMPARE(mine.received, theirs.received);
    }

    // The same project gives the same files, byte for byte.
    void sameFilesEveryTime()
    {
        QTemporaryDir dir;
        QString project;
        QVERIFY(copyDemo(dir, &project));
        QByteArray first;
        for (const QString &out : {QStringLiteral("a"), QStringLiteral("b")}) {
            const ProgramRun e = runProgram(kCli, {QStringLiteral("export-download"), project, QStringLiteral("--c"),
                                                   dir.filePath(out), QStringLiteral("--with-pictures"),
                                                   QStringLiteral("--pictures-from-reader"), QStringLiteral("--example")});
            QCOMPARE(e.code, 0);
            QByteArray all;
            QDirIterator it(dir.filePath(out), QDir::Files);
            QStringList names;
            while (it.hasNext())
                names << it.next();
            names.sort();
            for (const QString &n : names) {
                QFile f(n);
                QVERIFY(f.open(QIODevice::ReadOnly));
                all += QFileInfo(n).fileName().toUtf8() + '\n' + f.readAll();
            }
            QCOMPARE(names.size(), 5);
            if (first.isEmpty())
                first = all;
            else
                QCOMPARE(all, first);
        }
        QVERIFY(first.contains("Made by `tavo-cli export-download demo.Tavo --with-pictures"));
    }
};

QTEST_MAIN(TestExportDownload)
#include "tst_exportdownload.moc"
