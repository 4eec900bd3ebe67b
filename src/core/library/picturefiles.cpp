#include "library/picturefiles.h"

#include "library/picturelock.h"
#include "library/picturereader.h"
#include "library/regularfile.h"
#include "support/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QPainter>
#include <QSaveFile>

namespace PictureFiles {

namespace {

// Files that go in unchanged: the formats the folder is read for, recognised by content too,
// so a PNG that was merely renamed ".bmp" is still converted.
bool keepsFormat(const QString &file, const QByteArray &format)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return format == "bmp";
    if (suffix == QLatin1String("jpg"))
        return format == "jpeg" || format == "jpg";
    return false;
}

bool writeBmp(const QImage &decoded, const QString &dest)
{
    // The module has no transparency: transparent parts become white, as on a blank page.
    QImage rgb(decoded.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, decoded);
    }
    QSaveFile out(dest);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (!rgb.save(&out, "BMP")) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

// A name the tab-separated listings could not show on one line.
bool hasControlCharacter(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

}  // namespace

bool copyWhole(const QString &src, const QString &dest)
{
    if (!QFile::copy(src, dest)) {
        QFile::remove(dest);
        return false;
    }
    if (QFileInfo(dest).size() != QFileInfo(src).size()) {
        QFile::remove(dest);
        return false;
    }
    return true;
}

bool nameTaken(const QString &path)
{
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !hasControlCharacter(name);
}

QString pictureFolderProblem(const QString &imagesFolder)
{
    return WorkingFolder::problem(imagesFolder);
}

QString escapedName(const QString &fileName)
{
    QString out;
    out.reserve(fileName.size());
    for (const QChar c : fileName) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString importNameFilter()
{
    // The formats the library takes that this build reads, under their usual suffixes.
    static const QMap<QByteArray, QStringList> suffixes = {
        {"bmp", {QStringLiteral("bmp")}},
        {"png", {QStringLiteral("png")}},
        {"jpeg", {QStringLiteral("jpg"), QStringLiteral("jpeg")}},
        {"gif", {QStringLiteral("gif")}},
        {"ppm", {QStringLiteral("pbm"), QStringLiteral("pgm"), QStringLiteral("ppm")}},
        {"tiff", {QStringLiteral("tif"), QStringLiteral("tiff")}},
        {"webp", {QStringLiteral("webp")}},
        {"ico", {QStringLiteral("ico")}},
    };
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const QByteArray &f : PictureReader::formats()) {
        if (!readable.contains(f))
            continue;
        for (const QString &suffix : suffixes.value(f))
            patterns << QStringLiteral("*.") + suffix;
    }
    return QStringLiteral("(%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString ImportResult::message() const
{
    if (failed.isEmpty())
        return QString();
    QStringList lines;
    for (const ImportFailure &f : failed) {
        const char *why = "";
        switch (f.reason) {
        case ImportFailure::Missing: why = QT_TRANSLATE_NOOP("PictureFiles", "%1：文件不存在"); break;
        case ImportFailure::NotPicture: why = QT_TRANSLATE_NOOP("PictureFiles", "%1：不是可读取的图片"); break;
        case ImportFailure::TooLarge: why = QT_TRANSLATE_NOOP("PictureFiles", "%1：图片尺寸过大"); break;
        case ImportFailure::CopyFailed: why = QT_TRANSLATE_NOOP("PictureFiles", "%1：复制到项目文件夹失败"); break;
        case ImportFailure::BadName: why = QT_TRANSLATE_NOOP("PictureFiles", "%1：文件名含换行等控制字符"); break;
        }
        lines << QCoreApplication::translate("PictureFiles", why).arg(escapedName(QFileInfo(f.file).fileName()));
    }
    if (!folderError.isEmpty())
        lines.prepend(folderError);
    return QCoreApplication::translate("PictureFiles", "以下图片未能导入：") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

ImportResult importPictures(const QString &imagesFolder, const QStringList &files)
{
    ImportResult result;
    result.folderError = pictureFolderProblem(imagesFolder);
    if (!result.folderError.isEmpty()) {
        for (const QString &file : files)
            result.failed.append({file, ImportFailure::CopyFailed});
        return result;
    }
    QDir().mkpath(imagesFolder);
    // The serial is chosen and the files written under the project's lock: two imports at once
    // would otherwise take the same name, and one's clean-up delete the other's file.
    const PictureLock::Scoped lock(QFileInfo(imagesFolder).absolutePath(), 10000);
    if (!lock.taken()) {
        result.folderError = lock.status() == PictureLock::Busy
            ? QCoreApplication::translate("PictureFiles", "另一个程序正在修改该项目的图片，请稍后再试。")
            : RegularFile::skippedWarning(PictureLock::path(QFileInfo(imagesFolder).absolutePath()));
        for (const QString &file : files)
            result.failed.append({file, ImportFailure::CopyFailed});
        return result;
    }
    qint64 serial = PictureLibrary::largestSerial(imagesFolder);
    for (const QString &file : files) {
        const QFileInfo src(file);
        if (!src.isFile()) {
            result.failed.append({file, ImportFailure::Missing});
            continue;
        }
        if (hasControlCharacter(src.fileName())) {
            result.failed.append({file, ImportFailure::BadName});
            continue;
        }
        // The same reading as the library's, so nothing goes in that the library would refuse.
        PictureState state = PictureState::Unreadable;
        const QImage decoded = PictureReader::read(file, &state);
        if (state != PictureState::Readable) {
            result.failed.append({file, state == PictureState::TooLarge ? ImportFailure::TooLarge
                                                                         : ImportFailure::NotPicture});
            continue;
        }
        QByteArray format;
        {
            QFile f;
            if (RegularFile::open(file, &f))
                format = PictureReader::formatOf(&f);
        }
        const bool keep = keepsFormat(file, format);
        const QString name = keep ? src.fileName() : src.completeBaseName() + QStringLiteral(".bmp");
        const QString dest = imagesFolder + QLatin1Char('/') + QString::number(serial + 1) + QLatin1Char('_') + name;
        if (nameTaken(dest) || !(keep ? copyWhole(file, dest) : writeBmp(decoded, dest))) {
            result.failed.append({file, ImportFailure::CopyFailed});
            continue;
        }
        ++serial;
        result.added << dest;
    }
    return result;
}

PictureLibrary without(const PictureLibrary &lib, const QVector<int> &numbers)
{
    PictureLibrary out = lib;
    for (int i = numbers.size() - 1; i >= 0; --i) {
        if (out.contains(numbers.at(i)))
            out.removeAt(numbers.at(i));
    }
    return out;
}

bool isUnreadable(const PictureInfo &info)
{
    return !info.readable() || info.size.isEmpty();
}

bool isOversized(const QSize &picture, const QSize &page)
{
    return page.isValid() && (picture.width() > page.width() || picture.height() > page.height());
}

}  // namespace PictureFiles
