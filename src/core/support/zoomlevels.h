#pragma once

#include <QSize>
#include <QString>
#include <QVector>
#include <QtGlobal>

// The zoom levels of the canvas and the simulator, in percent: 25, 50 and 75 to see a large
// screen whole, then whole factors up to 8x.
namespace ZoomLevels {

inline const QVector<int> &all()
{
    static const QVector<int> levels{25, 50, 75, 100, 200, 300, 400, 500, 600, 700, 800};
    return levels;
}

// The level nearest to percent.
inline int nearest(int percent)
{
    int best = all().first();
    for (const int l : all()) {
        if (qAbs(l - percent) < qAbs(best - percent))
            best = l;
    }
    return best;
}

// The level steps away from the one nearest to percent, as far as the levels go.
inline int step(int percent, int steps)
{
    const int i = qBound(0, int(all().indexOf(nearest(percent))) + steps, int(all().size()) - 1);
    return all().at(i);
}

// The largest level up to `most` at which sizeAt(level) fits room; the smallest level when
// none does.
template <typename SizeAt>
int largestFitting(SizeAt sizeAt, const QSize &room, int most = 800)
{
    int best = all().first();
    for (const int l : all()) {
        const QSize s = sizeAt(l);
        if (l <= most && s.width() <= room.width() && s.height() <= room.height())
            best = l;
    }
    return best;
}

// "50%" below 1x, "2x" from there.
inline QString label(int percent)
{
    return percent < 100 ? QStringLiteral("%1%").arg(percent) : QStringLiteral("%1x").arg(percent / 100);
}

}  // namespace ZoomLevels
