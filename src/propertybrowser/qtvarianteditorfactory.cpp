#include "qtvarianteditorfactory.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include <climits>

QtVariantEditorFactory::QtVariantEditorFactory(QObject *parent)
    : QtAbstractEditorFactory<QtVariantPropertyManager>(parent)
{
}

QtVariantEditorFactory::~QtVariantEditorFactory()
{
    // Editors outliving us must not call back.
    const auto editors = m_editors.propertyOfEditor.keys();
    for (QWidget *editor : editors)
        disconnect(editor, nullptr, this, nullptr);
}

void QtVariantEditorFactory::connectPropertyManager(QtVariantPropertyManager *manager)
{
    connect(manager, &QtVariantPropertyManager::valueChanged, this, &QtVariantEditorFactory::slotPropertyChanged);
    connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
            &QtVariantEditorFactory::slotPropertyDestroyed);
}

void QtVariantEditorFactory::disconnectPropertyManager(QtVariantPropertyManager *manager)
{
    disconnect(manager, &QtVariantPropertyManager::valueChanged, this, &QtVariantEditorFactory::slotPropertyChanged);
    disconnect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
               &QtVariantEditorFactory::slotPropertyDestroyed);
}

QWidget *QtVariantEditorFactory::createEditor(QtVariantPropertyManager *manager, QtProperty *property,
                                              QWidget *parent)
{
    const QVariant value = manager->value(property);
    QWidget *editor = nullptr;
    if (manager->propertyType(property) == QVariant::Int) {
        auto *spin = new QSpinBox(parent);
        spin->setRange(INT_MIN, INT_MAX);
        spin->setKeyboardTracking(false);
        spin->setValue(value.toInt());
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
                [this, spin](int v) { commit(spin, v); });
        editor = spin;
    } else if (manager->propertyType(property) == QVariant::String) {
        auto *edit = new QLineEdit(parent);
        edit->setText(value.toString());
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commit(edit, edit->text()); });
        editor = edit;
    } else {
        return nullptr;
    }
    m_editors.add(property, editor);
    connect(editor, &QObject::destroyed, this, &QtVariantEditorFactory::slotEditorDestroyed);
    return editor;
}

void QtVariantEditorFactory::commit(QWidget *editor, const QVariant &value)
{
    QtProperty *property = m_editors.property(editor);
    if (QtVariantPropertyManager *manager = propertyManager(property))
        manager->setValue(property, value);
}

void QtVariantEditorFactory::slotPropertyChanged(QtProperty *property, const QVariant &value)
{
    const QList<QWidget *> editors = m_editors.editors(property);
    for (QWidget *editor : editors) {
        const QSignalBlocker blocker(editor);
        if (auto *spin = qobject_cast<QSpinBox *>(editor))
            spin->setValue(value.toInt());
        else if (auto *edit = qobject_cast<QLineEdit *>(editor))
            edit->setText(value.toString());
    }
}

void QtVariantEditorFactory::slotPropertyDestroyed(QtProperty *property)
{
    m_editors.removeProperty(property);
}

void QtVariantEditorFactory::slotEditorDestroyed(QObject *editor)
{
    m_editors.removeEditor(editor);
}
