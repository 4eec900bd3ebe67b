// What one step of the history changed: its name, and how two steps become one.
#include "projectchange.h"

#include "edit/propertyedit.h"
#include "edit/propertyrows.h"

#include <QCoreApplication>

#include <functional>

namespace {

QString rowLabel(const PropertyRow &row)
{
    return row.fixedLabel ? QString::fromUtf8(row.label) : QCoreApplication::translate("MainWindow", row.label);
}

// The same control moved as a whole: its place, and a pointer's centre with it.
bool onlyMoved(const ControlRecord &before, const ControlRecord &after)
{
    ControlRecord moved = before;
    const int dx = after.x - before.x;
    const int dy = after.y - before.y;
    moved.x += dx;
    moved.y += dy;
    if (before.kind == ControlKind::Pointer) {
        moved.pointerX += dx;
        moved.pointerY += dy;
    }
    return moved == after;
}

bool onlyMoved(const QMyDrawType &before, const QMyDrawType &after)
{
    QMyDrawType moved = before;
    const QRect from = before.bounds();
    const QRect to = after.bounds();
    moved.translate(to.x() - from.x(), to.y() - from.y());
    return moved.sameShape(after);
}

bool onlyPlaced(ControlRecord before, const ControlRecord &after)
{
    before.x = after.x;
    before.y = after.y;
    before.w = after.w;
    before.h = after.h;
    if (before.kind == ControlKind::Pointer) {
        before.pointerX = after.pointerX;
        before.pointerY = after.pointerY;
        before.pointerW = after.pointerW;
        before.pointerL = after.pointerL;
    }
    return before == after;
}

bool onlyPlaced(const QMyDrawType &before, const QMyDrawType &after)
{
    QMyDrawType placed = before;
    placed.placeBounds(after.bounds());
    return placed.sameShape(after);
}

// Labels of the rows whose values differ, in row order, each once.
void addChangedLabels(const QVector<PropertyRow> &rows, const std::function<QString(const QString &)> &before,
                      const std::function<QString(const QString &)> &after, QStringList *labels)
{
    for (const PropertyRow &row : rows) {
        if (row.key.isEmpty() || before(row.key) == after(row.key))
            continue;
        const QString label = rowLabel(row);
        if (!labels->contains(label))
            labels->append(label);
    }
}

// Two records of the same thing: a page, or an item on a page.
bool samePlace(const ProjectDiff::PageEdit &a, const ProjectDiff::PageEdit &b)
{
    return a.page == b.page;
}

template <typename Edit>
bool samePlace(const Edit &a, const Edit &b)
{
    return a.page == b.page && a.index == b.index;
}

template <typename Edit>
bool touchesPage(const QVector<Edit> &edits, int page)
{
    for (const Edit &e : edits) {
        if (e.page == page)
            return true;
    }
    return false;
}

// The later records' values after replace those of the same place; the others are added.
template <typename Edit>
void absorbEdits(QVector<Edit> &edits, const QVector<Edit> &later)
{
    for (const Edit &e : later) {
        bool found = false;
        for (Edit &mine : edits) {
            if (samePlace(mine, e)) {
                mine.after = e.after;
                found = true;
            }
        }
        if (!found)
            edits.append(e);
    }
}

}  // namespace

bool ProjectDiff::isEmpty() const
{
    return !fieldsChanged && !pageListChanged && controls.isEmpty() && primitives.isEmpty() && pageFields.isEmpty()
        && pages.isEmpty();
}

QString ProjectDiff::name() const
{
    if (fieldsChanged
        && (fieldsBefore.dpi != fieldsAfter.dpi || fieldsBefore.screenType != fieldsAfter.screenType
            || fieldsBefore.frameW != fieldsAfter.frameW || fieldsBefore.frameH != fieldsAfter.frameH))
        return QCoreApplication::translate("ProjectHistory", "修改分辨率或方向");
    if (pageListChanged) {
        if (pagesAfter.size() > pagesBefore.size())
            return QCoreApplication::translate("ProjectHistory", "添加页");
        if (pagesAfter.size() < pagesBefore.size())
            return QCoreApplication::translate("ProjectHistory", "删除页");
        return QCoreApplication::translate("ProjectHistory", "移动页面");
    }
    if (!pages.isEmpty()) {
        const PageEdit &e = pages.first();
        const int controlsAdded = e.after.controls.size() - e.before.controls.size();
        const int primitivesAdded = e.after.primitives.size() - e.before.primitives.size();
        if (controlsAdded > 0)
            return QCoreApplication::translate("ProjectHistory", "添加 %n 个控件", nullptr, controlsAdded);
        if (controlsAdded < 0 || primitivesAdded < 0)
            return QCoreApplication::translate("ProjectHistory", "删除 %n 个对象", nullptr, -controlsAdded - primitivesAdded);
        if (primitivesAdded > 0)
            return QCoreApplication::translate("ProjectHistory", "绘制图形");
        return QCoreApplication::translate("ProjectHistory", "修改页面");
    }
    // A page's own name is changed from the page list, never with another field.
    if (pageFields.size() == 1 && controls.isEmpty() && primitives.isEmpty()
        && pageFields.first().before.name != pageFields.first().after.name)
        return QCoreApplication::translate("ProjectHistory", "重命名页面");
    const QString edited = fieldLabelFixed ? QString::fromUtf8(fieldLabel)
                                           : QCoreApplication::translate("MainWindow", fieldLabel.constData());
    if (!fieldLabel.isEmpty() && (!controls.isEmpty() || !primitives.isEmpty() || !pageFields.isEmpty()))
        return QCoreApplication::translate("ProjectHistory", "修改属性：%1").arg(edited);
    if (!controls.isEmpty() || !primitives.isEmpty()) {
        bool moved = true;
        bool placed = true;
        QStringList labels;
        for (const ControlEdit &e : controls) {
            moved = moved && onlyMoved(e.before, e.after);
            placed = placed && onlyPlaced(e.before, e.after);
            addChangedLabels(
                PropertyRows::controlRows(e.before.kind),
                [&e](const QString &key) { return PropertyEdit::controlValue(e.before, key); },
                [&e](const QString &key) { return PropertyEdit::controlValue(e.after, key); }, &labels);
        }
        for (const PrimitiveEdit &e : primitives) {
            moved = moved && onlyMoved(e.before, e.after);
            placed = placed && onlyPlaced(e.before, e.after);
            addChangedLabels(
                PropertyRows::primitiveRows(e.before.drawType()),
                [&e](const QString &key) { return PropertyEdit::primitiveValue(e.before, key); },
                [&e](const QString &key) { return PropertyEdit::primitiveValue(e.after, key); }, &labels);
        }
        const int items = controls.size() + primitives.size();
        if (moved)
            return QCoreApplication::translate("ProjectHistory", "移动 %n 个对象", nullptr, items);
        if (placed)
            return QCoreApplication::translate("ProjectHistory", "调整 %n 个对象的大小", nullptr, items);
        if (labels.isEmpty())
            return QCoreApplication::translate("ProjectHistory", "修改属性");
        return QCoreApplication::translate("ProjectHistory", "修改属性：%1").arg(labels.join(QCoreApplication::translate("ProjectHistory", "、")));
    }
    if (!pageFields.isEmpty())
        return QCoreApplication::translate("ProjectHistory", "修改页面属性");
    return QCoreApplication::translate("ProjectHistory", "修改开机设置");
}

bool ProjectDiff::absorb(const ProjectDiff &later)
{
    if (pageListChanged || later.pageListChanged)
        return false;
    // A page kept whole on one side and by its parts on the other does not combine.
    for (const PageEdit &e : later.pages) {
        if (touchesPage(controls, e.page) || touchesPage(primitives, e.page) || touchesPage(pageFields, e.page))
            return false;
    }
    for (const PageEdit &e : pages) {
        if (touchesPage(later.controls, e.page) || touchesPage(later.primitives, e.page)
            || touchesPage(later.pageFields, e.page))
            return false;
    }
    if (later.fieldsChanged) {
        if (!fieldsChanged)
            fieldsBefore = later.fieldsBefore;
        fieldsChanged = true;
        fieldsAfter = later.fieldsAfter;
    }
    absorbEdits(controls, later.controls);
    absorbEdits(primitives, later.primitives);
    absorbEdits(pageFields, later.pageFields);
    absorbEdits(pages, later.pages);
    pageAfter = later.pageAfter;
    return true;
}

int ProjectDiff::changedItems(bool forward, QList<int> *controlIndexes, QList<int> *primitiveIndexes) const
{
    int page = -1;
    for (const ControlEdit &e : controls) {
        if (page < 0)
            page = e.page;
        if (e.page == page)
            controlIndexes->append(e.index);
    }
    for (const PrimitiveEdit &e : primitives) {
        if (page < 0)
            page = e.page;
        if (e.page == page)
            primitiveIndexes->append(e.index);
    }
    if (page >= 0 || pages.isEmpty())
        return page;
    // Items added or taken away: those the state shown has that the other one lacks.
    const PageEdit &e = pages.first();
    const PageData &shown = forward ? e.after : e.before;
    const PageData &other = forward ? e.before : e.after;
    for (int i = 0; i < shown.controls.size(); ++i) {
        if (!other.controls.contains(shown.controls.at(i)))
            controlIndexes->append(i);
    }
    for (int i = 0; i < shown.primitives.size(); ++i) {
        bool found = false;
        for (const QMyDrawType &d : other.primitives)
            found = found || d.sameShape(shown.primitives.at(i));
        if (!found)
            primitiveIndexes->append(i);
    }
    return e.page;
}
