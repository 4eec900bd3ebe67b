#pragma once

#include "library/picturelibrary.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>

#include <atomic>

// The binary blocks a download sends: the picture header, the RGB565 pixel data and the two font
// images. All numbers big-endian, as the module reads them.
namespace DownloadBlocks {

// Picture header: pixel length (4 bytes), picture count (2), then width and height (2 + 2) each.
QByteArray pictureHeader(const PictureLibrary &pictures);
int pictureHeaderLength(int pictureCount);

// The most picture bytes any module stores: a library above it is refused from its header sizes,
// before a pixel is decoded.
constexpr qint64 MaxFlashBytes = 11534336;
// The most a pixel block is ever built for (a QByteArray holds less than 2 GiB).
constexpr qint64 MaxBlockBytes = qint64(1) << 30;

// Pixel data of every picture in library order, row by row, RGB565 high byte first. Each picture
// is decoded from its file; its bytes always match the library's recorded size (a file that
// changed or cannot be read is cropped or padded with black), so the header and the addresses
// stay true. Empty when the library's total is above MaxBlockBytes.
QByteArray pixelData(const PictureLibrary &pictures);
// Appends one picture of the given size; false (nothing appended) when the block would pass
// MaxBlockBytes.
bool appendPixels(QByteArray *out, const QImage &image, const QSize &size);

// Lets another thread follow a decoding and stop it between two pictures.
struct DecodeControl {
    std::atomic<bool> stop{false};
    std::atomic<int> done{0};   // pictures looked at so far
    std::atomic<int> total{0};  // pictures of the library
};

// Decodes each picture of the library once: records every decoder's verdict and true size in it,
// and with pixels given, gives the library's pixel block as pixelData would (left empty when the
// total is above MaxFlashBytes or a picture cannot be sent: such a library is refused anyway).
// Returns false when control's stop cut it short: the library and block are then incomplete.
bool decodePictures(PictureLibrary *pictures, QByteArray *pixels = nullptr, DecodeControl *control = nullptr);

inline quint16 rgb565(QRgb c)
{
    return quint16(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3));
}

// One slot of a font image.
struct FontSlot {
    const char *name;  // base name of the file, "C_16"
    int size;          // bytes reserved when no file is there
};

const QVector<FontSlot> &smallFontSlots();
const QVector<FontSlot> &largeFontSlots();

constexpr int SmallFontLimit = 2097152;
constexpr int LargeFontLimit = 3145728;

// Small image: each file appended whole (no padding); a missing slot is 0xFF of the slot size.
// Both images stop at their limit + 1 bytes, so a longer result means "over the limit" and no
// more of a file is read than that. A listed file that cannot be read gives an empty image and
// its path in *unreadable.
QByteArray smallFontImage(const QStringList &fontFiles, QString *unreadable = nullptr);
// Large image: each file padded with 0xFF up to its slot (a longer file is appended whole).
QByteArray largeFontImage(const QStringList &fontFiles, QString *unreadable = nullptr);

// The first file in list order whose base name (up to the first dot) is name; empty if none.
QString fontFileFor(const QStringList &fontFiles, const QString &name);

}  // namespace DownloadBlocks
