#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

// Snapping a dragged rectangle to lines of the page: its edges and centre go to the nearest
// candidate line within a threshold. Everything in module pixels. A rectangle's lines are its
// left edge x, its right edge x + width, and its centre x + width / 2 (likewise vertically).
namespace Snap {

enum Line {
    Left = 0x01,
    HCentre = 0x02,
    Right = 0x04,
    Top = 0x08,
    VCentre = 0x10,
    Bottom = 0x20,
    AllLines = 0x3f,
};

// Vertical lines (x positions) and horizontal lines (y positions) a rectangle may snap to.
struct Candidates {
    QVector<int> xs;
    QVector<int> ys;

    // Adds the rectangle's edges and centres.
    void addRect(const QRect &r);
    // The page's edges and centre.
    void addPage(const QSize &page);
};

struct Result {
    QPoint offset;          // to add to the moving rectangle (0 on an axis that did not snap)
    bool snappedX = false;  // a vertical guide at guideX
    bool snappedY = false;
    int guideX = 0;
    int guideY = 0;
};

// The threshold in module pixels for a distance of screenPixels on the screen at the zoom: never
// below one pixel, so a close line still snaps when a screen pixel is less than a module pixel.
int threshold(int screenPixels, int zoom);

// The nearest candidate for any of the moving rectangle's lines named in `lines`, per axis, when
// it lies within `within` pixels; ties go to the first of left, centre, right (top, centre,
// bottom) and then to the first candidate.
Result snap(const QRect &moving, const Candidates &candidates, int within, int lines = AllLines);

}  // namespace Snap
