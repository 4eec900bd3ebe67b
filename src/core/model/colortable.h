#pragma once

#include <QColor>

// The module's 64-colour table. Colour numbers are the only colour values the model, the project
// file and the instructions ever hold; this table turns them into RGB for previews.
namespace ColorTable {

constexpr int Count = 64;

// Colour of number n. Numbers outside 0..63 (a damaged project) give a fixed magenta so the
// mistake is visible on the canvas; nothing outside the table is read.
QColor colorAt(int n);

bool isValid(int n);

// Kept for the start-up order of the main window; the table is constant data, so this only
// makes sure it is initialised.
void fillColorTable();

// Black or white, whichever reads on a swatch of colour n.
QColor numberTextColorOn(int n);

}  // namespace ColorTable
