#pragma once

// Prepares the environment of a program that draws without a screen (tavo-cli, lxp-sim): the
// offscreen platform unless one is chosen, and a private runtime folder when none is set, so
// Qt has nothing to warn about on standard error. Call before the application object exists.
void prepareHeadlessEnvironment();
