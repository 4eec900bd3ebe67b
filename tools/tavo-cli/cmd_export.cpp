#include "cliutil.h"
#include "commands.h"
#include "devicejob.h"

#include "bindings/generatedfile.h"
#include "export/downloadexport.h"

#include <QDir>

int cmdExportDownload(const QStringList &arguments)
{
    const QString usage = QStringLiteral(
        "usage: tavo-cli export-download PROJECT.Tavo --c DIR [--prefix P] [--pages | --with-pictures | --pictures-only]\n"
        "                [--pictures-from-reader] [--example]");
    QStringList args = arguments;
    QString dir, prefix;
    bool dirGiven = false, prefixGiven = false;
    if (!takeOption(args, QStringLiteral("--c"), &dir, &dirGiven) || !dirGiven || dir.isEmpty())
        return fail(ExitUsage, QStringLiteral("--c DIR is required\n") + usage);
    if (!takeOption(args, QStringLiteral("--prefix"), &prefix, &prefixGiven))
        return fail(ExitUsage, QStringLiteral("--prefix needs a value\n") + usage);
    const bool pages = takeFlag(args, QStringLiteral("--pages"));
    const bool withPictures = takeFlag(args, QStringLiteral("--with-pictures"));
    const bool picturesOnly = takeFlag(args, QStringLiteral("--pictures-only"));
    DownloadExportOptions options;
    options.pixelsFromReader = takeFlag(args, QStringLiteral("--pictures-from-reader"));
    options.example = takeFlag(args, QStringLiteral("--example"));
    if (int(pages) + int(withPictures) + int(picturesOnly) > 1)
        return fail(ExitUsage, QStringLiteral("choose one of --pages, --with-pictures, --pictures-only\n") + usage);
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")))
            return fail(ExitUsage, QStringLiteral("unknown option '%1'\n").arg(a) + usage);
    if (args.size() != 1)
        return fail(ExitUsage, QStringLiteral("export-download needs one project file\n") + usage);
    if (prefixGiven && !GeneratedFile::prefixProblem(prefix).isEmpty())
        return fail(ExitUsage, GeneratedFile::prefixProblem(prefix));
    if (options.pixelsFromReader && !withPictures && !picturesOnly)
        return fail(ExitUsage, QStringLiteral("--pictures-from-reader goes with --with-pictures or --pictures-only\n") + usage);

    CliProject project;
    if (!loadCliProject(args.first(), &project))
        return ExitUsage;
    DownloadJob job;
    const QString refusal = projectDownloadJob(project, withPictures, picturesOnly, false, &job);
    if (!refusal.isEmpty())
        return fail(ExitFailed, refusal);

    options.prefix = prefixGiven ? prefix : GeneratedFile::defaultPrefix(args.first());
    options.baud = projectBaud(project, DeviceOptions().baud);
    // The command as a user would type it again, without where the files went.
    QStringList command{QStringLiteral("tavo-cli export-download"), QFileInfo(args.first()).fileName()};
    if (prefixGiven)
        command << QStringLiteral("--prefix") << prefix;
    for (const QString &flag : {QStringLiteral("--pages"), QStringLiteral("--with-pictures"),
                                QStringLiteral("--pictures-only"), QStringLiteral("--pictures-from-reader"),
                                QStringLiteral("--example")})
        if (arguments.contains(flag))
            command << flag;
    options.command = command.join(QLatin1Char(' '));

    const DownloadExport result = exportDownload(job, options);
    if (!result.problem.isEmpty())
        return fail(ExitFailed, result.problem);
    const QString problem = GeneratedC::writeFiles(dir, result.files);
    if (!problem.isEmpty())
        return fail(ExitFailed, problem);
    for (const GeneratedC::File &f : result.files)
        out() << QDir(dir).filePath(f.name) << Qt::endl;
    out() << QStringLiteral("data: %1 bytes").arg(result.dataBytes) << Qt::endl;
    return ExitOk;
}
