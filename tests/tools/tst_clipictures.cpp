#include "edit/picturereferences.h"
#include "file/projectfile.h"
#include "picturereferencesproject.h"
#include "tavocli.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// tavo-cli pictures on a real project folder.
class TestCliPictures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void listsPicturesWithMarksAndTotal();
    void removeRenumbersAndSaves();
    void removeRefusesBadNumbersAndChangesNothing_data();
    void removeRefusesBadNumbersAndChangesNothing();
    void addImportsAndReportsFailures();
    void removeSurvivesKillsAtAnyMoment();
    void removeWithUnwritableProjectChangesNothing();
    void foldersBehindLinksAreLeftAlone_data();
    void foldersBehindLinksAreLeftAlone();
    void namesWithLineBreaksAreListedEscaped();
    void eachCommandDecodesWhatItNeeds_data();
    void eachCommandDecodesWhatItNeeds();
    void unreadablePictureIsNamed();

private:
    QString projectFile() const { return m_dir->path() + QStringLiteral("/p/p.Tavo"); }
    QString images() const { return m_dir->path() + QStringLiteral("/p/tempImages"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCliPictures::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(images());
    const QSize sizes[] = {{10, 10}, {20, 10}, {400, 10}, {5, 5}};
    for (int n = 0; n < 4; ++n) {
        QImage img(sizes[n], QImage::Format_RGB32);
        img.fill(Qt::blue);
        QVERIFY(img.save(images() + QStringLiteral("/%1_p%2.bmp").arg(100001 + n).arg(n)));
    }
    ProjectData d = projectNamingEachPicture(4);
    d.logo1 = 1;
    d.logo2 = 3;
    d.parentImageNum = 0;
    QVERIFY(ProjectFile::write(projectFile(), d));
}

void TestCliPictures::listsPicturesWithMarksAndTotal()
{
    // An emptied file: unreadable, and sized 0 so the addresses after it still add up.
    QFile empty(images() + QStringLiteral("/100009_empty.bmp"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    const CliRun text = runTavoCli({QStringLiteral("pictures"), projectFile()});
    QCOMPARE(text.code, 0);
    const QStringList lines = text.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(0), QStringLiteral("0\t100001_p0.bmp\t2097152\t10x10\t374 bytes"));
    QCOMPARE(lines.at(1).section(QLatin1Char('\t'), 2, 3), QStringLiteral("2097352\t20x10"));
    QVERIFY(lines.at(2).endsWith(QStringLiteral("\toversized")));
    QVERIFY(lines.at(4).endsWith(QStringLiteral("\tunreadable")));
    QCOMPARE(lines.at(5), QStringLiteral("total: 5 pictures, 8650 bytes on the module"));

    const CliRun json = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--json")});
    QCOMPARE(json.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(o.value(QStringLiteral("totalBytes")).toInt(), 8650);
    const QJsonArray rows = o.value(QStringLiteral("pictures")).toArray();
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(3).toObject().value(QStringLiteral("address")).toInt(), 2097152 + 200 + 400 + 8000);
    QCOMPARE(rows.at(4).toObject().value(QStringLiteral("marks")).toArray().at(0).toString(), QStringLiteral("unreadable"));
}

void TestCliPictures::removeRenumbersAndSaves()
{
    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--remove"),
                                 QStringLiteral("1")});
    QCOMPARE(r.code, 0);
    QVERIFY(!QFile::exists(images() + QStringLiteral("/100002_p1.bmp")));
    ProjectData d;
    QVERIFY(ProjectFile::read(projectFile(), 3, &d).ok);
    const int want[] = {0, -1, 1, 2};
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(d.pages.at(n).imageNum, want[n]);
        for (int f = 0; f < PictureReferences::ImageFieldCount; ++f)
            QCOMPARE(PictureReferences::imageField(d.pages.at(n).controls.at(0), f), want[n]);
    }
    QCOMPARE(d.logo1, -1);
    QCOMPARE(d.logo2, 2);
    // The saved copy of the pictures follows, as the change is saved.
    QCOMPARE(QDir(m_dir->path() + QStringLiteral("/p/backUpImages")).entryList(QDir::Files),
             QDir(images()).entryList(QDir::Files));

    // The page scripts name the pictures by their new numbers.
    const CliRun script = runTavoCli({QStringLiteral("script"), projectFile(), QStringLiteral("--page"),
                                      QStringLiteral("3")});
    QCOMPARE(script.code, 0);
    QVERIFY2(script.outText().startsWith(QStringLiteral("PIC(2,0,0,5,5);BUTTON(0,0,60,30,16,'',2,2,")), script.out.constData());
}

void TestCliPictures::removeRefusesBadNumbersAndChangesNothing_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("beyond") << "4";
    QTest::newRow("negative") << "-1";
    QTest::newRow("not a number") << "two";
}

void TestCliPictures::removeRefusesBadNumbersAndChangesNothing()
{
    QFETCH(QString, number);
    QFile f(projectFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--remove"),
                                 QStringLiteral("0"), number});
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.contains(number));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(QDir(images()).entryList(QDir::Files).size(), 4);
}

void TestCliPictures::addImportsAndReportsFailures()
{
    const QString png = m_dir->path() + QStringLiteral("/new.png");
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(png));
    const QString junk = m_dir->path() + QStringLiteral("/junk.jpg");
    QFile j(junk);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.write("not a jpeg");
    j.close();

    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--add"), png, junk});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.outText(), QStringLiteral("added 4\t100005_new.bmp\n"));
    QVERIFY(r.err.contains(QStringLiteral("junk.jpg")));
    QCOMPARE(QDir(images()).entryList(QDir::Files).size(), 5);
    QVERIFY(!QFile::exists(images() + QStringLiteral("/100006_junk.jpg")));
}

namespace {

// A project of count pages in which page n names picture n, whose file is "<serial>_p<n>.bmp".
void writeNamedProject(const QString &folder, int count)
{
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    for (int n = 0; n < count; ++n)
        img.save(folder + QStringLiteral("/tempImages/%1_p%2.bmp").arg(100001 + n).arg(n));
    ProjectFile::write(folder + QStringLiteral("/p.Tavo"), projectNamingEachPicture(count));
}

// Every reference of the project names the picture it named before, or none for the pictures
// removed.
QString wrongReferences(const QString &folder, int count, const QSet<int> &removed)
{
    const QStringList files = QDir(folder + QStringLiteral("/tempImages")).entryList(QDir::Files, QDir::Name);
    ProjectData d;
    if (!ProjectFile::read(folder + QStringLiteral("/p.Tavo"), int(files.size()), &d).ok)
        return QStringLiteral("unreadable project");
    if (d.pages.size() != count)
        return QStringLiteral("pages lost");
    for (int n = 0; n < count; ++n) {
        const int num = d.pages.at(n).imageNum;
        const QString want = QStringLiteral("_p%1.bmp").arg(n);
        if (num == -1 ? !removed.contains(n) : (num >= files.size() || !files.at(num).endsWith(want)))
            return QStringLiteral("page %1 names picture %2 of %3 files").arg(n).arg(num).arg(files.size());
    }
    return QString();
}

}  // namespace

// A kill at any moment of a removal leaves, after the next command, a project whose references
// name the same pictures as before: the removal happened whole or not at all.
void TestCliPictures::removeSurvivesKillsAtAnyMoment()
{
    // Half the pictures go, so that finishing the removal takes long enough for kills to land in.
    const int count = 120;
    QSet<int> removed;
    QStringList numbers;
    for (int n = 1; n < count; n += 2) {
        removed << n;
        numbers << QString::number(n);
    }
    const QString base = m_dir->path() + QStringLiteral("/kills");
    const QString tavoCli = QStringLiteral(TAVO_BIN_DIR "/tavo-cli");

    // How long an uninterrupted removal takes, so the kills can be spread over all of it.
    writeNamedProject(base + QStringLiteral("/whole"), count);
    QElapsedTimer t;
    t.start();
    const CliRun whole = runTavoCli(QStringList{QStringLiteral("pictures"), base + QStringLiteral("/whole/p.Tavo"),
                                                QStringLiteral("--remove")} + numbers);
    const qint64 runUs = qMax<qint64>(t.nsecsElapsed() / 1000, 1000);
    QCOMPARE(whole.code, 0);
    QCOMPARE(wrongReferences(base + QStringLiteral("/whole"), count, removed), QString());

    const int kills = 40;
    int cutShort = 0;
    for (int k = 0; k < kills; ++k) {
        const QString folder = base + QStringLiteral("/k%1").arg(k);
        writeNamedProject(folder, count);
        QProcess p;
        p.start(tavoCli, QStringList{QStringLiteral("pictures"), folder + QStringLiteral("/p.Tavo"), QStringLiteral("--remove")}
                             + numbers);
        QVERIFY(p.waitForStarted());
        QThread::usleep(unsigned(runUs * k / kills));
        p.kill();
        p.waitForFinished();
        if (p.exitStatus() != QProcess::NormalExit)
            ++cutShort;
        // The next command finds the project in step.
        QCOMPARE(runTavoCli({QStringLiteral("info"), folder + QStringLiteral("/p.Tavo")}).code, 0);
        const QString wrong = wrongReferences(folder, count, removed);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("kill %1 after %2 us: %3").arg(k).arg(runUs * k / kills).arg(wrong)));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/tempImages.removing")));
        QDir(folder).removeRecursively();
    }
    qInfo("%d of %d removals were cut short by the kill", cutShort, kills);
}

void TestCliPictures::removeWithUnwritableProjectChangesNothing()
{
    QFile f(projectFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    // Immutable even for root: the atomic save cannot put its new file in place.
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), projectFile()}) != 0)
        QSKIP("chattr +i is not available here");
    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--remove"), QStringLiteral("1")});
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), projectFile()});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("no picture was deleted")), qPrintable(r.err));
    QCOMPARE(QDir(images()).entryList(QDir::Files).size(), 4);
    QVERIFY(QFile::exists(images() + QStringLiteral("/100002_p1.bmp")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestCliPictures::foldersBehindLinksAreLeftAlone_data()
{
    QTest::addColumn<QString>("linked");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("code");
    QTest::newRow("backup, add") << "backUpImages" << "--add" << 0;
    QTest::newRow("backup, remove") << "backUpImages" << "--remove" << 0;
    QTest::newRow("backup.new, add") << "backUpImages.new" << "--add" << 0;
    QTest::newRow("pictures, add") << "tempImages" << "--add" << 1;
    QTest::newRow("pictures, remove") << "tempImages" << "--remove" << 1;
}

void TestCliPictures::foldersBehindLinksAreLeftAlone()
{
    QFETCH(QString, linked);
    QFETCH(QString, action);
    QFETCH(int, code);
    const QString outside = m_dir->path() + QStringLiteral("/outside");
    QVERIFY(QDir().mkpath(outside));
    // Named like pictures, so a linked picture folder lists them.
    for (const char *name : {"100001_x.bmp", "100002_y.bmp"}) {
        QFile f(outside + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    const QString at = m_dir->path() + QStringLiteral("/p/") + linked;
    QDir(at).removeRecursively();
    QVERIFY(QFile::link(outside, at));
    const QString png = m_dir->path() + QStringLiteral("/new.png");
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(png));

    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile(), action,
                                 action == QLatin1String("--add") ? png : QStringLiteral("0")});
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(linked), qPrintable(r.err));
    QCOMPARE(QDir(outside).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("100001_x.bmp"), QStringLiteral("100002_y.bmp")}));
    QVERIFY(QFileInfo(at).isSymLink());
}

void TestCliPictures::namesWithLineBreaksAreListedEscaped()
{
    QFile f(images() + QStringLiteral("/100009_two\nlines.bmp"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    const CliRun r = runTavoCli({QStringLiteral("pictures"), projectFile()});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(4).section(QLatin1Char('\t'), 0, 1), QStringLiteral("4\t100009_two\\nlines.bmp"));

    const CliRun add = runTavoCli({QStringLiteral("pictures"), projectFile(), QStringLiteral("--add"), f.fileName()});
    QCOMPARE(add.code, 1);
    QVERIFY2(add.err.contains(QStringLiteral("two\\nlines.bmp")), qPrintable(add.err));
}

QTEST_GUILESS_MAIN(TestCliPictures)
void TestCliPictures::eachCommandDecodesWhatItNeeds_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("decoded");
    // Sizes come from the headers; only judging or sending a picture decodes it, once.
    QTest::newRow("info") << QStringList{QStringLiteral("info")} << 0;
    QTest::newRow("info --json") << QStringList{QStringLiteral("info"), QStringLiteral("--json")} << 0;
    QTest::newRow("script --all") << QStringList{QStringLiteral("script"), QStringLiteral("--all")} << 0;
    QTest::newRow("set") << QStringList{QStringLiteral("set"), QStringLiteral("--page"), QStringLiteral("0"),
                                        QStringLiteral("parentImageNum=1")}
                         << 0;
    QTest::newRow("check") << QStringList{QStringLiteral("check")} << 4;
    QTest::newRow("pictures") << QStringList{QStringLiteral("pictures")} << 4;
    QTest::newRow("download --with-pictures")
        << QStringList{QStringLiteral("download"), QStringLiteral("--port"), QStringLiteral("SIM"),
                       QStringLiteral("--with-pictures")}
        << 4;
}

void TestCliPictures::eachCommandDecodesWhatItNeeds()
{
    QFETCH(QStringList, args);
    QFETCH(int, decoded);
    args.insert(1, projectFile());
    // A module of its own process, so that only the command's decoding is counted.
    QProcess sim;
    if (args.contains(QStringLiteral("SIM"))) {
        sim.start(QStringLiteral(TAVO_BIN_DIR "/lxp-sim"), QStringList());
        QVERIFY(sim.waitForReadyRead(10000));
        args.replaceInStrings(QStringLiteral("SIM"), QString::fromUtf8(sim.readLine()).trimmed());
    }
    qputenv("TAVO_COUNT_DECODES", "1");
    const CliRun r = runTavoCli(args);
    qunsetenv("TAVO_COUNT_DECODES");
    sim.kill();
    sim.waitForFinished();
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("decoded: %1\n").arg(decoded)), qPrintable(r.err));
}

// A picture cut short passes its header but is named by every command that judges pictures.
void TestCliPictures::unreadablePictureIsNamed()
{
    const QString path = images() + QStringLiteral("/100002_p1.bmp");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(54));  // the header alone
    f.close();

    QCOMPARE(runTavoCli({QStringLiteral("info"), projectFile()}).code, 0);
    const CliRun check = runTavoCli({QStringLiteral("check"), projectFile()});
    QCOMPARE(check.code, 1);
    QVERIFY2(check.err.contains(QStringLiteral("图片100002_p1.bmp（编号1）无法读取")), qPrintable(check.err));
    const CliRun list = runTavoCli({QStringLiteral("pictures"), projectFile()});
    QCOMPARE(list.code, 0);
    QVERIFY2(list.outText().contains(QStringLiteral("100002_p1.bmp")), qPrintable(list.outText()));
    QVERIFY2(list.outText().contains(QStringLiteral("unreadable")), qPrintable(list.outText()));
    const CliRun download = runTavoCli({QStringLiteral("download"), projectFile(), QStringLiteral("--port"),
                                        QStringLiteral("virtual"), QStringLiteral("--with-pictures")});
    QCOMPARE(download.code, 1);
    QVERIFY2(download.err.contains(QStringLiteral("100002_p1.bmp")), qPrintable(download.err));
}

#include "tst_clipictures.moc"
