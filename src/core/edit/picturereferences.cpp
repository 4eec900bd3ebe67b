#include "edit/picturereferences.h"

#include <algorithm>

namespace PictureReferences {

QVector<int> validNumbers(const QVector<int> &numbers, int count)
{
    QVector<int> out;
    for (int n : numbers) {
        if (n >= 0 && n < count)
            out.append(n);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

int renumbered(int n, const QVector<int> &removed)
{
    if (n < 0)
        return -1;
    const auto below = std::lower_bound(removed.begin(), removed.end(), n);
    if (below != removed.end() && *below == n)
        return -1;
    return n - int(below - removed.begin());
}

int imageField(const ControlRecord &c, int field)
{
    switch (field) {
    case 0: return c.imageNum;
    case 1: return c.cutImageNum;
    case 2: return c.backgroundImageNum;
    case 3: return c.backgroundCutImageNum;
    case 4: return c.pressImageNum;
    case 5: return c.pressCutImageNum;
    default: return -1;
    }
}

void setImageField(ControlRecord &c, int field, int value)
{
    switch (field) {
    case 0: c.imageNum = value; break;
    case 1: c.cutImageNum = value; break;
    case 2: c.backgroundImageNum = value; break;
    case 3: c.backgroundCutImageNum = value; break;
    case 4: c.pressImageNum = value; break;
    case 5: c.pressCutImageNum = value; break;
    default: break;
    }
}

ProjectData withPicturesRemoved(const ProjectData &project, const QVector<int> &removed)
{
    ProjectData out = project;
    if (removed.isEmpty())
        return out;
    out.parentImageNum = renumbered(out.parentImageNum, removed);
    out.logo1 = renumbered(out.logo1, removed);
    out.logo2 = renumbered(out.logo2, removed);
    for (PageData &page : out.pages) {
        page.imageNum = renumbered(page.imageNum, removed);
        for (ControlRecord &c : page.controls) {
            for (int f = 0; f < ImageFieldCount; ++f)
                setImageField(c, f, renumbered(imageField(c, f), removed));
        }
    }
    return out;
}

}  // namespace PictureReferences
