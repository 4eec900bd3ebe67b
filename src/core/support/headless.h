#pragma once

// Sets XDG_RUNTIME_DIR to a private folder of this user when it is not set, so Qt has nothing to
// warn about on standard error. Call before the application object exists.
void ensureRuntimeFolder();

// Prepares the environment of a program that draws without a screen (tavo-cli, lxp-sim): the
// offscreen platform unless one is chosen, and the runtime folder above.
void prepareHeadlessEnvironment();
