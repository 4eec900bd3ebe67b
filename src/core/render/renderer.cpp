#include "render/renderer.h"

#include "model/colortable.h"
#include "library/picturecache.h"
#include "render/qrsymbol.h"

#include <QFont>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// Coordinates and sizes are bounded before any arithmetic, so damaged records cannot overflow;
// everything beyond these bounds lies far outside any module page anyway.
constexpr int kMaxCoord = 1 << 20;
constexpr int kMaxExtent = 1 << 15;
constexpr int kMaxPageSide = 8192;
// QImage dots per metre for 96 dpi, the resolution the canvas assumes for point sizes.
constexpr int kDotsPerMeter96 = 3780;

// Colour numbers of the red-toned entries, on which the red number label would not show.
constexpr int kRedToned[] = {1, 9, 17, 27, 30, 43, 53};

int bounded(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

QColor colour(int n) { return ColorTable::colorAt(n); }

// "SimSun" is what the module's fonts look like; machines without it use an installed CJK font.
void ensureFontSubstitution()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(QStringLiteral("SimSun"),
                                   {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN")});
    });
}

// Fonts need a GUI application; a headless program (a console-only virtual module) gets every
// picture and shape but no text, instead of a fatal error from the font database.
bool canDrawText() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr; }

// Point sizes are meant at 96 dpi; scaling by the device's dpi keeps the pixel size the same on
// a widget, an image or a printer.
QFont moduleFont(const QPainter &p, qreal pointSize)
{
    ensureFontSubstitution();
    QFont f(QStringLiteral("SimSun"));
    const int dpi = p.device() ? p.device()->logicalDpiY() : 96;
    f.setPointSizeF(pointSize * 96.0 / (dpi > 0 ? dpi : 96));
    return f;
}

Qt::Alignment alignmentOf(const ControlRecord &r)
{
    Qt::Alignment a;
    a |= r.hAlign == AlignStart ? Qt::AlignLeft : (r.hAlign == AlignEnd ? Qt::AlignRight : Qt::AlignHCenter);
    a |= r.vAlign == AlignStart ? Qt::AlignTop : (r.vAlign == AlignEnd ? Qt::AlignBottom : Qt::AlignVCenter);
    return a;
}

// Any picture field other than -1 counts as set, as in the page script: a number that names no
// picture then draws nothing, and a button shows no text.
bool isSet(int pictureNum) { return pictureNum != -1; }

QImage pictureFor(const RenderContext &ctx, int n)
{
    if (!ctx.pictures || !ctx.pictures->contains(n))
        return QImage();
    return PictureCache::global().image(ctx.pictures->at(n).path);
}

// The area of a page-sized picture that cut pictures may show: the picture cropped to the page.
QRect cutBounds(const QImage &img, const RenderContext &ctx)
{
    QRect b(0, 0, img.width(), img.height());
    if (ctx.pageSize.isValid())
        b &= QRect(0, 0, ctx.pageSize.width(), ctx.pageSize.height());
    return b;
}

// Draws the part src (page coordinates) of a page picture at widget position at, unscaled.
void drawCut(QPainter &p, const QImage &img, const RenderContext &ctx, const QRect &src, const QPoint &at)
{
    if (img.isNull() || src.width() < 1 || src.height() < 1)
        return;
    const QRect part = src & cutBounds(img, ctx);
    if (part.isEmpty())
        return;
    p.drawImage(at + (part.topLeft() - src.topLeft()), img, part);
}

// The whole picture cropped to the control's size, squeezed into the body minus the inset.
void drawWhole(QPainter &p, const QImage &img, int w, int h, int inset)
{
    if (img.isNull())
        return;
    const int cw = qMin(img.width(), w);
    const int ch = qMin(img.height(), h);
    const QRect target(inset, inset, cw - 2 * inset, ch - 2 * inset);
    if (cw < 1 || ch < 1 || target.width() < 1 || target.height() < 1)
        return;
    p.drawImage(target, img, QRect(0, 0, cw, ch));
}

// The control's size and position, bounded.
struct Box {
    int x, y, w, h;
};

Box boxOf(const ControlRecord &r)
{
    return {bounded(r.x, -kMaxCoord, kMaxCoord), bounded(r.y, -kMaxCoord, kMaxCoord), bounded(r.w, 0, kMaxExtent),
            bounded(r.h, 0, kMaxExtent)};
}

void paintBody(QPainter &p, const Box &b, const QPen &pen, const QBrush &brush)
{
    if (pen.style() == Qt::NoPen && brush.style() == Qt::NoBrush)
        return;
    p.setPen(pen);
    p.setBrush(brush);
    p.drawRect(QRect(0, 0, b.w, b.h));
}

void paintText(QPainter &p, const ControlRecord &r, const Box &b)
{
    if (r.text.isEmpty() || !canDrawText())
        return;
    p.setFont(moduleFont(p, Renderer::pointSizeFor(r.fontSize)));
    p.setPen(QPen(colour(r.fontColorNum), 1));
    p.drawText(QRect(0, 0, b.w, b.h), int(alignmentOf(r)), r.text);
}

void paintLabel(QPainter &p, const ControlRecord &r, const Box &b)
{
    // A style the module does not know is sent as "background, no border" (style 2).
    const int style = (r.style >= 0 && r.style <= 3) ? r.style : 2;
    QPen pen(Qt::NoPen);
    QBrush brush(Qt::NoBrush);
    if (style == 1 || style == 3)
        pen = QPen(colour(r.styleColorNum), 2);
    if (style == 2 || style == 3)
        brush = QBrush(colour(r.backgroundColorNum));
    paintBody(p, b, pen, brush);
    paintText(p, r, b);
}

void paintButton(QPainter &p, const ControlRecord &r, const Box &b, const RenderContext &ctx)
{
    // A style the module does not know is sent as "background, no border" (style 3).
    const int style = (r.style >= 0 && r.style <= 4) ? r.style : 3;
    QPen pen(Qt::NoPen);
    QBrush brush(Qt::NoBrush);
    switch (style) {
    case 1:
        pen = QPen(colour(r.styleColorNum), 2);
        break;
    case 2:
        pen = QPen(colour(7), 1);
        brush = QBrush(colour(r.backgroundColorNum));
        break;
    case 3:
        pen = QPen(colour(r.backgroundColorNum), 1);
        brush = QBrush(colour(r.backgroundColorNum));
        break;
    case 4:
        pen = QPen(colour(r.styleColorNum), 2);
        brush = QBrush(colour(r.backgroundColorNum));
        break;
    default:
        break;
    }
    paintBody(p, b, pen, brush);
    const int i = (style == 1 || style == 4) ? 1 : 0;
    if (isSet(r.imageNum))
        drawWhole(p, pictureFor(ctx, r.imageNum), b.w, b.h, i);
    else if (isSet(r.cutImageNum))
        drawCut(p, pictureFor(ctx, r.cutImageNum), ctx, QRect(b.x + i, b.y + i, b.w - 2 * i, b.h - 2 * i),
                QPoint(i, i));
    else
        paintText(p, r, b);
}

// The filled part of the bar: trunc(extent * min(v / 100, 1)) pixels of the inner area, from the
// anchored edge. Colour, picture and cut-picture fills all use it, so none of them spills onto the
// border or shows one pixel more at some values than at others.
QRect progressFill(const ControlRecord &r, const Box &b, int border, int value)
{
    const int W = b.w - 2 * border, H = b.h - 2 * border;
    if (W < 1 || H < 1)
        return QRect();
    // Whole numbers: in floating point 100 * 0.29 falls just short of 29 and loses a pixel.
    const qint64 percent = qBound(0, value, 100);
    const int across = int(W * percent / 100), down = int(H * percent / 100);
    switch (r.progType) {
    case 0:
        return QRect(border, border, across, H);
    case 1:
        return QRect(border, b.h - border - down, W, down);
    case 2:
        return QRect(b.w - border - across, border, across, H);
    case 3:
        return QRect(border, border, W, down);
    default:
        return QRect();
    }
}

// The foreground picture, laid against the bar's anchored corner, showing what lies inside the
// fill rectangle.
void drawProgressPicture(QPainter &p, const QImage &img, const ControlRecord &r, const QRect &fill)
{
    if (img.isNull() || fill.width() < 1 || fill.height() < 1)
        return;
    QPoint origin;  // where the picture's top-left corner lies
    switch (r.progType) {
    case 0:
    case 3:
        origin = fill.topLeft();
        break;
    case 1:
        origin = QPoint(fill.left(), fill.top() + fill.height() - img.height());
        break;
    case 2:
        origin = QPoint(fill.left() + fill.width() - img.width(), fill.top());
        break;
    default:
        return;
    }
    const QRect shown = fill & QRect(origin, img.size());
    if (shown.isEmpty())
        return;
    p.drawImage(shown.topLeft(), img, shown.translated(-origin));
}

void paintProgress(QPainter &p, const ControlRecord &r, const Box &b, const RenderContext &ctx)
{
    const int border = r.style == 1 ? 1 : 0;
    const QColor bg = colour(r.backgroundColorNum);
    paintBody(p, b, border ? QPen(colour(r.styleColorNum), 2) : QPen(bg, 1), QBrush(bg));

    if (isSet(r.backgroundImageNum))
        drawWhole(p, pictureFor(ctx, r.backgroundImageNum), b.w, b.h, border);
    else if (isSet(r.backgroundCutImageNum))
        drawCut(p, pictureFor(ctx, r.backgroundCutImageNum), ctx,
                QRect(b.x + border, b.y + border, b.w - 2 * border, b.h - 2 * border), QPoint(border, border));

    bool ok = false;
    const qint64 value = r.text.trimmed().toLongLong(&ok);
    const QRect fill = progressFill(r, b, border, ok ? int(qBound(qint64(0), value, qint64(1000))) : 0);
    if (fill.width() < 1 || fill.height() < 1)
        return;
    if (isSet(r.imageNum))
        drawProgressPicture(p, pictureFor(ctx, r.imageNum), r, fill);
    else if (isSet(r.cutImageNum))
        drawCut(p, pictureFor(ctx, r.cutImageNum), ctx, fill.translated(b.x, b.y), fill.topLeft());
    else
        p.fillRect(fill, colour(r.fontColorNum));
}

void paintPointer(QPainter &p, const ControlRecord &r, const Box &b, const RenderContext &ctx)
{
    if (b.w < 1 || b.h < 1)
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    paintBody(p, b, QPen(colour(r.styleColorNum), 2), QBrush(colour(ctx.pageBackgroundNum)));

    const QPoint centre(b.w / 2, b.h / 2);
    const QPoint tip = Renderer::pointerTip(r);
    const QColor c = colour(r.fontColorNum);
    p.setPen(QPen(c, bounded(r.pointerW, 0, kMaxExtent), Qt::SolidLine));
    p.setBrush(c);
    p.drawLine(centre, tip);
}

void paintQRCode(QPainter &p, const ControlRecord &r, const Box &b)
{
    if (b.w < 1 || b.h < 1 || r.text.isEmpty())
        return;
    const QrSymbol sym = QrSymbol::encode(r.text);
    if (sym.isEmpty())
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    const int n = sym.size();
    const qreal mw = qreal(b.w) / n, mh = qreal(b.h) / n;
    const QColor c = colour(r.fontColorNum);
    // All dark modules are filled as one path (runs of a row as one rectangle), so antialiasing
    // leaves no seams between neighbouring modules in either direction.
    QPainterPath dark;
    dark.setFillRule(Qt::WindingFill);
    for (int row = 0; row < n; ++row) {
        int col = 0;
        while (col < n) {
            if (!sym.isDark(row, col)) {
                ++col;
                continue;
            }
            const int start = col;
            while (col < n && sym.isDark(row, col))
                ++col;
            dark.addRect(QRectF(start * mw, row * mh, (col - start) * mw, mh));
        }
    }
    p.fillPath(dark, c);
}

// The painter is clipped to the control's body and to the page, like a child widget of the canvas.
void clipToControl(QPainter &p, const Box &b, const RenderContext &ctx)
{
    QRect clip(0, 0, b.w, b.h);
    if (ctx.pageSize.isValid())
        clip &= QRect(-b.x, -b.y, ctx.pageSize.width(), ctx.pageSize.height());
    p.setClipRect(clip, Qt::IntersectClip);
}

bool isRedToned(int n)
{
    for (int v : kRedToned) {
        if (v == n)
            return true;
    }
    return false;
}

// The pressed-in look of style-2 buttons: an opaque dark shadow one pixel down and right (the
// canvas's one-pixel blur leaves it solid).
void paintButtonShadow(QPainter &p, const Box &b)
{
    if (b.w < 1 || b.h < 1)
        return;
    p.fillRect(QRect(1, 1, b.w, b.h), QColor(43, 43, 43));
}

// The order in which the module draws a page's controls: all but the QR codes by number, then
// the QR codes in list order (the page script's order), so overlaps stack as on the module.
QVector<const ControlRecord *> drawingOrder(const QVector<ControlRecord> &controls)
{
    QVector<const ControlRecord *> others;
    QVector<const ControlRecord *> qrCodes;
    for (const ControlRecord &c : controls)
        (c.isQRCode() ? qrCodes : others).append(&c);
    std::stable_sort(others.begin(), others.end(),
                     [](const ControlRecord *a, const ControlRecord *b) { return a->id < b->id; });
    return others + qrCodes;
}

}  // namespace

namespace Renderer {

int pointSizeFor(int fontSize)
{
    switch (fontSize) {
    case 24:
        return 18;
    case 32:
        return 24;
    case 48:
        return 36;
    case 72:
        return 54;
    case 96:
        return 74;
    default:
        return 12;
    }
}

QPoint pointerTip(const ControlRecord &r)
{
    const Box b = boxOf(r);
    const int length = bounded(r.pointerL, 0, kMaxExtent);
    const double a = (double(r.pointerAngle) + 270.0) / 180.0 * M_PI;
    // Rounding the products to float first makes the right angles land exactly on the axes.
    const float dx = float(std::sin(a) * length);
    const float dy = float(std::cos(a) * length);
    return QPoint(int(dx + float(b.w / 2)), int(float(b.h / 2) - dy));
}

QStringList picturePaths(const PageData &page, const PictureLibrary &pictures)
{
    QVector<int> numbers{page.imageNum};
    for (const ControlRecord &c : page.controls)
        numbers << c.imageNum << c.cutImageNum << c.backgroundImageNum << c.backgroundCutImageNum << c.pressImageNum
                << c.pressCutImageNum;
    QStringList paths;
    QSet<int> seen;
    for (int n : qAsConst(numbers)) {
        if (pictures.contains(n) && !seen.contains(n)) {
            seen.insert(n);
            paths << pictures.at(n).path;
        }
    }
    return paths;
}

void paintPageBackground(QPainter &p, const PageData &page, const RenderContext &ctx)
{
    if (!ctx.pageSize.isValid())
        return;
    const QRect area(QPoint(0, 0), ctx.pageSize);
    p.fillRect(area, colour(page.backgroundNum));
    const QImage img = pictureFor(ctx, page.imageNum);
    if (!img.isNull())
        p.drawImage(QPoint(0, 0), img, area & img.rect());
}

void paintHelpLines(QPainter &p, const PageData &page, const RenderContext &ctx)
{
    if (!ctx.pageSize.isValid() || (page.helpLineNum != 1 && page.helpLineNum != 2))
        return;
    const int w = ctx.pageSize.width(), h = ctx.pageSize.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    if (page.helpLineNum == 1) {
        p.drawEllipse(QRect(0, 0, w, h));
    } else {
        const int left = bounded(page.helpLineLeft, -kMaxCoord, kMaxCoord);
        const int right = bounded(page.helpLineRight, -kMaxCoord, kMaxCoord);
        const int top = bounded(page.helpLineTop, -kMaxCoord, kMaxCoord);
        const int bottom = bounded(page.helpLineBottom, -kMaxCoord, kMaxCoord);
        p.drawRect(QRect(left, top, w - right - left, h - bottom - top));
    }
    p.restore();
}

void paintPrimitive(QPainter &p, const QMyDrawType &d)
{
    if (!QMyDrawType::isValidKind(d.drawType()))
        return;
    auto c = [](int v) { return bounded(v, -kMaxCoord, kMaxCoord); };
    const QRect rect(c(d.x()), c(d.y()), bounded(d.width(), -kMaxExtent, kMaxExtent),
                     bounded(d.height(), -kMaxExtent, kMaxExtent));
    const QColor col = colour(d.colorNum());
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(col, d.drawType() == QMyDrawType::Point ? 3 : 2, d.selected() ? Qt::DotLine : Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    switch (d.drawType()) {
    case QMyDrawType::Box:
        p.drawRect(rect);
        break;
    case QMyDrawType::FilledBox:
        p.setBrush(col);
        p.drawRect(rect);
        break;
    case QMyDrawType::Circle:
        p.drawEllipse(rect);
        break;
    case QMyDrawType::FilledCircle:
        p.setBrush(col);
        p.drawEllipse(rect);
        break;
    case QMyDrawType::Point:
        p.drawPoint(c(d.x1()), c(d.y1()));
        // A dotted pen does not show on a single point: a ring around it does.
        if (d.selected())
            paintSelectionFrame(p, QRect(c(d.x1()) - 5, c(d.y1()) - 5, 11, 11));
        break;
    case QMyDrawType::Line:
        p.drawLine(c(d.x1()), c(d.y1()), c(d.x2()), c(d.y2()));
        break;
    default:
        break;
    }
    p.restore();
}

void paintControl(QPainter &p, const ControlRecord &r, const RenderContext &ctx)
{
    const Box b = boxOf(r);
    if (b.w < 1 || b.h < 1)
        return;
    p.save();
    clipToControl(p, b, ctx);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (r.kind) {
    case ControlKind::Text:
    case ControlKind::Number:
        paintLabel(p, r, b);
        break;
    case ControlKind::Button:
        paintButton(p, r, b, ctx);
        break;
    case ControlKind::Progress:
        paintProgress(p, r, b, ctx);
        break;
    case ControlKind::Pointer:
        paintPointer(p, r, b, ctx);
        break;
    case ControlKind::QRCode:
        paintQRCode(p, r, b);
        break;
    }
    p.restore();
}

QColor numberLabelColor(int backgroundColorNum)
{
    return isRedToned(backgroundColorNum) ? QColor(Qt::black) : QColor(Qt::red);
}

namespace {

constexpr int kLabelW = 13;
constexpr int kLabelH = 10;

void paintNumber(QPainter &p, const QRect &at, int id, QColor colour)
{
    if (!canDrawText())
        return;
    p.save();
    p.setClipRect(at, Qt::IntersectClip);
    p.setFont(moduleFont(p, 9));
    p.setPen(QPen(colour, 1));
    p.drawText(at, Qt::AlignCenter, QString::number(id));
    p.restore();
}

}  // namespace

void paintControlNumber(QPainter &p, const ControlRecord &r)
{
    const Box b = boxOf(r);
    if (b.w < 1 || b.h < 1 || r.kind == ControlKind::QRCode)
        return;
    p.save();
    p.setClipRect(QRect(0, 0, b.w, b.h), Qt::IntersectClip);
    paintNumber(p, QRect(b.w - kLabelW, 0, kLabelW, kLabelH), r.id, numberLabelColor(r.backgroundColorNum));
    p.restore();
}

QRect outsideNumberRect(const ControlRecord &r, const QSize &page)
{
    const Box b = boxOf(r);
    const int right = b.x + b.w;
    const QRect above(right - kLabelW, b.y - kLabelH, kLabelW, kLabelH);
    const QRect below(right - kLabelW, b.y + b.h, kLabelW, kLabelH);
    const QRect after(right, b.y, kLabelW, kLabelH);
    const QRect before(b.x - kLabelW, b.y, kLabelW, kLabelH);
    const QRect all(QPoint(0, 0), page);
    for (const QRect &at : {above, below, after, before}) {
        if (all.contains(at))
            return at;
    }
    return above;  // a symbol filling the page: its label is left out rather than laid on it
}

void paintOutsideNumber(QPainter &p, const ControlRecord &r, const QSize &page, int pageBackgroundNum)
{
    const QRect at = outsideNumberRect(r, page);
    if (QRect(QPoint(0, 0), page).contains(at))
        paintNumber(p, at, r.id, numberLabelColor(pageBackgroundNum));
}

QVector<QRect> handleRects(const ControlRecord &r)
{
    if (r.kind == ControlKind::Pointer || r.kind == ControlKind::QRCode)
        return {};
    const Box b = boxOf(r);
    const int w = b.w, h = b.h;
    return {QRect(0, 0, 6, 6),          QRect(w / 2 - 3, 0, 6, 6),     QRect(w - 7, 0, 6, 6),
            QRect(0, h / 2 - 3, 6, 6),  QRect(w - 7, h / 2 - 3, 6, 6), QRect(0, h - 7, 6, 6),
            QRect(w / 2 - 3, h - 7, 6, 6), QRect(w - 7, h - 7, 6, 6)};
}

void paintSelectionFrame(QPainter &p, const QRect &r)
{
    if (r.width() < 1 || r.height() < 1)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    // White under blue dashes shows on any colour, black and blue pages too.
    const QRect outline = r.adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    p.drawRect(outline);
    QPen dashes(QColor(0, 90, 255), 1, Qt::CustomDashLine);
    dashes.setDashPattern({3, 2});
    p.setPen(dashes);
    p.drawRect(outline);
    p.restore();
}

void paintSelectionHandles(QPainter &p, const ControlRecord &r)
{
    const QVector<QRect> handles = handleRects(r);
    if (handles.isEmpty()) {
        // Pointers and QR codes are not resized by handles; a frame marks them all the same.
        const Box b = boxOf(r);
        paintSelectionFrame(p, QRect(0, 0, b.w, b.h));
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    p.setBrush(QColor(Qt::blue));
    for (const QRect &h : handles)
        p.drawRect(h);
    p.restore();
}

QImage renderPage(const PageData &page, const RenderContext &ctx, bool design)
{
    if (!ctx.pageSize.isValid() || ctx.pageSize.isEmpty())
        return QImage();
    RenderContext c = ctx;
    c.pageSize = ctx.pageSize.boundedTo(QSize(kMaxPageSide, kMaxPageSide));
    c.pageBackgroundNum = page.backgroundNum;

    QImage img(c.pageSize, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    QPainter p(&img);
    paintPageBackground(p, page, c);
    if (design)
        paintHelpLines(p, page, c);
    for (const QMyDrawType &d : page.primitives) {
        if (design || !d.selected()) {
            paintPrimitive(p, d);
        } else {
            QMyDrawType plain = d;  // the module knows no selection
            plain.setSelected(false);
            paintPrimitive(p, plain);
        }
    }
    for (const ControlRecord *original : drawingOrder(page.controls)) {
        const ControlRecord r = asShown(*original);
        paintShownControl(p, r, c);
        if (design && r.kind == ControlKind::QRCode) {
            paintOutsideNumber(p, r, c.pageSize, c.pageBackgroundNum);
        } else if (design) {
            const Box b = boxOf(r);
            p.save();
            p.translate(b.x, b.y);
            paintControlNumber(p, r);
            p.restore();
        }
    }
    return img;
}

ControlRecord asShown(const ControlRecord &record)
{
    ControlRecord r = record;
    if (r.kind == ControlKind::Pointer) {
        r.pointerL = bounded(r.pointerL, 0, kMaxExtent / 2);
        r.settlePointer();
    } else if (r.isQRCode()) {
        r.h = r.w;  // the module is told only the symbol's side
    }
    return r;
}

QRect shownBounds(const ControlRecord &shown)
{
    const Box b = boxOf(shown);
    const int shadow = (shown.kind == ControlKind::Button && shown.style == 2) ? 1 : 0;
    return QRect(b.x, b.y, b.w + shadow, b.h + shadow);
}

void paintShownControl(QPainter &p, const ControlRecord &r, const RenderContext &ctx)
{
    const Box b = boxOf(r);
    p.save();
    p.translate(b.x, b.y);
    if (r.kind == ControlKind::Button && r.style == 2)
        paintButtonShadow(p, b);
    paintControl(p, r, ctx);
    p.restore();
}

}  // namespace Renderer
