#include "download/downloadblocks.h"
#include "library/fontlibrary.h"
#include "library/picturecache.h"
#include "library/picturelibrary.h"
#include "library/regularfile.h"
#include "script/scripts.h"

#include <QBuffer>
#include <QThread>
#include <QTemporaryDir>
#include <QtTest>

#include "bmpbytes.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace BmpBytes;

namespace {

constexpr quint32 Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;

const QVector<quint32> kPalette = {Red, Green, Blue, White};

QByteArray topDown24()
{
    Spec s;
    s.width = 3;
    s.height = -2;
    s.pixels = rows24({{Red, Green, Blue}, {White, Black, Red}});
    return file(s);
}

QByteArray bottomUp24()
{
    Spec s;
    s.width = 3;
    s.height = 2;
    s.pixels = rows24({{White, Black, Red}, {Red, Green, Blue}});  // bottom row first
    return file(s);
}

QByteArray palette8(int height)
{
    Spec s;
    s.width = 4;
    s.height = height;
    s.bitsPerPixel = 8;
    s.palette = kPalette;
    // Stored first: the top row when top-down, the bottom row otherwise.
    s.pixels = QByteArray::fromHex(height < 0 ? "03020100" "00010203" : "00010203" "03020100");
    return file(s);
}

QByteArray rle8()
{
    Spec s;
    s.width = 4;
    s.height = 2;
    s.bitsPerPixel = 8;
    s.compression = 1;
    s.palette = kPalette;
    // Bottom row: four reds. Top row: two greens, two blues. Then end of bitmap.
    s.pixels = QByteArray::fromHex("0400" "0000" "0201" "0202" "0000" "0001");
    return file(s);
}

QByteArray rle4()
{
    Spec s;
    s.width = 4;
    s.height = 2;
    s.bitsPerPixel = 4;
    s.compression = 2;
    s.palette = kPalette;
    // Bottom row: green, blue, green, blue. Top row: four whites.
    s.pixels = QByteArray::fromHex("0412" "0000" "0433" "0000" "0001");
    return file(s);
}

QByteArray rgb555TopDown()
{
    Spec s;
    s.width = 2;
    s.height = -2;
    s.bitsPerPixel = 16;
    // 0RRRRRGG GGGBBBBB, little-endian: red, green / blue, white.
    s.pixels = QByteArray::fromHex("007C" "E003" "1F00" "FF7F");
    return file(s);
}

QByteArray argb32TopDown()
{
    Spec s;
    s.width = 2;
    s.height = -2;
    s.bitsPerPixel = 32;
    s.compression = 3;
    s.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    // Opaque red, half-transparent green / opaque blue, transparent white.
    s.pixels = QByteArray::fromHex("0000FFFF" "00FF0080" "FF0000FF" "FFFFFF00");
    return file(s);
}

// A header that promises a 10 x 10 picture, and no pixels.
QByteArray headerOnly()
{
    Spec s;
    s.width = 10;
    s.height = 10;
    return file(s).left(54);
}

// One row of a 1-bit picture of the given width.
QByteArray monoRow(int width)
{
    Spec s;
    s.width = width;
    s.height = 1;
    s.bitsPerPixel = 1;
    s.palette = {Black, White};
    s.pixels = QByteArray(((width + 31) / 32) * 4, '\0');
    return file(s);
}

// A picture saved by Qt in the given format and image format.
QByteArray saved(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

QImage filled(const QSize &size, QImage::Format format)
{
    QImage img(size, format);
    if (format == QImage::Format_Indexed8) {
        img.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
        img.fill(1);
    } else {
        img.fill(QColor(0, 0, 255));
    }
    return img;
}

// A 5 x 3 RGB PNG stored interlaced (Adam7); its top left pixel is red.
QByteArray interlacedPng()
{
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000005000000030802000001a35362390000001b4944415478da63f8cf00"
                               "03ff19fe03018405e14085612418030100a69b11efb52872440000000049454e44ae426082");
}

// A JPEG of the size given, with an orientation tag in an EXIF segment right after its start.
// padding: bytes of a comment segment after the tag, pushing the frame header that far back.
QByteArray jpegWithOrientation(const QSize &stored, int orientation, int padding = 0)
{
    const QByteArray plain = saved(filled(stored, QImage::Format_RGB32), "JPEG");
    QByteArray tiff = QByteArray::fromHex("4d4d002a00000008" "0001" "011200030000000100") + char(orientation) +
                      QByteArray::fromHex("0000" "00000000");
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1 = QByteArray::fromHex("ffe1");
    app1 += char((body.size() + 2) >> 8);
    app1 += char((body.size() + 2) & 0xFF);
    QByteArray comment;
    if (padding > 0)
        comment = QByteArray::fromHex("fffe") + char((padding + 2) >> 8) + char((padding + 2) & 0xFF) +
                  QByteArray(padding, 'c');
    return plain.left(2) + app1 + body + comment + plain.mid(2);
}

bool makeFifo(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

}  // namespace

class TestPictureLibrary : public QObject {
    Q_OBJECT
private slots:
    void decodedSize_data();
    void decodedSize();
    void topDownPixelsAndScript();
    void unreadable_data();
    void unreadable();
    void tooLarge_data();
    void tooLarge();
    void onlyRegularFiles();
    void largePictureDecodes();
    void headerSizes_data();
    void headerSizes();
    void onlyTheLibraryFormats_data();
    void onlyTheLibraryFormats();
    void readAtMost();
    void largeLibraryInSerialOrder();
    void cacheNoticesSameTimeReplacement();
    void cacheDecodesOnceForManyThreads();
};

void TestPictureLibrary::decodedSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<quint32>("colour");  // 0xAARRGGBB at probe, straight alpha

    QTest::newRow("24-bit top-down") << topDown24() << QSize(3, 2) << QPoint(2, 0) << 0xFF0000FFu;
    QTest::newRow("24-bit bottom-up") << bottomUp24() << QSize(3, 2) << QPoint(2, 0) << 0xFF0000FFu;
    QTest::newRow("palette top-down") << palette8(-2) << QSize(4, 2) << QPoint(0, 0) << 0xFFFFFFFFu;
    QTest::newRow("palette bottom-up") << palette8(2) << QSize(4, 2) << QPoint(0, 0) << 0xFFFFFFFFu;
    QTest::newRow("RLE8") << rle8() << QSize(4, 2) << QPoint(3, 0) << 0xFF0000FFu;
    QTest::newRow("RLE4") << rle4() << QSize(4, 2) << QPoint(1, 1) << 0xFF0000FFu;
    QTest::newRow("16-bit top-down") << rgb555TopDown() << QSize(2, 2) << QPoint(1, 0) << 0xFF00F800u;
    QTest::newRow("32-bit alpha top-down") << argb32TopDown() << QSize(2, 2) << QPoint(1, 0) << 0x8000FF00u;
}

// The size the library records is what the file decodes to, whatever its header says.
void TestPictureLibrary::decodedSize()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QPoint, probe);
    QFETCH(quint32, colour);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_p.bmp"));
    QVERIFY(write(path, bytes));

    const PictureLibrary lib = PictureLibrary::fromFolder(dir.path());
    QCOMPARE(lib.count(), 1);
    QCOMPARE(lib.at(0).size, size);
    QVERIFY(lib.at(0).readable());
    QCOMPARE(lib.at(0).fileSize, qint64(bytes.size()));
    QCOMPARE(lib.totalBytes(), qint64(size.width()) * size.height() * 2);

    PictureState state;
    const QImage img = PictureReader::read(path, &state);
    QCOMPARE(state, PictureState::Readable);
    QCOMPARE(img.size(), size);
    const QColor c = img.pixelColor(probe);
    QCOMPARE(c.rgba(), QRgb(colour));
    // What the renderer paints with is the same picture.
    QCOMPARE(PictureCache::global().image(path).size(), size);
}

// A top-down picture keeps its place in the addresses, the page script and the pixel block.
void TestPictureLibrary::topDownPixelsAndScript()
{
    QTemporaryDir dir;
    QVERIFY(write(dir.filePath(QStringLiteral("100001_top.bmp")), topDown24()));
    QVERIFY(write(dir.filePath(QStringLiteral("100002_next.bmp")), bottomUp24()));
    const PictureLibrary lib = PictureLibrary::fromFolder(dir.path());
    QCOMPARE(lib.count(), 2);
    QCOMPARE(lib.address(1), qint64(PictureLibrary::BaseAddress + 12));

    PageData page;
    page.imageNum = 0;
    QCOMPARE(pageBackgroundText(page, lib), QStringLiteral("PIC(0,0,0,3,2);"));
    QCOMPARE(DownloadBlocks::pictureHeader(lib), QByteArray::fromHex("0000001800020003000200030002"));
    const QByteArray pixels = DownloadBlocks::pixelData(lib);
    QCOMPARE(pixels.size(), 24);
    // Top row first: red, green, blue; then white, black, red.
    QCOMPARE(pixels.left(12), QByteArray::fromHex("F80007E0001F" "FFFF0000F800"));
    QCOMPARE(pixels.mid(12), pixels.left(12));  // the bottom-up copy holds the same picture
}

void TestPictureLibrary::unreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QStringLiteral("100002_empty.bmp") << QByteArray();
    QTest::newRow("header only") << QStringLiteral("100002_head.bmp") << headerOnly();
    QTest::newRow("text named bmp") << QStringLiteral("100002_text.bmp") << QByteArray("just some notes\n");
    QTest::newRow("text named jpg") << QStringLiteral("100002_text.jpg") << QByteArray("\xFF\xD8 not really");
}

// An unreadable picture keeps its number, counts as empty and says so.
void TestPictureLibrary::unreadable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(write(dir.filePath(QStringLiteral("100001_a.bmp")), bottomUp24()));
    QVERIFY(write(dir.filePath(name), bytes));
    QVERIFY(write(dir.filePath(QStringLiteral("100003_c.bmp")), topDown24()));

    const PictureLibrary lib = PictureLibrary::fromFolder(dir.path());
    QCOMPARE(lib.count(), 3);
    QCOMPARE(lib.at(1).state, PictureState::Unreadable);
    QVERIFY(!lib.at(1).readable());
    QCOMPARE(lib.at(1).size, QSize(0, 0));
    QCOMPARE(lib.problemPictures(), QVector<int>{1});
    QCOMPARE(lib.address(2), qint64(PictureLibrary::BaseAddress + 12));
    QVERIFY(lib.at(0).readable() && lib.at(2).readable());
    QVERIFY(!PictureReader::stateText(lib.at(1).state).isEmpty());
}

void TestPictureLibrary::tooLarge_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("readable");
    QTest::newRow("side 65535") << monoRow(65535) << QSize(65535, 1) << true;
    QTest::newRow("side 65536") << monoRow(65536) << QSize(65536, 1) << false;
    Spec huge;
    huge.width = 9000;
    huge.height = -9000;
    QTest::newRow("more pixels than decoded") << file(huge) << QSize(9000, 9000) << false;
}

void TestPictureLibrary::tooLarge()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    QVERIFY(write(dir.filePath(QStringLiteral("100001_wide.bmp")), bytes));
    const PictureLibrary lib = PictureLibrary::fromFolder(dir.path());
    QCOMPARE(lib.count(), 1);
    QCOMPARE(lib.at(0).size, size);
    QCOMPARE(lib.at(0).readable(), readable);
    QCOMPARE(lib.at(0).state, readable ? PictureState::Readable : PictureState::TooLarge);
}

void TestPictureLibrary::largePictureDecodes()
{
    // 144 MB of pixels when decoded: over what Qt 6 allows by default, within our own bound.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_large.jpg"));
    {
        QImage large(6000, 6000, QImage::Format_RGB32);
        large.fill(QColor(0, 0, 255));
        QVERIFY(large.save(path, "JPG", 10));
    }
    PictureState state = PictureState::Unreadable;
    const QImage decoded = PictureReader::read(path, &state);
    QCOMPARE(state, PictureState::Readable);
    QCOMPARE(decoded.size(), QSize(6000, 6000));
}

void TestPictureLibrary::headerSizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::newRow("bmp 24-bit top-down") << "p.bmp" << topDown24() << QSize(3, 2);
    QTest::newRow("bmp 24-bit bottom-up") << "p.bmp" << bottomUp24() << QSize(3, 2);
    QTest::newRow("bmp palette top-down") << "p.bmp" << palette8(-2) << QSize(4, 2);
    QTest::newRow("bmp palette bottom-up") << "p.bmp" << palette8(2) << QSize(4, 2);
    QTest::newRow("bmp RLE8") << "p.bmp" << rle8() << QSize(4, 2);
    QTest::newRow("bmp RLE4") << "p.bmp" << rle4() << QSize(4, 2);
    QTest::newRow("bmp 16-bit top-down") << "p.bmp" << rgb555TopDown() << QSize(2, 2);
    QTest::newRow("bmp 32-bit top-down") << "p.bmp" << argb32TopDown() << QSize(2, 2);
    QTest::newRow("png 8-bit") << "p.bmp" << saved(filled({7, 5}, QImage::Format_RGB32), "PNG") << QSize(7, 5);
    QTest::newRow("png 16-bit") << "p.bmp" << saved(filled({6, 9}, QImage::Format_RGBA64), "PNG") << QSize(6, 9);
    QTest::newRow("png palette") << "p.bmp" << saved(filled({11, 3}, QImage::Format_Indexed8), "PNG") << QSize(11, 3);
    QTest::newRow("png interlaced") << "p.bmp" << interlacedPng() << QSize(5, 3);
    QTest::newRow("jpeg") << "p.jpg" << saved(filled({16, 8}, QImage::Format_RGB32), "JPEG") << QSize(16, 8);
    // Orientation 6: stored 16 x 8, shown turned a quarter; the module gets it as shown.
    QTest::newRow("jpeg turned by its tag") << "p.jpg" << jpegWithOrientation({16, 8}, 6) << QSize(8, 16);
    QTest::newRow("jpeg mirrored by its tag") << "p.jpg" << jpegWithOrientation({16, 8}, 2) << QSize(16, 8);
    // Its frame header 60 000 bytes in, past the first bytes a header read takes.
    QTest::newRow("jpeg, header far in") << "p.jpg" << jpegWithOrientation({16, 8}, 6, 60000) << QSize(8, 16);
}

// A library read for headers only gives every picture the size it decodes to, without decoding.
void TestPictureLibrary::headerSizes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_") + name);
    QVERIFY(write(path, bytes));

    const int before = PictureReader::decodeCount();
    const PictureLibrary headers = PictureLibrary::fromFolder(dir.path(), PictureLibrary::HeadersOnly);
    QCOMPARE(PictureReader::decodeCount(), before);
    QCOMPARE(headers.count(), 1);
    QCOMPARE(headers.at(0).size, size);
    QCOMPARE(headers.at(0).state, PictureState::Readable);
    QCOMPARE(headers.at(0).fileSize, qint64(bytes.size()));
    QVERIFY(!headers.at(0).decoded);

    PictureState state;
    const QImage img = PictureReader::read(path, &state);
    QCOMPARE(PictureReader::decodeCount(), before + 1);
    QCOMPARE(state, PictureState::Readable);
    QCOMPARE(img.size(), size);
    QCOMPARE(PictureLibrary::fromFolder(dir.path()).at(0).size, size);
    // A thumbnail has the shown shape too: a turned photo is tall, not squeezed.
    const QSize box(4, 4);
    const QSize thumb = size.boundedTo(box) == size ? size : size.scaled(box, Qt::KeepAspectRatio);
    QCOMPARE(PictureReader::readScaled(path, box).size(), thumb);
}

void TestPictureLibrary::onlyTheLibraryFormats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    // An SVG that draws another file of the disk into itself.
    QTest::newRow("svg named jpg")
        << "100001_x.jpg"
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                      "width=\"3\" height=\"2\"><image xlink:href=\"OTHER\" width=\"3\" height=\"2\"/></svg>\n");
    QTest::newRow("svg named bmp") << "100001_x.bmp"
                                   << QByteArray("<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" "
                                                 "width=\"3\" height=\"2\"><rect width=\"3\" height=\"2\"/></svg>");
    QTest::newRow("xpm named bmp") << "100001_x.bmp"
                                   << QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n");
}

// Pictures of the folder are decoded only as BMP, PNG, JPEG and the raster formats the import
// takes, chosen by their bytes: a document that names other files is no picture.
void TestPictureLibrary::onlyTheLibraryFormats()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("elsewhere.bmp"));
    QVERIFY(write(other, bottomUp24()));
    bytes.replace("OTHER", QFile::encodeName(other));
    const QString path = dir.filePath(name);
    QVERIFY(write(path, bytes));

    for (const PictureLibrary &lib : {PictureLibrary::fromFolder(dir.path()),
                                      PictureLibrary::fromFolder(dir.path(), PictureLibrary::HeadersOnly)}) {
        QCOMPARE(lib.count(), 1);
        QCOMPARE(lib.at(0).state, PictureState::Unreadable);
        QCOMPARE(lib.at(0).size, QSize(0, 0));
    }
    PictureState state;
    QVERIFY(PictureReader::read(path, &state).isNull());
    QVERIFY(PictureCache::global().image(path).isNull());
    QVERIFY(PictureReader::readScaled(path, QSize(40, 26)).isNull());
    QVERIFY(DownloadBlocks::pixelData(PictureLibrary::fromPaths({path})).isEmpty());
}

// Links to FIFOs and devices are neither entries nor opened; they are named as skipped.
void TestPictureLibrary::onlyRegularFiles()
{
    QTemporaryDir dir;
    const QString images = dir.filePath(QStringLiteral("tempImages"));
    const QString fonts = dir.filePath(QStringLiteral("tempFonts"));
    QVERIFY(QDir().mkpath(images) && QDir().mkpath(fonts));
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QVERIFY(makeFifo(fifo));

    QVERIFY(write(images + QStringLiteral("/100001_a.bmp"), bottomUp24()));
    QVERIFY(QFile::link(fifo, images + QStringLiteral("/100002_fifo.bmp")));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), images + QStringLiteral("/100003_null.bmp")));
    QVERIFY(makeFifo(images + QStringLiteral("/100004_pipe.jpg")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), images + QStringLiteral("/100005_gone.bmp")));
    QVERIFY(write(images + QStringLiteral("/100006_b.bmp"), topDown24()));

    const PictureLibrary lib = PictureLibrary::fromProjectFolder(dir.path());
    QCOMPARE(lib.count(), 2);
    QCOMPARE(QFileInfo(lib.at(1).path).fileName(), QStringLiteral("100006_b.bmp"));
    QCOMPARE(lib.skipped().size(), 4);
    QVERIFY(lib.skipped().first().endsWith(QLatin1String("100002_fifo.bmp")));
    QVERIFY(RegularFile::skippedWarning(lib.skipped().first()).contains(QLatin1String("100002_fifo.bmp")));

    // Given directly, such a path is unreadable and opening it does not wait for a writer.
    const PictureLibrary given = PictureLibrary::fromPaths({fifo, QStringLiteral("/dev/zero")});
    QCOMPARE(given.problemPictures(), (QVector<int>{0, 1}));
    QVERIFY(PictureCache::global().image(fifo).isNull());

    QVERIFY(write(fonts + QStringLiteral("/C_16.bin"), QByteArray(10, 'x')));
    QVERIFY(QFile::link(fifo, fonts + QStringLiteral("/C_24.bin")));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), fonts + QStringLiteral("/E_16.bin")));
    QStringList skipped;
    const QStringList list = FontLibrary::fontListOfProject(dir.path(), &skipped);
    QCOMPARE(list, QStringList{fonts + QStringLiteral("/C_16.bin")});
    QCOMPARE(skipped.size(), 2);
}

void TestPictureLibrary::readAtMost()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    QVERIFY(write(path, QByteArray(100, 'a')));
    QByteArray data;
    QVERIFY(RegularFile::readAtMost(path, 10, &data));
    QCOMPARE(data.size(), 11);
    QVERIFY(RegularFile::readAtMost(path, 100, &data));
    QCOMPARE(data.size(), 100);
    // A sparse file far over any limit costs only the limit.
    QFile sparse(dir.filePath(QStringLiteral("sparse.bin")));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(3) << 30));
    sparse.close();
    QVERIFY(RegularFile::readAtMost(sparse.fileName(), 1000, &data));
    QCOMPARE(data.size(), 1001);
    QVERIFY(!RegularFile::readAtMost(QStringLiteral("/dev/zero"), 10, &data));
    QVERIFY(data.isEmpty());
}

// A library large enough to have its headers read on two threads: every picture in its number's
// place with its own size, broken files marked in theirs, anything but a file left out.
void TestPictureLibrary::largeLibraryInSerialOrder()
{
    QTemporaryDir dir;
    const QString images = dir.filePath(QStringLiteral("tempImages"));
    QVERIFY(QDir().mkpath(images));
    const int count = 150;
    for (int i = 0; i < count; ++i) {
        // Serials of different lengths, so the folder's order is not the numbers' order.
        const QString path = images + QStringLiteral("/%1_p.bmp").arg(i % 2 ? 100000 + i : 9000000 + i);
        if (i % 10 == 7) {
            QVERIFY(write(path, QByteArray("not a picture")));
        } else {
            QImage img(i + 1, 2, QImage::Format_RGB32);
            img.fill(Qt::green);
            QVERIFY(img.save(path, "BMP"));
        }
    }
    QVERIFY(makeFifo(images + QStringLiteral("/100050_pipe.bmp")));
    const PictureLibrary headers = PictureLibrary::fromFolder(images, PictureLibrary::HeadersOnly);
    const PictureLibrary decoded = PictureLibrary::fromFolder(images);
    QCOMPARE(headers.count(), count);
    QCOMPARE(headers.skipped().size(), 1);
    QVector<int> order;  // picture number -> i, by serial: the odd ones first
    for (int i = 1; i < count; i += 2)
        order << i;
    for (int i = 0; i < count; i += 2)
        order << i;
    for (int n = 0; n < count; ++n) {
        const int i = order.at(n);
        const PictureInfo &h = headers.at(n);
        QCOMPARE(QFileInfo(h.path).fileName(), QStringLiteral("%1_p.bmp").arg(i % 2 ? 100000 + i : 9000000 + i));
        QCOMPARE(h.path, decoded.at(n).path);
        if (i % 10 == 7) {
            QVERIFY(!h.readable());
            QVERIFY(!decoded.at(n).readable());
        } else {
            QCOMPARE(h.size, QSize(i + 1, 2));
            QCOMPARE(decoded.at(n).size, QSize(i + 1, 2));
            QVERIFY(h.readable());
        }
    }
}

// A picture replaced by another of the same size and modification time (coarse file-system
// clocks, copies keeping their time) is not served from memory.
void TestPictureLibrary::cacheNoticesSameTimeReplacement()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_p.bmp"));
    QVERIFY(filled({8, 4}, QImage::Format_RGB32).save(path));
    struct stat first {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &first) == 0);
    const auto sameTime = [&first](const QString &p) {
        const struct timespec times[2] = {first.st_atim, first.st_mtim};
        return ::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), times, 0) == 0;
    };
    PictureCache cache;
    QCOMPARE(cache.image(path).pixelColor(0, 0), filled({8, 4}, QImage::Format_RGB32).pixelColor(0, 0));

    const QColor colours[] = {QColor(0, 0, 248), QColor(0, 248, 0)};
    for (int k = 0; k < 2; ++k) {
        QImage other(8, 4, QImage::Format_RGB32);
        other.fill(colours[k]);
        if (k == 0) {
            // Written beside and renamed over it, as a safe save does.
            const QString beside = path + QStringLiteral(".new");
            QVERIFY(other.save(beside, "BMP"));
            QVERIFY(sameTime(beside));
            QVERIFY(::rename(QFile::encodeName(beside).constData(), QFile::encodeName(path).constData()) == 0);
        } else {
            // Rewritten in place a moment later, its time set back.
            QThread::msleep(30);
            QVERIFY(other.save(path, "BMP"));
            QVERIFY(sameTime(path));
        }
        struct stat now {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &now) == 0);
        QCOMPARE(now.st_size, first.st_size);
        QCOMPARE(now.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
        QCOMPARE(cache.image(path).pixelColor(0, 0), colours[k]);
        QCOMPARE(cache.decodeCount(), 2 + k);
    }
}

// Threads asking for the same picture at once share one decode.
void TestPictureLibrary::cacheDecodesOnceForManyThreads()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_big.bmp"));
    QVERIFY(filled({1500, 1000}, QImage::Format_RGB32).save(path));
    PictureCache cache;
    QAtomicInt ready = 0;
    QVector<QSize> sizes(6);
    QVector<QThread *> threads;
    for (int t = 0; t < sizes.size(); ++t) {
        threads << QThread::create([&, t] {
            ready.fetchAndAddOrdered(1);
            while (ready.loadAcquire() < sizes.size())
                QThread::yieldCurrentThread();
            sizes[t] = cache.image(path).size();
        });
        threads.last()->start();
    }
    for (QThread *t : threads) {
        QVERIFY(t->wait(60000));
        delete t;
    }
    QCOMPARE(sizes, QVector<QSize>(sizes.size(), QSize(1500, 1000)));
    QCOMPARE(cache.decodeCount(), 1);
}

QTEST_GUILESS_MAIN(TestPictureLibrary)
#include "tst_picturelibrary.moc"