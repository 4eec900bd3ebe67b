#include "cliutil.h"
#include "commands.h"
#include "download/downloadcheck.h"
#include "script/moduletext.h"
#include "script/scripts.h"

namespace {

const char *kUsage = "usage: tavo-cli script PROJECT.Tavo (--page N | --boot | --all)";

// The boot script, refused when its animation range names pictures the project lacks (this also
// keeps a wild range from building a gigantic text).
bool bootScript(const CliProject &project, QByteArray *bytes)
{
    // The pictures as loaded: the saved ones while another program holds unsaved changes.
    DownloadJob job = jobFromProject(project.data, project.folder, DownloadMode::PagesOnly, JobPictures::None);
    job.pictures = project.pictures;
    const QString problem = DownloadCheck::bootAnimationMessage(job);
    if (!problem.isEmpty()) {
        fail(ExitFailed, problem);
        return false;
    }
    *bytes = ModuleText::encode(buildBootScript(job));
    return true;
}

bool pageScript(const CliProject &project, int page, QByteArray *bytes)
{
    QString script;
    TextProblem problem;
    if (!buildPageScript(project.data.pages.at(page), page, project.pictures, &script, &problem)) {
        fail(ExitFailed, problem.message);
        return false;
    }
    *bytes = ModuleText::encode(script);
    return true;
}

}  // namespace

// tavo-cli script PROJECT.Tavo (--page N | --boot | --all): the bytes the module would receive.
int cmdScript(const QStringList &arguments)
{
    QStringList args = arguments;
    QString pageText;
    bool hasPage = false;
    if (!takeOption(args, QStringLiteral("--page"), &pageText, &hasPage))
        return fail(ExitUsage, QString::fromLatin1(kUsage));
    const bool boot = takeFlag(args, QStringLiteral("--boot"));
    const bool all = takeFlag(args, QStringLiteral("--all"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")) || int(hasPage) + int(boot) + int(all) != 1)
        return fail(ExitUsage, QString::fromLatin1(kUsage));
    bool ok = false;
    const int page = pageText.toInt(&ok);
    if (hasPage && !ok)
        return fail(ExitUsage, QStringLiteral("--page takes a page index, not '%1'").arg(pageText));

    CliProject project;
    if (!loadCliProject(args.first(), &project))
        return project.loadStatus;
    const int pageCount = project.data.pages.size();
    if (hasPage && (page < 0 || page >= pageCount))
        return fail(ExitUsage, QStringLiteral("page %1 does not exist (the project has %2 pages, counted from 0)")
                                   .arg(page)
                                   .arg(pageCount));

    QByteArray bytes;
    if (hasPage) {
        if (!pageScript(project, page, &bytes))
            return ExitFailed;
    } else {
        if (!bootScript(project, &bytes))
            return ExitFailed;
        // Everything in download order: the boot script, then every page.
        for (int i = 0; all && i < pageCount; ++i) {
            QByteArray pageBytes;
            if (!pageScript(project, i, &pageBytes))
                return ExitFailed;
            bytes += pageBytes;
        }
    }
    writeRaw(bytes);
    return ExitOk;
}
