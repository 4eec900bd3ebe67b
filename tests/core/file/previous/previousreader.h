#pragma once

#include "file/projectfile.h"

// The project file reader as it was before it streamed: a list of every event first, then the
// walk. Kept here only to compare the two on a generated corpus.
namespace PreviousReader {

ProjectFile::ReadResult readFromBytesWith(const QByteArray &bytes, int pictureCount, ProjectData *data,
                                          const QString &nameForMessages, bool allowFast);

}  // namespace PreviousReader
