// Snapping dragged items to the page, its helper lines and the items left in place, and the
// guide lines shown while an edge or centre sits on one of them.
#include "qmyframe.h"

#include <QtMath>

#include "pagetable.h"
#include "qmywidget.h"

#include <QPainter>

#include <algorithm>

namespace {

// How close, in screen pixels, a line has to come to catch an edge or a centre.
constexpr int kSnapScreenPixels = 4;

}  // namespace

// Lies over the controls (they are child widgets and would hide a guide painted by the page)
// and lets the mouse through.
class SnapGuideOverlay : public QWidget {
public:
    explicit SnapGuideOverlay(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
    }
    // Through the middle of device pixels: one device pixel wide at any scale.
    QVector<QLineF> lines;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        // Dashes of two colours show on any picture.
        p.setPen(QPen(Qt::white, 0));
        p.drawLines(lines);
        QPen dashes(QColor(255, 0, 160), 0, Qt::DashLine);
        // Dashes as long at any scale.
        dashes.setDashPattern({4 * devicePixelRatioF(), 2 * devicePixelRatioF()});
        p.setPen(dashes);
        p.drawLines(lines);
    }
};

Snap::Candidates QMyFrame::snapCandidates() const
{
    Snap::Candidates c;
    c.addPage(QSize(m_frameW, m_frameH));
    if (m_helpLineNum == 2) {
        c.xs << m_helpLineLeft << m_frameW - m_helpLineRight;
        c.ys << m_helpLineTop << m_frameH - m_helpLineBottom;
    }
    const int n = m_table->currentPage();
    for (const QMyWidget *w : m_table->pageControls(n)) {
        if (!m_table->isSelected(w))
            c.addRect(w->geometryRect());
    }
    for (const QMyDrawType *d : m_table->pagePrimitives(n)) {
        if (!m_table->isSelected(d) && d != m_drawing)
            c.addRect(d->bounds());
    }
    // Lines off the page (helper lines set outside it) would only pull items off it.
    auto onPage = [](QVector<int> &v, int limit) {
        v.erase(std::remove_if(v.begin(), v.end(), [limit](int x) { return x < 0 || x > limit; }), v.end());
    };
    onPage(c.xs, m_frameW);
    onPage(c.ys, m_frameH);
    return c;
}

QPoint QMyFrame::snapDrag(const QRect &moving, int lines)
{
    Snap::Result r = Snap::snap(moving, snapCandidates(), snapWithin(), lines);
    // A whole item that is on the page stays there: a line that would push its far side off is
    // not taken.
    const QRect moved = moving.translated(r.offset);
    const bool wholeX = (lines & (Snap::Left | Snap::Right)) == (Snap::Left | Snap::Right);
    const bool wholeY = (lines & (Snap::Top | Snap::Bottom)) == (Snap::Top | Snap::Bottom);
    if (wholeX && r.snappedX && moving.left() >= 0 && moving.right() < m_frameW && (moved.left() < 0 || moved.right() >= m_frameW)) {
        r.snappedX = false;
        r.offset.setX(0);
    }
    if (wholeY && r.snappedY && moving.top() >= 0 && moving.bottom() < m_frameH && (moved.top() < 0 || moved.bottom() >= m_frameH)) {
        r.snappedY = false;
        r.offset.setY(0);
    }
    showSnapGuides(r);
    return r.offset;
}

void QMyFrame::showSnapGuides(const Snap::Result &r)
{
    const bool changed = r.snappedX != m_snap.snappedX || r.snappedY != m_snap.snappedY
                         || (r.snappedX && r.guideX != m_snap.guideX) || (r.snappedY && r.guideY != m_snap.guideY);
    m_snap = r;
    if (!changed)
        return;
    if (!r.snappedX && !r.snappedY) {
        if (m_guides)
            m_guides->hide();
        return;
    }
    if (!m_guides)
        m_guides = new SnapGuideOverlay(this);
    // A module line at x lies between the pixels x - 1 and x; the guide takes the device column
    // at its left end, kept inside the page for the far edge.
    const qreal ratio = devicePixelRatioF();
    const qreal k = moduleScale() * ratio;  // device pixels per module pixel
    auto device = [k](int modulePixel) { return qFloor(modulePixel * k + 1e-9); };
    auto middle = [ratio](int devicePixel) { return (devicePixel + 0.5) / ratio; };
    const qreal right = middle(device(m_frameW) - 1);
    const qreal bottom = middle(device(m_frameH) - 1);
    QVector<QLineF> lines;
    if (r.snappedX) {
        const qreal x = middle(qMin(device(r.guideX), device(m_frameW) - 1));
        lines << QLineF(0, 0, 0, bottom).translated(x, 0);
    }
    if (r.snappedY) {
        const qreal y = middle(qMin(device(r.guideY), device(m_frameH) - 1));
        lines << QLineF(0, 0, right, 0).translated(0, y);
    }
    // Only the old and new guides are repainted, not the page under them.
    auto around = [](const QLineF &l) { return QRectF(l.p1(), l.p2()).normalized().toAlignedRect().adjusted(-1, -1, 1, 1); };
    m_guides->setGeometry(rect());
    for (const QLineF &l : qAsConst(m_guides->lines))
        m_guides->update(around(l));
    m_guides->lines = lines;
    for (const QLineF &l : qAsConst(lines))
        m_guides->update(around(l));
    m_guides->raise();
    m_guides->show();
}

int QMyFrame::snapWithin() const
{
    // The same reach on the screen at every zoom: more module pixels when the page is shrunk.
    return m_zoom >= 100 ? Snap::threshold(kSnapScreenPixels, zoom()) : qMax(1, kSnapScreenPixels * 100 / m_zoom);
}

void QMyFrame::clearSnapGuides() { showSnapGuides(Snap::Result()); }

bool QMyFrame::snapGuidesShown() const { return m_guides && m_guides->isVisible(); }
