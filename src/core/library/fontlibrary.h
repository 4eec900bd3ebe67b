#pragma once

#include <QStringList>

// Font files of a project: the "*.bin" files of "<project>/tempFonts" whose base name is
// "<family>_<size>", family "C" (Chinese) or "E" (English), size 16, 24, 32, 48, 72 or 96.
namespace FontLibrary {

struct FontName {
    bool valid = false;
    bool chinese = false;
    int size = 0;
};

FontName parseFontName(const QString &fileName);
// Full paths of the listed font files in the folder's name order. Only regular files are listed;
// the paths of other entries with a font name (links to FIFOs, devices) go to *skipped.
QStringList fontList(const QString &fontsFolder, QStringList *skipped = nullptr);
QStringList fontListOfProject(const QString &projectFolder, QStringList *skipped = nullptr);
// Copies each file into the folder under its own name, replacing a font of that name. Returns the
// names of the files that could not be copied; nothing half-copied stays behind.
QStringList importFonts(const QString &fontsFolder, const QStringList &files);

}  // namespace FontLibrary
