#pragma once

#include <QAction>
#include <QKeySequence>
#include <QWidget>

// An action of the whole window under this key, named for tests and the shortcut list.
inline QAction *addWindowAction(QWidget *window, const char *name, const QKeySequence &key)
{
    auto *a = new QAction(window);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    window->addAction(a);
    return a;
}
