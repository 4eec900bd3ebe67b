#include "download/downloadjob.h"

#include "library/fontlibrary.h"

DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode)
{
    DownloadJob job;
    static_cast<BootSettings &>(job) = bootSettingsOf(project);
    job.mode = mode;
    job.pages = project.pages;
    job.pictures = PictureLibrary::fromProjectFolder(projectFolder);
    job.fonts = FontLibrary::fontListOfProject(projectFolder);
    job.baud = project.baud;
    return job;
}
