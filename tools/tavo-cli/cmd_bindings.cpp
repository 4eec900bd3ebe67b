#include "cliutil.h"
#include "commands.h"

#include "bindings/bindings.h"
#include "bindings/generatedfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char *kUsage = "usage: tavo-cli bindings PROJECT.Tavo (--c DIR | --python FILE) [--check] [--prefix P]\n"
                     "                         [--chars FILE | --all-chars]";

// Larger than any generated file, so a check never reads without end.
constexpr qint64 MaxGenerated = 64 * 1024 * 1024;
constexpr qint64 MaxCharsFile = 4 * 1024 * 1024;

// The characters a --chars file lists; false (after saying why) when it cannot be used.
bool readCharacters(const QString &path, QString *characters)
{
    QByteArray bytes;
    if (!GeneratedFile::readExisting(path, MaxCharsFile, &bytes)) {
        fail(ExitUsage, QStringLiteral("cannot read %1 (a regular file of at most %2 bytes)").arg(path).arg(MaxCharsFile));
        return false;
    }
    *characters = QString::fromUtf8(bytes);
    QString missing;
    GbkTable::forCharacters(*characters, &missing);
    if (!missing.isEmpty()) {
        fail(ExitUsage, QStringLiteral("%1 lists characters the module cannot show (not in GBK): %2").arg(path, missing));
        return false;
    }
    return true;
}

// Compares what would be written with what is there, naming each difference.
int check(const QString &folder, const Bindings::Result &result)
{
    QStringList problems;
    for (const Bindings::File &f : result.files) {
        const QString path = QDir(folder).filePath(f.name);
        QByteArray existing;
        if (!GeneratedFile::readExisting(path, MaxGenerated, &existing)) {
            problems << QStringLiteral("%1 is missing").arg(path);
            continue;
        }
        if (existing == f.bytes)
            continue;
        const QStringList moved = BindingLayout::differences(
            BindingLayout::fromLines(Bindings::layoutLinesOf(existing)), result.layout);
        if (moved.isEmpty())
            problems << QStringLiteral("%1 differs from what the project gives (other options, another version of "
                                       "tavo-cli, or edited by hand)")
                            .arg(path);
        else
            for (const QString &m : moved)
                problems << QStringLiteral("%1: %2").arg(path, m);
    }
    if (problems.isEmpty()) {
        out() << "bindings match the project (layout stamp " << result.stamp << ")" << Qt::endl;
        return ExitOk;
    }
    for (const QString &p : problems)
        err() << p << Qt::endl;
    return fail(ExitFailed, QStringLiteral("the bindings no longer match the project; run the command without --check"));
}

}  // namespace

// tavo-cli bindings: firmware code that drives the project's pages and controls by name.
int cmdBindings(const QStringList &arguments)
{
    QStringList args = arguments;
    QString cDir, pyFile, prefix, charsFile;
    bool hasC = false, hasPy = false, hasPrefix = false, hasChars = false;
    if (!takeOption(args, QStringLiteral("--c"), &cDir, &hasC) || !takeOption(args, QStringLiteral("--python"), &pyFile, &hasPy) ||
        !takeOption(args, QStringLiteral("--prefix"), &prefix, &hasPrefix) ||
        !takeOption(args, QStringLiteral("--chars"), &charsFile, &hasChars))
        return fail(ExitUsage, QString::fromLatin1(kUsage));
    const bool checkOnly = takeFlag(args, QStringLiteral("--check"));
    const bool allChars = takeFlag(args, QStringLiteral("--all-chars"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")) || hasC == hasPy || (hasChars && allChars))
        return fail(ExitUsage, QString::fromLatin1(kUsage));

    CliProject project;
    if (!loadCliProject(args.first(), &project))
        return ExitUsage;
    Bindings::Options options;
    options.language = hasC ? Bindings::Language::C : Bindings::Language::Python;
    options.prefix = hasPrefix ? prefix : GeneratedFile::defaultPrefix(project.path);
    options.allCharacters = allChars;
    if (hasChars && !readCharacters(charsFile, &options.characters))
        return ExitUsage;
    options.command = Bindings::commandLine(project.path, options, hasC ? cDir : pyFile, hasChars ? charsFile : QString());

    Bindings::Result result;
    QString error;
    if (!Bindings::generate(project.data, options, QFileInfo(pyFile).fileName(), &result, &error))
        return fail(ExitUsage, error);
    const QString folder = hasC ? cDir : QFileInfo(pyFile).path();
    if (checkOnly)
        return check(folder, result);

    QStringList written;
    if (!Bindings::writeFiles(folder, result, &written, &error))
        return fail(ExitFailed, error);
    for (int i = 0; i < written.size(); ++i)
        written[i] += QStringLiteral(" (%1 bytes)").arg(result.files.at(i).bytes.size());
    out() << "wrote " << written.join(QStringLiteral(", ")) << Qt::endl
          << "GBK table: " << result.tableCharacters << " characters, " << result.tableBytes << " bytes; layout stamp "
          << result.stamp << Qt::endl;
    return ExitOk;
}
