#include "cliutil.h"
#include "commands.h"

#include "edit/picturereferences.h"
#include "file/foldermirror.h"
#include "file/projectfile.h"
#include "library/picturefiles.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *kUsage = "usage: tavo-cli pictures PROJECT.Tavo [--json] | --add FILE... | --remove N...";

QString imagesFolder(const CliProject &p)
{
    return p.folder + QStringLiteral("/tempImages");
}

// A change made here is saved at once, so the saved copy of the pictures follows it.
void keepBackupInStep(const CliProject &p)
{
    QString error;
    if (!mirrorFolder(imagesFolder(p), p.folder + QStringLiteral("/backUpImages"), &error) && !error.isEmpty())
        err() << error << Qt::endl;
}

QStringList marksOf(const PictureInfo &info, const QSize &page)
{
    QStringList marks;
    if (info.state == PictureState::TooLarge)
        marks << QStringLiteral("too-large");
    else if (PictureFiles::isUnreadable(info))
        marks << QStringLiteral("unreadable");
    else if (PictureFiles::isOversized(info.size, page))
        marks << QStringLiteral("oversized");
    return marks;
}

int list(const CliProject &p, bool json)
{
    PictureLibrary lib = p.pictures;
    lib.decodeAll();  // the marks say which pictures cannot be read
    const QSize page(p.data.frameW, p.data.frameH);
    if (json) {
        QJsonArray rows;
        for (int n = 0; n < lib.count(); ++n) {
            const PictureInfo &info = lib.at(n);
            QJsonArray marks;
            for (const QString &m : marksOf(info, page))
                marks.append(m);
            rows.append(QJsonObject{
                {QStringLiteral("number"), n},
                {QStringLiteral("file"), QFileInfo(info.path).fileName()},
                {QStringLiteral("address"), lib.address(n)},
                {QStringLiteral("width"), info.size.width()},
                {QStringLiteral("height"), info.size.height()},
                {QStringLiteral("bytes"), info.fileSize},
                {QStringLiteral("marks"), marks},
            });
        }
        const QJsonObject o{
            {QStringLiteral("pictures"), rows},
            {QStringLiteral("count"), lib.count()},
            {QStringLiteral("totalBytes"), lib.totalBytes()},
        };
        writeRaw(QJsonDocument(o).toJson(QJsonDocument::Indented));
        return ExitOk;
    }
    for (int n = 0; n < lib.count(); ++n) {
        const PictureInfo &info = lib.at(n);
        out() << n << '\t' << PictureFiles::escapedName(QFileInfo(info.path).fileName()) << '\t' << lib.address(n) << '\t'
              << info.size.width() << 'x' << info.size.height() << '\t' << info.fileSize << " bytes";
        const QStringList marks = marksOf(info, page);
        if (!marks.isEmpty())
            out() << '\t' << marks.join(QLatin1Char(' '));
        out() << '\n';
    }
    out() << "total: " << lib.count() << " pictures, " << lib.totalBytes() << " bytes on the module\n";
    out().flush();
    return ExitOk;
}

int add(const CliProject &p, const QStringList &files)
{
    const PictureFiles::ImportResult r = PictureFiles::importPictures(imagesFolder(p), files);
    keepBackupInStep(p);
    const PictureLibrary after = PictureLibrary::fromFolder(imagesFolder(p), PictureLibrary::HeadersOnly);
    for (const QString &path : r.added) {
        // Only a file the library holds now counts as added.
        const int n = after.paths().indexOf(path);
        if (n < 0) {
            err() << "tavo-cli: " << PictureFiles::escapedName(QFileInfo(path).fileName()) << " is not in the picture folder"
                  << Qt::endl;
            return ExitFailed;
        }
        out() << "added " << n << '\t' << PictureFiles::escapedName(QFileInfo(path).fileName()) << '\n';
    }
    out().flush();
    if (!r.failed.isEmpty()) {
        err() << r.message() << Qt::endl;
        return ExitFailed;
    }
    return ExitOk;
}

int remove(const CliProject &p, const QStringList &numbers)
{
    QVector<int> wanted;
    for (const QString &text : numbers) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || !p.pictures.contains(n))
            return fail(ExitUsage, QStringLiteral("no picture %1: the project has %2 pictures, numbered from 0")
                                       .arg(text)
                                       .arg(p.pictures.count()));
        wanted << n;
    }
    const QString folderProblem = PictureFiles::pictureFolderProblem(imagesFolder(p));
    if (!folderProblem.isEmpty())
        return fail(ExitFailed, folderProblem);
    // The project file is written while the files are only set aside, so no moment leaves it
    // naming the wrong pictures; a file that cannot be written gets them all back.
    QStringList failed;
    QString error;
    bool written = false;
    bool writeFailed = false;
    const QVector<int> gone = PictureFiles::removePictures(
        p.path, p.pictures, PictureReferences::validNumbers(wanted, p.pictures.count()),
        [&](const QVector<int> &removed) {
            const ProjectData after = PictureReferences::withPicturesRemoved(p.data, removed);
            writeFailed = after != p.data && !ProjectFile::write(p.path, after, &error);
            return !writeFailed;
        },
        &failed, &written);
    if (writeFailed)
        return fail(ExitFailed, QStringLiteral("%1: the project could not be saved, no picture was deleted: %2")
                                    .arg(p.path, error));
    keepBackupInStep(p);
    for (int n : gone)
        out() << "removed " << n << '\t' << PictureFiles::escapedName(QFileInfo(p.pictures.at(n).path).fileName()) << '\n';
    out().flush();
    if (!failed.isEmpty())
        return fail(ExitFailed, QStringLiteral("could not delete %1").arg(failed.join(QStringLiteral(", "))));
    return ExitOk;
}

}  // namespace

// tavo-cli pictures PROJECT.Tavo [--json] | --add FILE... | --remove N...: the picture library,
// with the import and deletion rules of the window.
int cmdPictures(const QStringList &arguments)
{
    QStringList args = arguments;
    int actionAt = -1;
    for (int i = 0; i < args.size() && actionAt < 0; ++i) {
        if (args.at(i) == QLatin1String("--add") || args.at(i) == QLatin1String("--remove"))
            actionAt = i;
    }
    const QString action = actionAt >= 0 ? args.at(actionAt) : QString();
    const QStringList operands = actionAt >= 0 ? args.mid(actionAt + 1) : QStringList();
    if (actionAt >= 0)
        args = args.mid(0, actionAt);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")) || (actionAt >= 0 && operands.isEmpty())
        || (json && actionAt >= 0))
        return fail(ExitUsage, QString::fromLatin1(kUsage));

    CliProject project;
    if (!loadCliProject(args.first(), &project, actionAt >= 0 ? CliProject::Change : CliProject::Read))
        return project.loadStatus;
    if (action == QLatin1String("--add"))
        return add(project, operands);
    if (action == QLatin1String("--remove"))
        return remove(project, operands);
    return list(project, json);
}
