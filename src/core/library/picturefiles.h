#pragma once

#include "library/picturelibrary.h"
#include "library/picturerecovery.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

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

// A name a file of the picture folder may have: one file name (no separator, not "." or ".."),
// without control characters. Names read from a note are held to it too.
bool isPlainName(const QString &name);
// Something stands at path already, even a dangling link a copy would follow.
bool nameTaken(const QString &path);
// Copies src to the new name dest whole; nothing is left at dest when it fails.
bool copyWhole(const QString &src, const QString &dest);

// lib without the pictures numbers (ascending, unique).
PictureLibrary without(const PictureLibrary &lib, const QVector<int> &numbers);

// A file that may not go to the module: not readable as a picture (it would be sent as nothing and
// shift the address of every picture after it), or too large for the picture header.
bool isUnreadable(const PictureInfo &info);

// A picture larger than the page in either direction: the module cuts it off.
bool isOversized(const QSize &picture, const QSize &page);

}  // namespace PictureFiles
