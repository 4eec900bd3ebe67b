#pragma once

#include <QString>

namespace WorkingFolder {

// Why path cannot be used as a working folder that is removed, renamed or written into: it is a
// symbolic link (dangling or not) or exists as something other than a folder. Empty when it is a
// real folder or does not exist. Shared by the project's folder mirroring and the picture folder.
QString problem(const QString &path);

}  // namespace WorkingFolder
