#include "edit/picturereferences.h"
#include "file/foldermirror.h"
#include "file/projectfolders.h"
#include "library/fontlibrary.h"
#include "library/picturefiles.h"
#include "library/picturelibrary.h"
#include "bmpbytes.h"
#include "picturereferencesproject.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Importing, deleting and renumbering pictures on real folders.
class TestPictureFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void firstImportsNumberAndAddress();
    void otherFormatsBecome24BitBmp_data();
    void otherFormatsBecome24BitBmp();
    void failedImportsAreNamedAndLeaveNothing_data();
    void failedImportsAreNamedAndLeaveNothing();
    void importIntoUnwritableFolderLeavesNothing();
    void importRefusesWhatTheLibraryCouldNotSend();
    void serialsContinueAfterTheLargest();
    void renumbered_data();
    void renumbered();
    void deletionMovesEveryReference();
    void deletingSeveralActsAsOne();
    void removedFilesAndTheListAgree();
    void fontsCopiedButOnlyValidNamesListed();
    void oversizedAndUnreadable();
    void backupOfUnchangedPicturesIsReusedButIndependent();
    void backupUpToDateIsLeftAlone();
    void linkedPictureFolderIsNeverWrittenThrough();
    void namesWithControlCharacters_data();
    void namesWithControlCharacters();
    void unwritableProjectKeepsEveryPicture();
    void halfDoneRemovalIsFinishedOrUndone_data();
    void halfDoneRemovalIsFinishedOrUndone();
    void unsavedPicturesPutBackAsSaved_data();
    void unsavedPicturesPutBackAsSaved();
    void pendingRemovalKeepsItsNote();

private:
    QString picture(const QString &name, QSize size, const char *format = nullptr, QColor colour = Qt::red);
    QString images() const { return m_dir->path() + QStringLiteral("/proj/tempImages"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPictureFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(images());
    QDir().mkpath(m_dir->path() + QStringLiteral("/src"));
}

QString TestPictureFiles::picture(const QString &name, QSize size, const char *format, QColor colour)
{
    const QString path = m_dir->path() + QStringLiteral("/src/") + name;
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    img.setPixelColor(0, 0, QColor(10, 200, 30));
    if (!img.save(path, format))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestPictureFiles::firstImportsNumberAndAddress()
{
    const auto r = PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {10, 10}),
                                                           picture(QStringLiteral("b.jpg"), {20, 10})});
    QVERIFY(r.failed.isEmpty());
    QCOMPARE(r.added.size(), 2);
    QCOMPARE(QFileInfo(r.added.at(0)).fileName(), QStringLiteral("100001_a.bmp"));
    QCOMPARE(QFileInfo(r.added.at(1)).fileName(), QStringLiteral("100002_b.jpg"));
    // Kept formats are copied byte for byte.
    QFile a(r.added.at(0)), src(m_dir->path() + QStringLiteral("/src/a.bmp"));
    QVERIFY(a.open(QIODevice::ReadOnly) && src.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), src.readAll());

    const PictureLibrary lib = PictureLibrary::fromFolder(images());
    QCOMPARE(lib.count(), 2);
    QCOMPARE(lib.address(0), qint64(2097152));
    QCOMPARE(lib.address(1), qint64(2097352));
    QCOMPARE(lib.totalBytes(), qint64(600));
    QCOMPARE(r.message(), QString());
}

void TestPictureFiles::otherFormatsBecome24BitBmp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("stored");
    QTest::newRow("png") << "logo.png" << QByteArray("PNG") << "100002_logo.bmp";
    QTest::newRow("ppm") << "scan.ppm" << QByteArray("PPM") << "100002_scan.bmp";
    QTest::newRow("png named bmp") << "fake.bmp" << QByteArray("PNG") << "100002_fake.bmp";
    QTest::newRow("jpeg suffix") << "photo.jpeg" << QByteArray("JPEG") << "100002_photo.bmp";
}

void TestPictureFiles::otherFormatsBecome24BitBmp()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QString, stored);
    if (!QImageWriter::supportedImageFormats().contains(format.toLower()))
        QSKIP("no writer for this format in this build");
    PictureFiles::importPictures(images(), {picture(QStringLiteral("first.bmp"), {4, 4})});
    const QString src = picture(name, {7, 5}, format.constData(), QColor(0, 0, 255));
    const auto r = PictureFiles::importPictures(images(), {src});
    QVERIFY2(r.failed.isEmpty(), qPrintable(r.message()));
    QCOMPARE(QFileInfo(r.added.value(0)).fileName(), stored);

    QFile f(r.added.at(0));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(30);
    QCOMPARE(head.left(2), QByteArray("BM"));
    QCOMPARE(quint8(head.at(28)) | (quint8(head.at(29)) << 8), 24);  // bits per pixel
    const QImage got(r.added.at(0));
    const QImage want(src);
    QCOMPARE(got.size(), QSize(7, 5));
    if (format != "JPEG") {  // lossless formats keep every pixel
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(got.pixel(x, y), want.pixel(x, y));
    }
    QCOMPARE(PictureLibrary::fromFolder(images()).count(), 2);
}

void TestPictureFiles::failedImportsAreNamedAndLeaveNothing_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a picture") << "hello" << "不是可读取的图片";
    QTest::newRow("empty file") << "" << "不是可读取的图片";
    // Vector documents are refused, not rasterised: they may draw other files of the disk.
    QTest::newRow("svg document") << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
                                     "<rect width=\"4\" height=\"4\" fill=\"red\"/></svg>"
                                  << "不是可读取的图片";
    QTest::newRow("vanished") << "<missing>" << "文件不存在";
}

void TestPictureFiles::failedImportsAreNamedAndLeaveNothing()
{
    QFETCH(QString, content);
    QFETCH(QString, reason);
    const QString bad = m_dir->path() + QStringLiteral("/src/broken.bmp");
    if (content != QLatin1String("<missing>")) {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content.toUtf8());
    }
    const QString good = picture(QStringLiteral("good.bmp"), {3, 3});
    const auto r = PictureFiles::importPictures(images(), {bad, good});
    QCOMPARE(r.added.size(), 1);
    QCOMPARE(QFileInfo(r.added.at(0)).fileName(), QStringLiteral("100001_good.bmp"));
    QCOMPARE(r.failed.size(), 1);
    QVERIFY2(r.message().contains(QStringLiteral("broken.bmp")), qPrintable(r.message()));
    QVERIFY2(r.message().contains(reason), qPrintable(r.message()));
    QCOMPARE(QDir(images()).entryList(QDir::Files), QStringList{QStringLiteral("100001_good.bmp")});
}

void TestPictureFiles::importIntoUnwritableFolderLeavesNothing()
{
    const QString src = picture(QStringLiteral("a.png"), {3, 3}, "PNG");
    const QString src2 = picture(QStringLiteral("b.bmp"), {3, 3});
    // A folder nobody can write into, root included: its parent is a file.
    QFile blocker(m_dir->path() + QStringLiteral("/blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto r = PictureFiles::importPictures(blocker.fileName() + QStringLiteral("/tempImages"), {src, src2});
    QVERIFY(r.added.isEmpty());
    QCOMPARE(r.failed.size(), 2);
    QVERIFY(r.message().contains(QStringLiteral("a.png")));
    QVERIFY(r.message().contains(QStringLiteral("b.bmp")));
    QVERIFY(r.message().contains(QStringLiteral("复制到项目文件夹失败")));
    QCOMPARE(QFileInfo(blocker.fileName()).size(), qint64(0));
}

void TestPictureFiles::importRefusesWhatTheLibraryCouldNotSend()
{
    // Few pixels, but a side the module's picture header cannot hold.
    BmpBytes::Spec wide;
    wide.width = 65536;
    wide.bitsPerPixel = 1;
    wide.palette = {0x000000, 0xFFFFFF};
    wide.pixels = QByteArray(65536 / 8, '\0');
    const QString path = m_dir->path() + QStringLiteral("/src/wide.bmp");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(BmpBytes::file(wide));
    f.close();
    const auto r = PictureFiles::importPictures(images(), {path});
    QVERIFY(r.added.isEmpty());
    QCOMPARE(r.failed.value(0).reason, PictureFiles::ImportFailure::TooLarge);
    QVERIFY2(r.message().contains(QStringLiteral("wide.bmp：图片尺寸过大")), qPrintable(r.message()));
    QCOMPARE(QDir(images()).entryList(QDir::Files), QStringList());
}

void TestPictureFiles::serialsContinueAfterTheLargest()
{
    // Deleted pictures leave gaps; new ones never reuse a serial.
    QVERIFY(QFile::copy(picture(QStringLiteral("x.bmp"), {2, 2}), images() + QStringLiteral("/100007_x.bmp")));
    const auto r = PictureFiles::importPictures(images(), {picture(QStringLiteral("y.bmp"), {2, 2}),
                                                           picture(QStringLiteral("z_1.bmp"), {2, 2})});
    QCOMPARE(QFileInfo(r.added.value(0)).fileName(), QStringLiteral("100008_y.bmp"));
    QCOMPARE(QFileInfo(r.added.value(1)).fileName(), QStringLiteral("100009_z_1.bmp"));
    const QStringList order = PictureLibrary::fromFolder(images()).paths();
    QCOMPARE(order.size(), 3);
    QVERIFY(order.at(2).endsWith(QStringLiteral("100009_z_1.bmp")));
}

void TestPictureFiles::renumbered_data()
{
    QTest::addColumn<QVector<int>>("removed");
    QTest::addColumn<QVector<int>>("before");
    QTest::addColumn<QVector<int>>("after");
    QTest::newRow("one") << QVector<int>{1} << QVector<int>{-1, 0, 1, 2, 3} << QVector<int>{-1, 0, -1, 1, 2};
    QTest::newRow("first") << QVector<int>{0} << QVector<int>{0, 1, 5} << QVector<int>{-1, 0, 4};
    QTest::newRow("two apart") << QVector<int>{1, 3} << QVector<int>{0, 1, 2, 3, 4, 9}
                               << QVector<int>{0, -1, 1, -1, 2, 7};
    QTest::newRow("none") << QVector<int>{} << QVector<int>{0, 4} << QVector<int>{0, 4};
}

void TestPictureFiles::renumbered()
{
    QFETCH(QVector<int>, removed);
    QFETCH(QVector<int>, before);
    QFETCH(QVector<int>, after);
    for (int i = 0; i < before.size(); ++i)
        QCOMPARE(PictureReferences::renumbered(before.at(i), removed), after.at(i));
}

void TestPictureFiles::deletionMovesEveryReference()
{
    // Controls and pages naming 0, 1, 2 and 3 in every image field; picture 1 goes.
    ProjectData d = projectNamingEachPicture(4);
    d.parentImageNum = 3;
    d.logo1 = 2;
    d.logo2 = 3;
    const ProjectData out = PictureReferences::withPicturesRemoved(d, {1});
    const int want[] = {0, -1, 1, 2};
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(out.pages.at(n).imageNum, want[n]);
        for (int f = 0; f < PictureReferences::ImageFieldCount; ++f)
            QCOMPARE(PictureReferences::imageField(out.pages.at(n).controls.at(0), f), want[n]);
        // Nothing else of the page changes.
        QCOMPARE(out.pages.at(n).controls.at(1), d.pages.at(n).controls.at(1));
    }
    QCOMPARE(out.parentImageNum, 2);
    QCOMPARE(out.logo1, 1);
    QCOMPARE(out.logo2, 2);

    // The start of the range gone: it is unset, the end still follows its picture.
    d.logo1 = 1;
    const ProjectData out2 = PictureReferences::withPicturesRemoved(d, {1});
    QCOMPARE(out2.logo1, -1);
    QCOMPARE(out2.logo2, 2);
}

void TestPictureFiles::deletingSeveralActsAsOne()
{
    ProjectData d;
    PageData page;
    for (int n = 0; n < 6; ++n) {
        ControlRecord c = ControlRecord::make(ControlKind::Progress, n);
        c.imageNum = n;
        c.backgroundImageNum = 5 - n;
        page.controls << c;
    }
    d.pages << page;
    // Unordered and repeated numbers, and numbers naming no picture, are taken as the set.
    const QVector<int> removed = PictureReferences::validNumbers({4, 1, 4, 9, -1}, 6);
    QCOMPARE(removed, (QVector<int>{1, 4}));
    const ProjectData out = PictureReferences::withPicturesRemoved(d, removed);
    const int image[] = {0, -1, 1, 2, -1, 3};
    const int background[] = {3, -1, 2, 1, -1, 0};
    for (int n = 0; n < 6; ++n) {
        QCOMPARE(out.pages.at(0).controls.at(n).imageNum, image[n]);
        QCOMPARE(out.pages.at(0).controls.at(n).backgroundImageNum, background[n]);
    }
}

void TestPictureFiles::removedFilesAndTheListAgree()
{
    const auto r = PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {1, 1}),
                                                           picture(QStringLiteral("b.bmp"), {2, 1}),
                                                           picture(QStringLiteral("c.bmp"), {3, 1})});
    const PictureLibrary lib = PictureLibrary::fromFolder(images());
    QFile::remove(lib.at(2).path);  // already gone counts as removed
    QStringList failed;
    bool written = false;
    const QString project = m_dir->path() + QStringLiteral("/proj/p.Tavo");
    const QVector<int> gone = PictureFiles::removePictures(
        project, lib, {0, 2}, [](const QVector<int> &) { return true; }, &failed, &written);
    QCOMPARE(gone, (QVector<int>{0, 2}));
    QVERIFY(written);
    QVERIFY(!QFileInfo::exists(m_dir->path() + QStringLiteral("/proj/tempImages.removing")));
    QVERIFY(failed.isEmpty());
    const PictureLibrary left = PictureFiles::without(lib, gone);
    QCOMPARE(left.paths(), PictureLibrary::fromFolder(images()).paths());
    QCOMPARE(left.count(), 1);
    QCOMPARE(left.at(0).size, QSize(2, 1));
}

void TestPictureFiles::fontsCopiedButOnlyValidNamesListed()
{
    const QString fonts = m_dir->path() + QStringLiteral("/proj/tempFonts");
    QStringList files;
    for (const char *name : {"C_16.bin", "ABC.bin", "C_20.bin", "E_96.bin"}) {
        const QString p = m_dir->path() + QStringLiteral("/src/") + QLatin1String(name);
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("font");
        files << p;
    }
    files << m_dir->path() + QStringLiteral("/src/E_16.bin");  // vanished
    const QStringList failed = FontLibrary::importFonts(fonts, files);
    QCOMPARE(failed, QStringList{QStringLiteral("E_16.bin")});
    QCOMPARE(QDir(fonts).entryList(QDir::Files),
             (QStringList{QStringLiteral("ABC.bin"), QStringLiteral("C_16.bin"), QStringLiteral("C_20.bin"),
                          QStringLiteral("E_96.bin")}));
    const QStringList listed = FontLibrary::fontList(fonts);
    QCOMPARE(listed.size(), 2);
    QVERIFY(listed.at(0).endsWith(QStringLiteral("/C_16.bin")));
    const FontLibrary::FontName c16 = FontLibrary::parseFontName(QStringLiteral("C_16.bin"));
    QVERIFY(c16.valid && c16.chinese);
    QCOMPARE(c16.size, 16);

    // Importing a font again replaces it.
    QFile f(files.at(0));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("newer font");
    f.close();
    QVERIFY(FontLibrary::importFonts(fonts, {files.at(0)}).isEmpty());
    QCOMPARE(QFileInfo(fonts + QStringLiteral("/C_16.bin")).size(), qint64(10));
}

void TestPictureFiles::oversizedAndUnreadable()
{
    QVERIFY(PictureFiles::isOversized({321, 10}, {320, 240}));
    QVERIFY(PictureFiles::isOversized({10, 241}, {320, 240}));
    QVERIFY(!PictureFiles::isOversized({320, 240}, {320, 240}));
    QVERIFY(!PictureFiles::isOversized({5000, 5000}, QSize()));  // no page yet

    QFile empty(images() + QStringLiteral("/100001_empty.bmp"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    const PictureLibrary lib = PictureLibrary::fromFolder(images());
    QCOMPARE(lib.count(), 1);
    QVERIFY(PictureFiles::isUnreadable(lib.at(0)));
}

void TestPictureFiles::backupOfUnchangedPicturesIsReusedButIndependent()
{
    const QString backup = m_dir->path() + QStringLiteral("/proj/backUpImages");
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto read = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    write(images() + QStringLiteral("/100001_a.bmp"), "aaaa");
    write(images() + QStringLiteral("/100002_b.bmp"), "bbbb");
    QVERIFY(mirrorFolder(images(), backup));
    QVERIFY(mirrorFolder(images(), backup));  // nothing changed: the second mirror reuses
    QCOMPARE(read(backup + QStringLiteral("/100001_a.bmp")), QByteArray("aaaa"));

    // Same size, new content and time: copied again. Removed files go from the copy too.
    QTest::qWait(20);
    write(images() + QStringLiteral("/100002_b.bmp"), "BBBB");
    QFile::remove(images() + QStringLiteral("/100001_a.bmp"));
    QVERIFY(mirrorFolder(images(), backup));
    QCOMPARE(QDir(backup).entryList(QDir::Files), QStringList{QStringLiteral("100002_b.bmp")});
    QCOMPARE(read(backup + QStringLiteral("/100002_b.bmp")), QByteArray("BBBB"));

    // The copy never shares a file with its source: changing one leaves the other.
    QVERIFY(mirrorFolder(images(), backup));
    write(images() + QStringLiteral("/100002_b.bmp"), "XX");
    QCOMPARE(read(backup + QStringLiteral("/100002_b.bmp")), QByteArray("BBBB"));
    QVERIFY(mirrorFolder(backup, images()));
    QCOMPARE(read(images() + QStringLiteral("/100002_b.bmp")), QByteArray("BBBB"));
}

// A backup that already matches is not rebuilt; anything that differs, at any depth, is.
void TestPictureFiles::backupUpToDateIsLeftAlone()
{
    const QString backup = m_dir->path() + QStringLiteral("/proj/backUpImages");
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto inode = [](const QString &path) {
        struct stat st;
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_ino) : qint64(-1);
    };
    QVERIFY(QDir().mkpath(images() + QStringLiteral("/sub")));
    write(images() + QStringLiteral("/100001_a.bmp"), "aaaa");
    write(images() + QStringLiteral("/sub/x.bmp"), "xx");
    QVERIFY(mirrorFolder(images(), backup));
    const qint64 first = inode(backup);
    QVERIFY(first > 0);
    QVERIFY(mirrorFolder(images(), backup));
    QCOMPARE(inode(backup), first);

    // Something of its own in the backup: the copy is made again without it.
    write(backup + QStringLiteral("/stray.bmp"), "s");
    QVERIFY(mirrorFolder(images(), backup));
    QVERIFY(inode(backup) != first);
    QVERIFY(!QFileInfo::exists(backup + QStringLiteral("/stray.bmp")));

    // A file changed in a subfolder comes across.
    QTest::qWait(20);
    write(images() + QStringLiteral("/sub/x.bmp"), "yyy");
    QVERIFY(mirrorFolder(images(), backup));
    QFile copy(backup + QStringLiteral("/sub/x.bmp"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("yyy"));
    QCOMPARE(QDir(backup).entryList(QDir::Files), QStringList{QStringLiteral("100001_a.bmp")});
}

void TestPictureFiles::unsavedPicturesPutBackAsSaved_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");
    const QStringList saved{QStringLiteral("100001_a.bmp"), QStringLiteral("100002_b.bmp"), QStringLiteral("100003_c.bmp")};
    QTest::newRow("taken out") << "remove b" << saved;
    QTest::newRow("added") << "add d" << saved;
    QTest::newRow("cut short at a saved name") << "truncate b" << saved;
    QTest::newRow("other files stay") << "add readme" << saved + QStringList{QStringLiteral("readme")};
    // The backup lost its copy: nothing can bring it back, the rest still is.
    QTest::newRow("not in the backup") << "remove c, drop its backup, add d"
                                       << QStringList{QStringLiteral("100001_a.bmp"), QStringLiteral("100002_b.bmp")};
    // A backup copy that is not the noted picture is not put in its place.
    QTest::newRow("backup of another size") << "remove b, resize its backup"
                                            << QStringList{QStringLiteral("100001_a.bmp"), QStringLiteral("100003_c.bmp")};
    // A note cut short is not trusted, wherever the cut falls: nothing is removed.
    QTest::newRow("note cut by a byte") << "add d, cut note 0" << saved + QStringList{QStringLiteral("100004_d.bmp")};
    QTest::newRow("note cut at a line's end") << "cut note 1" << saved;
    QTest::newRow("note cut before its last name") << "cut note 2" << saved;
    // The project file was written after the change: the folder is the saved one.
    QTest::newRow("project written since") << "remove b, write project"
                                           << QStringList{QStringLiteral("100001_a.bmp"), QStringLiteral("100003_c.bmp")};
}

void TestPictureFiles::unsavedPicturesPutBackAsSaved()
{
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {1, 1}), picture(QStringLiteral("b.bmp"), {2, 1}),
                                            picture(QStringLiteral("c.bmp"), {3, 1})});
    const QString folder = m_dir->path() + QStringLiteral("/proj");
    QVERIFY(mirrorFolder(images(), ProjectFolders::backup(folder)));
    const QString project = folder + QStringLiteral("/p.Tavo");
    QFile file(project);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<project/>");
    file.close();
    QFile b(images() + QStringLiteral("/100002_b.bmp"));
    QVERIFY(b.open(QIODevice::ReadOnly));
    const QByteArray bBytes = b.readAll();
    b.close();

    QVERIFY(PictureFiles::noteUnsavedPictures(project));
    if (change.contains(QLatin1String("remove b")))
        QVERIFY(QFile::remove(images() + QStringLiteral("/100002_b.bmp")));
    if (change.contains(QLatin1String("remove c")))
        QVERIFY(QFile::remove(images() + QStringLiteral("/100003_c.bmp")));
    if (change.contains(QLatin1String("drop its backup")))
        QVERIFY(QFile::remove(ProjectFolders::backup(folder) + QStringLiteral("/100003_c.bmp")));
    if (change.contains(QLatin1String("add d")))
        QVERIFY(QFile::copy(picture(QStringLiteral("d.bmp"), {4, 1}), images() + QStringLiteral("/100004_d.bmp")));
    if (change.contains(QLatin1String("add readme")))
        QVERIFY(QFile::copy(picture(QStringLiteral("d.bmp"), {4, 1}), images() + QStringLiteral("/readme")));
    if (change.contains(QLatin1String("truncate b")))
        QVERIFY(QFile::resize(images() + QStringLiteral("/100002_b.bmp"), 10));
    if (change.contains(QLatin1String("resize its backup")))
        QVERIFY(QFile::resize(ProjectFolders::backup(folder) + QStringLiteral("/100002_b.bmp"), 30));
    if (change.contains(QLatin1String("write project"))) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<project version=\"2\"/>");
        file.close();
    }
    // As if the window was killed: the note stays for the next opening.
    PictureFiles::leaveUnsavedNote(project);
    const QString notePath = folder + QStringLiteral("/tempImages.unsaved");
    const bool cut = change.contains(QLatin1String("cut note"));
    if (cut) {
        QFile note(notePath);
        QVERIFY(note.open(QIODevice::ReadWrite));
        QByteArray text = note.readAll();
        const int lines = change.section(QLatin1Char(' '), -1).toInt();
        if (lines == 0)
            text.chop(1);
        for (int i = 0; i < lines; ++i) {
            text.chop(1);
            text.truncate(text.lastIndexOf('\n') + 1);
        }
        QVERIFY(note.resize(text.size()));
    }
    PictureFiles::recoverRemoval(project);

    QCOMPARE(QDir(images()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(QFileInfo::exists(notePath), cut);
    if (expected.contains(QStringLiteral("100002_b.bmp"))) {
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), bBytes);
    }
    // Settled: a second opening changes nothing.
    QCOMPARE(PictureFiles::recoverUnsavedPictures(project), 0);
}

// A removal still pending when the project file is written again keeps the note of the file
// that names its pictures: undone, every picture comes back.
void TestPictureFiles::pendingRemovalKeepsItsNote()
{
    PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {1, 1}), picture(QStringLiteral("b.bmp"), {2, 1}),
                                            picture(QStringLiteral("c.bmp"), {3, 1})});
    const QStringList all = QDir(images()).entryList(QDir::Files);
    const QString project = m_dir->path() + QStringLiteral("/proj/p.Tavo");
    QFile file(project);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<project/>");
    file.close();
    const QByteArray first = QCryptographicHash::hash("<project/>", QCryptographicHash::Sha256).toHex();
    QStringList failed;
    QCOMPARE(PictureFiles::setPicturesAside(project, PictureLibrary::fromFolder(images()), {1}, &failed), QVector<int>{1});
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<project version=\"2\"/>");
    file.close();
    QCOMPARE(PictureFiles::setPicturesAside(project, PictureLibrary::fromFolder(images()), {1}, &failed), QVector<int>{1});
    QFile note(m_dir->path() + QStringLiteral("/proj/tempImages.removing/.project"));
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), first);
    note.close();
    PictureFiles::undoRemoval(project);
    QCOMPARE(QDir(images()).entryList(QDir::Files), all);
}

QTEST_GUILESS_MAIN(TestPictureFiles)
#include "tst_picturefiles.moc"

void TestPictureFiles::linkedPictureFolderIsNeverWrittenThrough()
{
    const QString outside = m_dir->path() + QStringLiteral("/outside");
    QVERIFY(QDir().mkpath(outside));
    QFile keep(outside + QStringLiteral("/100001_keep.bmp"));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("not ours");
    keep.close();
    QVERIFY(QDir(images()).removeRecursively());
    QVERIFY(QFile::link(outside, images()));
    const QString project = m_dir->path() + QStringLiteral("/proj/p.Tavo");

    const auto r = PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {2, 2})});
    QVERIFY(r.added.isEmpty());
    QVERIFY2(r.message().contains(QStringLiteral("tempImages")), qPrintable(r.message()));
    QStringList failed;
    const QVector<int> gone = PictureFiles::setPicturesAside(project, PictureLibrary::fromFolder(images()), {0}, &failed);
    QVERIFY(gone.isEmpty());
    QCOMPARE(failed, QStringList{QStringLiteral("100001_keep.bmp")});
    PictureFiles::undoRemoval(project);
    QCOMPARE(QDir(outside).entryList(QDir::Files), QStringList{QStringLiteral("100001_keep.bmp")});

    // A dangling link standing at the new file's name is not written through either.
    QFile::remove(images());
    QVERIFY(QDir().mkpath(images()));
    const QString target = m_dir->path() + QStringLiteral("/created-through-link");
    QVERIFY(QFile::link(target, images() + QStringLiteral("/100001_b.bmp")));
    const auto r2 = PictureFiles::importPictures(images(), {picture(QStringLiteral("b.bmp"), {2, 2})});
    QCOMPARE(r2.added.size(), 1);
    QVERIFY(!QFileInfo(r2.added.at(0)).isSymLink());
    QVERIFY(QFileInfo(images() + QStringLiteral("/100001_b.bmp")).isSymLink());
    QVERIFY(!QFileInfo::exists(target));
}

void TestPictureFiles::namesWithControlCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("line break") << "a\nb.bmp" << "a\\nb.bmp";
    QTest::newRow("carriage return") << "a\rb.bmp" << "a\\rb.bmp";
    QTest::newRow("tab") << "a\tb.bmp" << "a\\tb.bmp";
    QTest::newRow("escape") << "a\x1b.bmp" << "a\\x1b.bmp";
}

void TestPictureFiles::namesWithControlCharacters()
{
    QFETCH(QString, name);
    QFETCH(QString, escaped);
    const auto r = PictureFiles::importPictures(images(), {picture(name, {2, 2}, "BMP"), picture(QStringLiteral("ok.bmp"), {2, 2})});
    QCOMPARE(r.added.size(), 1);
    QCOMPARE(r.failed.size(), 1);
    QCOMPARE(r.failed.at(0).reason, PictureFiles::ImportFailure::BadName);
    QVERIFY2(r.message().contains(escaped), qPrintable(r.message()));
    QVERIFY(!r.message().contains(name));
    QCOMPARE(QDir(images()).entryList(QDir::Files), QStringList{QStringLiteral("100001_ok.bmp")});
    QCOMPARE(PictureFiles::escapedName(name), escaped);
    QCOMPARE(PictureFiles::escapedName(QStringLiteral("c:\\x.bmp")), QStringLiteral("c:\\\\x.bmp"));
}

// A project file that cannot be written leaves every picture where it was, under its name.
void TestPictureFiles::unwritableProjectKeepsEveryPicture()
{
    PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {1, 1}), picture(QStringLiteral("b.bmp"), {2, 1}),
                                            picture(QStringLiteral("c.bmp"), {3, 1})});
    const QStringList before = QDir(images()).entryList(QDir::Files);
    const PictureLibrary lib = PictureLibrary::fromFolder(images());
    const QString project = m_dir->path() + QStringLiteral("/proj/p.Tavo");
    QStringList failed;
    bool written = true;
    QVector<int> seenGone;
    QStringList seenWhileWriting;
    const QVector<int> gone = PictureFiles::removePictures(
        project, lib, {0, 1},
        [&](const QVector<int> &g) {
            seenGone = g;
            seenWhileWriting = QDir(images()).entryList(QDir::Files);
            return false;
        },
        &failed, &written);
    QCOMPARE(seenGone, (QVector<int>{0, 1}));
    // While the file is written the pictures are out of the folder, set aside, not deleted.
    QCOMPARE(seenWhileWriting, QStringList{QStringLiteral("100003_c.bmp")});
    QVERIFY(gone.isEmpty());
    QVERIFY(!written);
    QCOMPARE(QDir(images()).entryList(QDir::Files), before);
    QVERIFY(!QFileInfo::exists(m_dir->path() + QStringLiteral("/proj/tempImages.removing")));
}

// What a kill leaves between the steps of a removal, and what the next opening makes of it.
void TestPictureFiles::halfDoneRemovalIsFinishedOrUndone_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{QStringLiteral("100001_a.bmp"), QStringLiteral("100002_b.bmp"), QStringLiteral("100003_c.bmp")};
    QTest::newRow("project not yet written") << "<stamp of the file>" << all;
    QTest::newRow("killed before the note") << "<none>" << all;
    QTest::newRow("project written") << "<other>"
                                     << QStringList{QStringLiteral("100001_a.bmp"), QStringLiteral("100003_c.bmp")};
}

void TestPictureFiles::halfDoneRemovalIsFinishedOrUndone()
{
    QFETCH(QString, note);
    QFETCH(QStringList, expected);
    PictureFiles::importPictures(images(), {picture(QStringLiteral("a.bmp"), {1, 1}), picture(QStringLiteral("b.bmp"), {2, 1}),
                                            picture(QStringLiteral("c.bmp"), {3, 1})});
    const QString project = m_dir->path() + QStringLiteral("/proj/p.Tavo");
    QFile file(project);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<project/>");
    file.close();
    const QString aside = m_dir->path() + QStringLiteral("/proj/tempImages.removing");
    QVERIFY(QDir().mkpath(aside));
    QVERIFY(QFile::rename(images() + QStringLiteral("/100002_b.bmp"), aside + QStringLiteral("/100002_b.bmp")));
    if (note != QLatin1String("<none>")) {
        QFile n(aside + QStringLiteral("/.project"));
        QVERIFY(n.open(QIODevice::WriteOnly));
        n.write(note == QLatin1String("<other>")
                    ? QByteArray("0000")
                    : QCryptographicHash::hash("<project/>", QCryptographicHash::Sha256).toHex());
    }
    PictureFiles::recoverRemoval(project);
    QCOMPARE(QDir(images()).entryList(QDir::Files), expected);
    QVERIFY(!QFileInfo::exists(aside));
}
