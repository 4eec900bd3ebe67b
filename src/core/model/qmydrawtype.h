#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

// A draw primitive of a page: box, filled box, circle, filled circle, point or line. Plain data;
// the canvas owns, paints and hit-tests them.
class QMyDrawType {
public:
    enum Kind { None = 0, Box = 1, FilledBox = 2, Circle = 3, FilledCircle = 4, Point = 5, Line = 6 };

    static bool isValidKind(int kind) { return kind >= Box && kind <= Line; }
    static bool isCircleKind(int kind) { return kind == Circle || kind == FilledCircle; }
    static bool isBoxKind(int kind) { return kind == Box || kind == FilledBox; }

    int drawType() const { return m_drawType; }
    void setDrawType(int t) { m_drawType = t; }

    // Bounding rectangle of boxes and circles.
    int x() const { return m_x; }
    int y() const { return m_y; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    QRect rect() const { return QRect(m_x, m_y, m_w, m_h); }
    void setX(int x) { m_x = x; }
    void setY(int y) { m_y = y; }
    void setWidth(int w) { m_w = w; }
    void setHeight(int h) { m_h = h; }
    void setRect(int x, int y, int w, int h);

    int x1() const { return m_x1; }
    int y1() const { return m_y1; }
    int x2() const { return m_x2; }
    int y2() const { return m_y2; }
    QPoint startPoint() const { return QPoint(m_x1, m_y1); }
    QPoint endPoint() const { return QPoint(m_x2, m_y2); }
    void setStart(int x, int y)
    {
        m_x1 = x;
        m_y1 = y;
    }
    void setX1(int v) { m_x1 = v; }
    void setY1(int v) { m_y1 = v; }
    void setX2(int v) { m_x2 = v; }
    void setY2(int v) { m_y2 = v; }

    int radius() const { return m_r; }
    // Stores r and makes the rectangle the circle's bounding square around the start point.
    void setRadius(int r);
    // Stores r alone, as the file reader does; the rectangle comes from the file as well.
    void setStoredRadius(int r) { m_r = r; }

    int colorNum() const { return m_colorNum; }
    void setColorNum(int n) { m_colorNum = n; }

    bool selected() const { return m_selected; }
    void setSelected(bool s) { m_selected = s; }

    // Stores the end point and derives the rectangle (boxes) or radius and rectangle (circles).
    void setEnd(int x, int y);

    // Builds, stores and returns the module instruction; kind 0 or unknown returns the stored text.
    QString instructionText();
    // The same text without touching the stored one.
    QString instructionTextFor() const;
    QString instruction() const { return m_instruction; }

    bool hitTest(const QPoint &p) const;

    // The module pixels the primitive covers, as a rectangle.
    QRect bounds() const;
    // Moves every coordinate by (dx, dy).
    void translate(int dx, int dy);
    // Gives a box the rectangle r (corners follow); other kinds move so their bounds start at
    // r's top-left and keep their size.
    void placeBounds(const QRect &r);

    // A copy of this primitive placed at p on a page of w x h, kept inside the page; the copy is
    // not selected.
    QMyDrawType copyPlacedAt(QPoint p, int pageW, int pageH) const;

    // Compares the stored fields (not the selection or the cached instruction).
    bool sameShape(const QMyDrawType &o) const;

private:
    int m_drawType = None;
    int m_x = 0, m_y = 0, m_w = 0, m_h = 0;
    int m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    int m_r = 0;
    int m_colorNum = 0;
    bool m_selected = false;
    QString m_instruction;
};
