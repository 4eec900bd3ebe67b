#include "qtproperty.h"

#include "qtabstractpropertymanager.h"

QtProperty::QtProperty(QtAbstractPropertyManager *manager) : m_manager(manager) {}

QtProperty::~QtProperty()
{
    m_manager->propertyDeleted(this);
}

void QtProperty::propertyChanged()
{
    m_manager->propertyMayHaveChanged(this);
}

void QtProperty::setPropertyName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    propertyChanged();
}

void QtProperty::setToolTip(const QString &text)
{
    if (m_toolTip == text)
        return;
    m_toolTip = text;
    propertyChanged();
}

void QtProperty::setStatusTip(const QString &text)
{
    if (m_statusTip == text)
        return;
    m_statusTip = text;
    propertyChanged();
}

void QtProperty::setWhatsThis(const QString &text)
{
    if (m_whatsThis == text)
        return;
    m_whatsThis = text;
    propertyChanged();
}

void QtProperty::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    propertyChanged();
}

void QtProperty::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    propertyChanged();
}

bool QtProperty::hasValue() const { return m_manager->hasValue(this); }
QIcon QtProperty::valueIcon() const { return m_manager->valueIcon(this); }
QString QtProperty::valueText() const { return m_manager->valueText(this); }
