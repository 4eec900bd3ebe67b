#include "modulescreen.h"

#include "model/colortable.h"
#include "modulepictures.h"
#include "render/renderer.h"

#include <QTransform>

namespace {

// QImage dots per metre for 96 dpi: point sizes of texts come out as on the canvas.
constexpr int kDotsPerMeter96 = 3780;

QImage blank(const QSize &size)
{
    QImage img(size, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    img.fill(Qt::black);
    return img;
}

QImage turned(const QImage &image, int quarterTurnsClockwise)
{
    const int q = ((quarterTurnsClockwise % 4) + 4) % 4;
    if (q == 0 || image.isNull())
        return image;
    QImage out = image.transformed(QTransform().rotate(90.0 * q));
    out.setDotsPerMeterX(kDotsPerMeter96);
    out.setDotsPerMeterY(kDotsPerMeter96);
    return out;
}

// Quarter turns, clockwise, from the panel's orientation to the drawing orientation of a code:
// 1 is the panel turned a quarter anticlockwise, 2 upside down, 3 a quarter clockwise.
int quartersOf(int direction)
{
    switch (direction) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
    }
}

}  // namespace

ModuleScreen::ModuleScreen(const QSize &size)
{
    setSize(size);
}

void ModuleScreen::setSize(const QSize &size)
{
    m_base = blank(size);
    m_screen = m_base;
    ++m_serial;
}

void ModuleScreen::turn(int fromDirection, int toDirection)
{
    const int q = quartersOf(toDirection) - quartersOf(fromDirection);
    if (q % 4 == 0)
        return;
    m_base = turned(m_base, q);
    m_screen = turned(m_screen, q);
    ++m_serial;
}

void ModuleScreen::setPictures(const ModulePictures *pictures)
{
    m_pictures = pictures;
    m_decoded.clear();
}

QImage ModuleScreen::picture(int n) const
{
    if (!m_pictures)
        return QImage();
    auto it = m_decoded.constFind(n);
    if (it != m_decoded.constEnd())
        return it.value();
    // A picture is decoded once per download, however often controls show it.
    const QImage img = m_pictures->image(n);
    if (m_decoded.size() >= 256)
        m_decoded.clear();
    m_decoded.insert(n, img);
    return img;
}

void ModuleScreen::draw(const std::function<void(ModuleRaster &)> &paint)
{
    if (m_screen.isNull())
        return;
    for (QImage *layer : {&m_base, &m_screen}) {
        ModuleRaster raster(layer);
        paint(raster);
    }
    ++m_serial;
}

void ModuleScreen::fill(int colourNum)
{
    const QRgb c = ModuleRaster::tableColour(colourNum);
    m_base.fill(c);
    m_screen.fill(c);
    ++m_serial;
}

void ModuleScreen::paintControl(QImage *layer, int index, const QRect &clip)
{
    ModuleRaster raster(layer, clip);
    raster.control(shownRecord(index), [this](int n) { return picture(n); }, m_backgroundNum);
}

int ModuleScreen::addControl(const ControlRecord &record)
{
    QVector<ControlRecord> &list = record.isQRCode() ? m_qrCodes : m_controls;
    list.append(record);
    list.last().id = list.size() - 1;
    const int index = record.isQRCode() ? m_controls.size() + m_qrCodes.size() - 1 : m_controls.size() - 1;
    if (!m_screen.isNull()) {
        // A new control lies on top of what is there.
        paintControl(&m_screen, index, m_screen.rect());
        ++m_serial;
    }
    return list.last().id;
}

ControlRecord *ModuleScreen::control(int n)
{
    return n >= 0 && n < m_controls.size() ? &m_controls[n] : nullptr;
}

ControlRecord *ModuleScreen::qrCode(int n)
{
    return n >= 0 && n < m_qrCodes.size() ? &m_qrCodes[n] : nullptr;
}

void ModuleScreen::clearControls()
{
    m_controls.clear();
    m_qrCodes.clear();
    m_pressed.clear();
}

const ControlRecord &ModuleScreen::at(int index) const
{
    return index < m_controls.size() ? m_controls.at(index) : m_qrCodes.at(index - m_controls.size());
}

ControlRecord ModuleScreen::shownRecord(int index) const
{
    const ControlRecord &r = at(index);
    if (index < m_controls.size() && r.kind == ControlKind::Button && m_pressed.contains(index))
        return Renderer::asShown(pressedLook(r));
    return Renderer::asShown(r);
}

void ModuleScreen::redraw(const ControlRecord *record)
{
    if (m_screen.isNull() || !record)
        return;
    int index = -1;
    const int total = m_controls.size() + m_qrCodes.size();
    for (int i = 0; i < total && index < 0; ++i) {
        if (&at(i) == record)
            index = i;
    }
    if (index < 0)
        return;
    const QRect area = ModuleRaster::controlRect(shownRecord(index)) & m_screen.rect();
    if (area.isEmpty())
        return;
    ModuleRaster(&m_screen, area).picture(m_base, area.topLeft(), area);
    for (int i = 0; i < total; ++i) {
        if (ModuleRaster::controlRect(shownRecord(i)).intersects(area))
            paintControl(&m_screen, i, area);
    }
    ++m_serial;
}

void ModuleScreen::setPressed(int n, bool pressed)
{
    ControlRecord *r = control(n);
    if (!r || r->kind != ControlKind::Button || m_pressed.contains(n) == pressed)
        return;
    if (pressed)
        m_pressed.insert(n);
    else
        m_pressed.remove(n);
    redraw(r);
}

int ModuleScreen::buttonAt(const QPoint &p) const
{
    for (int i = m_controls.size() - 1; i >= 0; --i) {
        const ControlRecord &r = m_controls.at(i);
        if (r.kind == ControlKind::Button && QRect(r.x, r.y, r.w, r.h).contains(p))
            return i;
    }
    return -1;
}

ControlRecord ModuleScreen::pressedLook(const ControlRecord &button)
{
    ControlRecord r = button;
    r.backgroundColorNum = button.pressColorNum;
    if (button.pressImageNum != -1) {
        r.imageNum = button.pressImageNum;
        r.cutImageNum = -1;
    } else if (button.pressCutImageNum != -1) {
        r.imageNum = -1;
        r.cutImageNum = button.pressCutImageNum;
    }
    return r;
}

QImage ModuleScreen::reduced(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    const int w = out.width(), h = out.height();
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | (row[x] & 0x00F8FCF8u);
    }
    return out;
}

QImage ModuleScreen::lit(const QImage &reducedImage, int backlight, bool lcdOn)
{
    QImage out = reducedImage;
    if (!lcdOn) {
        out.fill(Qt::black);
        return out;
    }
    const uint level = uint(255 - qBound(0, backlight, 255));
    if (level == 255)
        return out;
    const int w = out.width(), h = out.height();
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint c = row[x];
            const uint r = ((c >> 16) & 0xFF) * level / 255, g = ((c >> 8) & 0xFF) * level / 255, b = (c & 0xFF) * level / 255;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return out;
}

QImage ModuleScreen::toPanel(const QImage &image, int direction)
{
    return turned(image, -quartersOf(direction));
}

QImage ModuleScreen::fromPanel(const QImage &panel, int direction)
{
    return turned(panel, quartersOf(direction));
}
