#include "moduleglyphs.h"

#include "moduleraster.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPainter>
#include <QString>

#include <mutex>

namespace {

constexpr ushort kFirstPrintable = 0x21;
constexpr ushort kLastPrintable = 0x7E;

// Where a Latin glyph's ink lies when drawn with its baseline at y = 0, unclipped.
struct Ink {
    QImage image;  // the scratch drawing
    QRect box;     // inked pixels, in scratch coordinates; empty when nothing is inked
    QPoint origin; // the pen position (left end of the baseline) in scratch coordinates
};

// Draws c on a scratch image large enough that no font puts ink beyond it, keeping only the
// pixels at least half covered.
Ink drawUnclipped(QChar c, const QFont &font)
{
    const int px = qMax(1, font.pixelSize());
    Ink ink;
    ink.image = QImage(px * 3, px * 3, QImage::Format_ARGB32_Premultiplied);
    ink.image.fill(Qt::transparent);
    ink.origin = QPoint(px, px * 2);
    {
        QPainter p(&ink.image);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(ink.origin, QString(c));
    }
    int left = ink.image.width(), right = -1, top = ink.image.height(), bottom = -1;
    for (int y = 0; y < ink.image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(ink.image.constScanLine(y));
        for (int x = 0; x < ink.image.width(); ++x) {
            if (qAlpha(row[x]) >= 128) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right >= 0)
        ink.box = QRect(QPoint(left, top), QPoint(right, bottom));
    return ink;
}

QFont latinFace(int pixels)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPixelSize(qMax(1, pixels));
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// How the printable Latin characters sit in their cells at one size.
struct LatinLayout {
    QFont font;
    int baseline = 0;  // the baseline's row in the cell
};

// The span of the printable characters at one pixel size: the widest ink, and how far the
// ink reaches above and below a common baseline.
struct Span {
    int widest = 0;
    int above = 0;
    int below = 0;
};

Span measure(const QFont &f)
{
    Span s;
    for (ushort u = kFirstPrintable; u <= kLastPrintable; ++u) {
        const Ink ink = drawUnclipped(QChar(u), f);
        if (ink.box.isEmpty())
            continue;
        s.widest = qMax(s.widest, ink.box.width());
        s.above = qMax(s.above, ink.origin.y() - ink.box.top());
        s.below = qMax(s.below, ink.box.bottom() + 1 - ink.origin.y());
    }
    return s;
}

// The largest pixel size, up to the one a CJK glyph is drawn at, whose widest character and
// tallest span over all of them fit the cell.
LatinLayout fitLatin(int size)
{
    const int usable = ModuleRaster::cellWidth(QLatin1Char('M'), size) - 1;
    const int largest = size * 15 / 16;
    auto fits = [&](const Span &s) { return s.widest <= usable && s.above + s.below <= size; };
    int pixels = largest;
    Span span = measure(latinFace(pixels));
    // Jump near the fitting size, then step: hinting does not scale linearly.
    while (!fits(span) && pixels > 4) {
        const int guess = qMin(pixels * usable / qMax(1, span.widest), pixels * size / qMax(1, span.above + span.below));
        pixels = qMax(4, qMin(pixels - 1, guess));
        span = measure(latinFace(pixels));
    }
    while (pixels < largest) {
        const Span larger = measure(latinFace(pixels + 1));
        if (!fits(larger))
            break;
        ++pixels;
        span = larger;
    }
    LatinLayout l;
    l.font = latinFace(pixels);
    l.baseline = (size - span.above - span.below) / 2 + span.above;
    return l;
}

// Latin glyphs: the ink centred across the usable part of the cell, on the size's baseline.
ModuleGlyph latinGlyph(QChar c, int size, const LatinLayout &layout)
{
    ModuleGlyph g;
    g.w = ModuleRaster::cellWidth(c, size);
    g.h = size;
    g.on.assign(size_t(g.w) * size_t(g.h), 0);
    const Ink ink = drawUnclipped(c, layout.font);
    if (ink.box.isEmpty())
        return g;
    const int dx = (g.w - 1 - ink.box.width()) / 2 - ink.box.left();
    const int dy = layout.baseline - ink.origin.y();
    for (int y = ink.box.top(); y <= ink.box.bottom(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(ink.image.constScanLine(y));
        for (int x = ink.box.left(); x <= ink.box.right(); ++x) {
            const int cx = x + dx, cy = y + dy;
            if (qAlpha(row[x]) >= 128 && cx >= 0 && cx < g.w && cy >= 0 && cy < g.h)
                g.on[size_t(cy) * size_t(g.w) + size_t(cx)] = 1;
        }
    }
    return g;
}

// Other characters come from an installed CJK font drawn without antialiasing at the module's
// pixel size, centred in a square cell.
ModuleGlyph wideGlyph(QChar c, int size)
{
    ModuleGlyph g;
    g.w = ModuleRaster::cellWidth(c, size);
    g.h = size;
    g.on.assign(size_t(g.w) * size_t(g.h), 0);
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(QStringLiteral("SimSun"),
                                   {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN")});
    });
    QImage img(g.w, g.h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        QFont f(QStringLiteral("SimSun"));
        f.setPixelSize(size * 15 / 16);
        f.setStyleStrategy(QFont::NoAntialias);
        f.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, g.w, g.h), Qt::AlignCenter, QString(c));
    }
    for (int y = 0; y < g.h; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < g.w; ++x)
            g.on[size_t(y) * size_t(g.w) + size_t(x)] = qAlpha(row[x]) >= 128 ? 1 : 0;
    }
    return g;
}

QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

// Held under lock().
const LatinLayout &layoutFor(int size)
{
    static QHash<int, LatinLayout> layouts;
    auto it = layouts.constFind(size);
    if (it == layouts.constEnd())
        it = layouts.insert(size, fitLatin(size));
    return it.value();
}

}  // namespace

namespace ModuleGlyphs {

QFont latinFont(int size)
{
    QMutexLocker locker(&lock());
    return layoutFor(size).font;
}

// Made once per size and character; the module's fonts are fixed, so this only grows with the
// characters actually drawn (bounded all the same).
std::shared_ptr<const ModuleGlyph> glyph(QChar c, int size)
{
    static QHash<quint32, std::shared_ptr<const ModuleGlyph>> cache;
    const quint32 key = (quint32(size) << 16) | c.unicode();
    QMutexLocker locker(&lock());
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return it.value();
    if (cache.size() > 20000)
        cache.clear();
    ModuleGlyph g;
    if (c.isSpace() || !ModuleRaster::canDrawText()) {
        g.w = ModuleRaster::cellWidth(c, size);
        g.h = size;
        g.on.assign(size_t(g.w) * size_t(g.h), 0);
    } else if (c.unicode() < 0x80) {
        g = latinGlyph(c, size, layoutFor(size));
    } else {
        g = wideGlyph(c, size);
    }
    return cache.insert(key, std::make_shared<const ModuleGlyph>(std::move(g))).value();
}

}  // namespace ModuleGlyphs
