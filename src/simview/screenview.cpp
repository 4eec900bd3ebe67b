#include "screenview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "support/eventposition.h"
#include "support/zoomlevels.h"

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

void ScreenView::setZoomPercent(int percent)
{
    m_zoom = ZoomLevels::nearest(percent);
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

qreal ScreenView::moduleScale() const
{
    if (m_zoom < 100)
        return m_zoom / 100.0;
    // A whole number of device pixels per module pixel, also under a fractional screen scale.
    const qreal ratio = devicePixelRatioF();
    return qMax(1, qRound(m_zoom / 100 * ratio)) / ratio;
}

QSize ScreenView::sizeAt(int percent) const
{
    const QSize s = m_image.isNull() ? QSize(240, 320) : m_image.size();
    const qreal ratio = devicePixelRatioF();
    const qreal k = percent < 100 ? percent / 100.0 : qMax(1, qRound(percent / 100 * ratio)) / ratio;
    return QSize(qCeil(s.width() * k - 1e-9), qCeil(s.height() * k - 1e-9));
}

QSize ScreenView::sizeHint() const { return sizeAt(m_zoom); }

void ScreenView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // Whole-number scaling without smoothing: each module pixel stays one sharp square. Shrunk,
    // neighbours are blended so that thin strokes do not vanish.
    p.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 100);
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
