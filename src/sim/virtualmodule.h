#pragma once

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QTimer>

#include <memory>

class QTemporaryDir;
class PictureLibrary;

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

    // Faults for tests.
    int silentAnswer = 0;         // the n-th acknowledgement (from 1) is never sent
    bool splitAnswers = false;    // answers go out one byte at a time with small gaps
    int splitGapMs = 3;
    QByteArray junk;              // sent in front of every answer
    qint64 closeAfterBytes = -1;  // the line closes once this many bytes arrived
};

// The module side of the serial protocol, on any QIODevice (a pty in practice). It acknowledges
// commands and announced blocks, reports its limits, flash size, address and firmware, keeps what
// it received (pictures, boot script, page scripts, fonts, settings) and draws the stored pages.
class VirtualModule : public QObject {
    Q_OBJECT
public:
    explicit VirtualModule(QObject *parent = nullptr);
    ~VirtualModule() override;

    void setSettings(const ModuleSettings &settings) { m_settings = settings; }
    const ModuleSettings &settings() const { return m_settings; }
    // Starts serving the device (opened by the caller). The module does not own it.
    void attach(QIODevice *device);
    // Draw the stored pages into this folder after every reset ("page0.png", ...); empty = never.
    void setRenderFolder(const QString &folder) { m_renderFolder = folder; }

    // What the module keeps.
    QByteArray bootScript() const { return m_boot; }
    QMap<int, QByteArray> pageScripts() const { return m_pages; }
    QByteArray pictureHeader() const { return m_header; }
    QByteArray pixelData() const { return m_pixels; }
    QVector<QImage> pictures() const;
    int smallFontBytes() const { return m_smallFont; }
    int largeFontBytes() const { return m_largeFont; }
    int backlight() const { return m_backlight; }
    int baud() const { return m_baud; }
    int addressEnabled() const { return m_addressEnabled; }
    int address() const { return m_address; }
    int resets() const { return m_resets; }
    // Every command line received, without its line end.
    QStringList commands() const { return m_commands; }
    qint64 bytesReceived() const { return m_received; }

    // Draws stored page n with what the module holds; a null image when there is no such page.
    QImage renderPage(int n) const;
    // Writes every stored page as <folder>/page<n>.png.
    bool renderPages(const QString &folder, QString *error = nullptr) const;

signals:
    void commandReceived(const QString &command);
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

    ModuleSettings m_settings;
    QPointer<QIODevice> m_device;
    QString m_renderFolder;

    QByteArray m_line;
    Block m_block = Block::None;
    qint64 m_blockSize = 0;
    QByteArray m_blockData;
    int m_blockPage = 0;
    qint64 m_flashAddress = 0;

    QByteArray m_boot;
    QMap<int, QByteArray> m_pages;
    QByteArray m_header;
    QByteArray m_pixels;
    int m_smallFont = 0;
    int m_largeFont = 0;
    int m_backlight = 20;
    int m_baud = 115200;
    int m_direction = 0;
    int m_addressEnabled = 0;
    int m_address = 0;
    int m_resets = 0;
    int m_answers = 0;
    qint64 m_received = 0;
    QStringList m_commands;

    // Stored pictures as files for the renderer; a new folder for every picture download.
    std::shared_ptr<QTemporaryDir> pictureFolder(QStringList *paths) const;
    mutable std::shared_ptr<QTemporaryDir> m_pictureDir;
    mutable QStringList m_picturePaths;

    QList<QByteArray> m_outQueue;
    QTimer m_outTimer;
    QTimer m_blockTimer;
};
