#include "qmywidget.h"

#include "script/instructions.h"
#include "qmyframe.h"
#include "pagetable.h"
#include "qmylabel.h"
#include "qmylabelnum.h"
#include "qmypointer.h"
#include "qmyprogressbar.h"
#include "qmypushbutton.h"
#include "qmyqrcode.h"
#include "render/renderer.h"
#include "support/eventposition.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace {

// A size from a damaged file must not turn into a giant widget.
constexpr int kMaxSide = 8192;

int sane(int v) { return qBound(0, v, kMaxSide); }

}  // namespace

QMyWidget::QMyWidget(int id, const QString &className, QMyFrame *parent) : QWidget(parent), m_page(parent)
{
    ControlKind k = ControlKind::Text;
    kindFromClassName(className, &k);
    m_rec = ControlRecord::make(k, id);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

QMyWidget *QMyWidget::create(const QString &className, int id, QMyFrame *parent)
{
    ControlKind k;
    if (!kindFromClassName(className, &k))
        return nullptr;
    switch (k) {
    case ControlKind::Text:
        return new QMyLabel(id, className, parent);
    case ControlKind::Number:
        return new QMyLabelNum(id, className, parent);
    case ControlKind::Button:
        return new QMyPushButton(id, className, parent);
    case ControlKind::Progress:
        return new QMyProgressBar(id, className, parent);
    case ControlKind::Pointer:
        return new QMyPointer(id, className, parent);
    case ControlKind::QRCode:
        return new QMyQRCode(id, className, parent);
    }
    return nullptr;
}

QMyWidget *QMyWidget::create(const ControlRecord &record, QMyFrame *parent)
{
    QMyWidget *w = create(record.className(), record.id, parent);
    if (w)
        w->setRecord(record);
    return w;
}

void QMyWidget::setRecord(const ControlRecord &record)
{
    const ControlKind k = m_rec.kind;
    m_rec = record;
    m_rec.kind = k;  // the class decides the kind
    styleChanged();
    syncGeometry();
}

void QMyWidget::setId(int id)
{
    m_rec.id = id;
    update();
}

QString QMyWidget::instructionText()
{
    m_instruction = ::instructionText(m_rec);
    return m_instruction;
}

qreal QMyWidget::moduleScale() const { return m_page ? m_page->moduleScale() : 1.0; }

QPoint QMyWidget::local(const QPointF &widgetPos) const
{
    // Through the canvas: under a fractional scale the widget's corner is only near the
    // control's first module pixel.
    if (!m_page)
        return QPoint(qFloor(widgetPos.x()), qFloor(widgetPos.y()));
    return m_page->toModule(widgetPos + QPointF(pos())) - QPoint(m_rec.x, m_rec.y);
}

QRect QMyWidget::screenRect() const
{
    const QRect module(m_rec.x, m_rec.y, sane(m_rec.w), sane(m_rec.h));
    return m_page ? m_page->coveringRect(module) : module;
}

void QMyWidget::syncGeometry()
{
    settle();
    m_geometryRect = QRect(m_rec.x, m_rec.y, m_rec.w, m_rec.h);
    setGeometry(screenRect());
    update();
}

void QMyWidget::setPosition(int x, int y)
{
    m_rec.x = x;
    m_rec.y = y;
    syncGeometry();
    emit s_sendPressWnd(this);
}

void QMyWidget::placeAt(const QPoint &topLeft)
{
    m_rec.x = topLeft.x();
    m_rec.y = topLeft.y();
    syncGeometry();
}

void QMyWidget::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

QVector<QRect> QMyWidget::handleRects() const
{
    ControlRecord r = m_rec;
    r.w = sane(m_rec.w);
    r.h = sane(m_rec.h);
    return Renderer::handleRects(r);
}

void QMyWidget::setX(int x)
{
    m_rec.x = x;
    syncGeometry();
}

void QMyWidget::setY(int y)
{
    m_rec.y = y;
    syncGeometry();
}

void QMyWidget::setW(int w)
{
    m_rec.w = w;
    syncGeometry();
}

void QMyWidget::setH(int h)
{
    m_rec.h = h;
    syncGeometry();
}

#define TAVO_STORE(setter, field) \
    void QMyWidget::setter(int v) \
    {                             \
        m_rec.field = v;          \
        update();                 \
    }

TAVO_STORE(setFontSize, fontSize)
TAVO_STORE(setFontColorNum, fontColorNum)
TAVO_STORE(setBackgroundColorNum, backgroundColorNum)
TAVO_STORE(setPressColorNum, pressColorNum)
TAVO_STORE(setImageNum, imageNum)
TAVO_STORE(setCutImageNum, cutImageNum)
TAVO_STORE(setBackgroundImageNum, backgroundImageNum)
TAVO_STORE(setBackgroundCutImageNum, backgroundCutImageNum)
TAVO_STORE(setPressImageNum, pressImageNum)
TAVO_STORE(setPressCutImageNum, pressCutImageNum)
TAVO_STORE(setProgType, progType)
TAVO_STORE(setStyleColorNum, styleColorNum)
TAVO_STORE(setPointerW, pointerW)
TAVO_STORE(setPointerAngle, pointerAngle)
#undef TAVO_STORE

void QMyWidget::setText(const QString &text)
{
    m_rec.text = text;
    update();
}

void QMyWidget::setHAlign(int code)
{
    if (code >= 0 && code <= 2) {
        m_rec.hAlign = code;
        update();
    }
}

void QMyWidget::setVAlign(int code)
{
    if (code >= 0 && code <= 2) {
        m_rec.vAlign = code;
        update();
    }
}

void QMyWidget::setStyle(int v)
{
    m_rec.style = v;
    styleChanged();
    update();
}

void QMyWidget::setPointerX(int v)
{
    m_rec.setPointerX(v);
    syncGeometry();
}

void QMyWidget::setPointerY(int v)
{
    m_rec.setPointerY(v);
    syncGeometry();
}

void QMyWidget::setPointerL(int v)
{
    m_rec.setPointerL(v);
    syncGeometry();
}

int QMyWidget::handleAt(const QPointF &widgetPos) const
{
    const QPoint p = local(widgetPos);
    const QVector<QRect> handles = handleRects();
    for (int i = 0; i < handles.size(); ++i) {
        if (handles.at(i).contains(p))
            return i;
    }
    return -1;
}

void QMyWidget::mousePressEvent(QMouseEvent *e)
{
    m_pressPoint = local(eventPosition(e));
    m_pressPagePoint = m_page ? m_page->toModule(eventPosition(e) + QPointF(pos())) : eventPosition(e).toPoint();
    if (m_page && e->button() == Qt::LeftButton && (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        m_drag = NoDrag;
        m_page->toggleSelected(this);
        return;
    }
    const int h = handleAt(eventPosition(e));
    if (m_page && e->button() == Qt::LeftButton && h < 0 && m_page->pageTable()->isSelected(this)
        && m_page->pageTable()->selectionSize() > 1) {
        m_drag = DragGroup;
        emit s_sendPressWnd(this);
        m_page->beginGroupMove();
        return;
    }
    m_selected = true;
    m_drag = h >= 0 ? DragMode(h) : DragMove;
    update();
    emit s_sendPressWnd(this);
}

void QMyWidget::mouseMoveEvent(QMouseEvent *e)
{
    if (m_page)
        m_page->trackCursor(eventPosition(e) + QPointF(pos()));
    // A release we never saw (it went to the context menu's popup) ends the drag.
    if (m_drag != NoDrag && e->buttons() == Qt::NoButton)
        m_drag = NoDrag;
    if (m_drag == NoDrag) {
        switch (handleAt(eventPosition(e))) {
        case HandleTopLeft:
        case HandleBottomRight:
            setCursor(Qt::SizeFDiagCursor);
            break;
        case HandleTop:
        case HandleBottom:
            setCursor(Qt::SizeVerCursor);
            break;
        case HandleTopRight:
        case HandleBottomLeft:
            setCursor(Qt::SizeBDiagCursor);
            break;
        case HandleLeft:
        case HandleRight:
            setCursor(Qt::SizeHorCursor);
            break;
        default:
            setCursor(Qt::ArrowCursor);
            break;
        }
        return;
    }
    if (m_drag == DragGroup) {
        if (m_page)
            m_page->groupMoveBy(m_page->toModule(eventPosition(e) + QPointF(pos())) - m_pressPagePoint,
                                !(e->modifiers() & Qt::AltModifier));
        return;
    }
    dragTo(local(eventPosition(e)), !(e->modifiers() & Qt::AltModifier));
}

void QMyWidget::dragTo(const QPoint &p, bool snap)
{
    const int W = m_page ? m_page->frameW() : 0;
    const int H = m_page ? m_page->frameH() : 0;
    const int x0 = m_rec.x;
    const int y0 = m_rec.y;
    // p and the press point are in module pixels of this control.
    const int dx = p.x() - m_pressPoint.x();
    const int dy = p.y() - m_pressPoint.y();
    const int nx = x0 + dx;
    const int ny = y0 + dy;
    int x = x0;
    int y = y0;

    if (m_drag == DragMove) {
        const int ww = sane(m_rec.w);
        const int wh = sane(m_rec.h);
        x = nx <= 0 ? 0 : (nx >= W - ww ? W - ww : nx);
        y = ny <= 0 ? 0 : (ny >= H - wh ? H - wh : ny);
        if (snap && m_page) {
            const QPoint s = m_page->snapDrag(QRect(x, y, ww, wh), Snap::AllLines);
            x += s.x();
            y += s.y();
        }
        setPosition(x, y);
        return;
    }

    const bool left = m_drag == HandleTopLeft || m_drag == HandleLeft || m_drag == HandleBottomLeft;
    const bool top = m_drag == HandleTopLeft || m_drag == HandleTop || m_drag == HandleTopRight;
    const bool right = m_drag == HandleTopRight || m_drag == HandleRight || m_drag == HandleBottomRight;
    const bool bottom = m_drag == HandleBottomLeft || m_drag == HandleBottom || m_drag == HandleBottomRight;

    if (left) {
        if (nx <= 0) {
            x = 0;
        } else {
            const int w = m_rec.w - dx;
            if (w < 3) {
                m_rec.w = 3;
            } else {
                m_rec.w = w;
                x = nx;
            }
        }
    }
    if (top) {
        if (ny <= 0) {
            y = 0;
        } else {
            const int h = m_rec.h - dy;
            if (h < 3) {
                m_rec.h = 3;
            } else {
                m_rec.h = h;
                y = ny;
            }
        }
    }
    if (right)
        m_rec.w = p.x() < 3 ? 3 : qMin(p.x(), W - x0);
    if (bottom)
        m_rec.h = p.y() < 3 ? 3 : qMin(p.y(), H - y0);
    if (snap && m_page) {
        // Only the edges being dragged snap; the opposite ones stay put.
        const int lines = (left ? Snap::Left : 0) | (right ? Snap::Right : 0) | (top ? Snap::Top : 0)
                          | (bottom ? Snap::Bottom : 0);
        const QPoint s = m_page->snapDrag(QRect(x, y, m_rec.w, m_rec.h), lines);
        if (left && m_rec.w - s.x() >= 3) {
            x += s.x();
            m_rec.w -= s.x();
        } else if (right && m_rec.w + s.x() >= 3) {
            m_rec.w += s.x();
        }
        if (top && m_rec.h - s.y() >= 3) {
            y += s.y();
            m_rec.h -= s.y();
        } else if (bottom && m_rec.h + s.y() >= 3) {
            m_rec.h += s.y();
        }
    }
    setPosition(x, y);
}

void QMyWidget::mouseReleaseEvent(QMouseEvent *e)
{
    emit s_sendPressPos(QPoint(m_rec.x, m_rec.y) + local(eventPosition(e)));
    if (m_page)
        m_page->clearSnapGuides();
    // A click without a move on one of several selected controls picks that one alone.
    if (m_drag == DragGroup && m_page && !m_page->endGroupMove()) {
        m_page->selectItems({this}, {});
        emit s_sendPressWnd(this);
    }
    m_drag = NoDrag;
}

void QMyWidget::paintEvent(QPaintEvent *)
{
    settle();
    if (geometry() != screenRect())
        setGeometry(screenRect());
    QPainter screen(this);
    // Zoomed or scaled: drawn at module resolution, then each pixel blown up to a square of whole
    // device pixels on the canvas's grid.
    QImage image;
    QPainter scaled;
    const bool blowUp = moduleScale() != 1 || devicePixelRatioF() != 1;
    if (blowUp) {
        image = QImage(sane(m_rec.w), sane(m_rec.h), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        scaled.begin(&image);
    }
    QPainter &p = blowUp ? scaled : screen;
    const RenderContext ctx = m_page ? m_page->renderContext() : RenderContext();
    Renderer::paintControl(p, m_rec, ctx);
    Renderer::paintControlNumber(p, m_rec);
    if (m_selected) {
        ControlRecord r = m_rec;
        r.w = sane(m_rec.w);
        r.h = sane(m_rec.h);
        Renderer::paintSelectionHandles(p, r);
    }
    if (blowUp) {
        scaled.end();
        const QRectF exact = m_page ? m_page->exactRect(QRect(m_rec.x, m_rec.y, image.width(), image.height()))
                                    : QRectF(rect());
        screen.setRenderHint(QPainter::SmoothPixmapTransform, moduleScale() < 1);
        screen.drawImage(exact.translated(-pos()), image);
    }
}
