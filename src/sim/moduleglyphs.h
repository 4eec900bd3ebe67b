#pragma once

#include <QChar>
#include <QFont>
#include <QtGlobal>

#include <memory>
#include <vector>

// A character of the module's bitmap font: one bit per pixel of its cell (row by row).
struct ModuleGlyph {
    int w = 0;
    int h = 0;
    std::vector<quint8> on;
    bool at(int x, int y) const { return on[size_t(y) * size_t(w) + size_t(x)] != 0; }
};

namespace ModuleGlyphs {

// The glyph of c at a module font size (16, 24, ...), made once and kept. Needs a GUI
// application (see ModuleRaster::canDrawText); without one every glyph is blank. Shared, so a
// glyph in use outlives a trim of the cache by another thread.
std::shared_ptr<const ModuleGlyph> glyph(QChar c, int size);

// The face and pixel size the characters below U+0080 are drawn in at a font size: a monospaced
// face made small enough that every printable character's ink fits its half-width cell (with a
// free column to part it from the next) and the cell's height.
QFont latinFont(int size);

}  // namespace ModuleGlyphs
