#pragma once

#include "projectdata.h"

#include <QByteArray>
#include <QString>

// Reading and writing ".Tavo" project files (UTF-8 XML, indentation 4).
namespace ProjectFile {

struct ReadResult {
    bool ok = false;
    // Why reading failed, precise enough to find the place: file, line and column of an XML
    // error, or the element that was refused. Empty on success.
    QString reason;
    // frameW and frameH as found; the caller keeps its page size when either is 0.
    bool hasFrameSize = false;
};

// Reads a project file. Picture numbers at or beyond pictureCount, and negative ones, read as -1.
// On failure, data holds what was read up to that point.
ReadResult read(const QString &path, int pictureCount, ProjectData *data);
ReadResult readFromBytes(const QByteArray &xml, int pictureCount, ProjectData *data,
                         const QString &nameForMessages = QString());

// The file's bytes for a project.
QByteArray toXml(const ProjectData &data);
// Writes atomically: the old file stays intact until the new one is complete. With no pages
// nothing is written and true is returned.
bool write(const QString &path, const ProjectData &data, QString *error = nullptr);

// Rewrite the "baud" or "blValue" element of an existing file in place (atomically).
bool updateBaud(const QString &path, const QString &baud);
bool updateBlValue(const QString &path, int blValue);

}  // namespace ProjectFile
