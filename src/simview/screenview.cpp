#include "screenview.h"

#include <QMouseEvent>
#include <QPainter>

ScreenView::ScreenView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void ScreenView::setImage(const QImage &image)
{
    const bool resized = image.size() != m_image.size();
    m_image = image;
    if (resized) {
        setFixedSize(sizeHint());
        updateGeometry();
    }
    update();
}

void ScreenView::setZoom(int zoom)
{
    m_zoom = qBound(1, zoom, MaxZoom);
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

QSize ScreenView::sizeHint() const
{
    const QSize s = m_image.isNull() ? QSize(240, 320) : m_image.size();
    return s * m_zoom;
}

void ScreenView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // Whole-number scaling without smoothing: each module pixel stays one sharp square.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(QPoint(0, 0), m_image.size() * m_zoom), m_image);
}

void ScreenView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    emit s_pressed(QPoint(event->pos().x() / m_zoom, event->pos().y() / m_zoom));
}

void ScreenView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    emit s_released();
}
