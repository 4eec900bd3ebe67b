#include "modulepictures.h"

namespace {

int be16(const QByteArray &b, int at)
{
    return at + 1 < b.size() ? int((uint(uchar(b.at(at))) << 8) | uchar(b.at(at + 1))) : 0;
}

}  // namespace

ModulePictures::ModulePictures(const QByteArray &header, const QByteArray &pixels) : m_header(header), m_pixels(pixels)
{
    const int n = be16(header, 4);
    qint64 offset = 0;
    for (int i = 0; i < n && 6 + 4 * i + 3 < header.size(); ++i) {
        const QSize s(be16(header, 6 + 4 * i), be16(header, 8 + 4 * i));
        m_sizes << s;
        m_offsets << offset;
        offset += PictureLibrary::pixelBytes(s);
    }
}

QImage ModulePictures::decode(qint64 offset, int stride, const QRect &part) const
{
    // Only rows that arrived are built.
    const qint64 rowBytes = qint64(stride) * 2;
    if (part.isEmpty() || offset < 0 || rowBytes <= 0)
        return QImage();
    const qint64 rowsThere = (m_pixels.size() - offset) / rowBytes;
    const int rows = int(qMin<qint64>(part.bottom() + 1, rowsThere)) - part.top();
    if (rows < 1)
        return QImage();
    QImage img(part.width(), rows, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    const uchar *data = reinterpret_cast<const uchar *>(m_pixels.constData());
    for (int y = 0; y < rows; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        const uchar *src = data + offset + qint64(part.top() + y) * rowBytes + qint64(part.left()) * 2;
        for (int x = 0; x < part.width(); ++x, src += 2) {
            const uint v = (uint(src[0]) << 8) | src[1];
            row[x] = qRgb(int((v >> 11) & 0x1F) << 3, int((v >> 5) & 0x3F) << 2, int(v & 0x1F) << 3);
        }
    }
    return img;
}

QImage ModulePictures::image(int n) const
{
    const QSize s = sizeOf(n);
    if (s.isEmpty() || s.width() > MaxSide || s.height() > MaxSide)
        return QImage();
    // A picture whose pixels did not all arrive is not there.
    if (m_offsets.at(n) + PictureLibrary::pixelBytes(s) > m_pixels.size())
        return QImage();
    return decode(m_offsets.at(n), s.width(), QRect(QPoint(0, 0), s));
}

QVector<QImage> ModulePictures::images() const
{
    QVector<QImage> out;
    for (int i = 0; i < count(); ++i)
        out << image(i);
    return out;
}

QImage ModulePictures::imageAt(qint64 address, int w, int h, const QRect &visible) const
{
    const qint64 offset = address - PictureLibrary::BaseAddress;
    if (offset < 0 || offset >= m_pixels.size() || w < 1 || h < 1)
        return QImage();
    return decode(offset, w, visible & QRect(0, 0, w, h));
}

qint64 ModulePictures::address(int n) const
{
    return n >= 0 && n < m_offsets.size() ? PictureLibrary::BaseAddress + m_offsets.at(n) : -1;
}
