#include "library/picturereader.h"

#include "library/regularfile.h"

#include <QAtomicInt>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QThread>

namespace PictureReader {

namespace {

QAtomicInt g_decodes;
QAtomicInt g_mainThreadDecodes;

void countDecode()
{
    g_decodes.ref();
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        g_mainThreadDecodes.ref();
}

// What a header read takes from the start of a file.
constexpr int HeadBytes = 16 * 1024;

bool tooLarge(qint64 w, qint64 h) { return w > MaxSide || h > MaxSide || w * h > MaxPixels; }

bool startsWith(const QByteArray &head, const char *magic, int length)
{
    return head.size() >= length && memcmp(head.constData(), magic, size_t(length)) == 0;
}

// The format the first bytes announce, or empty.
QByteArray sniff(const QByteArray &head)
{
    if (startsWith(head, "BM", 2))
        return QByteArrayLiteral("bmp");
    if (startsWith(head, "\x89PNG\r\n\x1a\n", 8))
        return QByteArrayLiteral("png");
    if (startsWith(head, "\xFF\xD8\xFF", 3))
        return QByteArrayLiteral("jpeg");
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return QByteArrayLiteral("gif");
    if (head.size() >= 2 && head.at(0) == 'P' && head.at(1) >= '1' && head.at(1) <= '6')
        return QByteArrayLiteral("ppm");
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4))
        return QByteArrayLiteral("tiff");
    if (startsWith(head, "RIFF", 4) && head.mid(8, 4) == "WEBP")
        return QByteArrayLiteral("webp");
    if (startsWith(head, "\0\0\1\0", 4))
        return QByteArrayLiteral("ico");
    return QByteArray();
}

bool supported(const QByteArray &format)
{
    // These are built into the toolkit; asking for the list would load every image plugin.
    if (format == "bmp" || format == "png" || format == "ppm")
        return true;
    static const QList<QByteArray> have = QImageReader::supportedImageFormats();
    return have.contains(format);
}

// Binds the reader to the format the device's first bytes announce, with content sniffing by
// the plugins turned off; false when they announce none of our formats.
bool bindReader(QIODevice *device, QImageReader *reader)
{
    const QByteArray format = formatOf(device);
    if (format.isEmpty())
        return false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 refuses to decode more than 128 MB of pixels (about 5800 x 5800 in 32 bits), Qt 5 has no
    // such bound. Our own bound is MaxPixels, at up to 8 bytes a pixel (16-bit PNG), so both
    // builds decode the same pictures.
    static const bool limitSet = (QImageReader::setAllocationLimit(int(MaxPixels * 8 / (1024 * 1024))), true);
    Q_UNUSED(limitSet);
#endif
    reader->setAutoDetectImageFormat(false);
    reader->setDecideFormatFromContent(false);
    reader->setFormat(format);
    reader->setDevice(device);
    // A photo shows on the module the way a viewer shows it: its orientation tag applied.
    reader->setAutoTransform(true);
    return true;
}

// A reader on the file; false when it is not a regular file or not one of our formats.
bool openReader(const QString &path, QFile *file, QImageReader *reader)
{
    return RegularFile::open(path, file) && bindReader(file, reader);
}

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData() + at);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

// Whether the chunks before a PNG's image data all lie within these first bytes: its reader
// wants them all before it gives a size, and on a cut-off copy it may give a wrong one.
bool pngInfoWithin(const QByteArray &head)
{
    qint64 at = 8;
    while (at + 8 <= head.size()) {
        if (head.mid(int(at) + 4, 4) == "IDAT")
            return true;
        at += 12 + qint64(bigEndian32(head, int(at)));
    }
    return false;
}

// The header's size as the picture will be decoded, the orientation tag applied.
QSize headerSize(QImageReader *reader)
{
    QSize claimed = reader->size();
    if (reader->transformation() & QImageIOHandler::TransformationRotate90)
        claimed.transpose();
    return QSize(int(qMin<qint64>(qAbs(qint64(claimed.width())), INT_MAX)),
                 int(qMin<qint64>(qAbs(qint64(claimed.height())), INT_MAX)));
}

}  // namespace

const QByteArrayList &formats()
{
    static const QByteArrayList list = {"bmp", "png", "jpeg", "gif", "ppm", "tiff", "webp", "ico"};
    return list;
}

QByteArray formatOf(QIODevice *device)
{
    if (!device)
        return QByteArray();
    const QByteArray format = sniff(device->peek(16));
    return !format.isEmpty() && supported(format) ? format : QByteArray();
}

QImage read(const QString &path, PictureState *state, QSize *size)
{
    QSize dummy;
    QSize &out = size ? *size : dummy;
    out = QSize(0, 0);
    *state = PictureState::Unreadable;
    QFile file;
    QImageReader reader;
    if (!openReader(path, &file, &reader))
        return QImage();
    // The header's size, looked at before anything is allocated for the pixels.
    const QSize claimed = headerSize(&reader);
    if (tooLarge(claimed.width(), claimed.height())) {
        out = claimed;
        *state = PictureState::TooLarge;
        return QImage();
    }
    countDecode();
    QImage img = reader.read();
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        return QImage();
    if (tooLarge(img.width(), img.height())) {
        out = img.size();
        *state = PictureState::TooLarge;
        return QImage();
    }
    out = img.size();
    *state = PictureState::Readable;
    return img;
}

void readHeader(const QString &path, PictureState *state, QSize *size)
{
    qint64 fileSize = 0;
    readHeader(path, state, size, &fileSize);
}

void readHeader(const QString &path, PictureState *state, QSize *size, qint64 *fileSize, bool typeKnown)
{
    *size = QSize(0, 0);
    *state = PictureState::Unreadable;
    // Headers sit at the start of nearly every picture: one read of the first bytes is all the
    // file costs, which counts when a library of hundreds is listed.
    QByteArray head;
    if (!RegularFile::readStart(path, HeadBytes, &head, fileSize, typeKnown))
        return;
    QSize claimed;
    bool whole = true;
    {
        QBuffer buffer(&head);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader;
        if (!bindReader(&buffer, &reader))
            return;
        // A BMP states its size first, a PNG before its image data; other formats (a photo's
        // metadata may come first) are given the whole file unless it fitted in these bytes,
        // since their readers may take a cut-off file for a tiny picture.
        const QByteArray format = reader.format();
        // An icon's directory may name a size other than the picture it holds: only decoding
        // tells the size that is sent.
        if (format == "ico") {
            read(path, state, size);
            return;
        }
        whole = *fileSize <= head.size();
        if (whole || format == "bmp" || (format == "png" && pngInfoWithin(head)))
            claimed = headerSize(&reader);
    }
    if ((claimed.width() <= 0 || claimed.height() <= 0) && !whole) {
        QFile file;
        QImageReader reader;
        if (!openReader(path, &file, &reader))
            return;
        claimed = headerSize(&reader);
    }
    if (claimed.width() <= 0 || claimed.height() <= 0)
        return;
    *size = claimed;
    *state = tooLarge(claimed.width(), claimed.height()) ? PictureState::TooLarge : PictureState::Readable;
}

QImage readScaled(const QString &path, const QSize &maxSize)
{
    QFile file;
    QImageReader reader;
    if (!openReader(path, &file, &reader))
        return QImage();
    const QSize full = headerSize(&reader);
    if (full.isEmpty() || tooLarge(full.width(), full.height()))
        return QImage();
    if (full.width() > maxSize.width() || full.height() > maxSize.height()) {
        // The scaled size applies before the orientation tag turns the picture.
        QSize stored = full.scaled(maxSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            stored.transpose();
        reader.setScaledSize(stored);
    }
    countDecode();
    QImage image = reader.read();
    if (image.isNull())
        return image;
    if (image.width() > maxSize.width() || image.height() > maxSize.height())
        image = image.scaled(maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int decodeCount() { return g_decodes.loadAcquire(); }

int mainThreadDecodeCount() { return g_mainThreadDecodes.loadAcquire(); }

QString stateText(PictureState state)
{
    switch (state) {
    case PictureState::Readable: return QString();
    case PictureState::Unreadable: return QCoreApplication::translate("PictureReader", "无法读取");
    case PictureState::TooLarge: return QCoreApplication::translate("PictureReader", "尺寸过大");
    }
    return QString();
}

}  // namespace PictureReader
