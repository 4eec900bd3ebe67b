#include "library/picturereader.h"

#include "library/regularfile.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace PictureReader {

namespace {

QAtomicInt g_decodes;

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
    static const QList<QByteArray> have = QImageReader::supportedImageFormats();
    return have.contains(format);
}

// A reader bound to the format the file's bytes announce, with content sniffing by the plugins
// turned off; false when the file is not a regular file or not one of our formats.
bool openReader(const QString &path, QFile *file, QImageReader *reader)
{
    if (!RegularFile::open(path, file))
        return false;
    const QByteArray format = formatOf(file);
    if (format.isEmpty())
        return false;
    reader->setAutoDetectImageFormat(false);
    reader->setDecideFormatFromContent(false);
    reader->setFormat(format);
    reader->setDevice(file);
    // A photo shows on the module the way a viewer shows it: its orientation tag applied.
    reader->setAutoTransform(true);
    return true;
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
    g_decodes.ref();
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
    *size = QSize(0, 0);
    *state = PictureState::Unreadable;
    QFile file;
    QImageReader reader;
    if (!openReader(path, &file, &reader))
        return;
    const QSize claimed = headerSize(&reader);
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
    g_decodes.ref();
    QImage image = reader.read();
    if (image.isNull())
        return image;
    if (image.width() > maxSize.width() || image.height() > maxSize.height())
        image = image.scaled(maxSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int decodeCount() { return g_decodes.loadAcquire(); }

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
