#pragma once

#include "library/picturelibrary.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Adding pictures to a project's picture folder and taking them out again. The window and
// tavo-cli both go through here, so they name, convert and refuse files alike.
namespace PictureFiles {

// Name filter of the import dialog: every format this build can read.
QString importNameFilter();

struct ImportFailure {
    enum Reason { Missing, NotPicture, TooLarge, CopyFailed, BadName };
    QString file;
    Reason reason = NotPicture;
};

struct ImportResult {
    QStringList added;  // full paths of the new files, in the order given
    QVector<ImportFailure> failed;
    // Set when the picture folder itself may not be written into (a link, not a folder).
    QString folderError;
    // One message naming every file that was not imported and why; empty when all were.
    QString message() const;
};

// Copies each file into imagesFolder as "<serial>_<name>", serials counting on from the largest
// in the folder (the first is PictureLibrary::FirstSerial). BMP and JPEG files are copied as they
// are; any other picture Qt reads is stored as a 24-bit BMP "<serial>_<base name>.bmp", so the
// folder only ever holds formats the module tools read. A file that is missing, not a readable
// picture, named with a control character (a line break would split every listing of the folder)
// or fails to copy is reported and leaves nothing behind. A picture folder that is a symbolic
// link is never written through: nothing is imported.
ImportResult importPictures(const QString &imagesFolder, const QStringList &files);

// Why imagesFolder may not be written into or removed from: a symbolic link, or not a folder.
// Empty when it is a real folder or does not exist yet.
QString pictureFolderProblem(const QString &imagesFolder);

// A file name as one line of a listing: line breaks, tabs and backslashes escaped as \n, \t, \\.
QString escapedName(const QString &fileName);

// Deleting pictures in the order that never leaves the project file naming the wrong pictures.
// The files are first renamed into "<project>/tempImages.removing" beside a note of the project
// file as it is then; the project file is written with the new references; only then are the
// files deleted. Opening a project finishes or undoes a removal cut short: a project file still as
// noted gets its pictures back, a rewritten one has them deleted.
//
// Sets the files of pictures numbers (valid, ascending, unique) of lib aside. Returns the numbers
// whose file is no longer in the picture folder (a file already missing counts); the others are
// named in failed. Until finishRemoval, this process holds the removal: another process opening
// the project leaves it alone.
QVector<int> setPicturesAside(const QString &projectFile, const PictureLibrary &lib, const QVector<int> &numbers,
                              QStringList *failed);
// Deletes what was set aside: the project file now holds the references without those pictures.
void finishRemoval(const QString &projectFile);
// Puts what was set aside back under its old names (the project file was not written).
void undoRemoval(const QString &projectFile);
// At opening: finishes or undoes a removal that another process left half done, then settles the
// window's note of unsaved picture changes. Returns the number of pictures put back (0 when
// there was nothing to do, or it was finished).
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
// and the picture folder's files as saved. Opening the project after the window was killed finds
// the note: while the project file is still the one noted, the picture folder is made the saved
// one again (files added since are removed, those taken out come back from the backup), so the
// saved references never name another picture. The note is this process's until it lets go.
//
// Called before each change; false when the note cannot be written (the change should not start).
bool noteUnsavedPictures(const QString &projectFile);
// The project file and the picture folder agree again (saved, or put back as saved).
void dropUnsavedNote(const QString &projectFile);
// Lets go of the note without settling it: the next opening recovers the folder.
void leaveUnsavedNote(const QString &projectFile);
// At opening (recoverRemoval calls it): settles a note a killed process left. Returns the number
// of files added back or removed.
int recoverUnsavedPictures(const QString &projectFile);

// lib without the pictures numbers (ascending, unique).
PictureLibrary without(const PictureLibrary &lib, const QVector<int> &numbers);

// A file that may not go to the module: not readable as a picture (it would be sent as nothing and
// shift the address of every picture after it), or too large for the picture header.
bool isUnreadable(const PictureInfo &info);

// A picture larger than the page in either direction: the module cuts it off.
bool isOversized(const QSize &picture, const QSize &page);

}  // namespace PictureFiles
