#include "library/picturefiles.h"

#include "library/picturereader.h"
#include "library/regularfile.h"
#include "support/workingfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QHash>
#include <QImageReader>
#include <QLockFile>
#include <QMap>
#include <QPainter>
#include <QSaveFile>
#include <QSet>

#include <memory>

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

// A name the tab-separated listings could not show on one line.
bool hasControlCharacter(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// Nothing may already stand at a new file's name, not even a dangling link the copy would follow.
bool nameTaken(const QString &path)
{
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

QString projectFolderOf(const QString &projectFile)
{
    return QFileInfo(projectFile).absolutePath();
}

QString asideFolder(const QString &projectFile)
{
    return projectFolderOf(projectFile) + QStringLiteral("/tempImages.removing");
}

QString imagesFolderOf(const QString &projectFile)
{
    return projectFolderOf(projectFile) + QStringLiteral("/tempImages");
}

QString notePath(const QString &projectFile)
{
    return asideFolder(projectFile) + QStringLiteral("/.project");
}

// The project file as the note keeps it: its bytes' digest ("-" when there is none).
QByteArray projectStamp(const QString &projectFile)
{
    QFile f(projectFile);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("-");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return QByteArrayLiteral("-");
    return hash.result().toHex();
}

// The lock that says a removal is in progress in a live process; a killed one's lock is stale
// and taken over.
QString lockPath(const QString &projectFile)
{
    return projectFolderOf(projectFile) + QStringLiteral("/tempImages.removing.lock");
}

QHash<QString, std::shared_ptr<QLockFile>> &heldLocks()
{
    static QHash<QString, std::shared_ptr<QLockFile>> locks;
    return locks;
}

bool holdLock(const QString &key)
{
    if (heldLocks().contains(key))
        return true;
    if (QFileInfo(key).isSymLink())
        return false;
    auto lock = std::make_shared<QLockFile>(key);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    heldLocks().insert(key, lock);
    return true;
}

bool holdRemoval(const QString &projectFile)
{
    return holdLock(lockPath(projectFile));
}

void releaseRemoval(const QString &projectFile)
{
    heldLocks().remove(lockPath(projectFile));
}

// Moves every file set aside back into the picture folder, never over a file of the same name.
int putBack(const QString &projectFile)
{
    const QString aside = asideFolder(projectFile);
    const QString images = imagesFolderOf(projectFile);
    if (!pictureFolderProblem(images).isEmpty())
        return 0;
    QDir().mkpath(images);
    int moved = 0;
    for (const QString &name : QDir(aside).entryList(QDir::Files | QDir::System)) {
        const QString target = images + QLatin1Char('/') + name;
        if (!nameTaken(target) && QFile::rename(aside + QLatin1Char('/') + name, target))
            ++moved;
    }
    return moved;
}

// Deletes the aside folder; a link in its place is removed as a link, its target untouched. The
// note goes last: a folder found without it means nothing was moved yet, so a kill in here must
// not leave files behind without their note.
void dropAside(const QString &projectFile)
{
    const QString aside = asideFolder(projectFile);
    if (QFileInfo(aside).isSymLink()) {
        QFile::remove(aside);
        return;
    }
    const QString note = notePath(projectFile);
    for (const QFileInfo &f : QDir(aside).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (f.absoluteFilePath() == note)
            continue;
        if (f.isDir() && !f.isSymLink())
            QDir(f.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(f.absoluteFilePath());
    }
    QFile::remove(note);
    QDir(aside).removeRecursively();
}

// ---- the window's unsaved picture changes ----

const QByteArray UnsavedHeader = QByteArrayLiteral("tavo unsaved pictures 1");

QString unsavedNotePath(const QString &projectFile)
{
    return projectFolderOf(projectFile) + QStringLiteral("/tempImages.unsaved");
}

QString unsavedLockPath(const QString &projectFile)
{
    return unsavedNotePath(projectFile) + QStringLiteral(".lock");
}

QString backupFolderOf(const QString &projectFile)
{
    return projectFolderOf(projectFile) + QStringLiteral("/backUpImages");
}

struct UnsavedNote {
    QByteArray stamp;
    QVector<QPair<QString, qint64>> files;  // the picture folder as saved: names and sizes
};

bool readUnsavedNote(const QString &path, UnsavedNote *note)
{
    QFile f;
    if (!RegularFile::open(path, &f))
        return false;
    const QList<QByteArray> lines = f.readAll().split('\n');
    if (lines.size() < 3 || lines.at(0) != UnsavedHeader || lines.last() != QByteArray())
        return false;
    note->stamp = lines.at(1);
    for (int i = 2; i < lines.size() - 1; ++i) {
        const QByteArray &line = lines.at(i);
        const int tab = line.indexOf('\t');
        bool ok = false;
        const qint64 size = line.left(tab).toLongLong(&ok);
        if (tab < 0 || !ok)
            return false;
        note->files.append({QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(tab + 1))), size});
    }
    return true;
}

QFileInfoList folderFiles(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// A saved picture that is missing or cut short in the picture folder comes back from the backup
// through a copy beside the folder, so the picture folder never holds half a file.
bool bringBackSaved(const QString &projectFile, const QString &name, qint64 size)
{
    const QString target = imagesFolderOf(projectFile) + QLatin1Char('/') + name;
    const QFileInfo now(target);
    if (now.exists() && !now.isSymLink() && now.size() == size)
        return false;
    const QFileInfo saved(backupFolderOf(projectFile) + QLatin1Char('/') + name);
    if (!saved.isFile() || saved.isSymLink() || saved.size() != size)
        return false;
    const QString part = unsavedNotePath(projectFile) + QStringLiteral(".part");
    if (nameTaken(part) && !QFile::remove(part))
        return false;
    if (!copyWhole(saved.absoluteFilePath(), part))
        return false;
    if ((nameTaken(target) && !QFile::remove(target)) || !QFile::rename(part, target)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

}  // namespace

bool noteUnsavedPictures(const QString &projectFile)
{
    const QString path = unsavedNotePath(projectFile);
    const QFileInfo fi(path);
    if (fi.isSymLink() || (fi.exists() && !fi.isFile()))
        return false;
    if (!holdLock(unsavedLockPath(projectFile)))
        return false;
    // Noted since the file was last written: the note still says what the file names.
    UnsavedNote held;
    const QByteArray stamp = projectStamp(projectFile);
    if (readUnsavedNote(path, &held) && held.stamp == stamp)
        return true;
    QByteArray text = UnsavedHeader + '\n' + stamp + '\n';
    for (const QFileInfo &f : folderFiles(imagesFolderOf(projectFile)))
        text += QByteArray::number(f.size()) + '\t' + f.fileName().toUtf8().toPercentEncoding() + '\n';
    QSaveFile note(path);
    return note.open(QIODevice::WriteOnly) && note.write(text) == text.size() && note.commit();
}

void dropUnsavedNote(const QString &projectFile)
{
    const QString key = unsavedLockPath(projectFile);
    if (!heldLocks().contains(key))
        return;
    const QString path = unsavedNotePath(projectFile);
    if (!QFileInfo(path).isSymLink())
        QFile::remove(path);
    heldLocks().remove(key);
}

void leaveUnsavedNote(const QString &projectFile)
{
    heldLocks().remove(unsavedLockPath(projectFile));
}

int recoverUnsavedPictures(const QString &projectFile)
{
    const QString path = unsavedNotePath(projectFile);
    const QFileInfo fi(path);
    if (!fi.isFile() || fi.isSymLink())
        return 0;
    // A window still open on the project settles its own note.
    const QString key = unsavedLockPath(projectFile);
    if (heldLocks().contains(key) || !holdLock(key))
        return 0;
    int changed = 0;
    UnsavedNote note;
    const QString images = imagesFolderOf(projectFile);
    if (readUnsavedNote(path, &note) && note.stamp == projectStamp(projectFile)
        && pictureFolderProblem(images).isEmpty()) {
        // The project file was not written since: its references count the files as noted.
        QDir().mkpath(images);
        QSet<QString> saved;
        for (const auto &f : note.files) {
            saved.insert(f.first);
            if (bringBackSaved(projectFile, f.first, f.second))
                ++changed;
        }
        // Pictures added since go, as with "no" to saving at exit; names the library does not
        // count (no "_") stay.
        for (const QFileInfo &f : folderFiles(images)) {
            if (!saved.contains(f.fileName()) && f.fileName().contains(QLatin1Char('_'))
                && QFile::remove(f.absoluteFilePath()))
                ++changed;
        }
    }
    QFile::remove(path);
    heldLocks().remove(key);
    return changed;
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

QVector<int> setPicturesAside(const QString &projectFile, const PictureLibrary &lib, const QVector<int> &numbers,
                              QStringList *failed)
{
    QVector<int> gone;
    auto refuseAll = [&]() {
        for (int n : numbers) {
            if (lib.contains(n) && failed)
                failed->append(QFileInfo(lib.at(n).path).fileName());
        }
        return gone;
    };
    const QString aside = asideFolder(projectFile);
    if (!pictureFolderProblem(imagesFolderOf(projectFile)).isEmpty() || !pictureFolderProblem(aside).isEmpty())
        return refuseAll();
    if (!holdRemoval(projectFile))
        return refuseAll();
    // The note comes first: whatever is in the folder later was taken out of a project file like
    // this one. A removal already pending keeps the note of the file that still names its pictures.
    if (!QFileInfo::exists(notePath(projectFile))) {
        QDir().mkpath(aside);
        QSaveFile note(notePath(projectFile));
        if (!note.open(QIODevice::WriteOnly) || note.write(projectStamp(projectFile)) < 0 || !note.commit()) {
            releaseRemoval(projectFile);
            return refuseAll();
        }
    }
    for (int n : numbers) {
        if (!lib.contains(n))
            continue;
        const QString path = lib.at(n).path;
        const QString target = aside + QLatin1Char('/') + QFileInfo(path).fileName();
        if (!nameTaken(path) || (!nameTaken(target) && QFile::rename(path, target)))
            gone.append(n);
        else if (failed)
            failed->append(QFileInfo(path).fileName());
    }
    return gone;
}

void finishRemoval(const QString &projectFile)
{
    // Only a removal this process set aside is its to finish.
    if (!heldLocks().contains(lockPath(projectFile)))
        return;
    dropAside(projectFile);
    releaseRemoval(projectFile);
}

void undoRemoval(const QString &projectFile)
{
    if (!heldLocks().contains(lockPath(projectFile)))
        return;
    putBack(projectFile);
    dropAside(projectFile);
    releaseRemoval(projectFile);
}

namespace {

int recoverRemovalJournal(const QString &projectFile)
{
    const QString aside = asideFolder(projectFile);
    const QFileInfo fi(aside);
    if (!fi.exists() || fi.isSymLink() || !fi.isDir())
        return 0;
    // A removal this process or another live one is still making is theirs to finish.
    if (heldLocks().contains(lockPath(projectFile)) || !holdRemoval(projectFile))
        return 0;
    QFile note(notePath(projectFile));
    // Without a note nothing was moved yet, or the folder holds nothing of ours.
    const QByteArray noted = note.open(QIODevice::ReadOnly) ? note.readAll() : projectStamp(projectFile);
    note.close();
    int moved = 0;
    if (noted == projectStamp(projectFile))
        moved = putBack(projectFile);
    dropAside(projectFile);
    releaseRemoval(projectFile);
    return moved;
}

}  // namespace

int recoverRemoval(const QString &projectFile)
{
    const int moved = recoverRemovalJournal(projectFile);
    recoverUnsavedPictures(projectFile);
    return moved;
}

QVector<int> removePictures(const QString &projectFile, const PictureLibrary &lib, const QVector<int> &numbers,
                            const std::function<bool(const QVector<int> &gone)> &writeProject, QStringList *failed,
                            bool *written)
{
    *written = false;
    const QVector<int> gone = setPicturesAside(projectFile, lib, numbers, failed);
    if (gone.isEmpty()) {
        undoRemoval(projectFile);
        return gone;
    }
    if (!writeProject(gone)) {
        undoRemoval(projectFile);
        return {};
    }
    *written = true;
    finishRemoval(projectFile);
    return gone;
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
