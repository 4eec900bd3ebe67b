#pragma once

#include <QString>

// Makes dst an exact copy of src. Nothing is touched when src does not exist. The copy is made
// in a sibling folder first and swapped in, so a crash leaves either the old or the new dst
// complete, never a half-copied one. Returns false when src is missing or a step fails (dst is
// then as it was).
bool mirrorFolder(const QString &src, const QString &dst);

// Copies a folder tree into a folder that must not exist yet.
bool copyFolderTree(const QString &src, const QString &dst);
