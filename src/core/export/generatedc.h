#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// What every generated C file has in common: a first comment naming the command that made it, a
// prefix that is a C identifier, byte arrays written the same way every time, and files written
// whole (never merged with anything a user wrote).
namespace GeneratedC {

struct File {
    QString name;  // inside the output folder
    QByteArray text;
};

// The first comment of a generated file.
QByteArray notice(const QString &command);
// True when prefix may start every generated name: a letter or "_", then letters, digits, "_",
// at most 32 characters.
bool validPrefix(const QString &prefix);
// The prefix made from a project file's name: "My Panel.Tavo" gives "my_panel".
QString defaultPrefix(const QString &projectPath);
// "NAME[] = {\n  1, 2, ...\n}" lines, sixteen numbers a line.
QByteArray byteList(const QByteArray &bytes);
// Printable ASCII as it stands, anything else as "\xNN"; "*/" broken up, for a comment.
QByteArray commentText(const QByteArray &bytes, int maxChars = 60);
// Writes every file whole into dir (created when missing). A path that is a link or not a
// regular file is refused, never followed. Returns an error text, empty on success.
QString writeFiles(const QString &dir, const QVector<File> &files);

}  // namespace GeneratedC
