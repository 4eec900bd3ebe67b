#include "model/bootsettings.h"

#include "model/projectdata.h"

#include <QtGlobal>

namespace {

int animationValue(int v) { return qBound(0, v, MaxAnimationValue); }

}  // namespace

int bootPageOf(const ProjectData &project)
{
    const auto exists = [&project](int n) { return n >= 0 && n < project.pages.size(); };
    if (exists(project.bootPage))
        return project.bootPage;
    return exists(project.currentPage) ? project.currentPage : 0;
}

BootSettings bootSettingsOf(const ProjectData &project)
{
    BootSettings boot;
    boot.direction = project.screenType;
    boot.backlight = project.blValue;
    boot.bootPage = bootPageOf(project);
    boot.gifFirst = project.logo1;
    boot.gifLast = project.logo2;
    boot.gifX = animationValue(project.logoX);
    boot.gifY = animationValue(project.logoY);
    boot.gifW = animationValue(project.logoW);
    boot.gifH = animationValue(project.logoH);
    boot.gifIntervalMs = animationValue(project.logoTime);
    return boot;
}
