#include "edit/arrange.h"

#include <algorithm>
#include <numeric>

namespace Arrange {

QRect bounds(const QVector<QRect> &rects)
{
    QRect b;
    for (const QRect &r : rects)
        b = b.isNull() ? r : b.united(r);
    return b;
}

QPoint clampMove(const QRect &b, const QPoint &delta, const QSize &page)
{
    auto clamp1 = [](int d, int start, int size, int pageSize) {
        const int lo = -start;
        const int hi = pageSize - (start + size);
        return hi < lo ? lo : qBound(lo, d, hi);
    };
    return QPoint(clamp1(delta.x(), b.x(), b.width(), page.width()),
                  clamp1(delta.y(), b.y(), b.height(), page.height()));
}

namespace {

QRect onPage(QRect r, const QSize &page)
{
    if (r.width() > page.width())
        r.setWidth(page.width());
    if (r.height() > page.height())
        r.setHeight(page.height());
    r.moveLeft(qBound(0, r.x(), qMax(0, page.width() - r.width())));
    r.moveTop(qBound(0, r.y(), qMax(0, page.height() - r.height())));
    return r;
}

// Equal gaps between the items in the order of their leading edges; the outermost stay put.
void distribute(QVector<QRect> &out, bool horizontal)
{
    const int n = out.size();
    if (n < 3)
        return;
    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    auto start = [horizontal](const QRect &r) { return horizontal ? r.x() : r.y(); };
    auto extent = [horizontal](const QRect &r) { return horizontal ? r.width() : r.height(); };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return start(out.at(a)) < start(out.at(b)); });
    const QRect b = bounds(out);
    const int first = horizontal ? b.x() : b.y();
    int total = horizontal ? b.width() : b.height();
    for (const QRect &r : out)
        total -= extent(r);
    // Floor division so negative room (overlapping items) spreads the same way.
    const int gaps = n - 1;
    const int gap = total >= 0 ? total / gaps : -((-total + gaps - 1) / gaps);
    int extra = total - gap * gaps;
    int pos = first;
    for (int i = 0; i < n; ++i) {
        QRect &r = out[order.at(i)];
        if (horizontal)
            r.moveLeft(pos);
        else
            r.moveTop(pos);
        pos += extent(r) + gap + (extra > 0 ? 1 : 0);
        if (extra > 0)
            --extra;
    }
}

}  // namespace

QVector<QRect> arrange(const QVector<QRect> &rects, Kind kind, const QSize &page, const QVector<bool> &resizable)
{
    QVector<QRect> out = rects;
    if (rects.size() < 2)
        return out;
    const QRect b = bounds(rects);
    auto canResize = [&](int i) { return i < resizable.size() && resizable.at(i); };
    for (int i = 0; i < out.size(); ++i) {
        QRect &r = out[i];
        switch (kind) {
        case AlignLeft: r.moveLeft(b.left()); break;
        case AlignRight: r.moveRight(b.right()); break;
        case AlignTop: r.moveTop(b.top()); break;
        case AlignBottom: r.moveBottom(b.bottom()); break;
        case AlignHCenter: r.moveLeft(b.x() + (b.width() - r.width()) / 2); break;
        case AlignVCenter: r.moveTop(b.y() + (b.height() - r.height()) / 2); break;
        case SameWidth:
            if (canResize(i))
                r.setWidth(rects.first().width());
            break;
        case SameHeight:
            if (canResize(i))
                r.setHeight(rects.first().height());
            break;
        default: break;
        }
    }
    if (kind == DistributeH || kind == DistributeV)
        distribute(out, kind == DistributeH);
    for (QRect &r : out)
        r = onPage(r, page);
    return out;
}

}  // namespace Arrange
