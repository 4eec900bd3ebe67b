#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Generated C beyond what every generated file shares (bindings/generatedfile.h): byte arrays
// written the same way every time, and a set of files written into one folder.
namespace GeneratedC {

struct File {
    QString name;  // inside the output folder
    QByteArray text;
};

// "NAME[] = {\n  1, 2, ...\n}" lines, sixteen numbers a line.
QByteArray byteList(const QByteArray &bytes);
// Printable ASCII as it stands, anything else as "\xNN"; "*/" broken up, for a comment.
QByteArray commentText(const QByteArray &bytes, int maxChars = 60);
// Writes every file whole into dir (created when missing). A link or non-regular file in the
// way is refused before anything is written. Returns an error text, empty on success.
QString writeFiles(const QString &dir, const QVector<File> &files);

}  // namespace GeneratedC
