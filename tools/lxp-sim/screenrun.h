#pragma once

#include <QSize>
#include <QString>

// lxp-sim --run: a screen test of a firmware's instruction lines without hardware or a pty. The
// project (when given) is stored as a download stores it and the module is powered on; then the
// lines of the file arrive one after the other, the final screen is written and compared.
struct ScreenRun {
    QString file;        // instruction lines, or a file written by --record
    QString project;     // optional: downloaded first, so the stored pages exist
    QSize size;          // screen size when no project says it
    bool fast = false;   // DELAYMS and recorded gaps pass at once instead of in real time
    bool dimmed = false; // the screen as seen, with the backlight, instead of the framebuffer
    QString screen;      // write the final screen here
    QString expect;      // compare the final screen with this picture
    int maxTextBytes = 128;
};

// Exit status: 0 all lines ran (and the screen matches), 1 a line was refused or the screen
// differs, 2 a file or the project cannot be read or written.
int runScreen(const ScreenRun &run);

// A line of a --record file: milliseconds since the simulator started, a tab, the line.
QString recordLine(qint64 offsetMs, const QString &line);
