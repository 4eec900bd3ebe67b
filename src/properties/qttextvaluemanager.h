#pragma once

#include "qtabstractpropertymanager.h"

#include <QMap>
#include <QString>

// A manager whose value is one text per property; the image and colour rows are built on it.
class QtTextValueManager : public QtAbstractPropertyManager {
    Q_OBJECT
public:
    explicit QtTextValueManager(QObject *parent = nullptr);
    ~QtTextValueManager() override;

public slots:
    // Unknown properties and unchanged values are ignored.
    void setValue(QtProperty *property, const QString &value);
    QString value(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, const QString &value);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    QMap<const QtProperty *, QString> m_values;
};
