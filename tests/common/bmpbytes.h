#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QVector>

// BMP files written byte by byte, so that tests hold the variants the image reader meets in the
// wild (top-down rows, palettes, run-length coding, 16-bit, alpha masks) without binary files.
namespace BmpBytes {

inline void put(QByteArray *b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b->append(char((v >> (8 * i)) & 0xFF));
}

struct Spec {
    int width = 1;
    int height = 1;        // negative: rows stored top-down
    int bitsPerPixel = 24;
    int compression = 0;   // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    QVector<quint32> palette;  // 0x00RRGGBB
    QVector<quint32> masks;    // red, green, blue, alpha (bit fields; a 108-byte header)
    QByteArray pixels;         // as stored in the file
};

inline QByteArray file(const Spec &s)
{
    const bool v4 = !s.masks.isEmpty();
    const int infoSize = v4 ? 108 : 40;
    QByteArray info;
    put(&info, quint32(infoSize), 4);
    put(&info, quint32(s.width), 4);
    put(&info, quint32(s.height), 4);
    put(&info, 1, 2);
    put(&info, quint32(s.bitsPerPixel), 2);
    put(&info, quint32(s.compression), 4);
    put(&info, quint32(s.pixels.size()), 4);
    put(&info, 2835, 4);
    put(&info, 2835, 4);
    put(&info, quint32(s.palette.size()), 4);
    put(&info, 0, 4);
    if (v4) {
        for (int i = 0; i < 4; ++i)
            put(&info, s.masks.value(i), 4);
        put(&info, 0x73524742, 4);  // sRGB
        info.append(QByteArray(108 - info.size(), '\0'));
    }
    QByteArray table;
    for (quint32 c : s.palette)
        put(&table, c, 4);
    QByteArray out("BM");
    const int offset = 14 + info.size() + table.size();
    put(&out, quint32(offset + s.pixels.size()), 4);
    put(&out, 0, 4);
    put(&out, quint32(offset), 4);
    return out + info + table + s.pixels;
}

// Rows of 24-bit pixels (0xRRGGBB), each padded to four bytes, in the order given.
inline QByteArray rows24(const QVector<QVector<quint32>> &rows)
{
    QByteArray out;
    for (const auto &row : rows) {
        const int start = out.size();
        for (quint32 c : row) {
            out.append(char(c & 0xFF));
            out.append(char((c >> 8) & 0xFF));
            out.append(char((c >> 16) & 0xFF));
        }
        while ((out.size() - start) % 4)
            out.append('\0');
    }
    return out;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace BmpBytes
