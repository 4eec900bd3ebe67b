#pragma once

#include "model/projectdata.h"

#include <QUndoCommand>
#include <QVector>

#include <functional>

class HistoryTarget;

// What one user action changed in the project, as values before and after. Small changes keep
// only the records that changed (one control moved: two records); a change of the number of
// controls on a page keeps that page; a change of the number of pages keeps the page lists, whose
// unchanged pages share their data with the neighbouring commands.
struct ProjectDiff {
    struct ControlEdit {
        int page = 0;
        int index = 0;
        ControlRecord before, after;
    };
    struct PrimitiveEdit {
        int page = 0;
        int index = 0;
        QMyDrawType before, after;
    };
    struct PageEdit {
        int page = 0;
        PageData before, after;
    };

    bool fieldsChanged = false;
    ProjectData fieldsBefore, fieldsAfter;  // project values without pages
    QVector<ControlEdit> controls;
    QVector<PrimitiveEdit> primitives;
    QVector<PageEdit> pageFields;  // page values only, controls and primitives left empty
    QVector<PageEdit> pages;       // whole pages
    bool pageListChanged = false;
    QVector<PageData> pagesBefore, pagesAfter;
    int pageBefore = 0;  // page shown before and after the action
    int pageAfter = 0;
    // Arrow-key nudges of the canvas: consecutive ones of the same items are one step.
    bool nudge = false;
    // The row label of a property panel edit (source text, translated in "MainWindow" unless
    // fixed), which then names the step.
    QByteArray fieldLabel;
    bool fieldLabelFixed = false;

    bool isEmpty() const;
    // The name of the action, for the undo and redo entries.
    QString name() const;
    // Takes the change that followed this one into it, so that both are one step; false (and
    // nothing changed) when they do not combine.
    bool absorb(const ProjectDiff &later);
    // The controls and primitives of the page the change is seen on that it changed, as the
    // state after (forward) or before it shows them.
    int changedItems(bool forward, QList<int> *controls, QList<int> *primitives) const;
};

// One undoable user action. It is pushed after the action took place, so its first redo does
// nothing.
class ProjectChange : public QUndoCommand {
public:
    // `applied` runs after every undo and redo.
    ProjectChange(HistoryTarget *target, ProjectDiff diff, std::function<void()> applied);
    void undo() override;
    void redo() override;
    // Names the change again in the language now in use.
    void retranslate() { setText(m_diff.name()); }
    const ProjectDiff &diff() const { return m_diff; }
    // Joins the change that followed; see ProjectDiff::absorb.
    bool absorb(const ProjectDiff &later);
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(bool forward);

    HistoryTarget *m_target;
    ProjectDiff m_diff;
    std::function<void()> m_applied;
    bool m_done = true;
};
