#pragma once

// What the boot script carries: orientation, backlight, the page shown after start-up and the
// optional animation (a range of picture numbers shown one after the other at one place).
struct BootSettings {
    int direction = 0;
    int backlight = 0;
    int bootPage = 0;
    int gifFirst = -1;
    int gifLast = -1;
    int gifX = 0;
    int gifY = 0;
    int gifW = 0;
    int gifH = 0;
    int gifIntervalMs = 0;
};
