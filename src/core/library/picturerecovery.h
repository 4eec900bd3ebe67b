#pragma once

#include "library/picturelibrary.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Keeping a project's picture folder and its project file in agreement across kills and across
// programs: the removal in progress, the window's note of unsaved picture changes, and what a
// program opening the project does about them. Everything here runs under the project's picture
// lock (library/picturelock.h), and every name taken from a note or a folder is a plain file name
// of the picture folder.
namespace PictureFiles {

// Deleting pictures in the order that never leaves the project file naming the wrong pictures.
// The files are first renamed into "<project>/tempImages.removing" beside a note of the project
// file as it is then; the project file is written with the new references; only then are the
// files deleted. Opening a project finishes or undoes a removal cut short: a project file still as
// noted gets its pictures back, a rewritten one has them deleted.
//
// Sets the files of pictures numbers (valid, ascending, unique) of lib aside. Returns the numbers
// whose file is no longer in the picture folder (a file already missing counts); the others are
// named in failed. Until finishRemoval, this process holds the removal (and the picture lock).
QVector<int> setPicturesAside(const QString &projectFile, const PictureLibrary &lib, const QVector<int> &numbers,
                              QStringList *failed);
// Deletes what was set aside: the project file now holds the references without those pictures.
void finishRemoval(const QString &projectFile);
// Puts what was set aside back under its old names (the project file was not written).
void undoRemoval(const QString &projectFile);
// At opening, when no other program holds the picture lock: finishes or undoes a removal that a
// killed program left half done, settles a note of unsaved picture changes it left, and clears
// what a killed copy of the picture folders left. Returns the number of pictures put back from a
// removal (0 when there was nothing to do, or it was finished).
int recoverRemoval(const QString &projectFile);

// The whole deletion: sets the files aside, calls writeProject with the numbers gone, then deletes
// the files, or puts them all back when writeProject returns false (nothing is then lost or
// changed). Returns the numbers deleted; failed names files that could not be taken out.
QVector<int> removePictures(const QString &projectFile, const PictureLibrary &lib, const QVector<int> &numbers,
                            const std::function<bool(const QVector<int> &gone)> &writeProject, QStringList *failed,
                            bool *written);

// The window changes its picture folder ahead of the project file: a deletion or an import waits
// for the user's save, and undo moves files back and forth. Before the first such change since the
// project file was last written, a note "<project>/tempImages.unsaved" records that file's digest
// and the picture folder's files as saved, and the window takes the picture lock until it lets go
// of the note. Opening the project after the window was killed finds the note: while the project
// file is still the one noted, the picture folder is made the saved one again (files added since
// are removed, those taken out come back from the backup), so the saved references never name
// another picture.
//
// Called before each change; false when the note cannot be written or another program holds the
// lock (the change should not start).
bool noteUnsavedPictures(const QString &projectFile);
// The project file and the picture folder agree again (saved, or put back as saved).
void dropUnsavedNote(const QString &projectFile);
// Lets go of the note without settling it: the next opening recovers the folder.
void leaveUnsavedNote(const QString &projectFile);
// At opening (recoverRemoval calls it): settles a note a killed process left. Returns the number
// of files added back or removed.
int recoverUnsavedPictures(const QString &projectFile);

// No real note comes near this: a line per picture file, at most about 800 bytes for the longest
// name a file system allows, so 4 MiB holds over 5,000 such names, and a hundred thousand of the
// usual ones. A larger note is not read.
constexpr qint64 MaxUnsavedNoteBytes = 4 * 1024 * 1024;

// What a program opening a project may do with its pictures.
struct PictureClaim {
    bool ok = false;
    // Where the pictures of the saved project file are read: the picture folder, or its backup
    // while another program holds unsaved picture changes.
    QString picturesFolder;
    // Why not, when !ok: another program is changing the pictures (and did not finish in time),
    // holds unsaved picture changes, holds them and the backup is not the saved state, or the
    // lock file is not a regular file.
    enum Refusal { None, Busy, UnsavedElsewhere, NoSavedCopy, LockUnusable };
    Refusal refusal = None;
};
// Settles what killed programs left, then takes the picture lock for this process, exclusive
// when changing, shared when reading, waiting up to waitMs for a change another program is
// making. A change is refused at once while another program holds unsaved picture changes; a
// reader then gets the saved pictures from the backup, or is refused when the backup is not the
// noted saved state.
PictureClaim claimPictures(const QString &projectFile, bool changing, int waitMs = 30000);

}  // namespace PictureFiles
