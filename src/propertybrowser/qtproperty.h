#pragma once

#include <QIcon>
#include <QMetaType>
#include <QString>

class QtAbstractPropertyManager;

// One row of a property browser: a name, a few descriptive texts and the manager that owns its
// value. Properties are created and deleted by their manager only.
class QtProperty {
public:
    virtual ~QtProperty();

    QtAbstractPropertyManager *propertyManager() const { return m_manager; }

    QString propertyName() const { return m_name; }
    void setPropertyName(const QString &name);
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &text);
    QString statusTip() const { return m_statusTip; }
    void setStatusTip(const QString &text);
    QString whatsThis() const { return m_whatsThis; }
    void setWhatsThis(const QString &text);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // Asked of the manager, which knows the value.
    bool hasValue() const;
    QIcon valueIcon() const;
    QString valueText() const;

protected:
    explicit QtProperty(QtAbstractPropertyManager *manager);
    // Tells the manager (and through it every browser) that something shown has changed.
    void propertyChanged();

private:
    friend class QtAbstractPropertyManager;

    QtAbstractPropertyManager *m_manager;
    QString m_name;
    QString m_toolTip;
    QString m_statusTip;
    QString m_whatsThis;
    bool m_enabled = true;
    bool m_modified = false;
};

Q_DECLARE_METATYPE(QtProperty *)
