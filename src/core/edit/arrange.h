#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

// Geometry of editing several items at once: alignment, distribution, equal sizes and moves that
// keep everything on the page. Pure functions on rectangles in module pixels.
namespace Arrange {

enum Kind {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    AlignHCenter,  // centres on one vertical line
    AlignVCenter,  // centres on one horizontal line
    DistributeH,   // equal gaps from the leftmost to the rightmost
    DistributeV,
    SameWidth,     // the width of the first item
    SameHeight,
};

// The rectangles after the arrangement, in the same order. Items whose entry in resizable is false
// (or missing) keep their size. Every result lies on a page of the given size when it fits.
QVector<QRect> arrange(const QVector<QRect> &rects, Kind kind, const QSize &page,
                       const QVector<bool> &resizable = {});

// The union of the rectangles; empty for none.
QRect bounds(const QVector<QRect> &rects);

// delta limited so that bounds moved by it stays on the page (a group larger than the page is
// kept at the top-left).
QPoint clampMove(const QRect &bounds, const QPoint &delta, const QSize &page);

}  // namespace Arrange
