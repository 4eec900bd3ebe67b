#include "picturechange.h"

#include "edit/picturereferences.h"
#include "edit/pictureuses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char *s) { return QCoreApplication::translate("PictureChange", s); }

// Rename when both folders are on one file system, otherwise copy and remove. Never through a
// symbolic link, and never over an existing file.
bool moveFile(const QString &from, const QString &to)
{
    const QFileInfo source(from);
    if (source.isSymLink() || !source.isFile() || QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    if (QFile::rename(from, to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    if (QFile::remove(from))
        return true;
    QFile::remove(to);
    return false;
}

}  // namespace

PictureChange::PictureChange(Kind kind, PictureTarget *target, const QString &aside, std::function<void()> changed)
    : m_kind(kind), m_target(target), m_aside(aside), m_changed(std::move(changed))
{
    setText(kind == Import ? tr("导入图片") : tr("删除图片"));
    QDir().mkpath(m_aside);
}

PictureChange *PictureChange::imported(PictureTarget *target, const QStringList &names, const QString &aside,
                                       std::function<void()> changed)
{
    auto *c = new PictureChange(Import, target, aside, std::move(changed));
    c->m_names = names;
    const QString folder = target->pictureFolder();
    for (const QString &name : names)
        QFile::copy(folder + QLatin1Char('/') + name, aside + QLatin1Char('/') + name);
    return c;
}

PictureChange *PictureChange::removed(PictureTarget *target, const PictureLibrary &lib, const QVector<int> &numbers,
                                      const QString &aside, std::function<void()> changed, QStringList *failed)
{
    auto *c = new PictureChange(Delete, target, aside, std::move(changed));
    c->m_before = target->pictureReferences();
    const QString folder = QDir::cleanPath(target->pictureFolder());
    if (!target->pictureFolderChanging()) {
        for (int n : numbers) {
            if (n >= 0 && n < lib.count() && failed)
                *failed << QFileInfo(lib.at(n).path).fileName();
        }
        delete c;
        return nullptr;
    }
    for (int n : numbers) {
        if (n < 0 || n >= lib.count())
            continue;
        const QFileInfo file(lib.at(n).path);
        // Only files of the picture folder itself are taken out.
        if (QDir::cleanPath(file.absolutePath()) != folder)
            continue;
        if (moveFile(file.absoluteFilePath(), aside + QLatin1Char('/') + file.fileName())) {
            c->m_names << file.fileName();
            c->m_numbers << n;
        } else if (failed) {
            *failed << file.fileName();
        }
    }
    if (c->m_numbers.isEmpty()) {
        delete c;
        return nullptr;
    }
    target->applyPictureReferences(PictureReferences::withPicturesRemoved(c->m_before, c->m_numbers));
    c->finish();
    return c;
}

bool PictureChange::takeAside(QStringList *failed)
{
    bool ok = true;
    const QString folder = m_target->pictureFolder();
    for (const QString &name : m_names) {
        const QString path = folder + QLatin1Char('/') + name;
        if (!QFileInfo::exists(path))
            continue;
        if (moveFile(path, m_aside + QLatin1Char('/') + name))
            continue;
        // An import's copy is already aside: the picture folder's file is simply removed.
        if (m_kind == Import && QFileInfo::exists(m_aside + QLatin1Char('/') + name) && QFile::remove(path))
            continue;
        ok = false;
        if (failed)
            *failed << name;
    }
    return ok;
}

bool PictureChange::bringBack()
{
    bool ok = true;
    const QString folder = m_target->pictureFolder();
    for (const QString &name : m_names) {
        const QString from = m_aside + QLatin1Char('/') + name;
        const QString to = folder + QLatin1Char('/') + name;
        // An import keeps its copy aside for the next undo.
        const bool done = m_kind == Import ? QFile::copy(from, to) : moveFile(from, to);
        ok = ok && done;
    }
    return ok;
}

void PictureChange::undo()
{
    m_target->pictureFolderChanging();
    if (m_kind == Import) {
        // The last save's copies stay: a saved file may name these pictures, and until the next
        // save the backup is what a kill or "no" at exit restores. That save drops them.
        takeAside();
        finish();
        return;
    }
    bringBack();
    m_target->reloadPictures();
    m_target->applyPictureReferences(
        PictureUses::withPicturesRestored(m_target->pictureReferences(), m_numbers, m_before));
    if (m_changed)
        m_changed();
}

void PictureChange::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_target->pictureFolderChanging();
    if (m_kind == Import) {
        bringBack();
        finish();
        return;
    }
    takeAside();
    m_target->applyPictureReferences(PictureReferences::withPicturesRemoved(m_target->pictureReferences(), m_numbers));
    finish();
}

void PictureChange::finish()
{
    m_target->reloadPictures();
    if (m_changed)
        m_changed();
}
