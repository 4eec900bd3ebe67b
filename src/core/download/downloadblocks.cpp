#include "download/downloadblocks.h"

#include "library/regularfile.h"

#include <QFileInfo>

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

void appendPixels(QByteArray *out, const QImage &source, const QSize &size)
{
    const int w = qMax(0, size.width());
    const int h = qMax(0, size.height());
    if (w == 0 || h == 0)
        return;
    const int start = out->size();
    out->resize(start + w * h * 2);
    uchar *dst = reinterpret_cast<uchar *>(out->data()) + start;
    const QImage img = source.isNull() ? QImage() : source.convertToFormat(QImage::Format_RGB32);
    const int cw = qMin(w, img.width());
    const int ch = qMin(h, img.height());
    for (int y = 0; y < h; ++y) {
        uchar *row = dst + qint64(y) * w * 2;
        int x = 0;
        if (y < ch) {
            const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (; x < cw; ++x) {
                const quint16 v = rgb565(src[x]);
                row[2 * x] = uchar(v >> 8);
                row[2 * x + 1] = uchar(v & 0xFF);
            }
        }
        for (; x < w; ++x)
            row[2 * x] = row[2 * x + 1] = 0;
    }
}

QByteArray pixelData(const PictureLibrary &pictures)
{
    QByteArray out;
    out.reserve(int(qMin<qint64>(pictures.totalBytes(), INT_MAX / 2)));
    for (const PictureInfo &info : pictures.pictures()) {
        PictureState state;
        appendPixels(&out, PictureReader::read(info.path, &state), info.size);
    }
    return out;
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
