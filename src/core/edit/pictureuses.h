#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QVector>

// Who uses which picture, for the question before a deletion, and the way back from a deletion
// for its undo.
namespace PictureUses {

struct Use {
    enum Kind { PageBackground, Control, BootAnimation };
    int picture = -1;
    Kind kind = PageBackground;
    int page = -1;
    int controlId = -1;  // Control: the control's number (QR codes are numbered apart)
    bool qrCode = false;
};

// Every use of the pictures numbers (ascending, unique), picture by picture, in page order. A
// control using a picture in several fields counts once; the boot animation counts once per
// picture of its range.
QVector<Use> usesOf(const ProjectData &project, const QVector<int> &numbers);

// "图片1被第0页背景、第2页控件3使用", one line per picture, at most maxLines lines and
// maxPerLine uses per line, with "等N处" where uses were left out; empty without uses.
QString describe(const QVector<Use> &uses, int maxLines = 3, int maxPerLine = 3);

// The inverse of PictureReferences::renumbered(): the number a reference had before the removed
// pictures (ascending, unique) were taken out.
int numberBefore(int n, const QVector<int> &removed);

// Undoes PictureReferences::withPicturesRemoved(): every reference in `now` moves back up, and
// every reference the deletion set to none takes the removed picture `before` named there.
// `before` is the project as it was when the pictures were removed; pages and controls are
// matched by position, as the deletion left them.
ProjectData withPicturesRestored(const ProjectData &now, const QVector<int> &removed, const ProjectData &before);

}  // namespace PictureUses
