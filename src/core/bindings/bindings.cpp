#include "bindings/bindings.h"

#include "bindings/generatedfile.h"

#include <QDir>
#include <QFileInfo>

namespace Bindings {

QStringList commentLines(const BindingLayout::Layout &layout, const QString &stamp, int tableCharacters)
{
    QStringList out;
    out << QString() << QStringLiteral("Layout stamp %1. Pages and controls (index or number, kind, name):").arg(stamp);
    for (const QString &l : BindingLayout::lines(layout))
        out << layoutMarker() + l;
    out << QString()
        << QStringLiteral("Texts are taken in UTF-8 and sent in GBK; besides ASCII the table holds %1 characters.")
               .arg(tableCharacters);
    return out;
}

bool generate(const ProjectData &project, const Options &options, const QString &pythonFileName, Result *result,
              QString *error)
{
    *error = GeneratedFile::prefixProblem(options.prefix);
    if (!error->isEmpty())
        return false;
    if (!BindingLayout::fromProject(project, &result->layout, error))
        return false;
    const QVector<GbkTable::Entry> table =
        options.allCharacters ? GbkTable::whole()
                              : GbkTable::forCharacters(GbkTable::projectCharacters(project) + options.characters);
    result->stamp = BindingLayout::stamp(result->layout);
    result->tableCharacters = table.size();
    // Two 16-bit words per entry in C; the Python module's escapes are about six bytes each.
    result->tableBytes = options.language == Language::C ? table.size() * 4 : table.size() * 14;
    if (options.language == Language::C) {
        result->files = cFiles(result->layout, table, options);
    } else {
        result->files = {{pythonFileName, pythonModule(result->layout, table, options)}};
    }
    return true;
}

QString commandLine(const QString &projectPath, const Options &options, const QString &output, const QString &charsFile)
{
    QString command = QStringLiteral("tavo-cli bindings %1 ").arg(QFileInfo(projectPath).fileName());
    command += options.language == Language::C
                   ? QStringLiteral("--c %1").arg(QFileInfo(QDir(output).absolutePath()).fileName())
                   : QStringLiteral("--python %1").arg(QFileInfo(output).fileName());
    command += QStringLiteral(" --prefix %1").arg(options.prefix);
    if (!charsFile.isEmpty())
        command += QStringLiteral(" --chars %1").arg(QFileInfo(charsFile).fileName());
    if (options.allCharacters)
        command += QStringLiteral(" --all-chars");
    return command;
}

bool writeFiles(const QString &folder, const Result &result, QStringList *written, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    for (const File &f : result.files) {
        const QString path = QDir(folder).filePath(f.name);
        if (!GeneratedFile::writeWhole(path, f.bytes, error))
            return false;
        written->append(path);
    }
    return true;
}

QStringList layoutLinesOf(const QByteArray &generated)
{
    QStringList out;
    const QString marker = layoutMarker();
    for (const QString &line : QString::fromUtf8(generated).split(QLatin1Char('\n'))) {
        const int at = line.indexOf(marker);
        if (at >= 0 && at <= 4)
            out << line.mid(at + marker.size()).trimmed();
    }
    return out;
}

}  // namespace Bindings
