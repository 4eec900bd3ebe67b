#include "projectchange.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "historytarget.h"

#include <QCoreApplication>

namespace {

bool sameExcept(ControlRecord a, const ControlRecord &b, bool position, bool size)
{
    if (position) {
        a.x = b.x;
        a.y = b.y;
    }
    if (size) {
        a.w = b.w;
        a.h = b.h;
    }
    return a == b;
}

}  // namespace

bool ProjectDiff::isEmpty() const
{
    return !fieldsChanged && !pageListChanged && controls.isEmpty() && primitives.isEmpty() && pageFields.isEmpty()
        && pages.isEmpty();
}

QString ProjectDiff::name() const
{
    if (pageListChanged) {
        if (pagesAfter.size() > pagesBefore.size())
            return QCoreApplication::translate("ProjectHistory", "添加页");
        if (pagesAfter.size() < pagesBefore.size())
            return QCoreApplication::translate("ProjectHistory", "删除页");
        return QCoreApplication::translate("ProjectHistory", "修改页面");
    }
    if (!pages.isEmpty()) {
        const PageEdit &e = pages.first();
        const int controlsAdded = e.after.controls.size() - e.before.controls.size();
        const int primitivesAdded = e.after.primitives.size() - e.before.primitives.size();
        if (controlsAdded > 0)
            return QCoreApplication::translate("ProjectHistory", "添加控件");
        if (controlsAdded < 0 || primitivesAdded < 0)
            return QCoreApplication::translate("ProjectHistory", "删除");
        if (primitivesAdded > 0)
            return QCoreApplication::translate("ProjectHistory", "绘制图形");
        return QCoreApplication::translate("ProjectHistory", "修改页面");
    }
    if (!controls.isEmpty()) {
        bool moved = true;
        bool resized = true;
        for (const ControlEdit &e : controls) {
            moved = moved && sameExcept(e.before, e.after, true, false);
            resized = resized && sameExcept(e.before, e.after, true, true);
        }
        return moved ? QCoreApplication::translate("ProjectHistory", "移动") : resized ? QCoreApplication::translate("ProjectHistory", "调整大小") : QCoreApplication::translate("ProjectHistory", "修改属性");
    }
    if (!primitives.isEmpty())
        return QCoreApplication::translate("ProjectHistory", "修改图形");
    if (!pageFields.isEmpty()) {
        const PageEdit &e = pageFields.first();
        if (pageFields.size() == 1 && e.before.name != e.after.name)
            return QCoreApplication::translate("ProjectHistory", "重命名页面");
        return QCoreApplication::translate("ProjectHistory", "修改页面属性");
    }
    if (fieldsBefore.dpi != fieldsAfter.dpi || fieldsBefore.screenType != fieldsAfter.screenType
        || fieldsBefore.frameW != fieldsAfter.frameW || fieldsBefore.frameH != fieldsAfter.frameH)
        return QCoreApplication::translate("ProjectHistory", "修改分辨率或方向");
    return QCoreApplication::translate("ProjectHistory", "修改开机设置");
}

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
    // themselves changed.
    int shown = forward ? d.pageAfter : d.pageBefore;
    if (!d.pages.isEmpty())
        shown = d.pages.first().page;
    else if (!d.controls.isEmpty())
        shown = d.controls.first().page;
    else if (!d.primitives.isEmpty())
        shown = d.primitives.first().page;
    else if (!d.pageFields.isEmpty())
        shown = d.pageFields.first().page;
    m_target->showHistoryPage(shown);
    if (m_applied)
        m_applied();
}
