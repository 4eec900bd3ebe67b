#pragma once

struct ProjectData;

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

// Backlight of a project whose file does not say (0 is the brightest, 255 the darkest).
constexpr int DefaultBacklight = 20;
// Animation position, size and interval are entered in 0..MaxAnimationValue.
constexpr int MaxAnimationValue = 999999999;

// The boot settings of a project as the editor holds them, so that the window, the scripts and
// every download agree on one file: animation values clamped to the editor's range, and a boot
// page that names no page read as page 0. Direction and backlight are taken as they stand; the
// download checks refuse values the module cannot take.
BootSettings bootSettingsOf(const ProjectData &project);

// The page shown after start-up: the page the user picked when it exists, otherwise the page
// shown in the editor (what files without a picked page have always meant), otherwise page 0.
int bootPageOf(const ProjectData &project);
