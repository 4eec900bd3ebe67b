// The window's standard keys. They act on the press, through QAction shortcuts, so a fast press
// that lets Ctrl go before the letter still counts, and a held key does not repeat the action.
// Text fields keep their own copy, paste, delete and select-all: Qt offers them the key first.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "windowaction.h"

#include <QAction>
#include <QCursor>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>

QString MainWindow::withShortcut(const QString &text, const QKeySequence &key)
{
    return QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
}

void MainWindow::setupKeys()
{
    auto add = [this](const char *name, const QKeySequence &key, auto slot) {
        QAction *a = addWindowAction(this, name, key);
        a->setAutoRepeat(false);
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
    setupPageMoves();
    setupRecentProjects();
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
        b.button->setToolTip(withShortcut(b.button->text(), b.key));
    // Buttons that show only a sign say what they do.
    ui.btnPageAdd->setToolTip(tr("添加页"));
    ui.btnPageSub->setToolTip(tr("删除当前页"));
    ui.btnImageFontAdd->setToolTip(tr("添加图片"));
    ui.btnImageFontSub->setToolTip(tr("删除图片"));
    // Tab leaves the console's editor; the key that types a tab is said where one types.
    ui.textBrowser->setPlaceholderText(tr("在此输入指令（Ctrl+Tab 输入制表符）"));
    retranslatePageMoves();
}
