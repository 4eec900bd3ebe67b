#include "model/pagefit.h"

#include <QCoreApplication>

#include <climits>

namespace PageFit {

namespace {

QString tr(const char *s) { return QCoreApplication::translate("PageFit", s); }

// An item's edges, inclusive, in 64 bits: a file may hold any int, and the sums must not wrap.
// Same rules as QRect's contains/intersects (a negative size counts backwards; 0 x 0 is
// nothing), without its int arithmetic.
struct Edges {
    qint64 left, right, top, bottom;
    bool null;
};

Edges edges(qint64 x, qint64 y, qint64 w, qint64 h)
{
    const qint64 x2 = x + w - 1;
    const qint64 y2 = y + h - 1;
    return {w < 0 ? x2 : x, w < 0 ? x : x2, h < 0 ? y2 : y, h < 0 ? y : y2, w == 0 && h == 0};
}

Edges controlEdges(const ControlRecord &c)
{
    return edges(c.x, c.y, c.w, c.h);
}

Edges primitiveEdges(const QMyDrawType &d)
{
    switch (d.drawType()) {
    case QMyDrawType::Point:
        return edges(d.x1(), d.y1(), 1, 1);
    case QMyDrawType::Line: {
        const qint64 l = qMin(d.x1(), d.x2()), t = qMin(d.y1(), d.y2());
        return edges(l, t, qint64(qMax(d.x1(), d.x2())) - l + 1, qint64(qMax(d.y1(), d.y2())) - t + 1);
    }
    default:
        return edges(d.x(), d.y(), d.width(), d.height());
    }
}

bool contains(const Edges &page, const Edges &e)
{
    return !page.null && !e.null && e.left >= page.left && e.right <= page.right && e.top >= page.top
        && e.bottom <= page.bottom;
}

bool intersects(const Edges &page, const Edges &e)
{
    return !page.null && !e.null && e.left <= page.right && page.left <= e.right && e.top <= page.bottom
        && page.top <= e.bottom;
}

// How far a span [from, from + size) must move to lie inside [0, limit): to the near edge
// when it is larger.
qint64 shiftInside(qint64 from, qint64 size, qint64 limit)
{
    if (from < 0 || size >= limit)
        return -from;
    if (from + size > limit)
        return limit - size - from;
    return 0;
}

int clampedShift(qint64 from, qint64 size, qint64 limit)
{
    return int(qBound(qint64(INT_MIN), shiftInside(from, size, limit), qint64(INT_MAX)));
}

}  // namespace

QVector<Item> itemsOutside(const QVector<PageData> &pages, int w, int h)
{
    QVector<Item> out;
    const Edges page = edges(0, 0, w, h);
    for (int p = 0; p < pages.size(); ++p) {
        const PageData &pg = pages.at(p);
        for (int i = 0; i < pg.controls.size(); ++i) {
            const ControlRecord &c = pg.controls.at(i);
            const Edges e = controlEdges(c);
            if (!contains(page, e))
                out.append({p, true, i, c.id, c.isQRCode(), !intersects(page, e)});
        }
        for (int i = 0; i < pg.primitives.size(); ++i) {
            const Edges e = primitiveEdges(pg.primitives.at(i));
            if (!contains(page, e))
                out.append({p, false, i, i, false, !intersects(page, e)});
        }
    }
    return out;
}

PageData movedInside(const PageData &page, int w, int h)
{
    PageData out = page;
    // The new place lies inside the page, so it fits an int even when the shift would not.
    for (ControlRecord &c : out.controls) {
        c.x = int(c.x + shiftInside(c.x, c.w, w));
        c.y = int(c.y + shiftInside(c.y, c.h, h));
    }
    for (QMyDrawType &d : out.primitives) {
        const Edges e = primitiveEdges(d);
        d.translate(clampedShift(e.left, e.right - e.left + 1, w), clampedShift(e.top, e.bottom - e.top + 1, h));
    }
    return out;
}

QStringList outsideWarnings(const QVector<PageData> &pages, int w, int h)
{
    QStringList out;
    for (const Item &item : itemsOutside(pages, w, h)) {
        if (!item.wholly)
            continue;
        if (!item.control)
            out << tr("第%1页图形%2完全在页面之外，模块上不会显示").arg(item.page).arg(item.index);
        else if (item.qrCode)
            out << tr("第%1页二维码%2完全在页面之外，模块上不会显示").arg(item.page).arg(item.id);
        else
            out << tr("第%1页控件%2完全在页面之外，模块上不会显示").arg(item.page).arg(item.id);
    }
    return out;
}

}  // namespace PageFit
