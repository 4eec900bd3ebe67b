#include "qtabstractpropertymanager.h"

#include "qtproperty.h"

namespace {
// QtProperty's constructor is protected so that only managers make properties.
class PlainProperty : public QtProperty {
public:
    explicit PlainProperty(QtAbstractPropertyManager *manager) : QtProperty(manager) {}
};
}  // namespace

QtAbstractPropertyManager::QtAbstractPropertyManager(QObject *parent) : QObject(parent)
{
    // Lets signal spies and queued connections carry properties.
    qRegisterMetaType<QtProperty *>();
}

QtAbstractPropertyManager::~QtAbstractPropertyManager()
{
    clear();
}

QSet<QtProperty *> QtAbstractPropertyManager::properties() const
{
    return QSet<QtProperty *>(m_properties.cbegin(), m_properties.cend());
}

bool QtAbstractPropertyManager::ownsProperty(const QtProperty *property) const
{
    return m_properties.contains(const_cast<QtProperty *>(property));
}

void QtAbstractPropertyManager::clear()
{
    // Each deletion takes the property out of the list (propertyDeleted), and a slot may delete
    // further properties while we are here, so always take the current last one.
    while (!m_properties.isEmpty())
        delete m_properties.last();
}

QtProperty *QtAbstractPropertyManager::addProperty(const QString &name)
{
    QtProperty *property = createProperty();
    if (!property)
        return nullptr;
    property->m_name = name;
    m_properties.append(property);
    initializeProperty(property);
    return property;
}

bool QtAbstractPropertyManager::hasValue(const QtProperty *) const { return true; }
QIcon QtAbstractPropertyManager::valueIcon(const QtProperty *) const { return QIcon(); }
QString QtAbstractPropertyManager::valueText(const QtProperty *) const { return QString(); }
void QtAbstractPropertyManager::uninitializeProperty(QtProperty *) {}

QtProperty *QtAbstractPropertyManager::createProperty()
{
    return new PlainProperty(this);
}

void QtAbstractPropertyManager::propertyDeleted(QtProperty *property)
{
    if (!m_properties.contains(property))
        return;
    // Browsers and factories drop the property while its value can still be read.
    emit propertyDestroyed(property);
    uninitializeProperty(property);
    m_properties.removeOne(property);
}

void QtAbstractPropertyManager::propertyMayHaveChanged(QtProperty *property)
{
    if (m_properties.contains(property))
        emit propertyChanged(property);
}
