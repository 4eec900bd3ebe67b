// Clipboard, delete and page operations of the canvas.
#include "qmyframe.h"

#include "pagetable.h"
#include "qmywidget.h"

#include "dialogs/qmymessagebox.h"
#include "model/names.h"

#include <algorithm>

QMyWidget *QMyFrame::controlClipboard() const
{
    for (const QPointer<QMyWidget> &w : m_controlClipboard) {
        if (w)
            return w;
    }
    return nullptr;
}

QMyDrawType *QMyFrame::primitiveClipboard() const
{
    return m_primitiveClipboard.isEmpty() ? nullptr : m_primitiveClipboard.first();
}

// Copies the selection in page order, so pasted controls are numbered in the order they had.
void QMyFrame::slotCopyAction()
{
    const int n = m_table->currentPage();
    m_controlClipboard.clear();
    m_primitiveClipboard.clear();
    for (QMyWidget *w : m_table->pageControls(n)) {
        if (m_table->isSelected(w))
            m_controlClipboard.append(w);
    }
    for (QMyDrawType *d : m_table->pagePrimitives(n)) {
        if (m_table->isSelected(d))
            m_primitiveClipboard.append(d);
    }
}

void QMyFrame::slotPasteAction()
{
    m_controlClipboard.removeAll(nullptr);
    const int items = m_controlClipboard.size() + m_primitiveClipboard.size();
    if (items > 1)
        pasteGroup();
    else if (QMyWidget *w = controlClipboard())
        pasteControl(w);
    else if (QMyDrawType *d = primitiveClipboard())
        pastePrimitive(d);
}

void QMyFrame::selectAllOnPage()
{
    const int n = m_table->currentPage();
    if (!m_table->isValidPage(n))
        return;
    selectItems(m_table->pageControls(n), m_table->pagePrimitives(n));
    if (m_table->selectionSize() > 0)
        m_pageSelected = false;
    announceSelection();
}

void QMyFrame::duplicateSelection()
{
    if (m_table->selectionSize() == 0)
        return;
    const QList<QPointer<QMyWidget>> controls = m_controlClipboard;
    const QList<QMyDrawType *> primitives = m_primitiveClipboard;
    const QPoint pastePos = m_pastePos;
    slotCopyAction();
    m_pastePos = selectionBounds().topLeft() + QPoint(DuplicateOffset, DuplicateOffset);
    slotPasteAction();
    m_controlClipboard = controls;
    m_primitiveClipboard = primitives;
    m_pastePos = pastePos;
}

void QMyFrame::slotDelAction()
{
    for (QMyWidget *w : m_table->selectedControls())
        m_controlClipboard.removeAll(w);
    for (QMyDrawType *d : m_table->selectedPrimitives())
        m_primitiveClipboard.removeAll(d);
    emit s_delAction();
}

void QMyFrame::pasteControl(QMyWidget *source)
{
    if (!checkRoomFor(source->kind()))
        return;
    // Flush with the far edge when the copy would not fit; a control wider than the page
    // goes to 0.
    const QPoint delta = Arrange::clampMove(source->geometryRect(), m_pastePos - source->geometryRect().topLeft(),
                                            QSize(m_frameW, m_frameH));
    pasteControlAt(source, source->geometryRect().topLeft() + delta);
}

// Pastes every copied item at once or nothing: the group keeps its layout, its top-left corner
// goes to the paste position as far as the page allows.
void QMyFrame::pasteGroup()
{
    const int n = m_table->currentPage();
    if (!m_table->isValidPage(n)) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0, tr("未添加页，请您先添加页！"));
        return;
    }
    int controls = m_table->pageControls(n).size();
    int qr = nextControlId(ControlKind::QRCode);
    QVector<QRect> rects;
    for (const QPointer<QMyWidget> &w : m_controlClipboard) {
        ++controls;
        qr += w->kind() == ControlKind::QRCode ? 1 : 0;
        rects.append(w->geometryRect());
    }
    if (controls > MaxControlsPerPage) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0, tr("每页添加的控件不能超过%1个！").arg(MaxControlsPerPage));
        return;
    }
    if (qr > MaxQRCodesPerPage) {
        m_messageBox->showMessage(QMyMessageBox::Warning, 0, 0, tr("每页添加的二维码不能超过%1个！").arg(MaxQRCodesPerPage));
        return;
    }
    for (const QMyDrawType *d : m_primitiveClipboard)
        rects.append(d->bounds());
    const QRect b = Arrange::bounds(rects);
    const QPoint delta = Arrange::clampMove(b, m_pastePos - b.topLeft(), QSize(m_frameW, m_frameH));
    // Copy the sources first: a paste on the same page appends to the lists being read.
    const QList<QPointer<QMyWidget>> sources = m_controlClipboard;
    const QList<QMyDrawType *> shapes = m_primitiveClipboard;
    QList<QMyWidget *> pasted;
    for (const QPointer<QMyWidget> &w : sources)
        pasted.append(pasteControlAt(w, w->geometryRect().topLeft() + delta));
    pasted.removeAll(nullptr);
    QList<QMyDrawType *> pastedShapes;
    for (const QMyDrawType *d : shapes) {
        auto *copy = new QMyDrawType(*d);
        copy->setSelected(false);
        copy->translate(delta.x(), delta.y());
        m_table->appendPrimitive(n, copy);
        pastedShapes.append(copy);
    }
    selectItems(pasted, pastedShapes);
    announceSelection();
    update();
}

QMyWidget *QMyFrame::pasteControlAt(QMyWidget *source, const QPoint &topLeft)
{
    const ControlKind kind = source->kind();
    const ControlRecord &s = source->record();
    QMyWidget *w = QMyWidget::create(s.className(), nextControlId(kind), this);
    if (!w)
        return nullptr;
    w->setW(s.w);
    w->setH(s.h);
    w->setText(s.text);
    w->setFontSize(s.fontSize);
    w->setHAlign(s.hAlign);
    w->setVAlign(s.vAlign);
    w->setFontColorNum(s.fontColorNum);
    w->setBackgroundColorNum(s.backgroundColorNum);
    w->setPressColorNum(s.pressColorNum);
    w->setImageNum(s.imageNum);
    w->setCutImageNum(s.cutImageNum);
    w->setBackgroundImageNum(s.backgroundImageNum);
    w->setBackgroundCutImageNum(s.backgroundCutImageNum);
    w->setPressImageNum(s.pressImageNum);
    w->setPressCutImageNum(s.pressCutImageNum);
    w->setProgType(s.progType);
    w->setStyle(s.style);
    w->setStyleColorNum(s.styleColorNum);
    w->setPointerX(s.pointerX);
    w->setPointerY(s.pointerY);
    w->setPointerW(s.pointerW);
    w->setPointerL(s.pointerL);
    w->setPointerAngle(s.pointerAngle);
    // A copy keeps its source's name where the page has none such, else gets a fresh one.
    QStringList taken;
    for (const QMyWidget *other : m_table->pageControls(m_table->currentPage()))
        taken << other->record().name;
    w->setName(Names::freshName(s.name, taken));
    m_table->appendControl(m_table->currentPage(), w);
    adoptControl(w);
    w->show();
    w->setPosition(topLeft.x(), topLeft.y());
    return w;
}

void QMyFrame::pastePrimitive(const QMyDrawType *source)
{
    const int n = m_table->currentPage();
    if (!m_table->isValidPage(n))
        return;
    auto *copy = new QMyDrawType(source->copyPlacedAt(m_pastePos, m_frameW, m_frameH));
    m_table->appendPrimitive(n, copy);
    selectItems({}, {copy});
    announceParent(copy);
    update();
}

void QMyFrame::deleteSelection()
{
    const int n = m_table->currentPage();
    const QList<QMyWidget *> doomed = m_table->selectedControls();
    for (QMyWidget *w : doomed) {
        if (m_table->pageOf(w) != n)
            continue;
        const ControlKind kind = w->kind();
        const int id = w->id();
        w->hide();
        m_table->destroyControl(w);
        const QList<QMyWidget *> &controls = m_table->pageControls(n);
        QVector<ControlRecord> records;
        records.reserve(controls.size());
        for (const QMyWidget *c : controls)
            records.append(c->record());
        renumberAfterRemoval(records, kind, id);
        for (int i = 0; i < controls.size(); ++i) {
            if (controls.at(i)->id() != records.at(i).id)
                controls.at(i)->setId(records.at(i).id);
        }
    }
    const QList<QMyDrawType *> shapes = m_table->selectedPrimitives();
    for (QMyDrawType *d : shapes) {
        if (m_table->pageOf(d) == n)
            m_table->destroyPrimitive(d);
    }
    update();
    announceParent(nullptr);
}

void QMyFrame::takePageFields(int n)
{
    m_pageImageNum = m_table->pageImageNum(n);
    m_pageBackgroundNum = m_table->pageBackgroundNum(n);
    m_helpLineNum = m_table->pageHelpLineNum(n);
    m_helpLineLeft = m_table->pageHelpLineLeft(n);
    m_helpLineRight = m_table->pageHelpLineRight(n);
    m_helpLineTop = m_table->pageHelpLineTop(n);
    m_helpLineBottom = m_table->pageHelpLineBottom(n);
}

void QMyFrame::showPage(int n)
{
    // Only pages whose widgets were made can have any on show.
    for (int i = 0; i < m_table->pageCount(); ++i) {
        if (i == n || !m_table->hasWidgets(i))
            continue;
        for (QMyWidget *w : m_table->pageControls(i)) {
            if (!w->isHidden())
                w->hide();
        }
    }
    m_table->setCurrentPage(n);
    for (QMyWidget *w : m_table->pageControls(n)) {
        w->setSelected(false);
        w->show();
    }
    m_table->clearSelection();
    m_move = GroupMove();
    m_drawing = nullptr;
    m_buttonDown = false;
    takePageFields(n);
    update();
    announceParent(nullptr);
}

QMyWidget *QMyFrame::makeControl(int n, const ControlRecord &r)
{
    QMyWidget *w = QMyWidget::create(r, this);
    if (!w)
        return nullptr;
    w->setSelected(false);
    adoptControl(w);
    w->setVisible(n == m_table->currentPage());
    return w;
}

void QMyFrame::fillPage(int n, const PageData &d)
{
    if (!m_table->isValidPage(n))
        return;
    m_table->setPageFields(n, d);
    m_table->appendPrimitivesOf(n, d);
    const bool shown = n == m_table->currentPage();
    if (shown) {
        for (const ControlRecord &r : d.controls)
            m_table->appendControl(n, makeControl(n, r));
        takePageFields(n);
        update();
    } else {
        m_table->setPendingControls(n, d.controls);
    }
}

PageData QMyFrame::copyPage(int n) const { return m_table->pageData(n); }

int QMyFrame::pastePage(const PageData &d)
{
    const int n = m_table->addPage();
    fillPage(n, d);
    showPage(n);
    return n;
}
