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

bool loadCliProject(const QString &path, CliProject *project)
{
    const QFileInfo info(path);
    project->path = path;
    project->folder = info.absolutePath();
    if (!info.isFile()) {
        fail(ExitUsage, QStringLiteral("%1: no such project file").arg(path));
        return false;
    }
    // A picture removal cut short by a kill is finished or undone before anything is read.
    PictureFiles::recoverRemoval(path);
    // Sizes are all most commands need; those that judge or send pictures decode them.
    project->pictures = PictureLibrary::fromProjectFolder(project->folder, PictureLibrary::HeadersOnly);
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
