#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QVector>

// The limits a module reports in its information answer ("INFO_a_b_c_d_e_f").
struct ModuleLimits {
    int maxControls = 0;   // field 3
    int maxBytes = 0;      // field 4
    int maxTextBytes = 0;  // field 6
};

// Parses "INFO_..." (line ends removed); false unless there are exactly six "_"-separated fields.
bool parseModuleLimits(const QString &answer, ModuleLimits *limits);

// What one page asks of a module: its controls, its instruction bytes (controls then primitives,
// GBK) and the longest text of its text, number and button controls (-1: none).
struct PageLoad {
    int controls = 0;
    qint64 bytes = 0;
    qint64 longestText = -1;
};
PageLoad pageLoad(const PageData &page);
// Module bytes of a control's text when its kind shows one, else -1.
qint64 controlTextBytes(const ControlRecord &control);

// Checks every page against the module's limits. Returns the warning to show, empty when every
// page fits: controls per page, instruction bytes per page (controls then primitives, GBK), and
// text bytes of each text, number and button control.
QString moduleLimitMessage(const QVector<PageData> &pages, const ModuleLimits &limits);
