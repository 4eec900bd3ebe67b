#include "projectchange.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "historytarget.h"

#include <QSet>

ProjectChange::ProjectChange(HistoryTarget *target, ProjectDiff diff, std::function<void()> applied)
    : m_target(target), m_diff(std::move(diff)), m_applied(std::move(applied))
{
    setText(m_diff.name());
}

void ProjectChange::undo()
{
    apply(false);
}

void ProjectChange::redo()
{
    // The action itself already made the change when the command is pushed.
    if (m_done) {
        m_done = false;
        return;
    }
    apply(true);
}

void ProjectChange::apply(bool forward)
{
    PageTable *table = m_target->historyTable();
    QMyFrame *canvas = m_target->historyCanvas();
    const ProjectDiff &d = m_diff;
    if (d.fieldsChanged)
        m_target->applyHistoryFields(forward ? d.fieldsAfter : d.fieldsBefore);
    if (d.pageListChanged)
        m_target->replaceAllPages(forward ? d.pagesAfter : d.pagesBefore, forward ? d.pageAfter : d.pageBefore);
    for (const ProjectDiff::PageEdit &e : d.pages) {
        table->clearPage(e.page);
        canvas->fillPage(e.page, forward ? e.after : e.before);
    }
    for (const ProjectDiff::PageEdit &e : d.pageFields)
        table->setPageFields(e.page, forward ? e.after : e.before);
    for (const ProjectDiff::ControlEdit &e : d.controls) {
        if (QMyWidget *w = table->pageControls(e.page).value(e.index))
            w->setRecord(forward ? e.after : e.before);
    }
    for (const ProjectDiff::PrimitiveEdit &e : d.primitives) {
        if (QMyDrawType *p = table->pagePrimitives(e.page).value(e.index)) {
            *p = forward ? e.after : e.before;
            p->setSelected(false);
        }
    }
    // Show where the change is: the page edited, or the page shown before or after the pages
    // themselves changed; the items changed are selected there.
    QList<int> controls;
    QList<int> primitives;
    const int itemsPage = d.changedItems(forward, &controls, &primitives);
    int shown = forward ? d.pageAfter : d.pageBefore;
    if (itemsPage >= 0)
        shown = itemsPage;
    else if (!d.pageFields.isEmpty())
        shown = d.pageFields.first().page;
    m_target->showHistoryPage(shown);
    if (itemsPage >= 0)
        m_target->selectHistoryItems(itemsPage, controls, primitives);
    if (m_applied)
        m_applied();
}

namespace {

// Steps that may join the one before them.
constexpr int NudgeId = 1;

QSet<QPair<int, int>> itemsOf(const ProjectDiff &d)
{
    QSet<QPair<int, int>> items;
    for (const ProjectDiff::ControlEdit &e : d.controls)
        items.insert({e.page, e.index});
    for (const ProjectDiff::PrimitiveEdit &e : d.primitives)
        items.insert({e.page, -1 - e.index});
    return items;
}

}  // namespace

int ProjectChange::id() const
{
    return m_diff.nudge ? NudgeId : -1;
}

// Consecutive nudges of the same items are one step.
bool ProjectChange::mergeWith(const QUndoCommand *other)
{
    const auto *later = dynamic_cast<const ProjectChange *>(other);
    if (!later || !later->m_diff.nudge || itemsOf(later->m_diff) != itemsOf(m_diff))
        return false;
    return absorb(later->m_diff);
}

bool ProjectChange::absorb(const ProjectDiff &later)
{
    if (!m_diff.absorb(later))
        return false;
    setText(m_diff.name());
    return true;
}
