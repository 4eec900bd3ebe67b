#include "download/downloadjob.h"

#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "library/fontlibrary.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode,
                           JobPictures reading, DownloadBlocks::DecodeControl *control)
{
    DownloadJob job;
    static_cast<BootSettings &>(job) = bootSettingsOf(project);
    job.mode = mode;
    job.pages = project.pages;
    if (reading != JobPictures::None)
        job.pictures = PictureLibrary::fromProjectFolder(projectFolder, PictureLibrary::HeadersOnly);
    // A library that no module can hold is refused from its headers: nothing is decoded.
    const bool sends = DownloadCheck::sendsPictures(mode);
    const bool decodes = reading != JobPictures::Headers && reading != JobPictures::None;
    if (decodes && !(sends && job.pictures.readableBytes() > DownloadBlocks::MaxFlashBytes)) {
        const bool pixels = (reading == JobPictures::ForMode && sends) || reading == JobPictures::VerdictsAndPixels;
        if (!DownloadBlocks::decodePictures(&job.pictures, pixels ? &job.pixelBlock : nullptr, control))
            return job;
        job.pixelsReady = pixels && job.pictures.totalBytes() <= DownloadBlocks::MaxFlashBytes &&
                           job.pictures.problemPictures().isEmpty();
    }
    job.fonts = FontLibrary::fontListOfProject(projectFolder);
    job.baud = project.baud;
    return job;
}

QByteArray pictureFolderStamp(const QString &projectFolder)
{
    QByteArray stamp;
    QDataStream out(&stamp, QIODevice::WriteOnly);
    // Every entry, not only the library's names: one renamed into a picture's name counts too.
    const QFileInfoList entries = QDir(projectFolder + QStringLiteral("/tempImages"))
                                      .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                     QDir::Name);
    for (const QFileInfo &e : entries) {
        // A file replaced by another of the same size and time still has a new change time.
        out << e.fileName() << e.size() << e.lastModified().toMSecsSinceEpoch()
            << e.metadataChangeTime().toMSecsSinceEpoch();
    }
    return stamp;
}
