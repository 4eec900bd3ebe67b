#pragma once

#include "library/picturelibrary.h"
#include "model/projectdata.h"

#include <QStringList>
#include <QUndoCommand>
#include <QVector>
#include <functional>

// What a picture import or deletion needs of the window that holds the project.
class PictureTarget {
public:
    virtual ~PictureTarget() = default;
    // The project folder's "/tempImages".
    virtual QString pictureFolder() const = 0;
    // Every picture reference of the project, and setting them all at once.
    virtual ProjectData pictureReferences() const = 0;
    virtual void applyPictureReferences(const ProjectData &after) = 0;
    // Reads the picture folder again after files came or went.
    virtual void reloadPictures() = 0;
    // Called before the picture folder changes ahead of the project file, so that a window killed
    // before the save leaves a folder that can be put back as saved. False: it must not change.
    virtual bool pictureFolderChanging() = 0;
};

// A picture import or deletion as one step of the project's history. It holds file names and
// reference values, never widgets: the files it takes out wait in a folder of its own outside the
// project (`aside`), so undo and redo move them back and forth under their own names, and the
// references move through the same renumbering rules as the deletion itself.
class PictureChange : public QUndoCommand {
public:
    // The files are already in the picture folder (`names`, file names only); they are copied
    // aside so that a redo after an undo can bring them back.
    static PictureChange *imported(PictureTarget *target, const QStringList &names, const QString &aside,
                                   std::function<void()> changed);
    // Moves the files of the pictures `numbers` (valid, ascending, unique) aside and moves every
    // reference along. Pictures whose file could not be moved stay, and are named in failed.
    // Returns null when none was removed.
    static PictureChange *removed(PictureTarget *target, const PictureLibrary &lib, const QVector<int> &numbers,
                                  const QString &aside, std::function<void()> changed, QStringList *failed);

    void undo() override;
    void redo() override;

    const QStringList &names() const { return m_names; }
    const QVector<int> &numbers() const { return m_numbers; }

private:
    enum Kind { Import, Delete };
    PictureChange(Kind kind, PictureTarget *target, const QString &aside, std::function<void()> changed);
    // Moves the named files between the picture folder and the aside folder; false when one
    // could not be moved (those moved stay moved).
    bool takeAside(QStringList *failed = nullptr);
    bool bringBack();
    void finish();

    Kind m_kind;
    PictureTarget *m_target;
    QString m_aside;
    std::function<void()> m_changed;
    QStringList m_names;
    // Deletion: the numbers removed and the references as they were before.
    QVector<int> m_numbers;
    ProjectData m_before;
    bool m_done = true;  // the first redo() comes from push() after the change was made
};
