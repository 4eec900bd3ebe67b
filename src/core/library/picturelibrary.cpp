#include "library/picturelibrary.h"

#include "library/regularfile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <thread>

namespace {

// Entries of the folder matching the picture patterns, of any type ("System" brings in FIFOs,
// devices and dangling links, so that they can be named when they are skipped). Each carries the
// type the listing gave, so that a plain file costs no look of its own.
QFileInfoList pictureFiles(const QString &folder)
{
    return QDir(folder).entryInfoList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files | QDir::System,
                                      QDir::Name);
}

}  // namespace

PictureInfo PictureLibrary::readInfo(const QString &path, Reading reading) { return readInfo(path, reading, false); }

PictureInfo PictureLibrary::readInfo(const QString &path, Reading reading, bool typeKnown)
{
    PictureInfo info;
    info.path = path;
    if (reading == Decode) {
        PictureReader::read(path, &info.state, &info.size);
        info.decoded = true;
        info.fileSize = QFileInfo(path).size();
    } else {
        PictureReader::readHeader(path, &info.state, &info.size, &info.fileSize, typeKnown);
        if (info.fileSize == 0)
            info.fileSize = QFileInfo(path).size();
        // Nothing to decode: the header already says it cannot be sent.
        info.decoded = info.state != PictureState::Readable;
    }
    return info;
}

void PictureLibrary::decodeAll()
{
    for (int n = 0; n < m_pictures.size(); ++n) {
        if (!m_pictures.at(n).decoded)
            m_pictures[n] = readInfo(m_pictures.at(n).path, Decode);
    }
}

void PictureLibrary::setDecoded(int n, PictureState state, const QSize &size)
{
    if (!contains(n))
        return;
    PictureInfo &info = m_pictures[n];
    info.state = state;
    info.size = size;
    info.decoded = true;
}

PictureLibrary PictureLibrary::fromProjectFolder(const QString &projectFolder, Reading reading)
{
    return fromFolder(projectFolder + QStringLiteral("/tempImages"), reading);
}

qint64 PictureLibrary::serialOf(const QString &fileName)
{
    const int us = fileName.indexOf(QLatin1Char('_'));
    if (us < 0)
        return -1;
    bool ok = false;
    const qint64 serial = fileName.left(us).toLongLong(&ok);
    return ok ? serial : -1;
}

PictureLibrary PictureLibrary::fromFolder(const QString &imagesFolder, Reading reading)
{
    struct Entry {
        qint64 serial;
        QString name;
    };
    QVector<Entry> entries;
    PictureLibrary lib;
    for (const QFileInfo &entry : pictureFiles(imagesFolder)) {
        const QString name = entry.fileName();
        if (!name.contains(QLatin1Char('_')))
            continue;
        const QString path = imagesFolder + QLatin1Char('/') + name;
        // The listing's type of a plain file is enough; links and the rest are looked at.
        if (!(entry.isFile() && !entry.isSymLink()) && !RegularFile::isRegular(path)) {
            lib.m_skipped << path;
            continue;
        }
        entries.append({serialOf(name), name});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.serial < b.serial; });
    // Opened moments after the listing; whatever is opened is checked again all the same.
    lib.m_pictures.resize(entries.size());
    PictureInfo *const out = lib.m_pictures.data();  // detached once, before any thread writes
    const auto readRange = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            out[i] = readInfo(imagesFolder + QLatin1Char('/') + entries.at(i).name, reading, true);
    };
    // Headers of a large library on two threads: the window lists them before its first paint.
    // Decoding stays on one, to hold one picture's pixels at a time.
    if (reading == HeadersOnly && entries.size() >= 64) {
        const int half = entries.size() / 2;
        std::thread other(readRange, half, int(entries.size()));
        readRange(0, half);
        other.join();
    } else {
        readRange(0, entries.size());
    }
    return lib;
}

PictureLibrary PictureLibrary::fromPaths(const QStringList &paths, Reading reading)
{
    PictureLibrary lib;
    for (const QString &p : paths)
        lib.m_pictures.append(readInfo(p, reading));
    return lib;
}

QStringList PictureLibrary::paths() const
{
    QStringList out;
    for (const PictureInfo &p : m_pictures)
        out << p.path;
    return out;
}

QVector<int> PictureLibrary::problemPictures() const
{
    QVector<int> out;
    for (int i = 0; i < m_pictures.size(); ++i) {
        if (!m_pictures.at(i).readable())
            out << i;
    }
    return out;
}

qint64 PictureLibrary::address(int n) const
{
    qint64 a = BaseAddress;
    for (int i = 0; i < n && i < m_pictures.size(); ++i)
        a += pixelBytes(m_pictures.at(i).size);
    return a;
}

qint64 PictureLibrary::totalBytes() const
{
    qint64 t = 0;
    for (const PictureInfo &p : m_pictures)
        t += pixelBytes(p.size);
    return t;
}

qint64 PictureLibrary::readableBytes() const
{
    qint64 t = 0;
    for (const PictureInfo &p : m_pictures) {
        if (p.readable())
            t += pixelBytes(p.size);
    }
    return t;
}

qint64 PictureLibrary::largestSerial(const QString &imagesFolder)
{
    qint64 largest = FirstSerial - 1;
    for (const QFileInfo &entry : pictureFiles(imagesFolder))
        largest = qMax(largest, serialOf(entry.fileName()));
    return largest;
}
