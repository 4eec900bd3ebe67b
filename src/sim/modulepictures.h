#pragma once

#include "library/picturelibrary.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QVector>

// The pictures a module holds: the header and the RGB565 pixel data of the last picture download.
// Only pictures whose pixels fully arrived are built, so what is allocated never exceeds what was
// received, whatever the header claims. They stay in memory: drawing reads them from here, so a
// header naming 65,535 pictures writes no file.
class ModulePictures {
public:
    static constexpr int MaxSide = 4096;

    ModulePictures() = default;
    ModulePictures(const QByteArray &header, const QByteArray &pixels);

    QByteArray header() const { return m_header; }
    QByteArray pixels() const { return m_pixels; }
    // Pictures named by the header, received or not.
    int count() const { return m_sizes.size(); }
    QSize sizeOf(int n) const { return n >= 0 && n < m_sizes.size() ? m_sizes.at(n) : QSize(); }
    // Picture n decoded to RGB32; null when it is not there.
    QImage image(int n) const;
    QVector<QImage> images() const;
    // w x h pixels read from the flash at a module address, rows of w; only the part inside
    // `visible` (picture coordinates) is built. Pixels beyond the data are left out (null image
    // when nothing is there).
    QImage imageAt(qint64 address, int w, int h, const QRect &visible) const;
    // Picture n starts at this module address.
    qint64 address(int n) const;

private:
    QImage decode(qint64 offset, int stride, const QRect &part) const;

    QByteArray m_header;
    QByteArray m_pixels;
    QVector<QSize> m_sizes;
    QVector<qint64> m_offsets;
};
