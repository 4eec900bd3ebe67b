#include "cliutil.h"
#include "commands.h"

#include "model/names.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString orientationName(int screenType)
{
    switch (screenType) {
    case 0: return QStringLiteral("portrait 1");
    case 1: return QStringLiteral("landscape 1");
    case 2: return QStringLiteral("portrait 2");
    case 3: return QStringLiteral("landscape 2");
    default: return QStringLiteral("unknown");
    }
}

}  // namespace

// tavo-cli info PROJECT.Tavo [--json]
int cmdInfo(const QStringList &arguments)
{
    QStringList args = arguments;
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return fail(ExitUsage, QStringLiteral("usage: tavo-cli info PROJECT.Tavo [--json]"));
    CliProject project;
    if (!loadCliProject(args.first(), &project))
        return ExitUsage;
    const ProjectData &d = project.data;

    if (json) {
        QJsonArray pages;
        for (int i = 0; i < d.pages.size(); ++i) {
            const PageData &p = d.pages.at(i);
            // Every control with its firmware name (empty when it has none), in list order.
            QJsonArray controls;
            for (const ControlRecord &c : p.controls) {
                controls.append(QJsonObject{{QStringLiteral("kind"), Names::kindWord(c.kind)},
                                            {QStringLiteral("id"), c.id},
                                            {QStringLiteral("name"), c.name}});
            }
            pages.append(QJsonObject{
                {QStringLiteral("index"), i},
                {QStringLiteral("name"), p.name},
                {QStringLiteral("controlNames"), controls},
                {QStringLiteral("controls"), p.controls.size()},
                {QStringLiteral("qrCodes"), p.qrCodeCount()},
                {QStringLiteral("primitives"), p.primitives.size()},
                {QStringLiteral("backgroundPicture"), p.imageNum},
                {QStringLiteral("backgroundColor"), p.backgroundNum},
            });
        }
        const QJsonObject o{
            {QStringLiteral("file"), project.path},
            {QStringLiteral("resolution"), d.dpi},
            {QStringLiteral("width"), d.frameW},
            {QStringLiteral("height"), d.frameH},
            {QStringLiteral("screenType"), d.screenType},
            {QStringLiteral("orientation"), orientationName(d.screenType)},
            {QStringLiteral("baud"), d.baud},
            {QStringLiteral("backlight"), d.blValue},
            {QStringLiteral("currentPage"), d.currentPage},
            {QStringLiteral("bootPage"), bootPageOf(d)},
            {QStringLiteral("pictureCount"), project.pictures.count()},
            {QStringLiteral("pageCount"), d.pages.size()},
            {QStringLiteral("pages"), pages},
        };
        writeRaw(QJsonDocument(o).toJson(QJsonDocument::Indented));
        return ExitOk;
    }

    out() << "file:        " << project.path << '\n'
          << "resolution:  " << d.dpi << '\n'
          << "page size:   " << d.frameW << " x " << d.frameH << '\n'
          << "orientation: " << d.screenType << " (" << orientationName(d.screenType) << ")\n"
          << "baud:        " << d.baud << '\n'
          << "backlight:   " << d.blValue << '\n'
          << "boot page:   " << bootPageOf(d) << '\n'
          << "pictures:    " << project.pictures.count() << '\n'
          << "pages:       " << d.pages.size() << '\n';
    for (int i = 0; i < d.pages.size(); ++i) {
        const PageData &p = d.pages.at(i);
        out() << "  page " << i << (p.name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(p.name)) << ": "
              << p.controls.size() << " controls, " << p.primitives.size() << " primitives\n";
    }
    out().flush();
    return ExitOk;
}
