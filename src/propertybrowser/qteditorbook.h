#pragma once

#include "qtproperty.h"

#include <QHash>
#include <QList>

class QWidget;

// The open editors of a factory, by property and by widget. Factories show a manager's change in
// every editor of the property and route an editor's edit to its property.
template <class Editor>
class QtEditorBook {
public:
    void add(QtProperty *property, Editor *editor)
    {
        editorsOfProperty[property].append(editor);
        propertyOfEditor.insert(editor, property);
    }

    QList<Editor *> editors(QtProperty *property) const { return editorsOfProperty.value(property); }

    QtProperty *property(const QObject *editor) const
    {
        for (auto it = propertyOfEditor.cbegin(); it != propertyOfEditor.cend(); ++it) {
            if (static_cast<const QObject *>(it.key()) == editor)
                return it.value();
        }
        return nullptr;
    }

    // An editor was destroyed: only its address is used.
    void removeEditor(const QObject *editor)
    {
        for (auto it = propertyOfEditor.begin(); it != propertyOfEditor.end(); ++it) {
            if (static_cast<const QObject *>(it.key()) != editor)
                continue;
            QList<Editor *> &list = editorsOfProperty[it.value()];
            list.removeAll(it.key());
            if (list.isEmpty())
                editorsOfProperty.remove(it.value());
            propertyOfEditor.erase(it);
            return;
        }
    }

    // A property went away: its editors (already closing) are forgotten.
    void removeProperty(QtProperty *property)
    {
        const QList<Editor *> list = editorsOfProperty.take(property);
        for (Editor *editor : list)
            propertyOfEditor.remove(editor);
    }

    QHash<QtProperty *, QList<Editor *>> editorsOfProperty;
    QHash<Editor *, QtProperty *> propertyOfEditor;
};
