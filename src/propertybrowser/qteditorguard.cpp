#include "qteditorguard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

void QtEditorGuard::install(QWidget *editor)
{
    auto *guard = new QtEditorGuard(editor);
    editor->installEventFilter(guard);
    const QList<QWidget *> children = editor->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(guard);
}

bool QtEditorGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Not accepting the override lets the shortcut reach the window.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::Wheel: {
        auto *widget = static_cast<QWidget *>(watched);
        if (!widget->hasFocus()) {
            // Ignored, the wheel event travels on to the parent (the browser's viewport).
            event->ignore();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
