#pragma once

#include <QSize>
#include <QStringList>

// The module resolutions offered for a new project, e.g. "240*320(QVGA-1)".
const QStringList &ResolutionList();

// Resolutions whose modules only offer orientation 1 (landscape).
bool isLandscapeOnlyResolution(const QString &text);

// Page size for a resolution text and orientation code 0..3: codes 0 and 2 are portrait (the
// smaller number is the width), 1 and 3 landscape. An unreadable text gives an invalid size.
QSize pageSizeFor(const QString &resolutionText, int screenType);
