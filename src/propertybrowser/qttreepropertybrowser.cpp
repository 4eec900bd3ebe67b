#include "qttreepropertybrowser.h"

#include "qteditorguard.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int LabelColumn = 0;
constexpr int ValueColumn = 1;

bool isInside(const QWidget *widget, const QWidget *container)
{
    // Walks across window boundaries too, so a combo box's popup counts as part of its editor.
    for (; widget; widget = widget->parentWidget()) {
        if (widget == container)
            return true;
    }
    return false;
}
// The view, with its index lookup made reachable.
class PropertyTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    using QTreeWidget::itemFromIndex;
};
}  // namespace

// Asks the browser for editors and draws the light grid between cells. Values are written by the
// editors through their factories, so the model side of the delegate does nothing.
class QtPropertyDelegate : public QStyledItemDelegate {
public:
    QtPropertyDelegate(QtTreePropertyBrowser *browser, int rowHeight)
        : QStyledItemDelegate(browser), m_browser(browser), m_rowHeight(rowHeight)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        return m_browser->openEditor(index, parent);
    }
    void setEditorData(QWidget *, const QModelIndex &) const override {}
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        m_browser->editorClosing(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(qMax(size.height(), m_rowHeight));
        size.rwidth() += 8;  // air beside the grid line
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid).lighter(130));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        if (index.column() == LabelColumn)
            painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        // A dialog opened from the editor (colour picker, message) or a popup takes the focus for
        // a moment; the editor stays open for its answer.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    QtTreePropertyBrowser *m_browser;
    int m_rowHeight;
};

QtTreePropertyBrowser::QtTreePropertyBrowser(QWidget *parent) : QtAbstractPropertyBrowser(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new PropertyTree(this);
    m_tree->setObjectName(QStringLiteral("propertyTree"));
    m_tree->setColumnCount(2);
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setAlternatingRowColors(true);
    layout->addWidget(m_tree);

    const int rowHeight = qMax(QSpinBox().sizeHint().height(), QComboBox().sizeHint().height());
    m_delegate = new QtPropertyDelegate(this, rowHeight);
    m_tree->setItemDelegate(m_delegate);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &QtTreePropertyBrowser::slotCurrentChanged);
    connect(m_tree, &QAbstractItemView::pressed, this, &QtTreePropertyBrowser::slotPressed);
    setResizeMode(Stretch);
    retranslate();
}

QtTreePropertyBrowser::~QtTreePropertyBrowser()
{
    qApp->removeEventFilter(this);
    // Managers and factories often are our children and are deleted after us: stop listening to
    // them before the rows go.
    detachManagers();
    if (m_editor)
        dropEditorQuietly();
}

void QtTreePropertyBrowser::retranslate()
{
    m_tree->setHeaderLabels({tr("属性"), tr("值")});
}

void QtTreePropertyBrowser::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QtAbstractPropertyBrowser::changeEvent(event);
}

void QtTreePropertyBrowser::setResizeMode(ResizeMode mode)
{
    m_resizeMode = mode;
    QHeaderView::ResizeMode headerMode = QHeaderView::Stretch;
    switch (mode) {
    case Interactive: headerMode = QHeaderView::Interactive; break;
    case Stretch: headerMode = QHeaderView::Stretch; break;
    case Fixed: headerMode = QHeaderView::Fixed; break;
    case ResizeToContents: headerMode = QHeaderView::ResizeToContents; break;
    }
    m_tree->header()->setStretchLastSection(mode != Stretch);
    m_tree->header()->setSectionResizeMode(headerMode);
}

int QtTreePropertyBrowser::indentation() const { return m_tree->indentation(); }
void QtTreePropertyBrowser::setIndentation(int indentation) { m_tree->setIndentation(indentation); }
bool QtTreePropertyBrowser::rootIsDecorated() const { return m_tree->rootIsDecorated(); }
void QtTreePropertyBrowser::setRootIsDecorated(bool show) { m_tree->setRootIsDecorated(show); }
bool QtTreePropertyBrowser::alternatingRowColors() const { return m_tree->alternatingRowColors(); }
void QtTreePropertyBrowser::setAlternatingRowColors(bool enable) { m_tree->setAlternatingRowColors(enable); }
bool QtTreePropertyBrowser::isHeaderVisible() const { return !m_tree->isHeaderHidden(); }
void QtTreePropertyBrowser::setHeaderVisible(bool visible) { m_tree->setHeaderHidden(!visible); }
int QtTreePropertyBrowser::splitterPosition() const { return m_tree->header()->sectionSize(LabelColumn); }
void QtTreePropertyBrowser::setSplitterPosition(int position) { m_tree->header()->resizeSection(LabelColumn, position); }

void QtTreePropertyBrowser::editItem(QtBrowserItem *item)
{
    QTreeWidgetItem *row = m_rowOfItem.value(item);
    if (!row)
        return;
    m_tree->setCurrentItem(row, ValueColumn);
    if (m_editorRow != row && (row->flags() & Qt::ItemIsEditable))
        m_tree->editItem(row, ValueColumn);
}

void QtTreePropertyBrowser::itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem)
{
    auto *row = new QTreeWidgetItem;
    QTreeWidgetItem *afterRow = m_rowOfItem.value(afterItem);
    m_tree->insertTopLevelItem(afterRow ? m_tree->indexOfTopLevelItem(afterRow) + 1 : 0, row);
    m_rowOfItem.insert(item, row);
    m_itemOfRow.insert(row, item);
    updateRow(row, item->property());
}

void QtTreePropertyBrowser::itemRemoved(QtBrowserItem *item)
{
    QTreeWidgetItem *row = m_rowOfItem.take(item);
    if (!row)
        return;
    m_itemOfRow.remove(row);
    if (m_editor && m_editorRow == row)
        dropEditorQuietly();
    delete row;
}

void QtTreePropertyBrowser::itemChanged(QtBrowserItem *item)
{
    if (QTreeWidgetItem *row = m_rowOfItem.value(item))
        updateRow(row, item->property());
}

void QtTreePropertyBrowser::updateRow(QTreeWidgetItem *row, QtProperty *property)
{
    row->setText(LabelColumn, property->propertyName());
    row->setText(ValueColumn, property->valueText());
    row->setIcon(ValueColumn, property->valueIcon());
    row->setToolTip(LabelColumn, property->toolTip());
    row->setToolTip(ValueColumn, property->toolTip().isEmpty() ? property->valueText() : property->toolTip());
    row->setStatusTip(LabelColumn, property->statusTip());
    row->setWhatsThis(LabelColumn, property->whatsThis());
    Qt::ItemFlags flags = Qt::ItemIsSelectable;
    if (property->isEnabled())
        flags |= Qt::ItemIsEnabled;
    if (property->isEnabled() && hasFactory(property))
        flags |= Qt::ItemIsEditable;
    row->setFlags(flags);
}

QWidget *QtTreePropertyBrowser::openEditor(const QModelIndex &index, QWidget *parent)
{
    QTreeWidgetItem *row = static_cast<PropertyTree *>(m_tree)->itemFromIndex(index);
    QtBrowserItem *item = m_itemOfRow.value(row);
    if (!item || index.column() != ValueColumn)
        return nullptr;
    QWidget *editor = createEditor(item->property(), parent);
    if (!editor)
        return nullptr;
    editor->setAutoFillBackground(true);
    QtEditorGuard::install(editor);
    m_editor = editor;
    m_editorRow = row;
    // Clicks elsewhere in the window end the edit even on widgets that never take the focus
    // (the canvas), so a typed value is never lost to a selection change.
    qApp->installEventFilter(this);
    return editor;
}

void QtTreePropertyBrowser::editorClosing(QWidget *editor)
{
    if (editor != m_editor)
        return;
    m_editor = nullptr;
    m_editorRow = nullptr;
    qApp->removeEventFilter(this);
}

void QtTreePropertyBrowser::dropEditorQuietly()
{
    // The row is going: whatever the editor still holds has no property to go to. Take the focus
    // away with its signals blocked so that no focus-out commit reaches a factory.
    QWidget *editor = m_editor;
    QList<QObject *> objects = editor->findChildren<QObject *>();
    objects.prepend(editor);
    QList<bool> wasBlocked;
    for (QObject *object : objects)
        wasBlocked.append(object->blockSignals(true));
    if (QWidget *focus = QApplication::focusWidget(); focus && isInside(focus, editor))
        focus->clearFocus();
    editor->hide();
    for (int i = 0; i < objects.size(); ++i)
        objects.at(i)->blockSignals(wasBlocked.at(i));
    editorClosing(editor);
    editor->deleteLater();
}

void QtTreePropertyBrowser::slotCurrentChanged(const QModelIndex &current)
{
    QTreeWidgetItem *row = static_cast<PropertyTree *>(m_tree)->itemFromIndex(current);
    setCurrentItem(m_itemOfRow.value(row));
    if (!row)
        return;
    // Keep the current cell in the value column, where the view closes the editor it holds when
    // another row becomes current.
    if (current.column() != ValueColumn) {
        m_tree->setCurrentItem(row, ValueColumn);
        return;
    }
    if (m_editorRow != row && (row->flags() & Qt::ItemIsEditable))
        m_tree->editItem(row, ValueColumn);
}

void QtTreePropertyBrowser::slotPressed(const QModelIndex &index)
{
    QTreeWidgetItem *row = static_cast<PropertyTree *>(m_tree)->itemFromIndex(index);
    if (row && m_editorRow != row && (row->flags() & Qt::ItemIsEditable))
        m_tree->editItem(row, ValueColumn);
}

bool QtTreePropertyBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && m_editor && watched->isWidgetType()) {
        auto *target = static_cast<QWidget *>(watched);
        QWidget *focus = QApplication::focusWidget();
        if (target->window() == window() && !isInside(target, m_editor) && focus && isInside(focus, m_editor))
            focus->clearFocus();
    }
    return QtAbstractPropertyBrowser::eventFilter(watched, event);
}
