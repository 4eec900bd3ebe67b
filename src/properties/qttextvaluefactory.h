#pragma once

#include "qtabstracteditorfactory.h"
#include "qteditorbook.h"

#include <QString>

class QWidget;

// Editor bookkeeping shared by the image and colour factories. Editor is a widget with
// setValue(QString) (silent) and a valueChanged(QString) signal for the user's edits.
template <class Manager, class Editor>
class QtTextValueFactory : public QtAbstractEditorFactory<Manager> {
public:
    using QtAbstractEditorFactory<Manager>::QtAbstractEditorFactory;

    ~QtTextValueFactory() override
    {
        const auto editors = m_editors.propertyOfEditor.keys();
        for (Editor *editor : editors)
            QObject::disconnect(editor, nullptr, this, nullptr);
    }

    // Shows a value the manager took in every open editor of the property.
    void slotPropertyChanged(QtProperty *property, const QString &value)
    {
        const QList<Editor *> editors = m_editors.editors(property);
        for (Editor *editor : editors)
            editor->setValue(value);
    }

    // An editor reports the user's value.
    void slotSetValue(const QString &value)
    {
        QtProperty *property = m_editors.property(this->sender());
        // Asked of the managers' own lists: the property may already be gone.
        if (Manager *manager = this->propertyManager(property))
            manager->setValue(property, value);
    }

    void slotEditorDestroyed(QObject *editor) { m_editors.removeEditor(editor); }

    // The open editors of a property (what tests and the panel may look at).
    QList<Editor *> editorsOfProperty(QtProperty *property) const { return m_editors.editors(property); }

protected:
    void connectPropertyManager(Manager *manager) override
    {
        QObject::connect(manager, &Manager::valueChanged, this, &QtTextValueFactory::slotPropertyChanged);
        QObject::connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
                         &QtTextValueFactory::slotPropertyDestroyed);
    }

    void disconnectPropertyManager(Manager *manager) override
    {
        QObject::disconnect(manager, &Manager::valueChanged, this, &QtTextValueFactory::slotPropertyChanged);
        QObject::disconnect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
                            &QtTextValueFactory::slotPropertyDestroyed);
    }

    QWidget *createEditor(Manager *manager, QtProperty *property, QWidget *parent) override
    {
        Editor *editor = makeEditor(parent);
        m_editors.add(property, editor);
        editor->setValue(manager->value(property));
        QObject::connect(editor, &Editor::valueChanged, this, &QtTextValueFactory::slotSetValue);
        QObject::connect(editor, &QObject::destroyed, this, &QtTextValueFactory::slotEditorDestroyed);
        return editor;
    }

    virtual Editor *makeEditor(QWidget *parent) = 0;

private:
    // The property's editors are closing with its row; forget them now so that nothing reaches
    // a deleted property.
    void slotPropertyDestroyed(QtProperty *property) { m_editors.removeProperty(property); }

    QtEditorBook<Editor> m_editors;
};
