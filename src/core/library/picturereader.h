#pragma once

#include <QImage>
#include <QSize>
#include <QString>

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

// The decoded picture as the image reader gives it; a null image unless *state is Readable.
// *size is what the picture decodes to, or for a picture too large to decode the size its header
// claims (0 x 0 when unreadable). Sizes never come from the header alone: a top-down BMP gives a
// negative height there, and a header may promise pixels that are not in the file.
QImage read(const QString &path, PictureState *state, QSize *size = nullptr);

// A short text for a picture's state ("无法读取", ...), empty for a readable picture.
QString stateText(PictureState state);

}  // namespace PictureReader
