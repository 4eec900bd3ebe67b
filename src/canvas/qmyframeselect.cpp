// Several items at once on the canvas: the selection, the rubber band, moving, nudging and
// arranging the selection.
#include "qmyframe.h"

#include "pagetable.h"
#include "qmywidget.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

void QMyFrame::selectItems(const QList<QMyWidget *> &controls, const QList<QMyDrawType *> &primitives)
{
    m_table->setSelection(controls, primitives);
    // The marks may have been changed behind the table's back (a press marks its control).
    applySelectionMarks();
}

void QMyFrame::applySelectionMarks()
{
    const int n = m_table->currentPage();
    for (QMyWidget *w : m_table->pageControls(n)) {
        const bool s = m_table->isSelected(w);
        if (w->isSelected() != s)
            w->setSelected(s);
    }
    for (QMyDrawType *d : m_table->pagePrimitives(n))
        d->setSelected(m_table->isSelected(d));
    update();
}

void QMyFrame::announceSelection()
{
    const QList<QMyWidget *> &controls = m_table->selectedControls();
    const QList<QMyDrawType *> &primitives = m_table->selectedPrimitives();
    if (controls.size() == 1 && primitives.isEmpty()) {
        m_selectedControl = controls.first();
        m_selectedPrimitive = nullptr;
        emit s_sendPressWnd(controls.first());
    } else if (primitives.size() == 1 && controls.isEmpty()) {
        announceParent(primitives.first());
    }
}

void QMyFrame::toggleSelected(QMyWidget *w)
{
    QList<QMyWidget *> controls = m_table->selectedControls();
    if (!controls.removeOne(w))
        controls.append(w);
    selectItems(controls, m_table->selectedPrimitives());
    if (m_selectedControl == w && !m_table->isSelected(w))
        m_selectedControl = nullptr;
    m_pageSelected = false;
    announceSelection();
}

void QMyFrame::toggleSelected(QMyDrawType *d)
{
    QList<QMyDrawType *> primitives = m_table->selectedPrimitives();
    if (!primitives.removeOne(d))
        primitives.append(d);
    selectItems(m_table->selectedControls(), primitives);
    if (m_selectedPrimitive == d && !m_table->isSelected(d))
        m_selectedPrimitive = nullptr;
    m_pageSelected = false;
    announceSelection();
}

void QMyFrame::bandPress(const QPoint &p, bool add)
{
    m_bandActive = true;
    m_bandAdds = add;
    m_bandStart = p;
    m_band = QRect();
}

// Everything wholly inside the band is picked, added to what was selected with Shift or Ctrl.
void QMyFrame::bandRelease(const QPoint &p)
{
    const QRect band = QRect(m_bandStart, p).normalized();
    m_bandActive = false;
    m_band = QRect();
    update();
    if (band.width() < 2 && band.height() < 2)
        return;
    QList<QMyWidget *> controls = m_bandAdds ? m_table->selectedControls() : QList<QMyWidget *>();
    QList<QMyDrawType *> primitives = m_bandAdds ? m_table->selectedPrimitives() : QList<QMyDrawType *>();
    const int n = m_table->currentPage();
    for (QMyWidget *w : m_table->pageControls(n)) {
        if (band.contains(w->geometryRect()) && !controls.contains(w))
            controls.append(w);
    }
    for (QMyDrawType *d : m_table->pagePrimitives(n)) {
        if (band.contains(d->bounds()) && !primitives.contains(d))
            primitives.append(d);
    }
    selectItems(controls, primitives);
    if (m_table->selectionSize() > 0)
        m_pageSelected = false;
    announceSelection();
}

QRect QMyFrame::selectionBounds() const
{
    QVector<QRect> rects;
    for (const QMyWidget *w : m_table->selectedControls())
        rects.append(w->geometryRect());
    for (const QMyDrawType *d : m_table->selectedPrimitives())
        rects.append(d->bounds());
    return Arrange::bounds(rects);
}

void QMyFrame::beginGroupMove()
{
    m_move = GroupMove();
    m_move.active = true;
    m_move.bounds = selectionBounds();
    for (QMyWidget *w : m_table->selectedControls())
        m_move.controls.append({w, w->geometryRect().topLeft()});
    for (QMyDrawType *d : m_table->selectedPrimitives())
        m_move.primitives.append({d, d->bounds().topLeft()});
}

void QMyFrame::groupMoveBy(const QPoint &offset, bool snap)
{
    if (!m_move.active)
        return;
    QPoint delta = Arrange::clampMove(m_move.bounds, offset, QSize(m_frameW, m_frameH));
    if (snap)
        delta = Arrange::clampMove(m_move.bounds, delta + snapDrag(m_move.bounds.translated(delta), Snap::AllLines),
                                   QSize(m_frameW, m_frameH));
    for (const auto &entry : qAsConst(m_move.controls)) {
        if (entry.first)
            entry.first->placeAt(entry.second + delta);
    }
    for (const auto &entry : qAsConst(m_move.primitives)) {
        if (!entry.first)
            continue;
        const QPoint to = entry.second + delta;
        const QPoint at = entry.first->bounds().topLeft();
        entry.first->translate(to.x() - at.x(), to.y() - at.y());
    }
    if (!delta.isNull())
        m_move.moved = true;
    update();
    // The panel follows the item it shows.
    if (m_selectedControl && m_table->isSelected(m_selectedControl))
        emit s_sendPressWnd(m_selectedControl);
    else if (m_selectedPrimitive && m_table->isSelected(m_selectedPrimitive))
        emit s_sendParent(m_selectedPrimitive->drawType(), m_selectedPrimitive);
}

bool QMyFrame::endGroupMove()
{
    const bool moved = m_move.moved;
    m_move = GroupMove();
    clearSnapGuides();
    return moved;
}

void QMyFrame::nudgeSelection(int dx, int dy)
{
    if (m_table->selectionSize() == 0)
        return;
    beginGroupMove();
    groupMoveBy(QPoint(dx, dy));
    endGroupMove();
}

void QMyFrame::arrangeSelection(Arrange::Kind kind)
{
    QList<QMyWidget *> controls = m_table->selectedControls();
    QList<QMyDrawType *> primitives = m_table->selectedPrimitives();
    if (controls.size() + primitives.size() < 2)
        return;
    // Sizes follow the item the panel shows.
    if (m_selectedControl && controls.removeOne(m_selectedControl))
        controls.prepend(m_selectedControl);
    QVector<QRect> rects;
    QVector<bool> resizable;
    for (const QMyWidget *w : controls) {
        rects.append(w->geometryRect());
        resizable.append(!w->handleRects().isEmpty());
    }
    if (m_selectedPrimitive && controls.isEmpty() && primitives.removeOne(m_selectedPrimitive))
        primitives.prepend(m_selectedPrimitive);
    for (const QMyDrawType *d : primitives) {
        rects.append(d->bounds());
        resizable.append(QMyDrawType::isBoxKind(d->drawType()));
    }
    const QVector<QRect> out = Arrange::arrange(rects, kind, QSize(m_frameW, m_frameH), resizable);
    int i = 0;
    for (QMyWidget *w : controls) {
        const QRect &r = out.at(i);
        if (resizable.at(i) && r.size() != rects.at(i).size()) {
            w->setW(r.width());
            w->setH(r.height());
        }
        w->placeAt(r.topLeft());
        ++i;
    }
    for (QMyDrawType *d : primitives)
        d->placeBounds(out.at(i++));
    update();
    if (m_selectedControl)
        emit s_sendPressWnd(m_selectedControl);
}

void QMyFrame::createAlignMenu()
{
    m_alignMenu = m_menu->addMenu(QString());
    static const Arrange::Kind kinds[] = {Arrange::AlignLeft, Arrange::AlignRight, Arrange::AlignTop,
                                          Arrange::AlignBottom, Arrange::AlignHCenter, Arrange::AlignVCenter,
                                          Arrange::DistributeH, Arrange::DistributeV, Arrange::SameWidth,
                                          Arrange::SameHeight};
    for (Arrange::Kind kind : kinds) {
        if (kind == Arrange::DistributeH || kind == Arrange::SameWidth)
            m_alignMenu->addSeparator();
        QAction *a = m_alignMenu->addAction(QString());
        a->setData(int(kind));
        connect(a, &QAction::triggered, this, [this, kind] { arrangeSelection(kind); });
        m_alignActions.append(a);
    }
}

void QMyFrame::retranslateAlignMenu()
{
    m_alignMenu->setTitle(tr("对齐"));
    const QString texts[] = {tr("左对齐"), tr("右对齐"), tr("顶端对齐"), tr("底端对齐"),
                             tr("水平居中"), tr("垂直居中"), tr("水平等距分布"), tr("垂直等距分布"),
                             tr("等宽"), tr("等高")};
    for (int i = 0; i < m_alignActions.size(); ++i)
        m_alignActions.at(i)->setText(texts[i]);
}

void QMyFrame::keyPressEvent(QKeyEvent *e)
{
    const int step = e->modifiers() & Qt::ShiftModifier ? 10 : 1;
    int dx = 0;
    int dy = 0;
    switch (e->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: QFrame::keyPressEvent(e); return;
    }
    if (m_table->selectionSize() == 0 || m_buttonDown) {
        QFrame::keyPressEvent(e);
        return;
    }
    nudgeSelection(dx, dy);
    e->accept();
}
