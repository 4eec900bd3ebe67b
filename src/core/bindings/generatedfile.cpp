#include "bindings/generatedfile.h"

#include "library/regularfile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace GeneratedFile {

QString openingComment(CommentStyle style, const QString &command, const QStringList &extra)
{
    QStringList lines;
    lines << QStringLiteral("Made by `%1`.").arg(command)
          << QStringLiteral("Overwritten whole each time that command runs: keep your own code in other files.");
    lines += extra;
    QString out;
    if (style == CommentStyle::C) {
        out += QLatin1String("/* ") + lines.first() + QLatin1Char('\n');
        for (int i = 1; i < lines.size(); ++i)
            out += (lines.at(i).isEmpty() ? QStringLiteral(" *") : QLatin1String(" * ") + lines.at(i)) + QLatin1Char('\n');
        out += QLatin1String(" */\n");
    } else {
        for (const QString &l : lines)
            out += (l.isEmpty() ? QStringLiteral("#") : QLatin1String("# ") + l) + QLatin1Char('\n');
    }
    return out;
}

QString defaultPrefix(const QString &projectPath)
{
    QString out;
    for (const QChar c : QFileInfo(projectPath).completeBaseName()) {
        const ushort u = c.toLower().unicode();
        out += ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) ? QChar(u) : QLatin1Char('_');
    }
    if (out.isEmpty() || out.at(0).isDigit())
        out.prepend(QLatin1Char('_'));
    return out.left(MaxIdentifier);
}

QString prefixProblem(const QString &prefix)
{
    if (isIdentifier(prefix))
        return QString();
    return QStringLiteral("the prefix '%1' is not an identifier (a letter or '_', then letters, digits or '_', "
                          "at most %2 characters)")
        .arg(prefix)
        .arg(MaxIdentifier);
}

bool writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        *error = QStringLiteral("%1 is not a regular file; nothing was written there").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool readExisting(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    if (QFileInfo(path).isSymLink() || !RegularFile::readAtMost(path, maxBytes, bytes))
        return false;
    return bytes->size() <= maxBytes;
}

}  // namespace GeneratedFile
