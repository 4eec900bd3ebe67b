#pragma once

#include "model/controlrecord.h"
#include "moduleraster.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QVector>

#include <functional>

class ModulePictures;

// What the module's screen shows, in the drawing orientation. Two layers: everything drawn
// freely (colours, pictures, shapes, plain texts) and, on top, the controls of the page by number,
// so that changing one control redraws only its area: the free drawing under it, then the
// controls that cover that area, in the order the page drew them.
class ModuleScreen {
public:
    explicit ModuleScreen(const QSize &size = QSize());

    QSize size() const { return m_screen.size(); }
    // Clears to black at a new size.
    void setSize(const QSize &size);
    // The drawing orientation changed from one code to another: the panel keeps its pixels, so
    // the picture turns with the coordinates.
    void turn(int fromDirection, int toDirection);

    // Pictures controls may name; decoded pictures are kept until the next call.
    void setPictures(const ModulePictures *pictures);
    // Colour number shown through transparent parts of controls (the page's background colour).
    void setBackgroundNum(int n) { m_backgroundNum = n; }

    // Free drawing, in drawing coordinates, with the module's raster.
    void draw(const std::function<void(ModuleRaster &)> &paint);
    void fill(int colourNum);
    // Picture n as the panel holds it; null when there is none.
    QImage picture(int n) const;

    // Controls: all but QR codes numbered in the order they arrive, QR codes apart.
    int addControl(const ControlRecord &record);
    ControlRecord *control(int n);
    ControlRecord *qrCode(int n);
    const ControlRecord *control(int n) const { return const_cast<ModuleScreen *>(this)->control(n); }
    const ControlRecord *qrCode(int n) const { return const_cast<ModuleScreen *>(this)->qrCode(n); }
    int controlCount() const { return m_controls.size(); }
    int qrCodeCount() const { return m_qrCodes.size(); }
    void clearControls();
    // Redraws a control after its record changed (a pointer from `control()` or `qrCode()`).
    void redraw(const ControlRecord *record);
    void setPressed(int n, bool pressed);
    bool isPressed(int n) const { return m_pressed.contains(n); }
    // The button under a point of the screen, topmost first; -1 when none.
    int buttonAt(const QPoint &p) const;

    // The drawn picture: RGB565 pixels widened to RGB32.
    const QImage &image() const { return m_screen; }
    // Counts every change, so a viewer knows when to fetch the picture again.
    quint64 serial() const { return m_serial; }

    // How a pressed button looks: its pressed colour and pressed picture.
    static ControlRecord pressedLook(const ControlRecord &button);
    // The picture as the panel holds it: RGB565.
    static QImage reduced(const QImage &image);
    // The picture as it is seen: darker with the backlight value (0 brightest, 255 dark), black
    // with the LCD off.
    static QImage lit(const QImage &reducedImage, int backlight, bool lcdOn);
    // Between the drawing orientation of a direction code and the panel's own (code 0).
    static QImage toPanel(const QImage &image, int direction);
    static QImage fromPanel(const QImage &panel, int direction);

private:
    // Index over the controls, then the QR codes: the order the page draws them.
    const ControlRecord &at(int index) const;
    ControlRecord shownRecord(int index) const;

    void paintControl(QImage *layer, int index, const QRect &clip);

    QImage m_base;
    QImage m_screen;
    const ModulePictures *m_pictures = nullptr;
    mutable QHash<int, QImage> m_decoded;
    int m_backgroundNum = 15;
    QVector<ControlRecord> m_controls;
    QVector<ControlRecord> m_qrCodes;
    QSet<int> m_pressed;
    quint64 m_serial = 0;
};
