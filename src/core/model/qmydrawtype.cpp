#include "model/qmydrawtype.h"

#include <QtMath>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Geometry from a damaged file can be anywhere in int range; derived values must not overflow.
int clampToInt(qint64 v)
{
    return int(qBound(qint64(std::numeric_limits<int>::min()), v, qint64(std::numeric_limits<int>::max())));
}

}  // namespace

void QMyDrawType::setRect(int x, int y, int w, int h)
{
    m_x = x;
    m_y = y;
    m_w = w;
    m_h = h;
}

void QMyDrawType::setRadius(int r)
{
    m_r = r;
    setRect(clampToInt(qint64(m_x1) - r), clampToInt(qint64(m_y1) - r), clampToInt(2 * qint64(r)),
            clampToInt(2 * qint64(r)));
}

void QMyDrawType::setEnd(int x, int y)
{
    m_x2 = x;
    m_y2 = y;
    if (isBoxKind(m_drawType)) {
        setRect(qMin(x, m_x1), qMin(y, m_y1), clampToInt(std::abs(qint64(x) - m_x1)),
                clampToInt(std::abs(qint64(y) - m_y1)));
    } else if (isCircleKind(m_drawType)) {
        const double dx = double(x) - m_x1;
        const double dy = double(y) - m_y1;
        setRadius(int(qMin(std::sqrt(dx * dx + dy * dy), double(std::numeric_limits<int>::max()))));
    }
}

QString QMyDrawType::instructionTextFor() const
{
    // 64-bit so that corners of huge boxes read from a damaged file do not overflow.
    auto call = [](const char *name, std::initializer_list<qint64> args) {
        QString s = QLatin1String(name) + QLatin1Char('(');
        bool first = true;
        for (qint64 a : args) {
            if (!first)
                s += QLatin1Char(',');
            s += QString::number(a);
            first = false;
        }
        return s + QLatin1String(");");
    };
    switch (m_drawType) {
    case Box: return call("BOX", {m_x, m_y, qint64(m_x) + m_w - 1, qint64(m_y) + m_h - 1, m_colorNum});
    case FilledBox: return call("BOXF", {m_x, m_y, qint64(m_x) + m_w - 1, qint64(m_y) + m_h - 1, m_colorNum});
    case Circle: return call("CIR", {m_x1, m_y1, m_r, m_colorNum});
    case FilledCircle: return call("CIRF", {m_x1, m_y1, m_r, m_colorNum});
    case Point: return call("PS", {m_x1, m_y1, m_colorNum});
    case Line: return call("PL", {m_x1, m_y1, m_x2, m_y2, m_colorNum});
    default: return m_instruction;
    }
}

QString QMyDrawType::instructionText()
{
    m_instruction = instructionTextFor();
    return m_instruction;
}

bool QMyDrawType::hitTest(const QPoint &p) const
{
    const qint64 px = p.x(), py = p.y();
    auto inside = [&](qint64 x, qint64 y, qint64 w, qint64 h) {
        return w > 0 && h > 0 && px >= x && px < x + w && py >= y && py < y + h;
    };
    switch (m_drawType) {
    case Box:
    case Circle: {
        const qint64 innerW = qMax<qint64>(0, qint64(m_w) - 6);
        const qint64 innerH = qMax<qint64>(0, qint64(m_h) - 6);
        return inside(qint64(m_x) - 3, qint64(m_y) - 3, qint64(m_w) + 6, qint64(m_h) + 6) &&
               !inside(qint64(m_x) + 3, qint64(m_y) + 3, innerW, innerH);
    }
    case FilledBox:
    case FilledCircle: return inside(m_x, m_y, m_w, m_h);
    case Point: return inside(qint64(m_x1) - 3, qint64(m_y1) - 3, 6, 6);
    case Line: {
        auto dist = [](double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); };
        const double d1 = dist(px, py, m_x1, m_y1);
        const double d2 = dist(px, py, m_x2, m_y2);
        const double len = dist(m_x1, m_y1, m_x2, m_y2);
        return len + 0.5 >= d1 + d2 && len <= d1 + d2;
    }
    default: return false;
    }
}

QMyDrawType QMyDrawType::copyPlacedAt(QPoint p, int pageW, int pageH) const
{
    QMyDrawType c;
    c.m_drawType = m_drawType;
    c.setRect(m_x, m_y, m_w, m_h);
    c.setStart(m_x1, m_y1);
    c.setEnd(m_x2, m_y2);
    c.m_colorNum = m_colorNum;

    qint64 px = p.x(), py = p.y();
    const qint64 w = pageW, h = pageH;
    if (isCircleKind(m_drawType)) {
        const qint64 r = m_r;
        if (px < r)
            px = r;
        else if (px > w - r)
            px = w - r;
        if (py < r)
            py = r;
        else if (py > h - r)
            py = h - r;
        c.setStart(clampToInt(px), clampToInt(py));
        c.setRadius(m_r);
    } else if (m_drawType == Point) {
        if (px <= 0)
            px = 1;
        else if (px > w)
            px = w - 1;
        if (py <= 0)
            py = 1;
        else if (py > h)
            py = h - 1;
        c.m_x = clampToInt(px);
        c.m_y = clampToInt(py);
        c.setStart(c.m_x, c.m_y);
    } else if (m_drawType == Line) {
        const qint64 dx = std::abs(qint64(m_x1) - m_x2);
        const qint64 dy = std::abs(qint64(m_y1) - m_y2);
        if (px < 0)
            px = 0;
        else if (px > w - dx)
            px = w - dx;
        if (py < 0)
            py = 0;
        else if (py > h - dy)
            py = h - dy;
        if (m_x1 < m_x2) {
            c.m_x1 = clampToInt(px);
            c.m_x2 = clampToInt(px + dx);
        } else {
            c.m_x1 = clampToInt(px + dx);
            c.m_x2 = clampToInt(px);
        }
        if (m_y1 < m_y2) {
            c.m_y1 = clampToInt(py);
            c.m_y2 = clampToInt(py + dy);
        } else {
            c.m_y1 = clampToInt(py + dy);
            c.m_y2 = clampToInt(py);
        }
    } else if (isBoxKind(m_drawType)) {
        if (px < 0)
            px = 0;
        else if (px > w - c.m_w)
            px = w - c.m_w;
        if (py < 0)
            py = 0;
        else if (py > h - c.m_h)
            py = h - c.m_h;
        c.m_x = clampToInt(px);
        c.m_y = clampToInt(py);
        c.setStart(c.m_x, c.m_y);
    }
    return c;
}

bool QMyDrawType::sameShape(const QMyDrawType &o) const
{
    return m_drawType == o.m_drawType && m_x == o.m_x && m_y == o.m_y && m_w == o.m_w && m_h == o.m_h &&
           m_x1 == o.m_x1 && m_y1 == o.m_y1 && m_x2 == o.m_x2 && m_y2 == o.m_y2 && m_r == o.m_r &&
           m_colorNum == o.m_colorNum;
}

QRect QMyDrawType::bounds() const
{
    switch (m_drawType) {
    case Point: return QRect(m_x1, m_y1, 1, 1);
    case Line: return QRect(QPoint(qMin(m_x1, m_x2), qMin(m_y1, m_y2)), QPoint(qMax(m_x1, m_x2), qMax(m_y1, m_y2)));
    default: return rect();
    }
}

void QMyDrawType::translate(int dx, int dy)
{
    m_x += dx;
    m_y += dy;
    m_x1 += dx;
    m_y1 += dy;
    m_x2 += dx;
    m_y2 += dy;
}

void QMyDrawType::placeBounds(const QRect &r)
{
    const QRect b = bounds();
    translate(r.x() - b.x(), r.y() - b.y());
    if (isBoxKind(m_drawType) && (m_w != r.width() || m_h != r.height())) {
        m_w = r.width();
        m_h = r.height();
        // The corners keep their roles (which one was drawn first).
        if (m_x2 >= m_x1) {
            m_x1 = m_x;
            m_x2 = m_x + m_w;
        } else {
            m_x2 = m_x;
            m_x1 = m_x + m_w;
        }
        if (m_y2 >= m_y1) {
            m_y1 = m_y;
            m_y2 = m_y + m_h;
        } else {
            m_y2 = m_y;
            m_y1 = m_y + m_h;
        }
    }
}
