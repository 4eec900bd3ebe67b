#include "model/pagefit.h"

#include <QCoreApplication>

namespace PageFit {

namespace {

QString tr(const char *s) { return QCoreApplication::translate("PageFit", s); }

// How far a span [from, from + size) must move to lie inside [0, limit): to the near edge
// when it is larger.
int shiftInside(int from, int size, int limit)
{
    if (from < 0 || size >= limit)
        return -from;
    if (from + size > limit)
        return limit - size - from;
    return 0;
}

}  // namespace

QRect controlRect(const ControlRecord &c)
{
    return QRect(c.x, c.y, c.w, c.h);
}

QRect primitiveRect(const QMyDrawType &d)
{
    return d.bounds();
}

QVector<Item> itemsOutside(const QVector<PageData> &pages, int w, int h)
{
    QVector<Item> out;
    const QRect page(0, 0, w, h);
    for (int p = 0; p < pages.size(); ++p) {
        const PageData &pg = pages.at(p);
        for (int i = 0; i < pg.controls.size(); ++i) {
            const ControlRecord &c = pg.controls.at(i);
            const QRect r = controlRect(c);
            if (!page.contains(r))
                out.append({p, true, i, c.id, c.isQRCode(), !page.intersects(r)});
        }
        for (int i = 0; i < pg.primitives.size(); ++i) {
            const QRect r = primitiveRect(pg.primitives.at(i));
            if (!page.contains(r))
                out.append({p, false, i, i, false, !page.intersects(r)});
        }
    }
    return out;
}

PageData movedInside(const PageData &page, int w, int h)
{
    PageData out = page;
    for (ControlRecord &c : out.controls) {
        const int dx = shiftInside(c.x, c.w, w);
        const int dy = shiftInside(c.y, c.h, h);
        c.x += dx;
        c.y += dy;
    }
    for (QMyDrawType &d : out.primitives) {
        const QRect r = primitiveRect(d);
        d.translate(shiftInside(r.x(), r.width(), w), shiftInside(r.y(), r.height(), h));
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
