#include "download/downloadjob.h"

#include "library/fontlibrary.h"

DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode)
{
    DownloadJob job;
    job.mode = mode;
    job.direction = project.screenType;
    job.backlight = project.blValue;
    job.bootPage = project.currentPage;
    job.gifFirst = project.logo1;
    job.gifLast = project.logo2;
    job.gifX = project.logoX;
    job.gifY = project.logoY;
    job.gifW = project.logoW;
    job.gifH = project.logoH;
    job.gifIntervalMs = project.logoTime;
    job.pages = project.pages;
    job.pictures = PictureLibrary::fromProjectFolder(projectFolder);
    job.fonts = FontLibrary::fontListOfProject(projectFolder);
    job.baud = project.baud;
    return job;
}
