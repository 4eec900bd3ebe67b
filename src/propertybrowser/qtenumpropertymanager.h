#pragma once

#include "qtabstractpropertymanager.h"

#include <QHash>
#include <QStringList>

// A choice among names; the value is the index of the chosen name, -1 while there are none.
class QtEnumPropertyManager : public QtAbstractPropertyManager {
    Q_OBJECT
public:
    explicit QtEnumPropertyManager(QObject *parent = nullptr);
    ~QtEnumPropertyManager() override;

    int value(const QtProperty *property) const;
    QStringList enumNames(const QtProperty *property) const;

public slots:
    // An index outside the names is ignored.
    void setValue(QtProperty *property, int value);
    // New names choose the first of them (index 0), reported as a change even when the index
    // was already 0: the meaning of the value has changed.
    void setEnumNames(QtProperty *property, const QStringList &names);

signals:
    void valueChanged(QtProperty *property, int value);
    void enumNamesChanged(QtProperty *property, const QStringList &names);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    struct Data {
        int value = -1;
        QStringList names;
    };
    QHash<const QtProperty *, Data> m_data;
};
