// The property panel with several controls and primitives selected: the rows they share, and
// an edit that goes to all of them under the rules each single edit follows.
#include "propertypanel.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "mainwindow.h"
#include "qttreepropertybrowser.h"

bool PropertyPanel::severalSelected() const
{
    return m_window->pageTable()->selectionSize() >= 2;
}

void PropertyPanel::followSelection()
{
    if (severalSelected()) {
        showSelection();
        return;
    }
    if (!m_selection)
        return;
    // Down to one item or none: shown as if it had been picked alone.
    PageTable *table = m_window->pageTable();
    m_selection = false;
    if (table->selectedControls().size() == 1) {
        slotRecvWnd(table->selectedControls().first());
    } else if (table->selectedPrimitives().size() == 1) {
        QMyDrawType *d = table->selectedPrimitives().first();
        slotRecvParent(d->drawType(), d);
    } else {
        slotRecvParent(0, nullptr);
    }
}

void PropertyPanel::showSelection()
{
    m_rebuildQueued = false;
    clearPropertyPanel();
    m_curWidget = nullptr;
    m_curDraw = nullptr;
    m_sharedRows.clear();
    if (!severalSelected())
        return;
    m_selection = true;
    PageTable *table = m_window->pageTable();
    QVector<QVector<PropertyRow>> lists;
    for (const QMyWidget *w : table->selectedControls())
        lists.append(PropertyRows::controlRows(w->kind()));
    for (const QMyDrawType *d : table->selectedPrimitives())
        lists.append(PropertyRows::primitiveRows(d->drawType()));
    m_sharedRows = PropertyRows::sharedRows(lists);
    for (const PropertyRow &row : qAsConst(m_sharedRows)) {
        bool mixed = false;
        sharedValue(row.key, &mixed);
        if (mixed)
            m_mixed.insert(row.key);
    }
    PropertyRow header;
    header.type = RowType::ReadOnlyText;
    header.label = QT_TRANSLATE_NOOP("MainWindow", "类型");
    addRows(QVector<PropertyRow>{header} + m_sharedRows, Target::Selection);
}

QString PropertyPanel::selectionSummary() const
{
    return tr("%1 个对象").arg(m_window->pageTable()->selectionSize());
}

QString PropertyPanel::sharedValue(const QString &key, bool *mixed) const
{
    PageTable *table = m_window->pageTable();
    QStringList values;
    for (const QMyWidget *w : table->selectedControls())
        values << PropertyEdit::controlValue(w->record(), key);
    for (const QMyDrawType *d : table->selectedPrimitives())
        values << PropertyEdit::primitiveValue(*d, key);
    *mixed = false;
    for (const QString &v : qAsConst(values)) {
        if (v != values.first()) {
            *mixed = true;
            return QString();
        }
    }
    return values.value(0);
}

// Every item is judged first; one refusal refuses the edit for all, and nothing changes.
void PropertyPanel::editSelection(const QString &key, QString value)
{
    const PropertyRow *row = PropertyRows::find(m_sharedRows, key);
    if (!row)
        return;
    if (row->type == RowType::Number) {
        bool ok = false;
        const int n = value.trimmed().toInt(&ok);
        if (!ok) {
            if (!value.trimmed().isEmpty())
                message(tr("请输入整数！"));
            rebuildLater();
            return;
        }
        value = QString::number(n);
    }
    PageTable *table = m_window->pageTable();
    const QList<QMyWidget *> controls = table->selectedControls();
    const QList<QMyDrawType *> primitives = table->selectedPrimitives();
    const EditContext ctx = context();
    QVector<ControlRecord> records;
    QVector<QMyDrawType> shapes;
    QString notice;
    bool changed = false;
    const auto judge = [&](const EditOutcome &o) {
        if (o.status == EditOutcome::Refused || o.status == EditOutcome::UnknownKey) {
            if (!o.message.isEmpty())
                message(o.message);
            rebuildLater();
            return false;
        }
        if (notice.isEmpty())
            notice = o.message;
        changed = changed || o.changed();
        return true;
    };
    for (const QMyWidget *w : controls) {
        ControlRecord rec = w->record();
        if (!judge(PropertyEdit::editControl(rec, key, value, ctx)))
            return;
        records.append(rec);
    }
    for (const QMyDrawType *d : primitives) {
        QMyDrawType shape = *d;
        if (!judge(PropertyEdit::editPrimitive(shape, key, value, ctx)))
            return;
        shapes.append(shape);
    }
    // All in this one event, so that the history takes them as one change.
    for (int i = 0; i < controls.size(); ++i) {
        if (!(controls.at(i)->record() == records.at(i)))
            controls.at(i)->setRecord(records.at(i));
    }
    for (int i = 0; i < primitives.size(); ++i)
        *primitives.at(i) = shapes.at(i);
    if (!notice.isEmpty())
        message(notice);
    if (changed)
        m_window->canvas()->update();
    rebuildLater();
}
