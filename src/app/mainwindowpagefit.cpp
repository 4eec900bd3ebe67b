// Controls and primitives left outside a page made smaller: the window says how many and offers
// to move them inside, as one step of the history.
#include "mainwindow.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "model/pagefit.h"
#include "projectchange.h"
#include "projecthistory.h"

namespace {

// The question's code; Yes answers with it, No with the next.
constexpr int MoveInsideQuestion = 41;

}  // namespace

void MainWindow::offerMoveInside()
{
    const ProjectData d = projectData();
    const QVector<PageFit::Item> items = PageFit::itemsOutside(d.pages, d.frameW, d.frameH);
    if (items.isEmpty())
        return;
    int wholly = 0;
    for (const PageFit::Item &item : items)
        wholly += item.wholly ? 1 : 0;
    message(m_questionBox, QMyMessageBox::Warning, 2, MoveInsideQuestion, moveInsideQuestion(items.size(), wholly));
}

QString MainWindow::moveInsideQuestion(int count, int wholly)
{
    // %n: the English reads "1 control" and "3 controls".
    return tr("页面变小后，有%n个控件或图形超出页面（其中%1个完全在页面之外）。是否将它们移入页面内？", nullptr, count)
        .arg(wholly);
}

void MainWindow::moveItemsInside()
{
    m_history->checkpoint();
    const ProjectData d = projectData();
    ProjectDiff diff;
    diff.pageBefore = diff.pageAfter = m_table->currentPage();
    for (int p = 0; p < d.pages.size(); ++p) {
        const PageData moved = PageFit::movedInside(d.pages.at(p), d.frameW, d.frameH);
        if (moved == d.pages.at(p))
            continue;
        diff.pages.append({p, d.pages.at(p), moved});
        m_table->clearPage(p);
        m_frame->fillPage(p, moved);
    }
    if (diff.pages.isEmpty())
        return;
    showHistoryPage(m_table->currentPage());
    // Right after the page became smaller, the move is part of that step.
    const ProjectChange *last = m_history->lastChange();
    if (last && last->diff().fieldsChanged
        && (last->diff().fieldsBefore.frameW != last->diff().fieldsAfter.frameW
            || last->diff().fieldsBefore.frameH != last->diff().fieldsAfter.frameH)
        && m_history->joinLast(diff))
        return;
    auto *change = new ProjectChange(this, diff, m_history->resyncer());
    change->setText(tr("移入页面"));
    m_history->pushDone(change);
}
