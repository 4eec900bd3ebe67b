// Feeds arbitrary bytes to the project reader. The fast and the full parser must read alike;
// whatever is accepted must survive writing and reading again unchanged, and its scripts and
// checks must build without faults.
#include "download/downloadcheck.h"
#include "file/projectfile.h"
#include "script/scripts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const int pictureCount = 8;
    ProjectData project;
    const ProjectFile::ReadResult r = ProjectFile::readFromBytes(bytes, pictureCount, &project);
    ProjectData full;
    const ProjectFile::ReadResult rf = ProjectFile::readFromBytesWith(bytes, pictureCount, &full, QString(), false);
    if (rf.ok != r.ok || rf.hasFrameSize != r.hasFrameSize || full != project) {
        std::fprintf(stderr, "the parsers disagree: %s / %s\n", qPrintable(r.reason), qPrintable(rf.reason));
        std::abort();
    }
    if (!r.ok) {
        if (r.reason.isEmpty()) {
            std::fprintf(stderr, "failure without a reason\n");
            std::abort();
        }
        return 0;
    }

    ProjectData again;
    const ProjectFile::ReadResult r2 = ProjectFile::readFromBytes(ProjectFile::toXml(project), pictureCount, &again);
    if (!r2.ok || again != project) {
        std::fprintf(stderr, "round trip changed the project: %s\n", qPrintable(r2.reason));
        std::abort();
    }

    PictureLibrary pictures;
    for (int i = 0; i < pictureCount; ++i)
        pictures.append(PictureInfo{QString(), QSize(240, 320), 0});
    for (int i = 0; i < project.pages.size(); ++i) {
        QString script;
        buildPageScript(project.pages.at(i), i, pictures, &script);
    }
    DownloadJob job;
    job.pages = project.pages;
    job.pictures = pictures;
    job.gifFirst = project.logo1;
    job.gifLast = project.logo2;
    job.gifX = project.logoX;
    job.gifIntervalMs = project.logoTime;
    job.bootPage = project.currentPage;
    if (DownloadCheck::allMessages(job).isEmpty())
        buildBootScript(job);
    return 0;
}
