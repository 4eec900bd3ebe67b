#pragma once

// Makes the icons compiled into the editor library available under ":images/...".
// Safe to call more than once.
void initTavoIcons();
