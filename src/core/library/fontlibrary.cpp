#include "library/fontlibrary.h"

#include "library/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FontLibrary {

FontName parseFontName(const QString &fileName)
{
    FontName f;
    const QStringList parts = QFileInfo(fileName).completeBaseName().split(QLatin1Char('_'));
    if (parts.size() != 2)
        return f;
    const QString &family = parts.at(0);
    static const QStringList sizes = {QStringLiteral("16"), QStringLiteral("24"), QStringLiteral("32"),
                                      QStringLiteral("48"), QStringLiteral("72"), QStringLiteral("96")};
    if ((family != QLatin1String("C") && family != QLatin1String("E")) || !sizes.contains(parts.at(1)))
        return f;
    f.valid = true;
    f.chinese = family == QLatin1String("C");
    f.size = parts.at(1).toInt();
    return f;
}

QStringList fontList(const QString &fontsFolder, QStringList *skipped)
{
    QStringList out;
    const QDir dir(fontsFolder);
    for (const QString &name : dir.entryList({QStringLiteral("*.bin")}, QDir::Files | QDir::System, QDir::Name)) {
        if (!parseFontName(name).valid)
            continue;
        const QString path = dir.filePath(name);
        if (RegularFile::isRegular(path))
            out << path;
        else if (skipped)
            *skipped << path;
    }
    return out;
}

QStringList fontListOfProject(const QString &projectFolder, QStringList *skipped)
{
    return fontList(projectFolder + QStringLiteral("/tempFonts"), skipped);
}

QStringList importFonts(const QString &fontsFolder, const QStringList &files)
{
    QStringList failed;
    QDir().mkpath(fontsFolder);
    for (const QString &file : files) {
        const QFileInfo src(file);
        const QString dest = fontsFolder + QLatin1Char('/') + src.fileName();
        if (src.absoluteFilePath() == QFileInfo(dest).absoluteFilePath())
            continue;
        // Copied beside the old font first, so a failed copy leaves the old one in place.
        const QString part = dest + QStringLiteral(".part");
        QFile::remove(part);
        const bool copied = src.isFile() && QFile::copy(file, part) && QFileInfo(part).size() == src.size();
        if (!copied || (QFileInfo::exists(dest) && !QFile::remove(dest)) || !QFile::rename(part, dest)) {
            QFile::remove(part);
            failed << src.fileName();
        }
    }
    return failed;
}

}  // namespace FontLibrary
