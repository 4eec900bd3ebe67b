#include "qtenumpropertymanager.h"

QtEnumPropertyManager::QtEnumPropertyManager(QObject *parent) : QtAbstractPropertyManager(parent) {}

QtEnumPropertyManager::~QtEnumPropertyManager()
{
    clear();
}

int QtEnumPropertyManager::value(const QtProperty *property) const
{
    return m_data.value(property).value;
}

QStringList QtEnumPropertyManager::enumNames(const QtProperty *property) const
{
    return m_data.value(property).names;
}

void QtEnumPropertyManager::setValue(QtProperty *property, int value)
{
    auto it = m_data.find(property);
    if (it == m_data.end() || value < 0 || value >= it->names.size() || value == it->value)
        return;
    it->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtEnumPropertyManager::setEnumNames(QtProperty *property, const QStringList &names)
{
    auto it = m_data.find(property);
    if (it == m_data.end() || it->names == names)
        return;
    it->names = names;
    it->value = names.isEmpty() ? -1 : 0;
    const int value = it->value;
    emit enumNamesChanged(property, names);
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

QString QtEnumPropertyManager::valueText(const QtProperty *property) const
{
    const Data data = m_data.value(property);
    return data.names.value(data.value);
}

void QtEnumPropertyManager::initializeProperty(QtProperty *property)
{
    m_data.insert(property, Data());
}

void QtEnumPropertyManager::uninitializeProperty(QtProperty *property)
{
    m_data.remove(property);
}
