// The window's standard keys. They act on the press, through QAction shortcuts, so a fast press
// that lets Ctrl go before the letter still counts, and a held key does not repeat the action.
// Text fields keep their own copy, paste, delete and select-all: Qt offers them the key first.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"

#include <QAction>
#include <QCursor>
#include <QToolButton>

namespace {

QString withKey(const QString &text, const QKeySequence &key)
{
    return QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
}

}  // namespace

void MainWindow::setupKeys()
{
    auto add = [this](const char *name, const QKeySequence &key, auto slot) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setAutoRepeat(false);
        addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_keyActions = {
        add("actionNewProject", QKeySequence::New, [this] { ui.btnNewPro->click(); }),
        add("actionImportProject", QKeySequence::Open, [this] { ui.btnLoadPro->click(); }),
        add("actionSaveProject", QKeySequence::Save, [this] { ui.btnSavePro->click(); }),
        add("actionSelectAll", QKeySequence::SelectAll, [this] {
            if (canvasKeysActive())
                m_frame->selectAllOnPage();
        }),
        add("actionDuplicate", QKeySequence(Qt::CTRL | Qt::Key_D), [this] {
            if (canvasKeysActive())
                m_frame->duplicateSelection();
        }),
        add("actionCopy", QKeySequence::Copy, [this] {
            if (canvasKeysActive())
                m_frame->slotCopyAction();
        }),
        add("actionPaste", QKeySequence::Paste, [this] {
            if (!canvasKeysActive())
                return;
            m_frame->setPastePos(m_frame->toModule(m_frame->mapFromGlobal(QCursor::pos())));
            m_frame->slotPasteAction();
        }),
        add("actionDelete", QKeySequence::Delete, [this] {
            if (canvasKeysActive())
                slotDelAction();
        }),
    };
}

bool MainWindow::canvasKeysActive() const
{
    return App::isProjectOpen() && !textEntryActive();
}

void MainWindow::retranslateKeys()
{
    const struct {
        QToolButton *button;
        QKeySequence key;
    } buttons[] = {
        {ui.btnNewPro, QKeySequence::New},
        {ui.btnLoadPro, QKeySequence::Open},
        {ui.btnSavePro, QKeySequence::Save},
    };
    for (const auto &b : buttons)
        b.button->setToolTip(withKey(b.button->text(), b.key));
}
