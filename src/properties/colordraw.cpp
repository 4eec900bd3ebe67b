#include "colordraw.h"

#include "model/colortable.h"
#include "support/eventposition.h"

#include <QMouseEvent>
#include <QPainter>

ColorDraw::ColorDraw(QWidget *parent) : QFrame(parent)
{
    for (int y = 10; y < 190; y += 45) {
        for (int x = 10; x < 730; x += 45)
            m_cells.append(QRect(x, y, 35, 35));
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(731, 311);
    m_pixmap = QPixmap(size());
    m_painter = new QPainter;
    render();
}

ColorDraw::~ColorDraw() { delete m_painter; }

QColor ColorDraw::numberColorFor(int n) { return ColorTable::numberTextColorOn(n); }

void ColorDraw::render()
{
    QPainter &p = *m_painter;
    p.begin(&m_pixmap);
    p.fillRect(m_pixmap.rect(), QColor(235, 235, 235));
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(0, 0, width() - 1, height() - 1);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < m_cells.size(); ++i) {
        const QColor c = ColorTable::colorAt(i);
        const QRect &cell = m_cells.at(i);
        p.setPen(QPen(c, 1, Qt::SolidLine));
        p.setBrush(QBrush(c, Qt::SolidPattern));
        p.drawRect(cell);
        p.setPen(numberColorFor(i));
        p.drawText(QRect(cell.x() + 10, cell.y() + 10, cell.width() - 20, cell.height() - 20),
                   QString::number(i), QTextOption());
    }
    p.end();
    update();
}

void ColorDraw::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_pixmap);
}

int ColorDraw::cellAt(const QPoint &p) const
{
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells.at(i).contains(p))
            return i;
    }
    return -1;
}

void ColorDraw::mousePressEvent(QMouseEvent *) {}

void ColorDraw::mouseMoveEvent(QMouseEvent *) {}

void ColorDraw::mouseReleaseEvent(QMouseEvent *e)
{
    const int n = cellAt(eventPosition(e).toPoint());
    if (n >= 0)
        emit s_selectColorNum(n);
}
