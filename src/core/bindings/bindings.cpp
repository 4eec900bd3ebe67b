#include "bindings/bindings.h"

#include "bindings/generatedfile.h"

#include <QRegularExpression>

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
