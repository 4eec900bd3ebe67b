#include "projecthistory.h"

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "historytarget.h"
#include "projectchange.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

namespace {

// The page values alone, without controls and primitives.
PageData pageFieldsOf(const PageData &p)
{
    PageData f = p;
    f.controls.clear();
    f.primitives.clear();
    return f;
}

// Unchanged pages of `now` share their data with those of `before`, so that a command holding
// both lists costs little more than the pages that changed.
void shareUnchanged(QVector<PageData> &now, const QVector<PageData> &before)
{
    for (int i = 0; i < now.size(); ++i) {
        for (int j : {i, i - 1, i + 1}) {
            if (j >= 0 && j < before.size() && now.at(i) == before.at(j)) {
                now[i] = before.at(j);
                break;
            }
        }
    }
}

}  // namespace

ProjectHistory::ProjectHistory(HistoryTarget *target, QObject *parent)
    : QObject(parent), m_target(target), m_stack(new QUndoStack(this))
{
    QCoreApplication::instance()->installEventFilter(this);
}

ProjectHistory::~ProjectHistory()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool ProjectHistory::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (watched == static_cast<QObject *>(m_target->historyCanvas())) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)
                m_nudgePending = true;
        }
        scheduleCheckpoint();
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::Wheel:
        scheduleCheckpoint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ProjectHistory::scheduleCheckpoint()
{
    if (m_pending)
        return;
    m_pending = true;
    // After the event has done its work; never in the middle of a drag.
    QTimer::singleShot(0, this, [this]() {
        m_pending = false;
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            checkpoint();
    });
}

void ProjectHistory::checkpoint()
{
    // With no project open there is nothing to undo: what the window shows is only followed.
    if (!m_target->historyActive()) {
        resync();
        return;
    }
    PageTable *table = m_target->historyTable();
    ProjectDiff d;
    d.pageBefore = m_shown;
    d.pageAfter = table->currentPage();
    const ProjectData fields = m_target->historyFields();
    if (!(fields == m_fields)) {
        d.fieldsChanged = true;
        d.fieldsBefore = m_fields;
        d.fieldsAfter = fields;
        m_fields = fields;
    }
    if (table->pageCount() != m_pages.size()) {
        QVector<PageData> now = table->pagesData();
        shareUnchanged(now, m_pages);
        d.pageListChanged = true;
        d.pagesBefore = m_pages;
        d.pagesAfter = now;
        m_pages = now;
    } else {
        // Edits happen on the page shown; the page shown at the last look is checked too.
        for (int n : {d.pageAfter, d.pageBefore}) {
            if (n < 0 || n >= m_pages.size())
                continue;
            const PageData now = table->pageData(n);
            const PageData &old = m_pages.at(n);
            if (now == old)
                continue;
            if (now.controls.size() == old.controls.size() && now.primitives.size() == old.primitives.size()) {
                for (int i = 0; i < now.controls.size(); ++i) {
                    if (!(now.controls.at(i) == old.controls.at(i)))
                        d.controls.append({n, i, old.controls.at(i), now.controls.at(i)});
                }
                for (int i = 0; i < now.primitives.size(); ++i) {
                    if (!now.primitives.at(i).sameShape(old.primitives.at(i)))
                        d.primitives.append({n, i, old.primitives.at(i), now.primitives.at(i)});
                }
                const PageData before = pageFieldsOf(old);
                const PageData after = pageFieldsOf(now);
                if (!(before == after))
                    d.pageFields.append({n, before, after});
            } else {
                d.pages.append({n, old, now});
            }
            m_pages[n] = now;
        }
    }
    m_shown = d.pageAfter;
    d.nudge = m_nudgePending;
    d.fieldLabel = m_fieldLabel;
    d.fieldLabelFixed = m_fieldLabelFixed;
    m_nudgePending = false;
    m_fieldLabel.clear();
    if (d.isEmpty())
        return;
    m_stack->push(new ProjectChange(m_target, std::move(d), [this]() { resync(); }));
    emit changed();
}

void ProjectHistory::noteFieldEdit(const char *label, bool fixed)
{
    m_fieldLabel = label;
    m_fieldLabelFixed = fixed;
}

void ProjectHistory::resync()
{
    PageTable *table = m_target->historyTable();
    m_fields = m_target->historyFields();
    QVector<PageData> now = table->pagesData();
    shareUnchanged(now, m_pages);
    m_pages = now;
    m_shown = table->currentPage();
    emit changed();
}

void ProjectHistory::pushDone(QUndoCommand *command)
{
    m_stack->push(command);
    resync();
}

const ProjectChange *ProjectHistory::lastChange() const
{
    const int last = m_stack->count() - 1;
    if (last < 0 || m_stack->index() != m_stack->count() || m_stack->cleanIndex() == m_stack->index())
        return nullptr;
    return dynamic_cast<const ProjectChange *>(m_stack->command(last));
}

bool ProjectHistory::joinLast(const ProjectDiff &diff)
{
    // The stack hands its steps out read-only; this one is still ours to extend.
    auto *top = const_cast<ProjectChange *>(lastChange());
    if (!top || !top->absorb(diff))
        return false;
    resync();
    // The stack does not hear of a renamed step.
    emit m_stack->indexChanged(m_stack->index());
    return true;
}

QString ProjectHistory::asideFolder()
{
    if (!m_aside) {
        m_aside = std::make_unique<QTemporaryDir>();
        if (!m_aside->isValid())
            return QString();
    }
    return m_aside->filePath(QStringLiteral("step%1").arg(++m_asideCount));
}

void ProjectHistory::restart(bool modified)
{
    m_stack->clear();
    // The steps that held files aside are gone with the stack.
    m_aside.reset();
    resync();
    if (modified)
        m_stack->resetClean();
    else
        m_stack->setClean();
}

void ProjectHistory::markSaved()
{
    checkpoint();
    m_stack->setClean();
}

bool ProjectHistory::isModified() const
{
    return !m_stack->isClean();
}

void ProjectHistory::retranslate()
{
    for (int i = 0; i < m_stack->count(); ++i) {
        // Commands are named when made; the stack hands them out read-only.
        if (auto *change = dynamic_cast<ProjectChange *>(const_cast<QUndoCommand *>(m_stack->command(i))))
            change->retranslate();
    }
}
