#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class VirtualModule;

// Keeps a PNG file showing the module's screen, rewritten after every change but at most ten
// times a second. The file is replaced whole, so a reader never sees half a picture.
class ScreenFile : public QObject {
    Q_OBJECT
public:
    static constexpr int MinIntervalMs = 100;

    // The file holds the framebuffer, or with dimmed the screen as seen (backlight, LCD off).
    ScreenFile(VirtualModule *module, const QString &path, bool dimmed = false, QObject *parent = nullptr);
    bool write();

private:
    void changed();

    VirtualModule *m_module;
    QString m_path;
    bool m_dimmed;
    QTimer m_timer;
    QElapsedTimer m_sinceWrite;
};
