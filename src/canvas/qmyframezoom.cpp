// Zooming the canvas: the page shrunk to 25 % to 75 % or module pixels shown as squares of 1 to 8
// screen pixels, the conversion of screen points to module pixels, and the cursor's module pixel
// for the status bar.
#include "qmyframe.h"

#include "pagetable.h"
#include "qmywidget.h"
#include "support/zoomlevels.h"

#include <QCoreApplication>
#include <QtMath>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

void QMyFrame::setZoomPercent(int percent)
{
    const int level = ZoomLevels::nearest(percent);
    if (level == m_zoom)
        return;
    m_zoom = level;
    clearSnapGuides();
    relayout();
    emit zoomChanged(m_zoom);
}

void QMyFrame::zoomStep(int steps) { setZoomPercent(ZoomLevels::step(m_zoom, steps)); }

void QMyFrame::relayout()
{
    m_laidOutScale = moduleScale();
    setFixedSize(coveringRect(QRect(0, 0, m_frameW, m_frameH)).size());
    // Hidden pages too: showing a page does not place its controls again. Pages whose widgets
    // are not made yet get them at the zoom in force when they are.
    for (int n = 0; n < m_table->pageCount(); ++n) {
        if (!m_table->hasWidgets(n))
            continue;
        for (QMyWidget *w : m_table->pageControls(n))
            w->refreshGeometry();
    }
    update();
}

int QMyFrame::devicePixelsPerModulePixel(int zoom, qreal ratio) { return qMax(1, qRound(zoom * ratio)); }

qreal QMyFrame::scaleAt(int percent) const
{
    // Below 1x a module pixel cannot be a square of whole pixels; the page is shrunk smoothly.
    if (percent < 100)
        return percent / 100.0;
    const qreal ratio = devicePixelRatioF();
    return devicePixelsPerModulePixel(percent / 100, ratio) / ratio;
}

qreal QMyFrame::moduleScale() const { return scaleAt(m_zoom); }

QRectF QMyFrame::exactRect(const QRect &module) const
{
    const qreal s = moduleScale();
    return QRectF(module.x() * s, module.y() * s, module.width() * s, module.height() * s);
}

QRect QMyFrame::coveringRect(const QRect &module) const
{
    // A hair of tolerance: 4/3 x 3 must not round up to 5.
    const QRectF r = exactRect(module);
    const int left = qFloor(r.left() + 1e-9);
    const int top = qFloor(r.top() + 1e-9);
    return QRect(left, top, qCeil(r.right() - 1e-9) - left, qCeil(r.bottom() - 1e-9) - top);
}

int QMyFrame::fitZoom(const QSize &room) const
{
    return ZoomLevels::largestFitting(
        [this](int level) {
            const qreal s = scaleAt(level);
            return QSize(qCeil(m_frameW * s - 1e-9), qCeil(m_frameH * s - 1e-9));
        },
        room);
}

void QMyFrame::zoomToFit(const QSize &room) { setZoomPercent(fitZoom(room)); }

QScrollArea *QMyFrame::scrollArea() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *area = qobject_cast<QScrollArea *>(w))
            return area;
    }
    return nullptr;
}

void QMyFrame::zoomAround(int steps, const QPoint &at)
{
    QScrollArea *area = scrollArea();
    const int before = m_zoom;
    const QPoint spot = area ? mapTo(area->viewport(), at) : at;
    // Steps in a row at the same spot keep to the pixel first aimed at, even when the area could
    // not scroll far enough at the smaller zooms on the way.
    if (!m_zoomAnchor.active || spot != m_zoomAnchor.spot)
        m_zoomAnchor = {true, spot, QPointF(at) / moduleScale()};
    zoomStep(steps);
    if (m_zoom == before)
        return;
    const QPointF anchor = m_zoomAnchor.module * moduleScale();
    if (area) {
        // Let the scroll area take the new size now (the layouts would only do it on the next
        // turn of the event loop), then scroll the anchor under the spot.
        if (QWidget *contents = area->widget()) {
            if (contents->layout())
                contents->layout()->activate();
        }
        QEvent relayout(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(area, &relayout);
        const QPoint off = mapTo(area->viewport(), anchor.toPoint()) - spot;
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() + off.x());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() + off.y());
        emit cursorMoved(toModule(mapFrom(area->viewport(), spot)));
    } else {
        emit cursorMoved(toModule(anchor.toPoint()));
    }
}

QPoint QMyFrame::toModule(const QPointF &widgetPos) const
{
    const qreal s = moduleScale();
    // The same hair as coveringRect, so the first widget pixel of a module pixel belongs to it.
    return QPoint(qFloor(widgetPos.x() / s + 1e-9), qFloor(widgetPos.y() / s + 1e-9));
}

QPoint QMyFrame::toModule(const QPoint &p, int zoom)
{
    auto down = [zoom](int v) { return v >= 0 ? v / zoom : -((-v + zoom - 1) / zoom); };
    return QPoint(down(p.x()), down(p.y()));
}

void QMyFrame::trackCursor(const QPointF &widgetPos)
{
    m_zoomAnchor.active = false;
    emit cursorMoved(toModule(widgetPos));
}

void QMyFrame::wheelEvent(QWheelEvent *e)
{
    // A plain wheel scrolls the area the canvas sits in.
    if (!(e->modifiers() & Qt::ControlModifier)) {
        e->ignore();
        return;
    }
    const int steps = e->angleDelta().y();
    if (steps != 0)
        zoomAround(steps > 0 ? 1 : -1, e->position().toPoint());
    e->accept();
}

void QMyFrame::leaveEvent(QEvent *e)
{
    emit cursorMoved(QPoint(-1, -1));
    QFrame::leaveEvent(e);
}
