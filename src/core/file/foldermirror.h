#pragma once

#include <QString>

// Makes dst an exact copy of src. Nothing is touched when src does not exist. The copy is made
// in a sibling folder first and swapped in, so a crash leaves either the old or the new dst
// complete, never a half-copied one. Returns false when src is missing or a step fails (dst is
// then as it was); error then says why when a name in the way was the reason.
// dst and its sibling names ("dst.new", "dst.old") are never followed through a symbolic link:
// one that is a link, or not a folder, is refused and named in error. src may be a link.
bool mirrorFolder(const QString &src, const QString &dst, QString *error = nullptr);

// Copies a folder tree into a folder that must not exist yet.
bool copyFolderTree(const QString &src, const QString &dst);

// Why path cannot be used as a working folder that is removed, renamed or written into: it is a
// symbolic link (dangling or not) or exists as something other than a folder. Empty when it is a
// real folder or does not exist.
QString workingFolderProblem(const QString &path);

// Removes a real folder and everything in it. A link at path is refused (false, nothing touched);
// links inside are removed as links, never followed. True when nothing is left at path.
bool removeFolderTree(const QString &path);
