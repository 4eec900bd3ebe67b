#pragma once

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QElapsedTimer>
#include <QTimer>

#include "moduleruntime.h"

#include <functional>

class QIODevice;

// How the virtual module answers, and the faults it can be told to show.
struct ModuleSettings {
    // Reported in the information answer.
    int maxControls = 100;
    int maxBytes = 8192;
    int maxTextBytes = 128;
    int flashMiB = 11;  // 2, 3 or 11: "FLASH_<n>"
    QSize screen = QSize(320, 240);
    QString firmware = QStringLiteral("FW_LXP-SIM_1.0");
    // A block whose bytes stop coming for this long is dropped (the host gave up or went away).
    int blockIdleMs = 2000;
    // When set, the module understands only a line set to this rate; anything sent at another
    // rate is noise to it. "BPS(n)" moves it to n, as a real module does. 0: any rate.
    int baud = 0;

    // Faults for tests.
    int silentAnswer = 0;         // the n-th acknowledgement (from 1) is never sent
    bool splitAnswers = false;    // answers go out one byte at a time with small gaps
    int splitGapMs = 3;
    QByteArray junk;              // sent in front of every answer
    qint64 closeAfterBytes = -1;  // the line closes once this many bytes arrived
    bool noTicks = false;         // no erase and write ticks while pixel data is stored
};

// The module side of the serial protocol, on any QIODevice (a pty in practice). It acknowledges
// the download commands and announced blocks, reports its limits and flash size, keeps what it
// received (pictures, boot script, page scripts, fonts, settings) in its runtime, and passes every
// other line to the runtime, which runs the instructions, answers them and draws the screen.
class VirtualModule : public QObject {
    Q_OBJECT
public:
    explicit VirtualModule(QObject *parent = nullptr);
    ~VirtualModule() override;

    void setSettings(const ModuleSettings &settings);
    const ModuleSettings &settings() const { return m_settings; }
    // Starts serving the device (opened by the caller). The module does not own it.
    void attach(QIODevice *device);
    // As if these bytes had come over the line (the simulator window's command line).
    void inject(const QByteArray &bytes);
    // A finger on the screen at a point of the drawing: a button there shows its pressed look
    // until the press ends.
    void press(const QPoint &point);
    void releasePress();
    // Power-on: the boot script runs as after a reset, without counting as one.
    void powerOn();

    const ModuleRuntime &runtime() const { return m_runtime; }
    ModuleRuntime &runtime() { return m_runtime; }
    // The runtime's state changed in a way a viewer shows (screen, backlight, page, ...).
    quint64 stateStamp() const;

    // The rate the host set on the line, for a module that insists on its own rate.
    void setLineRateSource(std::function<qint64()> source) { m_lineRate = std::move(source); }
    // Draw the stored pages into this folder after every reset ("page0.png", ...); empty = never.
    void setRenderFolder(const QString &folder) { m_renderFolder = folder; }

    // What the module keeps.
    QByteArray bootScript() const { return m_runtime.bootScript(); }
    QMap<int, QByteArray> pageScripts() const { return m_runtime.pages(); }
    QByteArray pictureHeader() const { return m_header; }
    QByteArray pixelData() const { return m_pixels; }
    QVector<QImage> pictures() const;
    int smallFontBytes() const { return m_smallFont; }
    int largeFontBytes() const { return m_largeFont; }
    int backlight() const { return m_runtime.backlight(); }
    int baud() const { return m_runtime.baud(); }
    int addressEnabled() const { return m_runtime.addressEnabled(); }
    int address() const { return m_runtime.address(); }
    int resets() const { return m_resets; }
    // The last command lines received (at most MaxCommands), without their line ends.
    static constexpr int MaxCommands = 1000;
    QStringList commands() const { return m_commands; }
    qint64 bytesReceived() const { return m_received; }

    // Draws stored page n with what the module holds; a null image when there is no such page.
    QImage renderPage(int n) const;
    // Writes every stored page as <folder>/page<n>.png.
    bool renderPages(const QString &folder, QString *error = nullptr) const;

signals:
    void commandReceived(const QString &command);
    // Every answer sent, and every note of the runtime (why an instruction was refused).
    void answered(const QByteArray &answer);
    void noted(const QString &note);
    // The screen, backlight, orientation, page or LCD changed.
    void stateChanged();
    // A "BPS(n)" was acknowledged: the module now listens at n.
    void baudChanged(int baud);
    void resetDone();
    void lineClosed();

private:
    enum class Block { None, Boot, Page, Header, Pixels, SmallFont, LargeFont, Flash };

    void onReadyRead();
    void consume(const QByteArray &bytes);
    void handleLine(const QByteArray &line);
    void finishBlock();
    void acknowledge(const QByteArray &answer);
    void send(const QByteArray &bytes);
    void pump();
    void closeLine();
    bool expectBlock(Block block, qint64 size);
    // Bytes kept in the flash, less the block of that kind (and page) a new one replaces.
    qint64 storedBytes(Block replaced, int page) const;
    void schedule();
    void afterRun();

    ModuleSettings m_settings;
    QPointer<QIODevice> m_device;
    std::function<qint64()> m_lineRate;
    QString m_renderFolder;

    QByteArray m_line;
    Block m_block = Block::None;
    qint64 m_blockSize = 0;
    QByteArray m_blockData;
    int m_blockPage = 0;
    qint64 m_flashAddress = 0;

    ModuleRuntime m_runtime;
    QElapsedTimer m_clock;
    QTimer m_runTimer;
    bool m_restarted = false;
    int m_pressedButton = -1;
    quint64 m_lastStamp = 0;

    QByteArray m_header;
    QByteArray m_pixels;
    int m_smallFont = 0;
    int m_largeFont = 0;
    int m_resets = 0;
    int m_answers = 0;
    qint64 m_received = 0;
    QStringList m_commands;

    QList<QByteArray> m_outQueue;
    QTimer m_outTimer;
    QTimer m_blockTimer;
};
