#include "cliutil.h"
#include "commands.h"
#include "download/downloadcheck.h"
#include "model/pagefit.h"
#include "download/limitcheck.h"

#include <QCoreApplication>

namespace {

const char *kUsage = "usage: tavo-cli check PROJECT.Tavo [--limits CONTROLS,BYTES,TEXTBYTES]";

bool parseLimits(const QString &text, ModuleLimits *limits)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || v[i] < 0)
            return false;
    }
    limits->maxControls = v[0];
    limits->maxBytes = v[1];
    limits->maxTextBytes = v[2];
    return true;
}

}  // namespace

// tavo-cli check PROJECT.Tavo [--limits CONTROLS,BYTES,TEXTBYTES]: the checks made before a
// download and, with the limits a module reports, the module's own check.
int cmdCheck(const QStringList &arguments)
{
    QStringList args = arguments;
    QString limitText;
    bool hasLimits = false;
    if (!takeOption(args, QStringLiteral("--limits"), &limitText, &hasLimits))
        return fail(ExitUsage, QString::fromLatin1(kUsage));
    ModuleLimits limits;
    if (hasLimits && !parseLimits(limitText, &limits))
        return fail(ExitUsage, QStringLiteral("--limits takes three numbers, CONTROLS,BYTES,TEXTBYTES"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return fail(ExitUsage, QString::fromLatin1(kUsage));

    CliProject project;
    if (!loadCliProject(args.first(), &project, CliProject::ReadFolder))
        return project.loadStatus;
    // Everything a download with pictures would refuse, pictures no page uses included.
    const DownloadJob job = jobFromProject(project.data, project.folder, DownloadMode::PicturesAndPages, JobPictures::Verdicts);
    QStringList problems = DownloadCheck::allMessages(job);
    // A download without pages can only end in a time-out.
    if (project.data.pages.isEmpty())
        problems.prepend(QCoreApplication::translate("QMyFrame", "未添加页，请您先添加页！"));
    if (hasLimits) {
        const QString m = moduleLimitMessage(project.data.pages, limits);
        if (!m.isEmpty())
            problems << m;
    }
    for (const QString &p : problems)
        err() << p << '\n';
    // Warnings only: the module clips what lies outside its page.
    for (const QString &w : PageFit::outsideWarnings(project.data.pages, project.data.frameW, project.data.frameH))
        err() << w << '\n';
    err().flush();
    if (!problems.isEmpty())
        return ExitFailed;
    out() << "ok: " << project.data.pages.size() << " pages, " << project.pictures.count() << " pictures\n";
    out().flush();
    return ExitOk;
}
