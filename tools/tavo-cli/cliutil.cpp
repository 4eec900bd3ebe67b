#include "cliutil.h"

#include "file/projectfile.h"
#include "library/fontlibrary.h"
#include "library/picturefiles.h"
#include "library/regularfile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

QTextStream &out()
{
    static QTextStream s(stdout);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    s.setCodec("UTF-8");
#endif
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    s.setCodec("UTF-8");
#endif
    return s;
}

int fail(int code, const QString &message)
{
    err() << "tavo-cli: " << message << Qt::endl;
    return code;
}

void warnSkipped(const QStringList &paths)
{
    for (const QString &path : paths)
        err() << "tavo-cli: " << RegularFile::skippedWarning(path) << Qt::endl;
}

QString refusalText(PictureFiles::PictureClaim::Refusal refusal)
{
    switch (refusal) {
    case PictureFiles::PictureClaim::Busy:
        return QStringLiteral("another program is changing this project's pictures; try again when it is done");
    case PictureFiles::PictureClaim::UnsavedElsewhere:
        return QStringLiteral("another program (a window with this project open) holds unsaved picture changes; "
                              "save or discard them there first");
    case PictureFiles::PictureClaim::NoSavedCopy:
        return QStringLiteral("another program holds unsaved picture changes and the saved pictures cannot be read");
    case PictureFiles::PictureClaim::LockUnusable:
        return QStringLiteral("the lock file tempImages.lock is not a regular file; the pictures cannot be changed");
    case PictureFiles::PictureClaim::None:
        break;
    }
    return QString();
}

bool loadCliProject(const QString &path, CliProject *project, CliProject::Use use)
{
    const QFileInfo info(path);
    project->path = path;
    project->folder = info.absolutePath();
    project->loadStatus = ExitUsage;
    if (!info.isFile()) {
        fail(ExitUsage, QStringLiteral("%1: no such project file").arg(path));
        return false;
    }
    // What a killed program left is settled first; the lock is then held until this one ends.
    const PictureFiles::PictureClaim claim = PictureFiles::claimPictures(path, use == CliProject::Change);
    const bool fromBackup = claim.ok && claim.picturesFolder != project->folder + QStringLiteral("/tempImages");
    if (!claim.ok || (fromBackup && use == CliProject::ReadFolder)) {
        project->loadStatus = ExitFailed;
        fail(ExitFailed, QStringLiteral("%1: %2").arg(path, refusalText(fromBackup ? PictureFiles::PictureClaim::UnsavedElsewhere
                                                                                       : claim.refusal)));
        return false;
    }
    if (fromBackup)
        err() << "tavo-cli: another program has unsaved picture changes; reading the saved pictures" << Qt::endl;
    // Sizes are all most commands need; those that judge or send pictures decode them.
    project->pictures = PictureLibrary::fromFolder(claim.picturesFolder, PictureLibrary::HeadersOnly);
    warnSkipped(project->pictures.skipped());
    QStringList skippedFonts;
    FontLibrary::fontListOfProject(project->folder, &skippedFonts);
    warnSkipped(skippedFonts);
    project->data = ProjectData();
    const ProjectFile::ReadResult r = ProjectFile::read(path, project->pictures.count(), &project->data);
    if (!r.ok) {
        err() << QCoreApplication::translate("MainWindow", "加载控件错误，可能该项目之前未做保存操作，导入失败！")
              << Qt::endl;
        fail(ExitUsage, r.reason);
        return false;
    }
    project->loadStatus = ExitOk;
    return true;
}

void writeRaw(const QByteArray &bytes)
{
    out().flush();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

bool takeOption(QStringList &args, const QString &name, QString *value, bool *present)
{
    *present = false;
    const int i = args.indexOf(name);
    if (i < 0)
        return true;
    *present = true;
    if (i + 1 >= args.size())
        return false;
    *value = args.at(i + 1);
    args.removeAt(i + 1);
    args.removeAt(i);
    return true;
}

bool takeFlag(QStringList &args, const QString &name)
{
    const int i = args.indexOf(name);
    if (i < 0)
        return false;
    args.removeAt(i);
    return true;
}
