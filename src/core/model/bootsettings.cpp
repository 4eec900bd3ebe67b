#include "model/bootsettings.h"

#include "model/projectdata.h"

#include <QtGlobal>

namespace {

int animationValue(int v) { return qBound(0, v, MaxAnimationValue); }

}  // namespace

BootSettings bootSettingsOf(const ProjectData &project)
{
    BootSettings boot;
    boot.direction = project.screenType;
    boot.backlight = project.blValue;
    const bool pageExists = project.currentPage >= 0 && project.currentPage < project.pages.size();
    boot.bootPage = pageExists ? project.currentPage : 0;
    boot.gifFirst = project.logo1;
    boot.gifLast = project.logo2;
    boot.gifX = animationValue(project.logoX);
    boot.gifY = animationValue(project.logoY);
    boot.gifW = animationValue(project.logoW);
    boot.gifH = animationValue(project.logoH);
    boot.gifIntervalMs = animationValue(project.logoTime);
    return boot;
}
