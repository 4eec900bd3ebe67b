#pragma once

#include "model/projectdata.h"

#include <QByteArray>
#include <QString>

class QDomDocument;

// Reading and writing ".Tavo" project files (UTF-8 XML, indentation 4).
namespace ProjectFile {

// Larger files are refused unread. The reader holds about the file's own size, so this bounds
// what reading a file can cost; a real project stays far below it.
constexpr qint64 MaxFileBytes = 512 * 1024 * 1024;
// A project file needs four levels; deeper nesting is refused before any tree is built.
constexpr int MaxDepth = 64;
// Page sides beyond this are not taken from a file (the largest module is 1024 wide).
constexpr int MaxFrameSide = 4096;

// True when xml is well-formed, within MaxFileBytes and MaxDepth; otherwise reason says where.
bool checkWellFormed(const QByteArray &xml, const QString &nameForMessages, QString *reason);

struct ReadResult {
    bool ok = false;
    // Why reading failed, precise enough to find the place: file, line and column of an XML
    // error, or the element that was refused. Empty on success.
    QString reason;
    // True when the file gave a usable page size (both sides 1..MaxFrameSide); only then are
    // data's frameW, frameH and screenType taken from the file, otherwise they stay as passed in
    // and the caller keeps its page size and orientation.
    bool hasFrameSize = false;
};

// Reads a project file. Picture numbers at or beyond pictureCount, and negative ones, read as -1.
// data's pages are replaced; values the file lacks keep what data held. On failure, data holds
// what was read up to that point.
ReadResult read(const QString &path, int pictureCount, ProjectData *data);
ReadResult readFromBytes(const QByteArray &xml, int pictureCount, ProjectData *data,
                         const QString &nameForMessages = QString());

// The same, choosing the parser: allowFast false always takes the full one (for comparing them).
ReadResult readFromBytesWith(const QByteArray &xml, int pictureCount, ProjectData *data,
                             const QString &nameForMessages, bool allowFast);

// The file's bytes for a project.
QByteArray toXml(const ProjectData &data);
// Writes atomically: the old file stays intact until the new one is complete. With no pages
// nothing is written and true is returned.
bool write(const QString &path, const ProjectData &data, QString *error = nullptr);

// Gives a parsed document the declaration the writer uses.
void normalizeDeclaration(QDomDocument &doc);

// Rewrite the "baud" or "blValue" element of an existing file in place (atomically).
bool updateBaud(const QString &path, const QString &baud);
bool updateBlValue(const QString &path, int blValue);

}  // namespace ProjectFile
