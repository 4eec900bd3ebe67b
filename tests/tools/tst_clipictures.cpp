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
#include <QProcess>
#include <QTemporaryDir>
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
