#pragma once

#include "qtabstractpropertybrowser.h"

#include <QHash>
#include <QPointer>

class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class QtPropertyDelegate;

// Properties as rows of a two-column tree: label and value. Clicking a row opens its manager's
// editor in the value cell; the editor is deleted when another row is chosen, when editing ends
// (Enter, Escape, focus given to another widget of the window) or when the row goes.
class QtTreePropertyBrowser : public QtAbstractPropertyBrowser {
    Q_OBJECT
public:
    enum ResizeMode { Interactive, Stretch, Fixed, ResizeToContents };
    Q_ENUM(ResizeMode)

    explicit QtTreePropertyBrowser(QWidget *parent = nullptr);
    ~QtTreePropertyBrowser() override;

    ResizeMode resizeMode() const { return m_resizeMode; }
    void setResizeMode(ResizeMode mode);
    int indentation() const;
    void setIndentation(int indentation);
    bool rootIsDecorated() const;
    void setRootIsDecorated(bool show);
    bool alternatingRowColors() const;
    void setAlternatingRowColors(bool enable);
    bool isHeaderVisible() const;
    void setHeaderVisible(bool visible);
    // Width of the label column.
    int splitterPosition() const;
    void setSplitterPosition(int position);

    // Opens the editor of item's value, if its manager has a factory.
    void editItem(QtBrowserItem *item);

    // The view itself, for tests and for styling.
    QTreeWidget *treeWidget() const { return m_tree; }
    // The open editor, if any.
    QWidget *currentEditor() const { return m_editor; }

protected:
    void itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem) override;
    void itemRemoved(QtBrowserItem *item) override;
    void itemChanged(QtBrowserItem *item) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class QtPropertyDelegate;
    QWidget *openEditor(const QModelIndex &index, QWidget *parent);
    void editorClosing(QWidget *editor);
    void dropEditorQuietly();
    void updateRow(QTreeWidgetItem *row, QtProperty *property);
    void slotCurrentChanged(const QModelIndex &current);
    void slotPressed(const QModelIndex &index);
    void retranslate();

    QTreeWidget *m_tree = nullptr;
    QtPropertyDelegate *m_delegate = nullptr;
    ResizeMode m_resizeMode = Stretch;
    QHash<QtBrowserItem *, QTreeWidgetItem *> m_rowOfItem;
    QHash<QTreeWidgetItem *, QtBrowserItem *> m_itemOfRow;
    QPointer<QWidget> m_editor;
    QTreeWidgetItem *m_editorRow = nullptr;
};
