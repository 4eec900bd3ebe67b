// Feeds arbitrary bytes to the picture library as one picture file. Whatever the bytes, the
// entry must be either readable with the size it decodes to, or marked and counted as empty or
// too large; the blocks sent for it must match the sizes the header announces.
#include "download/downloadblocks.h"
#include "library/picturecache.h"
#include "library/picturelibrary.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("100001_input.bmp"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const PictureLibrary lib = PictureLibrary::fromPaths({path});
    const PictureInfo &info = lib.at(0);
    switch (info.state) {
    case PictureState::Readable:
        if (info.size.isEmpty() || info.size.width() > PictureReader::MaxSide || info.size.height() > PictureReader::MaxSide)
            fail("a readable picture with a size the header cannot hold");
        if (DownloadBlocks::pixelData(lib).size() != lib.totalBytes())
            fail("pixel block and announced size differ");
        break;
    case PictureState::Unreadable:
        if (info.size != QSize(0, 0) || lib.totalBytes() != 0)
            fail("an unreadable picture that takes room");
        break;
    case PictureState::TooLarge:
        if (info.size.width() <= PictureReader::MaxSide && info.size.height() <= PictureReader::MaxSide &&
            qint64(info.size.width()) * info.size.height() <= PictureReader::MaxPixels)
            fail("a picture refused as too large that is not");
        break;
    }
    PictureCache::global().clear();
    return 0;
}
