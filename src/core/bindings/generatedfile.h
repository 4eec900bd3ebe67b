#pragma once

#include "model/names.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What every file that tavo-cli generates for firmware shares: the opening comment that names the
// command and says the file is rewritten whole, the identifier and prefix rules of C, and writing
// a file whole or not at all.
namespace GeneratedFile {

// Longest name or prefix taken, as for page and control names.
constexpr int MaxIdentifier = Names::MaxLength;

enum class CommentStyle { C, Hash };

// The opening comment: the command that made the file, that it is overwritten every time and
// holds no user code, then the extra lines. Every line ends in '\n'.
QString openingComment(CommentStyle style, const QString &command, const QStringList &extra = {});

// An ASCII letter or '_', then letters, digits and '_', at most MaxIdentifier characters.
inline bool isIdentifier(const QString &s) { return Names::isIdentifier(s); }

// The prefix of generated names: the --prefix given, or the project file's base name made into
// an identifier (letters and digits kept, lower case, anything else '_', '_' first before a digit).
QString defaultPrefix(const QString &projectPath);
// Empty when the prefix can be used, else why not.
QString prefixProblem(const QString &prefix);

// Replaces path with exactly these bytes through a temporary file, so a reader sees the old file
// or the new one. A link, folder or other non-regular file in the way is refused, never followed.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error);
// The file as it stands (a regular file of at most maxBytes); false when missing or unreadable.
bool readExisting(const QString &path, qint64 maxBytes, QByteArray *bytes);

}  // namespace GeneratedFile
