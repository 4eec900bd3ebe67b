// Clipboard, delete and page operations of the canvas.
#include "qmyframe.h"

#include "pagetable.h"
#include "qmywidget.h"

void QMyFrame::slotCopyAction()
{
    m_controlClipboard = m_selectedControl;
    m_primitiveClipboard = m_selectedPrimitive;
}

void QMyFrame::slotPasteAction()
{
    if (m_controlClipboard)
        pasteControl(m_controlClipboard);
    else if (m_primitiveClipboard)
        pastePrimitive(m_primitiveClipboard);
}

void QMyFrame::slotDelAction()
{
    if (m_controlClipboard && m_controlClipboard == m_selectedControl)
        m_controlClipboard = nullptr;
    if (m_primitiveClipboard && m_primitiveClipboard == m_selectedPrimitive)
        m_primitiveClipboard = nullptr;
    emit s_delAction();
}

void QMyFrame::pasteControl(QMyWidget *source)
{
    const ControlKind kind = source->kind();
    if (!checkRoomFor(kind))
        return;
    const ControlRecord &s = source->record();
    QMyWidget *w = QMyWidget::create(s.className(), nextControlId(kind), this);
    if (!w)
        return;
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
    m_table->appendControl(m_table->currentPage(), w);
    adoptControl(w);
    w->show();
    // Flush with the far edge when the copy would not fit; a control wider than the page
    // goes to 0.
    const int x = qMax(0, qMin(m_pastePos.x(), width() - w->width()));
    const int y = qMax(0, qMin(m_pastePos.y(), height() - w->height()));
    w->setPosition(x, y);
}

void QMyFrame::pastePrimitive(const QMyDrawType *source)
{
    const int n = m_table->currentPage();
    if (!m_table->isValidPage(n))
        return;
    auto *copy = new QMyDrawType(source->copyPlacedAt(m_pastePos, width(), height()));
    for (QMyDrawType *d : m_table->pagePrimitives(n))
        d->setSelected(false);
    copy->setSelected(true);
    m_table->appendPrimitive(n, copy);
    announceParent(copy);
    update();
}

void QMyFrame::deleteSelection()
{
    const int n = m_table->currentPage();
    QMyWidget *w = m_selectedControl;
    if (w && m_table->pageOf(w) == n && w->isSelected()) {
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
    QMyDrawType *d = m_selectedPrimitive;
    if (d && m_table->pageOf(d) == n && d->selected())
        m_table->destroyPrimitive(d);
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
    for (int i = 0; i < m_table->pageCount(); ++i) {
        for (QMyWidget *w : m_table->pageControls(i)) {
            if (i == n) {
                w->setSelected(false);
                w->show();
            } else {
                w->hide();
            }
        }
    }
    m_table->setCurrentPage(n);
    m_drawing = nullptr;
    m_buttonDown = false;
    takePageFields(n);
    update();
    announceParent(nullptr);
}

void QMyFrame::fillPage(int n, const PageData &d)
{
    if (!m_table->isValidPage(n))
        return;
    m_table->setPageFields(n, d);
    m_table->appendPrimitivesOf(n, d);
    const bool shown = n == m_table->currentPage();
    for (const ControlRecord &r : d.controls) {
        QMyWidget *w = QMyWidget::create(r, this);
        if (!w)
            continue;
        w->setSelected(false);
        m_table->appendControl(n, w);
        adoptControl(w);
        w->setVisible(shown);
    }
    if (shown) {
        takePageFields(n);
        update();
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
