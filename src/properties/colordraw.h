#pragma once

#include <QFrame>
#include <QPixmap>
#include <QRect>
#include <QVector>

class QPainter;

// The 64 colours as numbered swatches, rendered once; a release on a swatch picks its number.
class ColorDraw : public QFrame {
    Q_OBJECT
public:
    explicit ColorDraw(QWidget *parent = nullptr);
    ~ColorDraw() override;

    const QVector<QRect> &cellRects() const { return m_cells; }
    int cellCount() const { return m_cells.size(); }
    // Number of the cell at p (edges included), -1 in gaps and margins.
    int cellAt(const QPoint &p) const;
    // Colour the number of cell n is written in.
    static QColor numberColorFor(int n);
    const QPixmap &pixmap() const { return m_pixmap; }

signals:
    void s_selectColorNum(int n);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void render();

    QPixmap m_pixmap;
    QPainter *m_painter = nullptr;
    QVector<QRect> m_cells;
};
