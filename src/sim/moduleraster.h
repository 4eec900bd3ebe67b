#pragma once

#include "model/controlrecord.h"
#include "model/qmydrawtype.h"

#include <QImage>
#include <QRect>
#include <QRgb>

#include <functional>

// The module's own drawing, pixel by pixel: one pixel wide, no antialiasing, corners inclusive,
// every pixel a table colour reduced to RGB565 or a picture's own pixel, and nothing drawn
// outside the instruction's rectangle (nor outside the clip). The rules are written down in this
// folder's README; that text and this class are the definition of what the module shows.
class ModuleRaster {
public:
    // Picture n as the module holds it (RGB565 pixels); a null image when there is none.
    using PictureSource = std::function<QImage(int)>;

    // Draws into target (Format_RGB32), only inside clip (the whole image when clip is empty).
    explicit ModuleRaster(QImage *target, const QRect &clip = QRect());

    // Table colour n as the panel shows it: RGB565 widened to RGB32 (low bits zero).
    static QRgb tableColour(int n);
    static QRgb reduce(QRgb c) { return 0xFF000000u | (c & 0x00F8FCF8u); }

    void fill(const QRect &r, QRgb c);
    void pixel(int x, int y, QRgb c);
    // BOX / BOXF: x1..x2 by y1..y2, either corner order.
    void box(int x1, int y1, int x2, int y2, QRgb c, bool filled);
    // CIR / CIRF: the midpoint circle of radius r; the filled one covers its inside as well.
    void circle(int cx, int cy, int r, QRgb c, bool filled);
    // PL: Bresenham from end to end, both ends included. A thicker line stamps a square of side
    // `thickness` on every pixel of the thin one.
    void line(int x1, int y1, int x2, int y2, QRgb c, int thickness = 1);
    // A whole picture with its top-left corner at `at`.
    void picture(const QImage &image, const QPoint &at) { picture(image, at, image.rect()); }
    // The part `part` (picture coordinates) of a picture, drawn at `at`; nothing when it is empty.
    void picture(const QImage &image, const QPoint &at, const QRect &part);
    // A one-line text in the module's bitmap fonts, aligned in `area` and cut at its edges.
    void text(const QRect &area, const QString &text, int fontSize, int hAlign, int vAlign, QRgb c);

    void primitive(const QMyDrawType &d);
    // A control as shown on a page (see Renderer::asShown), drawn inside its rectangle only.
    // pageBackgroundNum: what a pointer's face shows.
    void control(const ControlRecord &shown, const PictureSource &pictures, int pageBackgroundNum);

    // The rectangle an instruction may change.
    static QRect primitiveRect(const QMyDrawType &d);
    static QRect controlRect(const ControlRecord &shown);
    // The module's font sizes (16, 24, 32, 48, 72, 96); anything else is drawn at 16.
    static int fontPixels(int fontSize);
    // A character cell: Latin characters are half as wide as tall, others square.
    static int cellWidth(QChar c, int size);
    static int textWidth(const QString &text, int fontSize);
    // Whether texts can be drawn: glyphs come from the installed fonts, which need a GUI
    // application object.
    static bool canDrawText();

private:
    void frame(const QRect &r, int width, QRgb c);
    void label(const ControlRecord &r);
    void button(const ControlRecord &r, const PictureSource &pictures);
    void progress(const ControlRecord &r, const PictureSource &pictures);
    void pointer(const ControlRecord &r, int pageBackgroundNum);
    void qrCode(const ControlRecord &r);
    // Limits drawing to r as well while f runs.
    void within(const QRect &r, const std::function<void()> &f);

    QImage *m_image;
    QRect m_clip;
};
