#pragma once

#include "model/projectdata.h"

// Numbers that refer to pages by their place in the project (the boot page, and with it the boot
// script's JUMP) follow the pages when pages are moved or taken out.
namespace PageNumbers {

// Where page `page` is after the page at `from` was moved to `to`; -1 (none) stays -1.
int afterMove(int page, int from, int to);
// Where page `page` is after page `removed` was taken out; -1 for the removed page itself.
int afterRemoval(int page, int removed);
// Moves page `from` of the project to `to`, the boot page and the page shown following it;
// false (nothing changed) for a page outside the project.
bool movePage(ProjectData &project, int from, int to);

}  // namespace PageNumbers
