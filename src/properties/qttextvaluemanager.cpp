#include "qttextvaluemanager.h"

QtTextValueManager::QtTextValueManager(QObject *parent) : QtAbstractPropertyManager(parent) {}

QtTextValueManager::~QtTextValueManager()
{
    clear();
}

void QtTextValueManager::setValue(QtProperty *property, const QString &value)
{
    auto it = m_values.find(property);
    if (it == m_values.end() || *it == value)
        return;
    *it = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

QString QtTextValueManager::value(const QtProperty *property) const
{
    return m_values.value(property);
}

QString QtTextValueManager::valueText(const QtProperty *property) const
{
    return m_values.value(property);
}

void QtTextValueManager::initializeProperty(QtProperty *property)
{
    m_values.insert(property, QString());
}

void QtTextValueManager::uninitializeProperty(QtProperty *property)
{
    m_values.remove(property);
}
