#include "qtabstractpropertybrowser.h"

QtAbstractPropertyBrowser::QtAbstractPropertyBrowser(QWidget *parent) : QWidget(parent) {}

QtAbstractPropertyBrowser::~QtAbstractPropertyBrowser()
{
    detachManagers();
    qDeleteAll(m_items);
}

void QtAbstractPropertyBrowser::detachManagers()
{
    for (auto it = m_managerUse.cbegin(); it != m_managerUse.cend(); ++it)
        disconnect(it.key(), nullptr, this, nullptr);
    m_managerUse.clear();
    for (auto it = m_factories.cbegin(); it != m_factories.cend(); ++it) {
        disconnect(it.key(), nullptr, this, nullptr);
        disconnect(it.value(), nullptr, this, nullptr);
    }
    m_factories.clear();
}

QList<QtProperty *> QtAbstractPropertyBrowser::properties() const
{
    QList<QtProperty *> list;
    for (QtBrowserItem *item : m_items)
        list.append(item->property());
    return list;
}

QList<QtBrowserItem *> QtAbstractPropertyBrowser::items(QtProperty *property) const
{
    if (QtBrowserItem *item = topLevelItem(property))
        return {item};
    return {};
}

QtBrowserItem *QtAbstractPropertyBrowser::topLevelItem(QtProperty *property) const
{
    for (QtBrowserItem *item : m_items) {
        if (item->property() == property)
            return item;
    }
    return nullptr;
}

void QtAbstractPropertyBrowser::clear()
{
    while (!m_items.isEmpty())
        removeProperty(m_items.last()->property());
}

void QtAbstractPropertyBrowser::unsetFactoryForManager(QtAbstractPropertyManager *manager)
{
    QtAbstractEditorFactoryBase *factory = m_factories.take(manager);
    if (!factory)
        return;
    // Keep the factory's destroyed connection while it still serves another of our managers.
    if (!m_factories.values().contains(factory))
        disconnect(factory, &QObject::destroyed, this, &QtAbstractPropertyBrowser::slotFactoryDestroyed);
    factory->breakConnection(manager);
}

bool QtAbstractPropertyBrowser::hasFactory(QtProperty *property) const
{
    return property && m_factories.contains(property->propertyManager());
}

void QtAbstractPropertyBrowser::setCurrentItem(QtBrowserItem *item)
{
    if (item == m_currentItem || (item && !m_items.contains(item)))
        return;
    m_currentItem = item;
    emit currentItemChanged(item);
}

QtBrowserItem *QtAbstractPropertyBrowser::addProperty(QtProperty *property)
{
    return insertProperty(property, m_items.isEmpty() ? nullptr : m_items.last()->property());
}

QtBrowserItem *QtAbstractPropertyBrowser::insertProperty(QtProperty *property, QtProperty *afterProperty)
{
    if (!property || topLevelItem(property))
        return nullptr;
    int pos = 0;
    QtBrowserItem *afterItem = nullptr;
    if (afterProperty) {
        afterItem = topLevelItem(afterProperty);
        if (!afterItem)
            return nullptr;
        pos = m_items.indexOf(afterItem) + 1;
    }
    auto *item = new QtBrowserItem(this, property);
    m_items.insert(pos, item);
    followManager(property->propertyManager());
    itemInserted(item, afterItem);
    return item;
}

void QtAbstractPropertyBrowser::removeProperty(QtProperty *property)
{
    QtBrowserItem *item = topLevelItem(property);
    if (!item)
        return;
    if (item == m_currentItem)
        setCurrentItem(nullptr);
    itemRemoved(item);
    m_items.removeOne(item);
    delete item;
    releaseManager(property->propertyManager());
}

QWidget *QtAbstractPropertyBrowser::createEditor(QtProperty *property, QWidget *parent)
{
    QtAbstractEditorFactoryBase *factory = m_factories.value(property->propertyManager());
    return factory ? factory->createEditor(property, parent) : nullptr;
}

void QtAbstractPropertyBrowser::slotPropertyDestroyed(QtProperty *property)
{
    removeProperty(property);
}

void QtAbstractPropertyBrowser::slotPropertyChanged(QtProperty *property)
{
    if (QtBrowserItem *item = topLevelItem(property))
        itemChanged(item);
}

void QtAbstractPropertyBrowser::slotFactoryDestroyed(QObject *factory)
{
    for (auto it = m_factories.begin(); it != m_factories.end();) {
        if (static_cast<QObject *>(it.value()) == factory)
            it = m_factories.erase(it);
        else
            ++it;
    }
}

void QtAbstractPropertyBrowser::slotManagerDestroyed(QObject *manager)
{
    for (auto it = m_factories.begin(); it != m_factories.end();) {
        if (static_cast<QObject *>(it.key()) == manager)
            it = m_factories.erase(it);
        else
            ++it;
    }
}

void QtAbstractPropertyBrowser::followManager(QtAbstractPropertyManager *manager)
{
    if (m_managerUse[manager]++ > 0)
        return;
    connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
            &QtAbstractPropertyBrowser::slotPropertyDestroyed);
    connect(manager, &QtAbstractPropertyManager::propertyChanged, this,
            &QtAbstractPropertyBrowser::slotPropertyChanged);
}

void QtAbstractPropertyBrowser::releaseManager(QtAbstractPropertyManager *manager)
{
    auto it = m_managerUse.find(manager);
    if (it == m_managerUse.end() || --it.value() > 0)
        return;
    m_managerUse.erase(it);
    disconnect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
               &QtAbstractPropertyBrowser::slotPropertyDestroyed);
    disconnect(manager, &QtAbstractPropertyManager::propertyChanged, this,
               &QtAbstractPropertyBrowser::slotPropertyChanged);
}
