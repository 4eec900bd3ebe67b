#include "download/downloadjob.h"

#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "library/fontlibrary.h"

DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode,
                           JobPictures reading)
{
    DownloadJob job;
    static_cast<BootSettings &>(job) = bootSettingsOf(project);
    job.mode = mode;
    job.pages = project.pages;
    job.pictures = PictureLibrary::fromProjectFolder(projectFolder, PictureLibrary::HeadersOnly);
    // A library that no module can hold is refused from its headers: nothing is decoded.
    const bool sends = DownloadCheck::sendsPictures(mode);
    if (reading != JobPictures::Headers && !(sends && job.pictures.readableBytes() > DownloadBlocks::MaxFlashBytes)) {
        const bool pixels = reading == JobPictures::ForMode && sends;
        DownloadBlocks::decodePictures(&job.pictures, pixels ? &job.pixelBlock : nullptr);
        job.pixelsReady = pixels && job.pictures.totalBytes() <= DownloadBlocks::MaxFlashBytes &&
                           job.pictures.problemPictures().isEmpty();
    }
    job.fonts = FontLibrary::fontListOfProject(projectFolder);
    job.baud = project.baud;
    return job;
}
