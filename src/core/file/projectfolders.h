#pragma once

#include <QString>

// The picture folders beside a project file: "/tempImages" holds the pictures being edited,
// "/backUpImages" those of the last save.
namespace ProjectFolders {

QString pictures(const QString &projectFolder);
QString backup(const QString &projectFolder);

// The folder whose pictures the project file was saved with: "/tempImages", unless it is missing
// or empty while the backup holds files (a folder lost or emptied outside the program).
QString picturesToRead(const QString &projectFolder);

// Brings back "/tempImages" from the backup when it is missing or empty and the backup is not.
// Returns how many files were restored (0 when nothing needed it, -1 when the copy failed; error
// then names a folder in the way, such as a "/tempImages" that is a symbolic link).
int restorePicturesFromBackup(const QString &projectFolder, QString *error = nullptr);

// Whether the working pictures differ from those of the last save: other names or sizes. (Copies
// do not keep file times, and library files are never rewritten in place.)
bool picturesChangedSinceSave(const QString &projectFolder);

}  // namespace ProjectFolders
