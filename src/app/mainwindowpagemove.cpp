// Moving the page shown up or down the page list, as one step of the history; the boot page
// follows the page it names.
#include "mainwindow.h"

#include "appglobals.h"
#include "canvas/pagetable.h"
#include "edit/pagenumbers.h"
#include "projectchange.h"
#include "projecthistory.h"
#include "windowaction.h"

#include <QAction>
#include <QMenu>

void MainWindow::setupPageMoves()
{
    auto add = [this](const char *name, const QKeySequence &key, int delta) {
        QAction *a = addWindowAction(this, name, key);
        m_pageMenu->addAction(a);
        connect(a, &QAction::triggered, this, [this, delta] { moveCurrentPage(delta); });
        return a;
    };
    m_pageMenu->addSeparator();
    m_actPageUp = add("actionPageUp", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), -1);
    m_actPageDown = add("actionPageDown", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), 1);
    connect(m_pageMenu, &QMenu::aboutToShow, this, [this] {
        const int n = m_table->currentPage();
        m_actPageUp->setEnabled(App::isProjectOpen() && m_table->isValidPage(n - 1));
        m_actPageDown->setEnabled(App::isProjectOpen() && m_table->isValidPage(n + 1));
    });
    retranslatePageMoves();
}

void MainWindow::retranslatePageMoves()
{
    m_actPageUp->setText(tr("上移页面"));
    m_actPageDown->setText(tr("下移页面"));
}

bool MainWindow::moveCurrentPage(int delta)
{
    const int from = m_table->currentPage();
    const int to = from + delta;
    if (!App::isProjectOpen() || !m_table->isValidPage(from) || !m_table->isValidPage(to) || from == to)
        return false;
    m_history->checkpoint();
    ProjectDiff diff;
    diff.pageListChanged = true;
    diff.pagesBefore = m_table->pagesData();
    diff.pagesAfter = diff.pagesBefore;
    diff.pagesAfter.move(from, to);
    diff.pageBefore = from;
    diff.pageAfter = to;
    diff.fieldsBefore = historyFields();
    // A boot page not picked follows the page shown anyway.
    if (m_table->isValidPage(m_bootPage))
        m_bootPage = PageNumbers::afterMove(m_bootPage, from, to);
    replaceAllPages(diff.pagesAfter, to);
    diff.fieldsAfter = historyFields();
    diff.fieldsChanged = !(diff.fieldsAfter == diff.fieldsBefore);
    m_history->pushDone(new ProjectChange(this, diff, m_history->resyncer()));
    return true;
}
