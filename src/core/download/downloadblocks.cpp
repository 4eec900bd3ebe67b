#include "download/downloadblocks.h"

#include "library/regularfile.h"

#include <QFileInfo>

#include <utility>

namespace DownloadBlocks {

namespace {

void put16(char *p, quint32 v)
{
    p[0] = char((v >> 8) & 0xFF);
    p[1] = char(v & 0xFF);
}

// The slots in table order, cut at limit + 1 bytes: an image longer than the limit is refused
// anyway, and a file in a slot may be huge or sparse, so nothing past that is read.
QByteArray fontImage(const QStringList &fontFiles, const QVector<FontSlot> &table, bool pad, qint64 limit,
                     QString *unreadable)
{
    QByteArray out;
    const qint64 cap = limit + 1;
    for (const FontSlot &slot : table) {
        const qint64 room = cap - out.size();
        if (room <= 0)
            break;
        const QString path = fontFileFor(fontFiles, QLatin1String(slot.name));
        qint64 fill = slot.size;
        if (!path.isEmpty()) {
            QByteArray data;
            if (!RegularFile::readAtMost(path, room - 1, &data)) {
                if (unreadable)
                    *unreadable = path;
                return QByteArray();
            }
            out += data;
            fill = pad ? slot.size - data.size() : 0;
        }
        fill = qMin(fill, cap - out.size());
        if (fill > 0)
            out += QByteArray(int(fill), char(0xFF));
    }
    return out;
}

}  // namespace

int pictureHeaderLength(int pictureCount) { return 4 * pictureCount + 6; }

QByteArray pictureHeader(const PictureLibrary &pictures)
{
    const int n = pictures.count();
    QByteArray out(pictureHeaderLength(n), '\0');
    char *p = out.data();
    const quint32 total = quint32(pictures.totalBytes());
    p[0] = char((total >> 24) & 0xFF);
    p[1] = char((total >> 16) & 0xFF);
    put16(p + 2, total);
    put16(p + 4, quint32(n));
    for (int i = 0; i < n; ++i) {
        const QSize s = pictures.at(i).size;
        put16(p + 6 + 4 * i, quint32(qMax(0, s.width())));
        put16(p + 8 + 4 * i, quint32(qMax(0, s.height())));
    }
    return out;
}

bool appendPixels(QByteArray *out, const QImage &source, const QSize &size)
{
    const qint64 w = qMax(0, size.width());
    const qint64 h = qMax(0, size.height());
    if (w == 0 || h == 0)
        return true;
    const qint64 start = out->size();
    if (start + w * h * 2 > MaxBlockBytes)
        return false;
    out->resize(int(start + w * h * 2));
    uchar *dst = reinterpret_cast<uchar *>(out->data()) + start;
    const QImage img = source.isNull() ? QImage() : source.convertToFormat(QImage::Format_RGB32);
    const qint64 cw = qMin<qint64>(w, img.width());
    const qint64 ch = qMin<qint64>(h, img.height());
    for (qint64 y = 0; y < h; ++y) {
        uchar *row = dst + y * w * 2;
        qint64 x = 0;
        if (y < ch) {
            const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(int(y)));
            for (; x < cw; ++x) {
                const quint16 v = rgb565(src[x]);
                row[2 * x] = uchar(v >> 8);
                row[2 * x + 1] = uchar(v & 0xFF);
            }
        }
        for (; x < w; ++x)
            row[2 * x] = row[2 * x + 1] = 0;
    }
    return true;
}

QByteArray pixelData(const PictureLibrary &pictures)
{
    if (pictures.totalBytes() > MaxBlockBytes)
        return QByteArray();
    QByteArray out;
    out.reserve(int(pictures.totalBytes()));
    for (const PictureInfo &info : pictures.pictures()) {
        PictureState state;
        if (!appendPixels(&out, PictureReader::read(info.path, &state), info.size))
            return QByteArray();
    }
    return out;
}

bool decodePictures(PictureLibrary *pictures, QByteArray *pixels, DecodeControl *control)
{
    const bool wantPixels = pixels && pictures->readableBytes() <= MaxFlashBytes;
    if (pixels)
        pixels->clear();
    if (control)
        control->total = pictures->count();
    // Each picture's block apart, as the sizes of later pictures' addresses are only known when
    // every verdict is in.
    QVector<QByteArray> blocks(pictures->count());
    for (int n = 0; n < pictures->count(); ++n) {
        if (control) {
            if (control->stop)
                return false;
            control->done = n;
        }
        const PictureInfo &info = pictures->at(n);
        if (info.decoded && (!wantPixels || !info.readable()))
            continue;
        PictureState state;
        QSize size;
        const QImage img = PictureReader::read(info.path, &state, &size);
        pictures->setDecoded(n, state, size);
        if (wantPixels && state == PictureState::Readable)
            appendPixels(&blocks[n], img, size);
    }
    if (control)
        control->done = pictures->count();
    if (!wantPixels || pictures->totalBytes() > MaxFlashBytes || !pictures->problemPictures().isEmpty())
        return true;
    pixels->reserve(int(pictures->totalBytes()));
    for (const QByteArray &b : std::as_const(blocks))
        pixels->append(b);
    return true;
}

const QVector<FontSlot> &smallFontSlots()
{
    static const QVector<FontSlot> table = {
        {"C_16", 261696}, {"C_24", 588832}, {"C_32", 1046800}, {"E_32", 6080}, {"E_24", 4560}, {"E_16", 1520},
    };
    return table;
}

const QVector<FontSlot> &largeFontSlots()
{
    static const QVector<FontSlot> table = {
        {"E_48", 32256}, {"C_48", 2577024}, {"E_72", 80640}, {"E_96", 54720},
    };
    return table;
}

QString fontFileFor(const QStringList &fontFiles, const QString &name)
{
    for (const QString &path : fontFiles) {
        const QString fileName = QFileInfo(path).fileName();
        if (fileName.section(QLatin1Char('.'), 0, 0) == name)
            return path;
    }
    return QString();
}

QByteArray smallFontImage(const QStringList &fontFiles, QString *unreadable)
{
    return fontImage(fontFiles, smallFontSlots(), false, SmallFontLimit, unreadable);
}

QByteArray largeFontImage(const QStringList &fontFiles, QString *unreadable)
{
    return fontImage(fontFiles, largeFontSlots(), true, LargeFontLimit, unreadable);
}

}  // namespace DownloadBlocks
