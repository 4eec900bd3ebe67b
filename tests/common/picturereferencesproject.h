#pragma once

#include "edit/picturereferences.h"
#include "model/projectdata.h"

// A 320 x 240 project of count pages in which page n and its first control (a button) name
// picture n in every image field; a text control without pictures follows the button.
inline ProjectData projectNamingEachPicture(int count)
{
    ProjectData d;
    d.frameW = 320;
    d.frameH = 240;
    d.screenType = 1;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    for (int n = 0; n < count; ++n) {
        PageData page;
        page.imageNum = n;
        ControlRecord c = ControlRecord::make(ControlKind::Button, 0);
        for (int f = 0; f < PictureReferences::ImageFieldCount; ++f)
            PictureReferences::setImageField(c, f, n);
        page.controls << c << ControlRecord::make(ControlKind::Text, 1);
        d.pages << page;
    }
    return d;
}
