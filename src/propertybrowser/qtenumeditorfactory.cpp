#include "qtenumeditorfactory.h"

#include <QComboBox>
#include <QSignalBlocker>

QtEnumEditorFactory::QtEnumEditorFactory(QObject *parent) : QtAbstractEditorFactory<QtEnumPropertyManager>(parent) {}

QtEnumEditorFactory::~QtEnumEditorFactory()
{
    const auto editors = m_editors.propertyOfEditor.keys();
    for (QComboBox *editor : editors)
        disconnect(editor, nullptr, this, nullptr);
}

void QtEnumEditorFactory::connectPropertyManager(QtEnumPropertyManager *manager)
{
    connect(manager, &QtEnumPropertyManager::valueChanged, this, &QtEnumEditorFactory::slotPropertyChanged);
    connect(manager, &QtEnumPropertyManager::enumNamesChanged, this, &QtEnumEditorFactory::slotEnumNamesChanged);
    connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
            &QtEnumEditorFactory::slotPropertyDestroyed);
}

void QtEnumEditorFactory::disconnectPropertyManager(QtEnumPropertyManager *manager)
{
    disconnect(manager, &QtEnumPropertyManager::valueChanged, this, &QtEnumEditorFactory::slotPropertyChanged);
    disconnect(manager, &QtEnumPropertyManager::enumNamesChanged, this,
               &QtEnumEditorFactory::slotEnumNamesChanged);
    disconnect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
               &QtEnumEditorFactory::slotPropertyDestroyed);
}

QWidget *QtEnumEditorFactory::createEditor(QtEnumPropertyManager *manager, QtProperty *property, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->addItems(manager->enumNames(property));
    combo->setCurrentIndex(manager->value(property));
    m_editors.add(property, combo);
    connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, combo](int index) {
        QtProperty *p = m_editors.property(combo);
        if (QtEnumPropertyManager *m = propertyManager(p))
            m->setValue(p, index);
    });
    connect(combo, &QObject::destroyed, this, &QtEnumEditorFactory::slotEditorDestroyed);
    return combo;
}

void QtEnumEditorFactory::slotPropertyChanged(QtProperty *property, int value)
{
    const QList<QComboBox *> editors = m_editors.editors(property);
    for (QComboBox *combo : editors) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(value);
    }
}

void QtEnumEditorFactory::slotEnumNamesChanged(QtProperty *property, const QStringList &names)
{
    const auto *manager = propertyManager(property);
    const QList<QComboBox *> editors = m_editors.editors(property);
    for (QComboBox *combo : editors) {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(names);
        combo->setCurrentIndex(manager ? manager->value(property) : -1);
    }
}

void QtEnumEditorFactory::slotPropertyDestroyed(QtProperty *property)
{
    m_editors.removeProperty(property);
}

void QtEnumEditorFactory::slotEditorDestroyed(QObject *editor)
{
    m_editors.removeEditor(editor);
}
