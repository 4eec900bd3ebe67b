#include "library/picturereader.h"

#include "library/regularfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace PictureReader {

namespace {

bool tooLarge(qint64 w, qint64 h) { return w > MaxSide || h > MaxSide || w * h > MaxPixels; }

}  // namespace

QImage read(const QString &path, PictureState *state, QSize *size)
{
    QSize dummy;
    QSize &out = size ? *size : dummy;
    out = QSize(0, 0);
    *state = PictureState::Unreadable;
    QFile file;
    if (!RegularFile::open(path, &file))
        return QImage();
    QImageReader reader(&file);
    // The header's size, looked at before anything is allocated for the pixels.
    const QSize claimed = reader.size();
    const qint64 w = qAbs(qint64(claimed.width()));
    const qint64 h = qAbs(qint64(claimed.height()));
    if (tooLarge(w, h)) {
        out = QSize(int(qMin<qint64>(w, INT_MAX)), int(qMin<qint64>(h, INT_MAX)));
        *state = PictureState::TooLarge;
        return QImage();
    }
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
