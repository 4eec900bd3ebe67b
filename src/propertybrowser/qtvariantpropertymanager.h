#pragma once

#include "qtabstractpropertymanager.h"
#include "qtproperty.h"

#include <QHash>
#include <QVariant>

class QtVariantPropertyManager;

// A property whose value is a QVariant of a fixed type.
class QtVariantProperty : public QtProperty {
public:
    QVariant value() const;
    void setValue(const QVariant &value);
    int valueType() const;
    int propertyType() const;

protected:
    explicit QtVariantProperty(QtVariantPropertyManager *manager);

private:
    friend class QtVariantPropertyManager;
    QtVariantPropertyManager *m_variantManager;
};

// Text (QVariant::String) and whole-number (QVariant::Int) properties. Numbers have no limits:
// whoever listens to valueChanged decides what is acceptable.
class QtVariantPropertyManager : public QtAbstractPropertyManager {
    Q_OBJECT
public:
    explicit QtVariantPropertyManager(QObject *parent = nullptr);
    ~QtVariantPropertyManager() override;

    // A new property of propertyType, or none when the type is not supported.
    QtVariantProperty *addProperty(int propertyType, const QString &name = QString());
    QtVariantProperty *variantProperty(const QtProperty *property) const;

    QVariant value(const QtProperty *property) const;
    int valueType(const QtProperty *property) const;
    int propertyType(const QtProperty *property) const;
    virtual bool isPropertyTypeSupported(int propertyType) const;
    static int valueType(int propertyType);

public slots:
    // Converts value to the property's type; stores and reports it when it differs.
    virtual void setValue(QtProperty *property, const QVariant &value);

signals:
    void valueChanged(QtProperty *property, const QVariant &value);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;
    QtProperty *createProperty() override;

private:
    QHash<const QtProperty *, QVariant> m_values;
    int m_pendingType = QVariant::Invalid;
};
