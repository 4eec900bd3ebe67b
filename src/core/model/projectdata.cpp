#include "model/projectdata.h"

int PageData::qrCodeCount() const
{
    int n = 0;
    for (const ControlRecord &c : controls)
        n += c.isQRCode() ? 1 : 0;
    return n;
}

int PageData::nextControlId(ControlKind kind) const
{
    return kind == ControlKind::QRCode ? qrCodeCount() : nonQRCodeCount();
}

bool PageData::operator==(const PageData &o) const
{
    if (imageNum != o.imageNum || backgroundNum != o.backgroundNum || helpLineNum != o.helpLineNum ||
        helpLineLeft != o.helpLineLeft || helpLineRight != o.helpLineRight || helpLineTop != o.helpLineTop ||
        helpLineBottom != o.helpLineBottom || name != o.name || controls != o.controls || primitives.size() != o.primitives.size())
        return false;
    for (int i = 0; i < primitives.size(); ++i) {
        if (!primitives.at(i).sameShape(o.primitives.at(i)))
            return false;
    }
    return true;
}

void renumberAfterRemoval(QVector<ControlRecord> &controls, ControlKind removedKind, int removedId)
{
    if (removedKind == ControlKind::QRCode) {
        int n = 0;
        for (ControlRecord &c : controls) {
            if (c.isQRCode())
                c.id = n++;
        }
        return;
    }
    for (ControlRecord &c : controls) {
        if (!c.isQRCode() && c.id > removedId)
            --c.id;
    }
}

bool ProjectData::operator==(const ProjectData &o) const
{
    return frameW == o.frameW && frameH == o.frameH && parentImageNum == o.parentImageNum &&
           parentBackgroundNum == o.parentBackgroundNum && screenType == o.screenType && dpi == o.dpi &&
           baud == o.baud && blValue == o.blValue && logo1 == o.logo1 && logo2 == o.logo2 && logoX == o.logoX &&
           logoY == o.logoY && logoW == o.logoW && logoH == o.logoH && logoTime == o.logoTime &&
           currentPage == o.currentPage && bootPage == o.bootPage && pages == o.pages;
}
