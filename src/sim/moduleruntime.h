#pragma once

#include "moduleinstruction.h"
#include "modulepictures.h"
#include "modulescreen.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSize>

#include <deque>
#include <functional>
#include <initializer_list>

// The module itself: what it keeps (pages, boot script, pictures, settings), what it shows, and
// the interpreter of its instruction language. No widget and no timer: the owner feeds lines and
// the clock, and passes answers on. Whatever arrives, it never fails, never grows without bound,
// and answers a refused instruction with nothing (the reason goes to the log).
class ModuleRuntime {
public:
    // Instructions waiting behind a DELAYMS, at most; more are refused.
    static constexpr int MaxPending = 4096;
    static constexpr int MaxDelayMs = 65535;

    // The panel's own size in either orientation; drawing is portrait for codes 0 and 2 and
    // landscape for 1 and 3.
    explicit ModuleRuntime(const QSize &panel = QSize(240, 320));
    // The screen keeps a pointer to the pictures.
    ModuleRuntime(const ModuleRuntime &) = delete;
    ModuleRuntime &operator=(const ModuleRuntime &) = delete;

    // Where answers and log lines go.
    std::function<void(const QByteArray &)> answer;
    std::function<void(const QString &)> log;
    // Called on every restart, before the boot script runs.
    std::function<void()> restarted;

    void setPanelSize(const QSize &panel);
    QSize panelSize() const { return m_panel; }
    void setFirmware(const QString &firmware) { m_firmware = firmware; }
    void setMaxTextBytes(int bytes) { m_maxTextBytes = bytes; }

    // What a download stores.
    void setBootScript(const QByteArray &script) { m_boot = script; }
    QByteArray bootScript() const { return m_boot; }
    void setPage(int n, const QByteArray &script) { m_pages.insert(n, script); }
    QMap<int, QByteArray> pages() const { return m_pages; }
    void setPictures(const ModulePictures &pictures);
    const ModulePictures &pictures() const { return m_pictures; }
    void setAddress(int enabled, int address);

    // One line as it came over the wire, without its line end. Its instructions run at once,
    // unless a DELAYMS before them still holds.
    void submit(const QString &line, qint64 nowMs);
    // Runs the held instructions that are due; returns when the next ones are, or -1.
    qint64 run(qint64 nowMs);
    qint64 nextDue() const { return m_pending.empty() ? -1 : m_busyUntil; }
    int pendingCount() const { return int(m_pending.size()); }
    // Power-on and RESET: settings back to their defaults, then the boot script (animation and
    // all) runs.
    void restart(qint64 nowMs);
    // Shows stored page n without answering anything; false when there is none.
    bool showPage(int n, qint64 nowMs = 0);

    int currentPage() const { return m_currentPage; }
    int direction() const { return m_direction; }
    int backlight() const { return m_backlight; }
    int backgroundColorNum() const { return m_sbc; }
    bool halfDot() const { return m_halfDot; }
    bool lcdOn() const { return m_lcdOn; }
    int baud() const { return m_baud; }
    // A module set to another rate before it is powered (lxp-sim --baud).
    void setBaud(int baud) { m_baud = baud; }
    int addressEnabled() const { return m_addressEnabled; }
    int address() const { return m_address; }
    int pictureMode() const { return m_modeCfg; }

    // The screen in the drawing orientation: full colour, as the panel holds it (RGB565), and as
    // it is seen (backlight, LCD on or off).
    const ModuleScreen &screen() const { return m_screen; }
    ModuleScreen &screen() { return m_screen; }
    QImage frame() const { return ModuleScreen::reduced(m_screen.image()); }
    QImage display() const { return ModuleScreen::lit(frame(), m_backlight, m_lcdOn); }
    // As the panel lies, whatever the drawing orientation.
    QImage panel() const { return ModuleScreen::toPanel(display(), m_direction); }
    // Drawing size of an orientation code.
    QSize drawingSize(int direction) const;

private:
    enum class Origin { Line, Boot, Page };
    struct Pending {
        ModuleInstruction ins;
        Origin origin;
    };
    using Handler = bool (ModuleRuntime::*)(const ModuleInstruction &, Origin, QString *);

    static const QHash<QString, Handler> &handlers();
    // Settings to their defaults, screen black, the boot script queued.
    void resetState();
    void queueScript(const QByteArray &script, Origin origin, bool atFront);
    void execute(const Pending &item, qint64 nowMs);
    void refuse(const ModuleInstruction &ins, const QString &reason);
    void reply(const QByteArray &bytes);

    // Instructions (moduleinterpreter.cpp): each checks its arguments, then acts; false with a
    // reason when it does not.
    bool doClear(const ModuleInstruction &, Origin, QString *);
    bool doPicture(const ModuleInstruction &, Origin, QString *);
    bool doShape(const ModuleInstruction &, Origin, QString *);
    bool doControl(const ModuleInstruction &, Origin, QString *);
    bool doSimpleButton(const ModuleInstruction &, Origin, QString *);
    bool doText(const ModuleInstruction &, Origin, QString *);
    bool doBackgroundColour(const ModuleInstruction &, Origin, QString *);
    bool doBacklight(const ModuleInstruction &, Origin, QString *);
    bool doDirection(const ModuleInstruction &, Origin, QString *);
    bool doJump(const ModuleInstruction &, Origin, QString *);
    bool doFlashPicture(const ModuleInstruction &, Origin, QString *);
    bool doAnimationFrame(const ModuleInstruction &, Origin, QString *);
    bool doSetQr(const ModuleInstruction &, Origin, QString *);
    bool doSetText(const ModuleInstruction &, Origin, QString *);
    bool doSetNumber(const ModuleInstruction &, Origin, QString *);
    bool doSetProgress(const ModuleInstruction &, Origin, QString *);
    bool doSetPointer(const ModuleInstruction &, Origin, QString *);
    bool doSetButton(const ModuleInstruction &, Origin, QString *);
    bool doSetButtonPicture(const ModuleInstruction &, Origin, QString *);
    bool doSetColour(const ModuleInstruction &, Origin, QString *);
    bool doHalfDot(const ModuleInstruction &, Origin, QString *);
    bool doDelay(const ModuleInstruction &, Origin, QString *);
    bool doLcd(const ModuleInstruction &, Origin, QString *);
    bool doReset(const ModuleInstruction &, Origin, QString *);
    bool doVersion(const ModuleInstruction &, Origin, QString *);
    bool doGetAddress(const ModuleInstruction &, Origin, QString *);
    bool doAddress(const ModuleInstruction &, Origin, QString *);
    bool doBaud(const ModuleInstruction &, Origin, QString *);
    bool doPictureMode(const ModuleInstruction &, Origin, QString *);

    void drawPicture(const QImage &image, int x, int y, int w, int h);
    // The control an instruction names (its first argument), when it is of one of these kinds
    // (any kind when none are given).
    ControlRecord *target(const ModuleInstruction &ins, std::initializer_list<ControlKind> kinds, QString *error);

    QSize m_panel;
    QString m_firmware = QStringLiteral("FW_LXP-SIM_1.0");
    int m_maxTextBytes = 128;
    QByteArray m_boot;
    QMap<int, QByteArray> m_pages;
    ModulePictures m_pictures;
    ModuleScreen m_screen;

    int m_currentPage = -1;
    int m_direction = 0;
    int m_backlight = 0;  // full brightness until a boot script or host says otherwise
    int m_sbc = 0;
    bool m_halfDot = false;
    bool m_lcdOn = true;
    int m_baud = 115200;
    int m_addressEnabled = 0;
    int m_address = 0;
    int m_modeCfg = 2;

    std::deque<Pending> m_pending;
    qint64 m_busyUntil = 0;
    qint64 m_now = 0;
    bool m_restartRequested = false;
    QByteArray m_reply;  // the answer of the instruction running, when it is not "OK"
};
