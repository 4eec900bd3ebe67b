#include "cliutil.h"
#include "commands.h"

#include "library/picturefiles.h"
#include "library/picturelibrary.h"
#include "file/projectfile.h"
#include "modulepage.h"
#include "render/renderer.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {

struct RenderArgs {
    QString project;
    QString output;
    int page = -1;
    bool design = false;
    bool module = false;
};

// Fills a from the arguments; returns an error text, empty when they are usable.
QString parse(const QStringList &args, RenderArgs *a)
{
    bool havePage = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--design")) {
            a->design = true;
        } else if (arg == QLatin1String("--module")) {
            a->module = true;
        } else if (arg == QLatin1String("--page") || arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(arg);
            const QString value = args.at(++i);
            if (arg == QLatin1String("--page")) {
                bool ok = false;
                a->page = value.toInt(&ok);
                if (!ok || a->page < 0)
                    return QStringLiteral("--page takes a page index from 0, not '%1'").arg(value);
                havePage = true;
            } else {
                a->output = value;
            }
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return QStringLiteral("unknown option '%1'").arg(arg);
        } else if (a->project.isEmpty()) {
            a->project = arg;
        } else {
            return QStringLiteral("unexpected argument '%1'").arg(arg);
        }
    }
    if (a->project.isEmpty())
        return QStringLiteral("render needs a project file");
    if (!havePage)
        return QStringLiteral("render needs --page N");
    if (a->output.isEmpty())
        return QStringLiteral("render needs -o FILE.png");
    if (a->design && a->module)
        return QStringLiteral("--design and --module exclude each other");
    return QString();
}

}  // namespace

int cmdRender(const QStringList &args)
{
    RenderArgs a;
    const QString usage = parse(args, &a);
    if (!usage.isEmpty())
        return fail(ExitUsage, usage + QStringLiteral("\nusage: tavo-cli render PROJECT.Tavo --page N -o FILE.png [--design | --module]"));

    const QFileInfo projectInfo(a.project);
    if (!projectInfo.isFile())
        return fail(ExitUsage, QStringLiteral("cannot open '%1'").arg(a.project));
    // Drawn from the saved pictures while another program holds unsaved picture changes.
    const PictureFiles::PictureClaim claim = PictureFiles::claimPictures(a.project, false);
    if (!claim.ok)
        return fail(ExitFailed, QStringLiteral("%1: %2").arg(a.project, refusalText(claim.refusal)));
    // The renderer decodes the pictures it draws; the rest need only their sizes.
    const PictureLibrary pictures = PictureLibrary::fromFolder(claim.picturesFolder, PictureLibrary::HeadersOnly);
    warnSkipped(pictures.skipped());
    ProjectData data;
    // A file without a usable page size is shown at the canvas's default size.
    data.frameW = 420;
    data.frameH = 360;
    const ProjectFile::ReadResult read = ProjectFile::read(a.project, pictures.count(), &data);
    if (!read.ok)
        return fail(ExitUsage, read.reason.isEmpty() ? QStringLiteral("cannot read '%1'").arg(a.project) : read.reason);
    if (a.page >= data.pages.size())
        return fail(ExitUsage, QStringLiteral("page %1 does not exist: the project has %2 page(s), counted from 0")
                                   .arg(a.page)
                                   .arg(data.pages.size()));

    RenderContext ctx;
    ctx.pictures = &pictures;
    ctx.pageSize = QSize(data.frameW, data.frameH);
    // --module: the module's own pixels, exactly what the simulator shows after a download.
    const QImage image = a.module ? ModulePageRenderer().render(data.pages.at(a.page), pictures, ctx.pageSize)
                                  : Renderer::renderPage(data.pages.at(a.page), ctx, a.design);
    if (image.isNull())
        return fail(ExitFailed, QStringLiteral("cannot render a page of %1 x %2").arg(data.frameW).arg(data.frameH));

    QImageWriter writer(a.output, "png");
    if (!writer.write(image))
        return fail(ExitFailed, QStringLiteral("cannot write '%1': %2").arg(a.output, writer.errorString()));
    out() << QStringLiteral("%1: page %2, %3 x %4\n").arg(a.output).arg(a.page).arg(image.width()).arg(image.height());
    out().flush();
    return ExitOk;
}
