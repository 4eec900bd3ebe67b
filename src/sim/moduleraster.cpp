#include "moduleraster.h"

#include "moduleglyphs.h"

#include "model/colortable.h"
#include "render/qrsymbol.h"
#include "render/renderer.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>

namespace {

// Far beyond any panel; keeps every sum below below int's range.
constexpr int kMaxCoord = 1 << 20;
constexpr int kMaxExtent = 1 << 15;

int bounded(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

bool isSet(int pictureNum) { return pictureNum != -1; }

QRect normalised(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(qMin(x1, x2), qMin(y1, y2)), QPoint(qMax(x1, x2), qMax(y1, y2)));
}

}  // namespace

ModuleRaster::ModuleRaster(QImage *target, const QRect &clip) : m_image(target)
{
    const QRect all = target ? target->rect() : QRect();
    m_clip = clip.isEmpty() ? all : (clip & all);
}

QRgb ModuleRaster::tableColour(int n)
{
    return reduce(ColorTable::colorAt(n).rgb());
}

bool ModuleRaster::canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

int ModuleRaster::fontPixels(int fontSize)
{
    switch (fontSize) {
    case 24:
    case 32:
    case 48:
    case 72:
    case 96:
        return fontSize;
    default:
        return 16;
    }
}

int ModuleRaster::cellWidth(QChar c, int size)
{
    return c.unicode() < 0x80 ? size / 2 : size;
}

int ModuleRaster::textWidth(const QString &text, int fontSize)
{
    const int size = fontPixels(fontSize);
    qint64 w = 0;
    for (const QChar c : text)
        w += cellWidth(c, size);
    return int(qMin<qint64>(w, kMaxExtent));
}

void ModuleRaster::fill(const QRect &r, QRgb c)
{
    const QRect area = r & m_clip;
    if (area.isEmpty())
        return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(m_image->scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, c);
    }
}

void ModuleRaster::pixel(int x, int y, QRgb c)
{
    if (m_clip.contains(x, y))
        reinterpret_cast<QRgb *>(m_image->scanLine(y))[x] = c;
}

void ModuleRaster::box(int x1, int y1, int x2, int y2, QRgb c, bool filled)
{
    const QRect r = normalised(x1, y1, x2, y2);
    if (filled) {
        fill(r, c);
        return;
    }
    fill(QRect(r.left(), r.top(), r.width(), 1), c);
    fill(QRect(r.left(), r.bottom(), r.width(), 1), c);
    fill(QRect(r.left(), r.top(), 1, r.height()), c);
    fill(QRect(r.right(), r.top(), 1, r.height()), c);
}

void ModuleRaster::circle(int cx, int cy, int r, QRgb c, bool filled)
{
    if (r < 0)
        return;
    // Nothing of a circle wholly outside the clip can show; skip the arithmetic.
    if (!QRect(cx - r, cy - r, 2 * r + 1, 2 * r + 1).intersects(m_clip))
        return;
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        if (filled) {
            fill(QRect(cx - x, cy + y, 2 * x + 1, 1), c);
            fill(QRect(cx - x, cy - y, 2 * x + 1, 1), c);
            fill(QRect(cx - y, cy + x, 2 * y + 1, 1), c);
            fill(QRect(cx - y, cy - x, 2 * y + 1, 1), c);
        } else {
            pixel(cx + x, cy + y, c);
            pixel(cx - x, cy + y, c);
            pixel(cx + x, cy - y, c);
            pixel(cx - x, cy - y, c);
            pixel(cx + y, cy + x, c);
            pixel(cx - y, cy + x, c);
            pixel(cx + y, cy - x, c);
            pixel(cx - y, cy - x, c);
        }
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void ModuleRaster::line(int x1, int y1, int x2, int y2, QRgb c, int thickness)
{
    if (thickness < 1)
        return;
    const int before = (thickness - 1) / 2;
    const QRect reach = normalised(x1, y1, x2, y2).adjusted(-before, -before, thickness - 1 - before,
                                                            thickness - 1 - before);
    if (!reach.intersects(m_clip))
        return;
    const qint64 dx = std::llabs(qint64(x2) - x1), dy = -std::llabs(qint64(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    qint64 err = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        if (thickness == 1)
            pixel(x, y, c);
        else
            fill(QRect(x - before, y - before, thickness, thickness), c);
        if (x == x2 && y == y2)
            break;
        const qint64 e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void ModuleRaster::picture(const QImage &image, const QPoint &at, const QRect &part)
{
    if (image.isNull())
        return;
    const QRect source = part & image.rect();
    if (source.isEmpty())
        return;
    const QRect area = source.translated(at - source.topLeft()) & m_clip;
    if (area.isEmpty())
        return;
    const QImage img = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const QPoint offset = source.topLeft() - at;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(y + offset.y())) + offset.x();
        QRgb *row = reinterpret_cast<QRgb *>(m_image->scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            row[x] = reduce(src[x]);
    }
}

void ModuleRaster::text(const QRect &area, const QString &text, int fontSize, int hAlign, int vAlign, QRgb c)
{
    if (text.isEmpty() || area.isEmpty() || !canDrawText())
        return;
    const int size = fontPixels(fontSize);
    const int width = textWidth(text, size);
    int x = area.left(), y = area.top();
    if (hAlign == AlignEnd)
        x = area.right() + 1 - width;
    else if (hAlign != AlignStart)
        x = area.left() + (area.width() - width) / 2;
    if (vAlign == AlignEnd)
        y = area.bottom() + 1 - size;
    else if (vAlign != AlignStart)
        y = area.top() + (area.height() - size) / 2;
    const QRect clip = area & m_clip;
    if (clip.isEmpty())
        return;
    for (const QChar ch : text) {
        const int cw = cellWidth(ch, size);
        if (x > clip.right())
            break;
        if (x + cw > clip.left()) {
            const auto glyph = ModuleGlyphs::glyph(ch, size);
            const ModuleGlyph &g = *glyph;
            for (int gy = qMax(0, clip.top() - y); gy < g.h && y + gy <= clip.bottom(); ++gy) {
                QRgb *row = reinterpret_cast<QRgb *>(m_image->scanLine(y + gy));
                const quint8 *bits = g.on.data() + size_t(gy) * size_t(g.w);
                for (int gx = qMax(0, clip.left() - x); gx < g.w && x + gx <= clip.right(); ++gx) {
                    if (bits[gx])
                        row[x + gx] = c;
                }
            }
        }
        x += cw;
    }
}

void ModuleRaster::primitive(const QMyDrawType &d)
{
    auto b = [](int v) { return bounded(v, -kMaxCoord, kMaxCoord); };
    const QRgb c = tableColour(d.colorNum());
    switch (d.drawType()) {
    case QMyDrawType::Box:
    case QMyDrawType::FilledBox: {
        const QRect r = primitiveRect(d);
        if (!r.isEmpty())
            box(r.left(), r.top(), r.right(), r.bottom(), c, d.drawType() == QMyDrawType::FilledBox);
        break;
    }
    case QMyDrawType::Circle:
    case QMyDrawType::FilledCircle:
        circle(b(d.x1()), b(d.y1()), bounded(d.radius(), 0, kMaxExtent), c, d.drawType() == QMyDrawType::FilledCircle);
        break;
    case QMyDrawType::Point:
        pixel(b(d.x1()), b(d.y1()), c);
        break;
    case QMyDrawType::Line:
        line(b(d.x1()), b(d.y1()), b(d.x2()), b(d.y2()), c);
        break;
    default:
        break;
    }
}

QRect ModuleRaster::primitiveRect(const QMyDrawType &d)
{
    auto b = [](int v) { return bounded(v, -kMaxCoord, kMaxCoord); };
    switch (d.drawType()) {
    case QMyDrawType::Box:
    case QMyDrawType::FilledBox: {
        // The rectangle as sent: from its corner to the corner width - 1, height - 1 further on.
        const int x = b(d.x()), y = b(d.y());
        const int w = bounded(d.width(), -kMaxExtent, kMaxExtent), h = bounded(d.height(), -kMaxExtent, kMaxExtent);
        return normalised(x, y, x + w - 1, y + h - 1);
    }
    case QMyDrawType::Circle:
    case QMyDrawType::FilledCircle: {
        const int r = bounded(d.radius(), 0, kMaxExtent);
        return QRect(b(d.x1()) - r, b(d.y1()) - r, 2 * r + 1, 2 * r + 1);
    }
    case QMyDrawType::Point: return QRect(b(d.x1()), b(d.y1()), 1, 1);
    case QMyDrawType::Line: return normalised(b(d.x1()), b(d.y1()), b(d.x2()), b(d.y2()));
    default: return QRect();
    }
}

QRect ModuleRaster::controlRect(const ControlRecord &shown)
{
    return QRect(bounded(shown.x, -kMaxCoord, kMaxCoord), bounded(shown.y, -kMaxCoord, kMaxCoord),
                 bounded(shown.w, 0, kMaxExtent), bounded(shown.h, 0, kMaxExtent));
}

void ModuleRaster::within(const QRect &r, const std::function<void()> &f)
{
    const QRect saved = m_clip;
    m_clip &= r;
    if (!m_clip.isEmpty())
        f();
    m_clip = saved;
}

void ModuleRaster::frame(const QRect &r, int width, QRgb c)
{
    for (int i = 0; i < width; ++i) {
        const QRect ring = r.adjusted(i, i, -i, -i);
        if (ring.isEmpty())
            return;
        box(ring.left(), ring.top(), ring.right(), ring.bottom(), c, false);
    }
}

void ModuleRaster::control(const ControlRecord &shown, const PictureSource &pictures, int pageBackgroundNum)
{
    const QRect r = controlRect(shown);
    if (r.isEmpty())
        return;
    within(r, [&] {
        switch (shown.kind) {
        case ControlKind::Text:
        case ControlKind::Number: label(shown); break;
        case ControlKind::Button: button(shown, pictures); break;
        case ControlKind::Progress: progress(shown, pictures); break;
        case ControlKind::Pointer: pointer(shown, pageBackgroundNum); break;
        case ControlKind::QRCode: qrCode(shown); break;
        }
    });
}

void ModuleRaster::label(const ControlRecord &s)
{
    const QRect r = controlRect(s);
    // A style the module does not know is sent as "background, no border".
    const int style = (s.style >= 0 && s.style <= 3) ? s.style : 2;
    const int border = (style == 1 || style == 3) ? 2 : 0;
    if (style == 2 || style == 3)
        fill(r, tableColour(s.backgroundColorNum));
    const QRect inner = r.adjusted(border, border, -border, -border);
    within(inner, [&] { text(inner, s.text, s.fontSize, s.hAlign, s.vAlign, tableColour(s.fontColorNum)); });
    frame(r, border, tableColour(s.styleColorNum));
}

void ModuleRaster::button(const ControlRecord &s, const PictureSource &pictures)
{
    const QRect r = controlRect(s);
    const int style = (s.style >= 0 && s.style <= 4) ? s.style : 3;
    const int border = (style == 1 || style == 4) ? 2 : (style == 2 ? 1 : 0);
    // The raised look keeps its shadow inside the rectangle: the body is one pixel smaller and
    // the last column and row are the shadow.
    const QRect body = style == 2 ? r.adjusted(0, 0, -1, -1) : r;
    if (style >= 2)
        fill(body, tableColour(s.backgroundColorNum));
    const QRect inner = body.adjusted(border, border, -border, -border);
    within(inner, [&] {
        if (isSet(s.imageNum)) {
            if (pictures)
                picture(pictures(s.imageNum), inner.topLeft());
        } else if (isSet(s.cutImageNum)) {
            if (pictures)
                picture(pictures(s.cutImageNum), QPoint(0, 0));
        } else {
            text(inner, s.text, s.fontSize, s.hAlign, s.vAlign, tableColour(s.fontColorNum));
        }
    });
    if (style == 2) {
        frame(body, 1, tableColour(7));
        const QRgb shadow = tableColour(8);
        fill(QRect(r.right(), r.top() + 1, 1, r.height() - 1), shadow);
        fill(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), shadow);
    } else {
        frame(r, border, tableColour(s.styleColorNum));
    }
}

void ModuleRaster::progress(const ControlRecord &s, const PictureSource &pictures)
{
    const QRect r = controlRect(s);
    // The fill starts one pixel in when there is a border, so the border is one pixel.
    const int b = s.style == 1 ? 1 : 0;
    fill(r, tableColour(s.backgroundColorNum));
    const QRect inner = r.adjusted(b, b, -b, -b);
    within(inner, [&] {
        if (isSet(s.backgroundImageNum)) {
            if (pictures)
                picture(pictures(s.backgroundImageNum), inner.topLeft());
        } else if (isSet(s.backgroundCutImageNum)) {
            if (pictures)
                picture(pictures(s.backgroundCutImageNum), QPoint(0, 0));
        }
    });
    frame(r, b, tableColour(s.styleColorNum));

    bool ok = false;
    const qint64 value = s.text.trimmed().toLongLong(&ok);
    const qint64 percent = ok ? qBound(qint64(0), value, qint64(100)) : 0;
    const int W = inner.width(), H = inner.height();
    if (W < 1 || H < 1)
        return;
    const int across = int(W * percent / 100), down = int(H * percent / 100);
    QRect fillRect;
    QPoint origin;  // where a foreground picture's top-left corner lies
    QImage fg = isSet(s.imageNum) && pictures ? pictures(s.imageNum) : QImage();
    switch (s.progType) {
    case 0:
        fillRect = QRect(inner.left(), inner.top(), across, H);
        origin = inner.topLeft();
        break;
    case 1:
        fillRect = QRect(inner.left(), inner.bottom() + 1 - down, W, down);
        origin = QPoint(inner.left(), inner.bottom() + 1 - fg.height());
        break;
    case 2:
        fillRect = QRect(inner.right() + 1 - across, inner.top(), across, H);
        origin = QPoint(inner.right() + 1 - fg.width(), inner.top());
        break;
    case 3:
        fillRect = QRect(inner.left(), inner.top(), W, down);
        origin = inner.topLeft();
        break;
    default:
        return;
    }
    if (fillRect.isEmpty())
        return;
    within(fillRect, [&] {
        if (isSet(s.imageNum))
            picture(fg, origin);
        else if (isSet(s.cutImageNum))
            picture(pictures ? pictures(s.cutImageNum) : QImage(), QPoint(0, 0));
        else
            fill(fillRect, tableColour(s.fontColorNum));
    });
}

void ModuleRaster::pointer(const ControlRecord &s, int pageBackgroundNum)
{
    const QRect r = controlRect(s);
    // The instruction carries no frame colour, so the module draws the face and the needle only.
    fill(r, tableColour(pageBackgroundNum));
    const QPoint centre = r.topLeft() + QPoint(r.width() / 2, r.height() / 2);
    const QPoint tip = r.topLeft() + Renderer::pointerTip(s);
    line(centre.x(), centre.y(), tip.x(), tip.y(), tableColour(s.fontColorNum),
         bounded(s.pointerW, 1, qMax(1, qMin(r.width(), r.height()))));
}

void ModuleRaster::qrCode(const ControlRecord &s)
{
    const QRect r = controlRect(s);
    if (s.text.isEmpty())
        return;
    const QrSymbol sym = QrSymbol::encode(s.text);
    if (sym.isEmpty())
        return;
    const int n = sym.size();
    const QRgb c = tableColour(s.fontColorNum);
    // Module (row, col) covers the pixels from col * w / n up to (col + 1) * w / n, so the symbol
    // fills the square exactly, with no gaps and no overlaps.
    for (int row = 0; row < n; ++row) {
        const int top = r.top() + int(qint64(row) * r.height() / n);
        const int bottom = r.top() + int(qint64(row + 1) * r.height() / n);
        for (int col = 0; col < n; ++col) {
            if (!sym.isDark(row, col))
                continue;
            const int left = r.left() + int(qint64(col) * r.width() / n);
            const int right = r.left() + int(qint64(col + 1) * r.width() / n);
            fill(QRect(left, top, right - left, bottom - top), c);
        }
    }
}
