#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Whether a library picture can go to the module.
enum class PictureState {
    Readable,
    Unreadable,  // not a regular file, empty, cut short, or not a picture at all
    TooLarge,    // a side the picture header cannot hold, or more pixels than are ever decoded
};

// Reading one picture file of the library, for its size, its pixels and its state.
namespace PictureReader {

// The picture header gives each side in 16 bits.
constexpr int MaxSide = 65535;
// Pictures beyond this many pixels are refused rather than decoded (damaged or hostile files).
constexpr qint64 MaxPixels = qint64(8192) * 8192;

// The formats the library and the import take, by the image reader's format names: BMP, PNG and
// JPEG, which the folder holds, and the plain raster formats the import converts from. Nothing
// else is ever decoded (a vector or document format may read other files of the disk).
const QByteArrayList &formats();
// The format of the picture at the device's current position, judged from its first bytes alone
// (never from its name and never by asking a plugin); empty when it is none of formats() or this
// build cannot read it. The position is left unchanged.
QByteArray formatOf(QIODevice *device);

// The decoded picture as the image reader gives it; a null image unless *state is Readable.
// *size is what the picture decodes to, or for a picture too large to decode the size its header
// claims (0 x 0 when unreadable).
QImage read(const QString &path, PictureState *state, QSize *size = nullptr);

// The size and state the picture's header gives, without decoding a pixel: a header may promise
// pixels that are not in the file, so Readable here means "its header is sound". A top-down BMP
// gives a negative height there; the size is its magnitude.
void readHeader(const QString &path, PictureState *state, QSize *size);
// The same, with the file's size; typeKnown as RegularFile::readStart takes it.
void readHeader(const QString &path, PictureState *state, QSize *size, qint64 *fileSize, bool typeKnown = false);

// The picture decoded no larger than maxSize, keeping its proportions (readers that can decode
// small do so); null when it cannot be read or is too large. For thumbnails.
QImage readScaled(const QString &path, const QSize &maxSize);

// Pictures decoded by read() in this process since it started (for tests and benchmarks).
int decodeCount();
// Of those, the ones decoded on the application's main thread: the window's interface thread.
int mainThreadDecodeCount();

// A short text for a picture's state ("无法读取", ...), empty for a readable picture.
QString stateText(PictureState state);

}  // namespace PictureReader
