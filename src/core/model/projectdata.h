#pragma once

#include "model/bootsettings.h"
#include "model/controlrecord.h"
#include "model/qmydrawtype.h"

#include <QString>
#include <QVector>

// One page: its own fields, its controls in list order and its primitives in list order.
struct PageData {
    int imageNum = -1;       // background picture, -1 none
    int backgroundNum = 15;  // background colour number
    int helpLineNum = 0;     // helper-line mode
    int helpLineLeft = 0;
    int helpLineRight = 0;
    int helpLineTop = 0;
    int helpLineBottom = 0;
    // The firmware's name for the page (an identifier, unique among the pages); empty: none.
    QString name;
    QVector<ControlRecord> controls;
    QVector<QMyDrawType> primitives;

    // Number for a new control of the kind: the count of its group (QR codes, or all others).
    int nextControlId(ControlKind kind) const;
    int qrCodeCount() const;
    int nonQRCodeCount() const { return controls.size() - qrCodeCount(); }

    bool operator==(const PageData &o) const;
    bool operator!=(const PageData &o) const { return !(*this == o); }
};

// Renumbers after removing a control of the given kind and number: QR codes are renumbered
// 0, 1, ... in list order; other controls above the removed number move down by one.
void renumberAfterRemoval(QVector<ControlRecord> &controls, ControlKind removedKind, int removedId);

// Everything a project file holds.
struct ProjectData {
    int frameW = 0;
    int frameH = 0;
    int parentImageNum = -1;
    int parentBackgroundNum = 15;
    int screenType = 0;
    QString dpi;
    QString baud = QStringLiteral("115200");
    int blValue = DefaultBacklight;
    int logo1 = -1;
    int logo2 = -1;
    int logoX = 0;
    int logoY = 0;
    int logoW = 0;
    int logoH = 0;
    int logoTime = 0;
    int currentPage = 0;
    // The page the user picked to show after start-up; -1 when none was picked, and the boot
    // page is then the page shown (files written before the choice was kept mean just that).
    int bootPage = -1;
    QVector<PageData> pages;

    bool operator==(const ProjectData &o) const;
    bool operator!=(const ProjectData &o) const { return !(*this == o); }
};
