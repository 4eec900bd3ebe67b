#include "export/generatedc.h"

#include "bindings/generatedfile.h"

#include <QDir>
#include <QFileInfo>

namespace GeneratedC {

QByteArray byteList(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 5 + bytes.size() / 4 + 16);
    for (int i = 0; i < bytes.size(); ++i) {
        out += (i % 16 == 0) ? "\n    " : " ";
        out += QByteArray::number(quint8(bytes.at(i)));
        out += ',';
    }
    out += '\n';
    return out;
}

QByteArray commentText(const QByteArray &bytes, int maxChars)
{
    QByteArray out;
    for (int i = 0; i < bytes.size() && out.size() < maxChars; ++i) {
        const char c = bytes.at(i);
        if (c >= 0x20 && c < 0x7f && c != '\\' && !(c == '/' && i > 0 && bytes.at(i - 1) == '*'))
            out += c;
        else
            out += "\\x" + QByteArray::number(quint8(c), 16).rightJustified(2, '0');
    }
    if (out.size() >= maxChars)
        out += "...";
    return out;
}

QString writeFiles(const QString &dir, const QVector<File> &files)
{
    const QFileInfo folder(dir);
    if (folder.isSymLink())
        return QStringLiteral("'%1' is a link; give the folder itself").arg(dir);
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("'%1' is not a folder").arg(dir);
    if (!QDir().mkpath(dir))
        return QStringLiteral("cannot create '%1'").arg(dir);
    for (const File &f : files) {
        const QString path = QDir(dir).filePath(f.name);
        const QFileInfo info(path);
        if (info.isSymLink() || (info.exists() && !info.isFile()))
            return QStringLiteral("'%1' is not a regular file; nothing was written over it").arg(path);
    }
    for (const File &f : files) {
        QString error;
        if (!GeneratedFile::writeWhole(QDir(dir).filePath(f.name), f.text, &error))
            return error;
    }
    return QString();
}

}  // namespace GeneratedC
