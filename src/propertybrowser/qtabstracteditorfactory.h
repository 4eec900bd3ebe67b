#pragma once

#include "qtabstractpropertymanager.h"
#include "qtproperty.h"

#include <QObject>
#include <QSet>

class QWidget;

// What a browser needs of any factory: an editor for a property, and to be told when it stops
// using a manager.
class QtAbstractEditorFactoryBase : public QObject {
    Q_OBJECT
public:
    virtual QWidget *createEditor(QtProperty *property, QWidget *parent) = 0;

protected:
    explicit QtAbstractEditorFactoryBase(QObject *parent = nullptr) : QObject(parent) {}

    virtual void breakConnection(QtAbstractPropertyManager *manager) = 0;

protected slots:
    virtual void managerDestroyed(QObject *manager) = 0;

private:
    friend class QtAbstractPropertyBrowser;
};

// A factory of editors for the properties of one manager type. Subclasses create the widget and
// keep it and the manager in step.
template <class PropertyManager>
class QtAbstractEditorFactory : public QtAbstractEditorFactoryBase {
public:
    explicit QtAbstractEditorFactory(QObject *parent = nullptr) : QtAbstractEditorFactoryBase(parent) {}

    QWidget *createEditor(QtProperty *property, QWidget *parent) override
    {
        if (PropertyManager *manager = propertyManager(property))
            return createEditor(manager, property, parent);
        return nullptr;
    }

    void addPropertyManager(PropertyManager *manager)
    {
        if (!manager || m_managers.contains(manager))
            return;
        m_managers.insert(manager);
        connectPropertyManager(manager);
        connect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
    }

    void removePropertyManager(PropertyManager *manager)
    {
        if (!m_managers.remove(manager))
            return;
        disconnect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
        disconnectPropertyManager(manager);
    }

    QSet<PropertyManager *> propertyManagers() const { return m_managers; }

    // The manager of property if it is one of ours; looks at the manager's list rather than
    // the property, so a stale pointer is answered safely.
    PropertyManager *propertyManager(QtProperty *property) const
    {
        for (PropertyManager *manager : m_managers) {
            if (manager->ownsProperty(property))
                return manager;
        }
        return nullptr;
    }

protected:
    virtual void connectPropertyManager(PropertyManager *manager) = 0;
    virtual QWidget *createEditor(PropertyManager *manager, QtProperty *property, QWidget *parent) = 0;
    virtual void disconnectPropertyManager(PropertyManager *manager) = 0;

    void managerDestroyed(QObject *manager) override
    {
        for (PropertyManager *m : m_managers) {
            if (static_cast<QObject *>(m) == manager) {
                m_managers.remove(m);
                return;
            }
        }
    }

private:
    void breakConnection(QtAbstractPropertyManager *manager) override
    {
        for (PropertyManager *m : m_managers) {
            if (static_cast<QtAbstractPropertyManager *>(m) == manager) {
                removePropertyManager(m);
                return;
            }
        }
    }

    QSet<PropertyManager *> m_managers;
};
