#include "qtvariantpropertymanager.h"

namespace {
class VariantProperty : public QtVariantProperty {
public:
    explicit VariantProperty(QtVariantPropertyManager *manager) : QtVariantProperty(manager) {}
};
}  // namespace

QtVariantProperty::QtVariantProperty(QtVariantPropertyManager *manager)
    : QtProperty(manager), m_variantManager(manager)
{
}

QVariant QtVariantProperty::value() const { return m_variantManager->value(this); }
void QtVariantProperty::setValue(const QVariant &value) { m_variantManager->setValue(this, value); }
int QtVariantProperty::valueType() const { return m_variantManager->valueType(this); }
int QtVariantProperty::propertyType() const { return m_variantManager->propertyType(this); }

QtVariantPropertyManager::QtVariantPropertyManager(QObject *parent) : QtAbstractPropertyManager(parent) {}

QtVariantPropertyManager::~QtVariantPropertyManager()
{
    // Our uninitializeProperty must still run for each property.
    clear();
}

QtVariantProperty *QtVariantPropertyManager::addProperty(int propertyType, const QString &name)
{
    if (!isPropertyTypeSupported(propertyType))
        return nullptr;
    m_pendingType = propertyType;
    QtProperty *property = QtAbstractPropertyManager::addProperty(name);
    m_pendingType = QVariant::Invalid;
    return static_cast<QtVariantProperty *>(property);
}

QtVariantProperty *QtVariantPropertyManager::variantProperty(const QtProperty *property) const
{
    return ownsProperty(property) ? static_cast<QtVariantProperty *>(const_cast<QtProperty *>(property)) : nullptr;
}

QVariant QtVariantPropertyManager::value(const QtProperty *property) const
{
    return m_values.value(property);
}

int QtVariantPropertyManager::valueType(const QtProperty *property) const
{
    return m_values.value(property).userType();
}

int QtVariantPropertyManager::propertyType(const QtProperty *property) const
{
    return m_values.contains(property) ? m_values.value(property).userType() : int(QVariant::Invalid);
}

bool QtVariantPropertyManager::isPropertyTypeSupported(int propertyType) const
{
    return propertyType == QVariant::String || propertyType == QVariant::Int;
}

int QtVariantPropertyManager::valueType(int propertyType)
{
    return (propertyType == QVariant::String || propertyType == QVariant::Int) ? propertyType
                                                                                : int(QVariant::Invalid);
}

void QtVariantPropertyManager::setValue(QtProperty *property, const QVariant &value)
{
    auto it = m_values.find(property);
    if (it == m_values.end())
        return;
    QVariant converted = value;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    if (!converted.convert(QMetaType(it->userType())))
        return;
#else
    if (!converted.convert(it->userType()))
        return;
#endif
    if (converted == *it)
        return;
    *it = converted;
    emit propertyChanged(property);
    emit valueChanged(property, converted);
}

QString QtVariantPropertyManager::valueText(const QtProperty *property) const
{
    const QVariant v = m_values.value(property);
    return v.userType() == QVariant::Int ? QString::number(v.toInt()) : v.toString();
}

void QtVariantPropertyManager::initializeProperty(QtProperty *property)
{
    m_values.insert(property, m_pendingType == QVariant::Int ? QVariant(0) : QVariant(QString()));
}

void QtVariantPropertyManager::uninitializeProperty(QtProperty *property)
{
    m_values.remove(property);
}

QtProperty *QtVariantPropertyManager::createProperty()
{
    // Plain addProperty(name) has no type to give: refuse it.
    if (m_pendingType == QVariant::Invalid)
        return nullptr;
    return new VariantProperty(this);
}
