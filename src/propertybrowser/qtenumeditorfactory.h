#pragma once

#include "qtabstracteditorfactory.h"
#include "qteditorbook.h"
#include "qtenumpropertymanager.h"

class QComboBox;

// A combo box of the choice's names; picking a name sets the index at once.
class QtEnumEditorFactory : public QtAbstractEditorFactory<QtEnumPropertyManager> {
    Q_OBJECT
public:
    explicit QtEnumEditorFactory(QObject *parent = nullptr);
    ~QtEnumEditorFactory() override;

protected:
    void connectPropertyManager(QtEnumPropertyManager *manager) override;
    QWidget *createEditor(QtEnumPropertyManager *manager, QtProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(QtEnumPropertyManager *manager) override;

private:
    using QtAbstractEditorFactory<QtEnumPropertyManager>::createEditor;
    void slotPropertyChanged(QtProperty *property, int value);
    void slotEnumNamesChanged(QtProperty *property, const QStringList &names);
    void slotPropertyDestroyed(QtProperty *property);
    void slotEditorDestroyed(QObject *editor);

    QtEditorBook<QComboBox> m_editors;
};
