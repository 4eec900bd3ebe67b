#include "library/picturerecovery.h"

#include "library/picturefiles.h"
#include "library/picturelock.h"
#include "library/regularfile.h"
#include "support/workingfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QtDebug>

namespace PictureFiles {

namespace {

void warn(const QString &text) { qWarning().noquote() << text; }

QString projectFolderOf(const QString &projectFile) { return QFileInfo(projectFile).absolutePath(); }
QString imagesFolderOf(const QString &projectFile) { return projectFolderOf(projectFile) + QStringLiteral("/tempImages"); }
QString backupFolderOf(const QString &projectFile) { return projectFolderOf(projectFile) + QStringLiteral("/backUpImages"); }
QString asideFolder(const QString &projectFile) { return projectFolderOf(projectFile) + QStringLiteral("/tempImages.removing"); }
QString removalNotePath(const QString &projectFile) { return asideFolder(projectFile) + QStringLiteral("/.project"); }
QString unsavedNotePath(const QString &projectFile) { return projectFolderOf(projectFile) + QStringLiteral("/tempImages.unsaved"); }

QString key(const QString &projectFile) { return QFileInfo(projectFile).absoluteFilePath(); }

// Projects whose removal in progress, or whose note of unsaved changes, is this process's.
QSet<QString> &ownRemovals()
{
    static QSet<QString> s;
    return s;
}

QSet<QString> &ownNotes()
{
    static QSet<QString> s;
    return s;
}

// The project file as the notes keep it: its bytes' digest ("-" when there is none).
QByteArray projectStamp(const QString &projectFile)
{
    QFile f;
    if (!RegularFile::open(projectFile, &f))
        return QByteArrayLiteral("-");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return QByteArrayLiteral("-");
    return hash.result().toHex();
}

// The regular files of a folder; links and anything else are never ours to move or count.
QFileInfoList folderFiles(const QString &folder)
{
    QFileInfoList out;
    for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (!f.isSymLink() && f.isFile())
            out << f;
    }
    return out;
}

// ---- the removal in progress ----

// Moves every file set aside back into the picture folder, never over a file of the same name.
int putBack(const QString &projectFile)
{
    const QString aside = asideFolder(projectFile);
    const QString images = imagesFolderOf(projectFile);
    if (!pictureFolderProblem(images).isEmpty())
        return 0;
    QDir().mkpath(images);
    int moved = 0;
    for (const QFileInfo &f : folderFiles(aside)) {
        const QString target = images + QLatin1Char('/') + f.fileName();
        if (f.fileName() != QLatin1String(".project") && !nameTaken(target) && QFile::rename(f.absoluteFilePath(), target))
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
    const QString note = removalNotePath(projectFile);
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

int recoverRemovalJournal(const QString &projectFile)
{
    const QString aside = asideFolder(projectFile);
    const QFileInfo fi(aside);
    if (!fi.exists() || fi.isSymLink() || !fi.isDir() || ownRemovals().contains(key(projectFile)))
        return 0;
    const QString notePath = removalNotePath(projectFile);
    QByteArray noted;
    if (QFileInfo(notePath).exists() || QFileInfo(notePath).isSymLink()) {
        // A note that is no regular file is not ours: nothing is moved on its word.
        if (!RegularFile::readAtMost(notePath, 256, &noted)) {
            warn(RegularFile::skippedWarning(notePath));
            return 0;
        }
    } else {
        // Without a note nothing was moved yet, or the folder holds nothing of ours.
        noted = projectStamp(projectFile);
    }
    int moved = 0;
    if (noted == projectStamp(projectFile))
        moved = putBack(projectFile);
    dropAside(projectFile);
    return moved;
}

// ---- the window's note of unsaved picture changes ----

const QByteArray UnsavedHeader = QByteArrayLiteral("tavo unsaved pictures 2");
const QByteArray UnsavedEnd = QByteArrayLiteral("end ");

struct UnsavedNote {
    QByteArray stamp;
    QVector<QPair<QString, qint64>> files;  // the picture folder as saved: names and sizes
};

enum class NoteRead { Missing, Good, Bad };

// A note is trusted only whole: its last line counts the entries, so a note cut short anywhere,
// even at a line's end, is refused, and so is every name that is not a plain file name.
NoteRead readUnsavedNote(const QString &path, UnsavedNote *note)
{
    const QFileInfo fi(path);
    if (!fi.exists() && !fi.isSymLink())
        return NoteRead::Missing;
    QByteArray text;
    if (!RegularFile::readAtMost(path, MaxUnsavedNoteBytes, &text) || text.size() > MaxUnsavedNoteBytes)
        return NoteRead::Bad;
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 4 || lines.at(0) != UnsavedHeader || !lines.last().isEmpty())
        return NoteRead::Bad;
    const QByteArray &end = lines.at(lines.size() - 2);
    bool ok = false;
    if (!end.startsWith(UnsavedEnd) || end.mid(UnsavedEnd.size()).toInt(&ok) != lines.size() - 4 || !ok)
        return NoteRead::Bad;
    note->stamp = lines.at(1);
    note->files.clear();
    QSet<QString> seen;
    for (int i = 2; i < lines.size() - 2; ++i) {
        const QByteArray &line = lines.at(i);
        const int tab = line.indexOf('\t');
        const qint64 size = line.left(tab).toLongLong(&ok);
        const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(tab + 1)));
        if (tab < 0 || !ok || size < 0 || !isPlainName(name) || seen.contains(name))
            return NoteRead::Bad;
        seen.insert(name);
        note->files.append({name, size});
    }
    return NoteRead::Good;
}

// A saved picture that is missing or cut short in the picture folder comes back from the backup
// through a copy beside the folder, so the picture folder never holds half a file.
bool bringBackSaved(const QString &projectFile, const QString &name, qint64 size)
{
    const QString target = imagesFolderOf(projectFile) + QLatin1Char('/') + name;
    const QFileInfo now(target);
    if (now.isFile() && !now.isSymLink() && now.size() == size)
        return false;
    const QFileInfo saved(backupFolderOf(projectFile) + QLatin1Char('/') + name);
    if (!saved.isFile() || saved.isSymLink() || saved.size() != size)
        return false;
    const QString part = unsavedNotePath(projectFile) + QStringLiteral(".part");
    if (nameTaken(part) && !QFile::remove(part))
        return false;
    if (!copyWhole(saved.absoluteFilePath(), part))
        return false;
    // Whatever stands at the name (a link, a file cut short) is replaced, never written through.
    if ((nameTaken(target) && !QFile::remove(target)) || !QFile::rename(part, target)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

int settleUnsavedNote(const QString &projectFile)
{
    const QString path = unsavedNotePath(projectFile);
    if (ownNotes().contains(key(projectFile)))
        return 0;
    UnsavedNote note;
    const NoteRead read = readUnsavedNote(path, &note);
    if (read == NoteRead::Missing)
        return 0;
    if (read == NoteRead::Bad) {
        warn(QCoreApplication::translate("PictureFiles", "未保存图片的记录“%1”已损坏或不可信，已忽略，图片文件夹未作改动。").arg(QFileInfo(path).fileName()));
        return 0;
    }
    int changed = 0;
    const QString images = imagesFolderOf(projectFile);
    if (note.stamp == projectStamp(projectFile) && pictureFolderProblem(images).isEmpty()) {
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
    // Settled, or the project file was written since and the folder is the one it names.
    QFile::remove(path);
    return changed;
}

// What killed programs leave besides notes. A kill in the middle of copying a picture folder
// leaves its sibling copies: a finished copy is never the only one, except "X.old" with X gone,
// which is the folder renamed away.
void settleCopies(const QString &projectFile)
{
    for (const QString &folder : {imagesFolderOf(projectFile), backupFolderOf(projectFile)}) {
        const QString fresh = folder + QStringLiteral(".new");
        const QString old = folder + QStringLiteral(".old");
        // A link at any of the names is not ours: nothing is removed or renamed through it.
        if (!WorkingFolder::problem(folder).isEmpty() || !WorkingFolder::problem(fresh).isEmpty()
            || !WorkingFolder::problem(old).isEmpty())
            continue;
        if (QFileInfo(fresh).isDir())
            QDir(fresh).removeRecursively();
        if (!QFileInfo(old).isDir())
            continue;
        if (QFileInfo::exists(folder))
            QDir(old).removeRecursively();
        else
            QDir().rename(old, folder);
    }
    QFile::remove(unsavedNotePath(projectFile) + QStringLiteral(".part"));
    // Lock files of earlier versions, which held a process id: only a regular one is ours.
    for (const QString &name : {QStringLiteral("/tempImages.removing.lock"), QStringLiteral("/tempImages.unsaved.lock")}) {
        const QFileInfo old(projectFolderOf(projectFile) + name);
        if (old.isFile() && !old.isSymLink())
            QFile::remove(old.absoluteFilePath());
    }
}

// True when another program holds unsaved picture changes of the project (its note is there).
bool unsavedElsewhere(const QString &projectFolder)
{
    const QFileInfo note(projectFolder + QStringLiteral("/tempImages.unsaved"));
    return note.exists() || note.isSymLink();
}

// The backup is the saved state the note describes: the same files with the same sizes, and the
// project file is still the one noted.
bool backupIsNotedState(const QString &projectFile)
{
    UnsavedNote note;
    if (readUnsavedNote(unsavedNotePath(projectFile), &note) != NoteRead::Good || note.stamp != projectStamp(projectFile))
        return false;
    const QString backup = backupFolderOf(projectFile);
    if (!pictureFolderProblem(backup).isEmpty())
        return false;
    QMap<QString, qint64> have;
    for (const QFileInfo &f : folderFiles(backup))
        have.insert(f.fileName(), f.size());
    QMap<QString, qint64> noted;
    for (const auto &f : note.files)
        noted.insert(f.first, f.second);
    return have == noted;
}

}  // namespace

// ---- removal ----

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
    const QString folder = projectFolderOf(projectFile);
    const QString aside = asideFolder(projectFile);
    if (!pictureFolderProblem(imagesFolderOf(projectFile)).isEmpty() || !pictureFolderProblem(aside).isEmpty())
        return refuseAll();
    // A removal of this process still pending goes on under the lock it holds.
    const bool pending = ownRemovals().contains(key(projectFile));
    if (!pending && PictureLock::take(folder, true) != PictureLock::Taken)
        return refuseAll();
    ownRemovals().insert(key(projectFile));
    // The note comes first: whatever is in the folder later was taken out of a project file like
    // this one. A removal already pending keeps the note of the file that still names its pictures.
    const QString note = removalNotePath(projectFile);
    if (!nameTaken(note)) {
        QDir().mkpath(aside);
        QSaveFile out(note);
        if (!out.open(QIODevice::WriteOnly) || out.write(projectStamp(projectFile)) < 0 || !out.commit()) {
            if (!pending) {
                ownRemovals().remove(key(projectFile));
                PictureLock::release(folder);
            }
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
    if (!ownRemovals().remove(key(projectFile)))
        return;
    dropAside(projectFile);
    PictureLock::release(projectFolderOf(projectFile));
}

void undoRemoval(const QString &projectFile)
{
    if (!ownRemovals().remove(key(projectFile)))
        return;
    putBack(projectFile);
    dropAside(projectFile);
    PictureLock::release(projectFolderOf(projectFile));
}

int recoverRemoval(const QString &projectFile)
{
    const QString folder = projectFolderOf(projectFile);
    const PictureLock::Status lock = PictureLock::take(folder, true);
    if (lock == PictureLock::Unusable && nameTaken(PictureLock::path(folder)))
        warn(RegularFile::skippedWarning(PictureLock::path(folder)));
    // A program still running on the project settles its own changes.
    if (lock != PictureLock::Taken)
        return 0;
    const int moved = recoverRemovalJournal(projectFile);
    settleCopies(projectFile);
    settleUnsavedNote(projectFile);
    PictureLock::release(folder);
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

// ---- unsaved changes ----

bool noteUnsavedPictures(const QString &projectFile)
{
    const QString path = unsavedNotePath(projectFile);
    const QFileInfo fi(path);
    if (fi.isSymLink() || (fi.exists() && !fi.isFile()))
        return false;
    if (ownNotes().contains(key(projectFile)))
        return true;
    // A change another program is making is waited for; another window's unsaved changes are not.
    const QString folder = projectFolderOf(projectFile);
    if (PictureLock::takeWaiting(folder, true, 3000, unsavedElsewhere) != PictureLock::Taken)
        return false;
    // Noted since the file was last written: the note still says what the file names.
    UnsavedNote held;
    const QByteArray stamp = projectStamp(projectFile);
    if (readUnsavedNote(path, &held) == NoteRead::Good && held.stamp == stamp) {
        ownNotes().insert(key(projectFile));
        return true;
    }
    QByteArray text = UnsavedHeader + '\n' + stamp + '\n';
    int count = 0;
    for (const QFileInfo &f : folderFiles(imagesFolderOf(projectFile))) {
        text += QByteArray::number(f.size()) + '\t' + f.fileName().toUtf8().toPercentEncoding() + '\n';
        ++count;
    }
    text += UnsavedEnd + QByteArray::number(count) + '\n';
    QSaveFile note(path);
    if (!note.open(QIODevice::WriteOnly) || note.write(text) != text.size() || !note.commit()) {
        PictureLock::release(folder);
        return false;
    }
    ownNotes().insert(key(projectFile));
    return true;
}

void dropUnsavedNote(const QString &projectFile)
{
    if (!ownNotes().remove(key(projectFile)))
        return;
    const QString path = unsavedNotePath(projectFile);
    if (!QFileInfo(path).isSymLink())
        QFile::remove(path);
    PictureLock::release(projectFolderOf(projectFile));
}

void leaveUnsavedNote(const QString &projectFile)
{
    if (ownNotes().remove(key(projectFile)))
        PictureLock::release(projectFolderOf(projectFile));
}

int recoverUnsavedPictures(const QString &projectFile)
{
    const QString folder = projectFolderOf(projectFile);
    if (PictureLock::take(folder, true) != PictureLock::Taken)
        return 0;
    const int changed = settleUnsavedNote(projectFile);
    PictureLock::release(folder);
    return changed;
}

// ---- other programs ----

PictureClaim claimPictures(const QString &projectFile, bool changing, int waitMs)
{
    PictureClaim claim;
    const QString folder = projectFolderOf(projectFile);
    claim.picturesFolder = imagesFolderOf(projectFile);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const PictureLock::Status lock = PictureLock::take(folder, true);
        if (lock == PictureLock::Taken) {
            recoverRemovalJournal(projectFile);
            settleCopies(projectFile);
            settleUnsavedNote(projectFile);
            if (!changing)
                PictureLock::share(folder);
            claim.ok = true;
            return claim;
        }
        if (lock == PictureLock::Unusable) {
            if (changing) {
                claim.refusal = PictureClaim::LockUnusable;
                return claim;
            }
            // Nothing can be settled or held: the folder is read as it is.
            if (nameTaken(PictureLock::path(folder)))
                warn(RegularFile::skippedWarning(PictureLock::path(folder)));
            claim.ok = true;
            return claim;
        }
        // Readers share: a program reading the project does not stop another one reading it, and
        // holds the lock only after settling what was left.
        if (!changing && PictureLock::take(folder, false) == PictureLock::Taken) {
            claim.ok = true;
            return claim;
        }
        if (unsavedElsewhere(folder))
            break;
        if (clock.elapsed() >= waitMs) {
            claim.refusal = PictureClaim::Busy;
            return claim;
        }
        QThread::msleep(20);
    }
    if (changing) {
        claim.refusal = PictureClaim::UnsavedElsewhere;
        return claim;
    }
    if (backupIsNotedState(projectFile)) {
        claim.picturesFolder = backupFolderOf(projectFile);
        claim.ok = true;
        return claim;
    }
    claim.refusal = PictureClaim::NoSavedCopy;
    return claim;
}

}  // namespace PictureFiles
