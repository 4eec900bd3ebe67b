#include "screenview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "support/eventposition.h"

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

qreal ScreenView::moduleScale() const
{
    // A whole number of device pixels per module pixel, also under a fractional screen scale.
    const qreal ratio = devicePixelRatioF();
    return qMax(1, qRound(m_zoom * ratio)) / ratio;
}

QSize ScreenView::sizeHint() const
{
    const QSize s = m_image.isNull() ? QSize(240, 320) : m_image.size();
    return QSize(qCeil(s.width() * moduleScale() - 1e-9), qCeil(s.height() * moduleScale() - 1e-9));
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
    if (size() != sizeHint())
        setFixedSize(sizeHint());  // the window moved to a screen of another scale
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_image.size()) * moduleScale()), m_image);
}

void ScreenView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    const qreal s = moduleScale();
    const QPointF at = eventPosition(event);
    emit s_pressed(QPoint(qFloor(at.x() / s + 1e-9), qFloor(at.y() / s + 1e-9)));
}

void ScreenView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    emit s_released();
}
