#pragma once

#include "qtabstracteditorfactory.h"
#include "qteditorbook.h"
#include "qtvariantpropertymanager.h"

class QLineEdit;
class QSpinBox;

// Editors for variant properties: a line edit for text, a spin box without limits for numbers.
// A text is handed to the manager when editing finishes (Enter or leaving the editor), a number
// at each step of the arrows and when typing finishes, so each edit arrives once.
class QtVariantEditorFactory : public QtAbstractEditorFactory<QtVariantPropertyManager> {
    Q_OBJECT
public:
    explicit QtVariantEditorFactory(QObject *parent = nullptr);
    ~QtVariantEditorFactory() override;

protected:
    void connectPropertyManager(QtVariantPropertyManager *manager) override;
    QWidget *createEditor(QtVariantPropertyManager *manager, QtProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(QtVariantPropertyManager *manager) override;

private:
    using QtAbstractEditorFactory<QtVariantPropertyManager>::createEditor;
    void slotPropertyChanged(QtProperty *property, const QVariant &value);
    void slotPropertyDestroyed(QtProperty *property);
    void slotEditorDestroyed(QObject *editor);
    void commit(QWidget *editor, const QVariant &value);

    QtEditorBook<QWidget> m_editors;
};
