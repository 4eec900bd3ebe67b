#pragma once

#include <QObject>

class QWidget;

// Keeps an editor in a property row from swallowing keys and wheel turns meant for the window:
// undo/redo shortcuts go to the window's actions, and a wheel turned over an unfocused editor
// scrolls the browser instead of changing the value.
class QtEditorGuard : public QObject {
public:
    using QObject::QObject;

    // Guards editor and every widget inside it.
    static void install(QWidget *editor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
