#pragma once

#include "library/picturelibrary.h"

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
    enum Reason { Missing, NotPicture, TooLarge, CopyFailed };
    QString file;
    Reason reason = NotPicture;
};

struct ImportResult {
    QStringList added;  // full paths of the new files, in the order given
    QVector<ImportFailure> failed;
    // One message naming every file that was not imported and why; empty when all were.
    QString message() const;
};

// Copies each file into imagesFolder as "<serial>_<name>", serials counting on from the largest
// in the folder (the first is PictureLibrary::FirstSerial). BMP and JPEG files are copied as they
// are; any other picture Qt reads is stored as a 24-bit BMP "<serial>_<base name>.bmp", so the
// folder only ever holds formats the module tools read. A file that is missing, not a readable
// picture or fails to copy is reported and leaves nothing behind.
ImportResult importPictures(const QString &imagesFolder, const QStringList &files);

// Deletes the files of pictures numbers (valid, ascending, unique) of lib. Returns the numbers
// whose file is gone afterwards (a file already missing counts); the others are named in failed.
QVector<int> removePictureFiles(const PictureLibrary &lib, const QVector<int> &numbers, QStringList *failed);

// lib without the pictures numbers (ascending, unique).
PictureLibrary without(const PictureLibrary &lib, const QVector<int> &numbers);

// A file that may not go to the module: not readable as a picture (it would be sent as nothing and
// shift the address of every picture after it), or too large for the picture header.
bool isUnreadable(const PictureInfo &info);

// A picture larger than the page in either direction: the module cuts it off.
bool isOversized(const QSize &picture, const QSize &page);

}  // namespace PictureFiles
