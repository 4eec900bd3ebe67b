#pragma once

#include "library/picturereader.h"

#include <QSize>
#include <QStringList>
#include <QString>
#include <QVector>

// One picture of a project's library.
struct PictureInfo {
    QString path;
    QSize size;          // what the file decodes to (or its header says, until decoded); 0 x 0 when unreadable
    qint64 fileSize = 0; // bytes on disk
    // Unreadable and too large pictures stay in the list (their numbers hold the others' places)
    // but may not be downloaded.
    PictureState state = PictureState::Readable;
    // Whether state is a decoder's verdict; a library read for headers only holds what the
    // headers promise until its pictures are decoded.
    bool decoded = false;
    bool readable() const { return state == PictureState::Readable; }
};

// The project's pictures in number order: the files of "<project>/tempImages" named
// "<serial>_<name>.bmp|jpg", sorted by serial. Picture number n is entry n. Only regular files
// are entries; anything else under such a name is left out and named in skipped().
class PictureLibrary {
public:
    static constexpr quint32 BaseAddress = 0x200000;
    static constexpr int FirstSerial = 100001;

    // How much of each picture is read: its header for the size, or the whole picture decoded once
    // for its true size and a verdict on whether it can be sent.
    enum Reading { Decode, HeadersOnly };

    // Reads the folder of a project: projectFolder + "/tempImages".
    static PictureLibrary fromProjectFolder(const QString &projectFolder, Reading reading = Decode);
    static PictureLibrary fromFolder(const QString &imagesFolder, Reading reading = Decode);
    // Builds the list from given paths, in this order.
    static PictureLibrary fromPaths(const QStringList &paths, Reading reading = Decode);

    int count() const { return m_pictures.size(); }
    bool isEmpty() const { return m_pictures.isEmpty(); }
    bool contains(int n) const { return n >= 0 && n < m_pictures.size(); }
    const PictureInfo &at(int n) const { return m_pictures.at(n); }
    const QVector<PictureInfo> &pictures() const { return m_pictures; }
    QStringList paths() const;
    // Numbers of the pictures that may not be downloaded, ascending.
    QVector<int> problemPictures() const;
    // Files of the folder left out because they are not regular files (links to FIFOs, devices).
    const QStringList &skipped() const { return m_skipped; }
    // Width and height of picture n; an empty size for numbers that name no picture.
    QSize sizeOf(int n) const { return contains(n) ? m_pictures.at(n).size : QSize(); }

    // Bytes of picture n on the module: two per pixel.
    static qint64 pixelBytes(const QSize &s) { return qint64(qMax(0, s.width())) * qMax(0, s.height()) * 2; }
    // Module address of picture n: the base plus the pixel bytes of the pictures before it.
    qint64 address(int n) const;
    qint64 totalBytes() const;
    // Pixel bytes of the pictures that are readable (so far as is known).
    qint64 readableBytes() const;

    void append(const PictureInfo &info) { m_pictures.append(info); }
    // Decodes every picture not decoded yet, once, for its true size and verdict.
    void decodeAll();
    // Records what decoding picture n found (see PictureReader::read).
    void setDecoded(int n, PictureState state, const QSize &size);
    void removeAt(int n) { m_pictures.removeAt(n); }

    // Serial of a library file name ("100003_logo.bmp" -> 100003), -1 when it has none.
    static qint64 serialOf(const QString &fileName);
    // Largest serial in the folder, at least FirstSerial - 1.
    static qint64 largestSerial(const QString &imagesFolder);
    static PictureInfo readInfo(const QString &path, Reading reading = Decode);
    // typeKnown: a folder listing of a moment ago said path is a regular file.
    static PictureInfo readInfo(const QString &path, Reading reading, bool typeKnown);

private:
    QVector<PictureInfo> m_pictures;
    QStringList m_skipped;
};
