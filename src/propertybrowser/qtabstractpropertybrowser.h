#pragma once

#include "qtabstracteditorfactory.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QWidget>

class QtAbstractPropertyBrowser;

// A property as shown by one browser. Rows are flat: every item is at the top level.
class QtBrowserItem {
public:
    QtProperty *property() const { return m_property; }
    QtBrowserItem *parent() const { return nullptr; }
    QList<QtBrowserItem *> children() const { return {}; }
    QtAbstractPropertyBrowser *browser() const { return m_browser; }

private:
    friend class QtAbstractPropertyBrowser;
    QtBrowserItem(QtAbstractPropertyBrowser *browser, QtProperty *property)
        : m_browser(browser), m_property(property)
    {
    }

    QtAbstractPropertyBrowser *m_browser;
    QtProperty *m_property;
};

// Keeps the ordered list of shown properties, follows their managers (changes, deletion) and
// finds the editor factory of each manager. Subclasses lay the items out.
class QtAbstractPropertyBrowser : public QWidget {
    Q_OBJECT
public:
    explicit QtAbstractPropertyBrowser(QWidget *parent = nullptr);
    ~QtAbstractPropertyBrowser() override;

    QList<QtProperty *> properties() const;
    QList<QtBrowserItem *> items(QtProperty *property) const;
    QtBrowserItem *topLevelItem(QtProperty *property) const;
    QList<QtBrowserItem *> topLevelItems() const { return m_items; }
    // Takes every property off the browser (the properties themselves stay with their managers).
    void clear();

    template <class PropertyManager>
    void setFactoryForManager(PropertyManager *manager, QtAbstractEditorFactory<PropertyManager> *factory)
    {
        QtAbstractPropertyManager *abstractManager = manager;
        unsetFactoryForManager(abstractManager);
        if (!manager || !factory)
            return;
        factory->addPropertyManager(manager);
        m_factories.insert(abstractManager, factory);
        connect(factory, &QObject::destroyed, this, &QtAbstractPropertyBrowser::slotFactoryDestroyed,
                Qt::UniqueConnection);
        connect(manager, &QObject::destroyed, this, &QtAbstractPropertyBrowser::slotManagerDestroyed,
                Qt::UniqueConnection);
    }
    void unsetFactoryForManager(QtAbstractPropertyManager *manager);
    bool hasFactory(QtProperty *property) const;

    QtBrowserItem *currentItem() const { return m_currentItem; }
    void setCurrentItem(QtBrowserItem *item);

signals:
    void currentItemChanged(QtBrowserItem *current);

public slots:
    QtBrowserItem *addProperty(QtProperty *property);
    QtBrowserItem *insertProperty(QtProperty *property, QtProperty *afterProperty);
    void removeProperty(QtProperty *property);

protected:
    virtual void itemInserted(QtBrowserItem *item, QtBrowserItem *afterItem) = 0;
    // The item is still valid during the call and deleted right after.
    virtual void itemRemoved(QtBrowserItem *item) = 0;
    virtual void itemChanged(QtBrowserItem *item) = 0;
    // The editor for property from its manager's factory, or none when it cannot be edited.
    QWidget *createEditor(QtProperty *property, QWidget *parent);
    // Stops following managers; called by a subclass's destructor before its view goes.
    void detachManagers();

private:
    void slotPropertyDestroyed(QtProperty *property);
    void slotPropertyChanged(QtProperty *property);
    void slotFactoryDestroyed(QObject *factory);
    void slotManagerDestroyed(QObject *manager);
    void followManager(QtAbstractPropertyManager *manager);
    void releaseManager(QtAbstractPropertyManager *manager);

    QList<QtBrowserItem *> m_items;
    QMap<QtAbstractPropertyManager *, QtAbstractEditorFactoryBase *> m_factories;
    QHash<QtAbstractPropertyManager *, int> m_managerUse;
    QtBrowserItem *m_currentItem = nullptr;
};
