#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class QtProperty;

// Owns properties of one value type. Subclasses keep the values and report each real change;
// the base keeps the list of properties and deletes them.
class QtAbstractPropertyManager : public QObject {
    Q_OBJECT
public:
    explicit QtAbstractPropertyManager(QObject *parent = nullptr);
    ~QtAbstractPropertyManager() override;

    QSet<QtProperty *> properties() const;
    // Properties in the order they were added.
    QList<QtProperty *> propertiesInOrder() const { return m_properties; }
    bool ownsProperty(const QtProperty *property) const;
    // Deletes every property of this manager; browsers drop their rows.
    void clear();

    QtProperty *addProperty(const QString &name = QString());

signals:
    void propertyInserted(QtProperty *property, QtProperty *parent, QtProperty *after);
    void propertyChanged(QtProperty *property);
    void propertyRemoved(QtProperty *property, QtProperty *parent);
    void propertyDestroyed(QtProperty *property);

protected:
    virtual bool hasValue(const QtProperty *property) const;
    virtual QIcon valueIcon(const QtProperty *property) const;
    virtual QString valueText(const QtProperty *property) const;
    // Called once a new property is registered; the subclass gives it its initial value.
    virtual void initializeProperty(QtProperty *property) = 0;
    // Called while a property is being deleted; the subclass forgets its value.
    virtual void uninitializeProperty(QtProperty *property);
    virtual QtProperty *createProperty();

private:
    friend class QtProperty;
    void propertyDeleted(QtProperty *property);
    void propertyMayHaveChanged(QtProperty *property);

    QList<QtProperty *> m_properties;
};
