#include "edit/pictureuses.h"

#include "edit/picturereferences.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace PictureUses {

namespace {

QString tr(const char *s) { return QCoreApplication::translate("PictureUses", s); }

bool contains(const QVector<int> &sorted, int n) { return std::binary_search(sorted.begin(), sorted.end(), n); }

bool usesAny(const ControlRecord &c, int picture)
{
    for (int f = 0; f < PictureReferences::ImageFieldCount; ++f) {
        if (PictureReferences::imageField(c, f) == picture)
            return true;
    }
    return false;
}

QString useText(const Use &u)
{
    switch (u.kind) {
    case Use::PageBackground: return tr("第%1页背景").arg(u.page);
    case Use::Control:
        return (u.qrCode ? tr("第%1页二维码%2") : tr("第%1页控件%2")).arg(u.page).arg(u.controlId);
    case Use::BootAnimation: return tr("开机动画");
    }
    return QString();
}

// A reference the deletion may have moved: back up by the removed pictures, or, when the
// deletion set it to none, the removed picture it named before.
int restored(int now, int before, const QVector<int> &removed)
{
    if (now >= 0)
        return numberBefore(now, removed);
    return contains(removed, before) ? before : now;
}

}  // namespace

QVector<Use> usesOf(const ProjectData &project, const QVector<int> &numbers)
{
    QVector<Use> out;
    const bool animation = project.logo1 >= 0 && project.logo2 >= project.logo1;
    for (int n : numbers) {
        for (int p = 0; p < project.pages.size(); ++p) {
            const PageData &page = project.pages.at(p);
            if (page.imageNum == n)
                out.append({n, Use::PageBackground, p, -1, false});
            for (const ControlRecord &c : page.controls) {
                if (usesAny(c, n))
                    out.append({n, Use::Control, p, c.id, c.isQRCode()});
            }
        }
        const bool inAnimation = animation ? (n >= project.logo1 && n <= project.logo2)
                                           : (n == project.logo1 || n == project.logo2);
        if (inAnimation)
            out.append({n, Use::BootAnimation, -1, -1, false});
    }
    return out;
}

QString describe(const QVector<Use> &uses, int maxLines, int maxPerLine)
{
    QStringList lines;
    int pictures = 0;
    for (int i = 0; i < uses.size();) {
        const int picture = uses.at(i).picture;
        int end = i;
        while (end < uses.size() && uses.at(end).picture == picture)
            ++end;
        ++pictures;
        if (lines.size() < maxLines) {
            QStringList names;
            for (int k = i; k < end && names.size() < maxPerLine; ++k)
                names << useText(uses.at(k));
            const int count = end - i;
            const QString who = count > maxPerLine ? tr("%1等%2处").arg(names.join(tr("、"))).arg(count)
                                                   : names.join(tr("、"));
            lines << tr("图片%1被%2使用").arg(picture).arg(who);
        }
        i = end;
    }
    if (pictures > maxLines)
        lines << tr("等%1张图片正被使用").arg(pictures);
    return lines.join(QLatin1Char('\n'));
}

int numberBefore(int n, const QVector<int> &removed)
{
    if (n < 0)
        return -1;
    // Each removed picture at or below the number being built pushed it down by one.
    int m = n;
    for (int r : removed) {
        if (r <= m)
            ++m;
        else
            break;
    }
    return m;
}

ProjectData withPicturesRestored(const ProjectData &now, const QVector<int> &removed, const ProjectData &before)
{
    ProjectData out = now;
    if (removed.isEmpty())
        return out;
    out.parentImageNum = restored(now.parentImageNum, before.parentImageNum, removed);
    out.logo1 = restored(now.logo1, before.logo1, removed);
    out.logo2 = restored(now.logo2, before.logo2, removed);
    for (int p = 0; p < out.pages.size(); ++p) {
        PageData &page = out.pages[p];
        const PageData *old = p < before.pages.size() ? &before.pages.at(p) : nullptr;
        page.imageNum = restored(page.imageNum, old ? old->imageNum : -1, removed);
        for (int i = 0; i < page.controls.size(); ++i) {
            ControlRecord &c = page.controls[i];
            const ControlRecord *oldControl = old && i < old->controls.size() ? &old->controls.at(i) : nullptr;
            for (int f = 0; f < PictureReferences::ImageFieldCount; ++f) {
                const int was = oldControl ? PictureReferences::imageField(*oldControl, f) : -1;
                PictureReferences::setImageField(c, f, restored(PictureReferences::imageField(c, f), was, removed));
            }
        }
    }
    return out;
}

}  // namespace PictureUses
