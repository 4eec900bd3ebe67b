#pragma once

#include "model/projectdata.h"

#include <QObject>
#include <QVector>
#include <functional>
#include <memory>

class HistoryTarget;
class ProjectChange;
struct ProjectDiff;
class QTemporaryDir;
class QUndoCommand;
class QUndoStack;

// The undo history of the open project. Every user action (a click, a drag, a key, a drop)
// ends with a look at what changed since the last action; a change becomes one command on the
// stack, holding the values before and after. Changes made by any part of the window are
// recorded this way without each having to know about the history, and a whole drag is one
// command because the look happens when the button is released.
class ProjectHistory : public QObject {
    Q_OBJECT
public:
    ProjectHistory(HistoryTarget *target, QObject *parent = nullptr);
    ~ProjectHistory() override;

    QUndoStack *stack() const { return m_stack; }
    // Records what changed since the last look as one command; nothing when nothing did.
    void checkpoint();
    // Starts a new history from the project as it is now (a project opened or made).
    void reset() { restart(false); }
    // The same, keeping the project marked as changed since the last save when `modified`.
    void restart(bool modified);
    // The project as it is now is the one on disk.
    void markSaved();
    // Adds a change already made (a picture import or deletion) as the next step; what changed
    // before it was recorded first by the caller's checkpoint().
    void pushDone(QUndoCommand *command);
    // The last step when it is the one just done and not yet saved, so that a change made
    // right after it may join it (a page made smaller, then its items moved inside); else null.
    const ProjectChange *lastChange() const;
    // Makes a change already made part of lastChange(); false when the two do not combine.
    bool joinLast(const ProjectDiff &diff);
    // The next change recorded is an edit of this property panel row (see ProjectDiff).
    void noteFieldEdit(const char *label, bool fixed);
    // A folder outside the project for files the history's steps take out; it goes with the
    // history, when another project is opened or made, or the window closes.
    QString asideFolder();
    // What a command made outside checkpoint() runs after its undo and redo.
    std::function<void()> resyncer() { return [this]() { resync(); }; }
    bool isModified() const;
    // The names of the recorded changes follow a change of language.
    void retranslate();

signals:
    // The project changed: a step was recorded, undone or redone.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleCheckpoint();
    // Takes the project as it is after an undo or a redo as the state to compare with.
    void resync();

    HistoryTarget *m_target;
    QUndoStack *m_stack;
    ProjectData m_fields;
    QVector<PageData> m_pages;
    int m_shown = 0;
    bool m_pending = false;
    // The look now due follows an arrow key on the canvas: a nudge.
    bool m_nudgePending = false;
    QByteArray m_fieldLabel;
    bool m_fieldLabelFixed = false;
    std::unique_ptr<QTemporaryDir> m_aside;
    int m_asideCount = 0;
};
