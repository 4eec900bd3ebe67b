#pragma once

#include <QImage>

// Share of pixels whose channels differ by at most `tolerance` (0 for images of different sizes).
// Pictures travel to the module as RGB565, so its pages match a rendering closely, not exactly.
inline double closeShare(const QImage &first, const QImage &second, int tolerance)
{
    if (first.size() != second.size() || first.isNull())
        return 0;
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    qint64 close = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) <= tolerance && qAbs(qGreen(p) - qGreen(q)) <= tolerance &&
                qAbs(qBlue(p) - qBlue(q)) <= tolerance)
                ++close;
        }
    return double(close) / double(qint64(a.width()) * a.height());
}
