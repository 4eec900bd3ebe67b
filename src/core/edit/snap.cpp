#include "edit/snap.h"

#include <cstdlib>

namespace Snap {

void Candidates::addRect(const QRect &r)
{
    xs << r.x() << r.x() + r.width() / 2 << r.x() + r.width();
    ys << r.y() << r.y() + r.height() / 2 << r.y() + r.height();
}

void Candidates::addPage(const QSize &page) { addRect(QRect(QPoint(0, 0), page)); }

int threshold(int screenPixels, int zoom) { return qMax(1, screenPixels / qMax(1, zoom)); }

namespace {

struct Axis {
    bool snapped = false;
    int offset = 0;
    int line = 0;
};

// own: the moving rectangle's lines on one axis (start, centre, end), used where the bit is set.
Axis nearest(const int own[3], const int bits[3], int lines, const QVector<int> &candidates, int within)
{
    Axis best;
    int bestDistance = within + 1;
    for (int i = 0; i < 3; ++i) {
        if (!(lines & bits[i]))
            continue;
        for (int c : candidates) {
            const int d = std::abs(c - own[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = {true, c - own[i], c};
            }
        }
    }
    return best;
}

}  // namespace

Result snap(const QRect &moving, const Candidates &candidates, int within, int lines)
{
    const int x[3] = {moving.x(), moving.x() + moving.width() / 2, moving.x() + moving.width()};
    const int y[3] = {moving.y(), moving.y() + moving.height() / 2, moving.y() + moving.height()};
    static const int xBits[3] = {Left, HCentre, Right};
    static const int yBits[3] = {Top, VCentre, Bottom};
    const Axis ax = nearest(x, xBits, lines, candidates.xs, within);
    const Axis ay = nearest(y, yBits, lines, candidates.ys, within);
    Result r;
    r.offset = QPoint(ax.offset, ay.offset);
    r.snappedX = ax.snapped;
    r.snappedY = ay.snapped;
    r.guideX = ax.line;
    r.guideY = ay.line;
    return r;
}

}  // namespace Snap
