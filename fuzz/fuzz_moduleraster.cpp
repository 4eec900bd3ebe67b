// Drives the module raster with arbitrary shapes and controls. After every step, no pixel outside
// the step's rectangle (and its clip) may have changed, and every pixel must be a table colour or
// a pixel of the one picture; anything else aborts.
#include "model/colortable.h"
#include "moduleraster.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Reader {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    int byte() { return at < size ? data[at++] : 0; }
    // Coordinates reach well beyond the screen on both sides, sizes and angles too.
    int coord() { return int(int16_t(uint16_t(byte() << 8 | byte()))) / 64; }
    int any() { return int(int16_t(uint16_t(byte() << 8 | byte()))); }
};

QImage makePicture()
{
    QImage img(5, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, ModuleRaster::reduce(qRgb(x * 50, y * 60, 123)));
    return img;
}

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QImage picture = makePicture();
    static const std::vector<bool> allowed = [] {
        std::vector<bool> a(1 << 24, false);
        for (int n = 0; n < ColorTable::Count; ++n)
            a[ModuleRaster::tableColour(n) & 0xFFFFFF] = true;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                a[picture.pixel(x, y) & 0xFFFFFF] = true;
        return a;
    }();
    const ModuleRaster::PictureSource pictures = [](int n) { return n == 0 ? picture : QImage(); };

    QImage screen(64, 48, QImage::Format_RGB32);
    screen.fill(ModuleRaster::tableColour(0));
    Reader in{data, size};
    for (int step = 0; step < 64 && in.at < size; ++step) {
        const QImage before = screen;
        const QRect clip(in.coord(), in.coord(), in.byte(), in.byte());
        ModuleRaster raster(&screen, clip);
        const int op = in.byte() % 7;
        const QRgb c = ModuleRaster::tableColour(in.byte() % ColorTable::Count);
        QRect area;
        if (op <= 2) {
            QMyDrawType d;
            d.setDrawType(1 + in.byte() % 6);
            d.setRect(in.coord(), in.coord(), in.coord(), in.coord());
            d.setStart(in.coord(), in.coord());
            d.setX2(in.coord());
            d.setY2(in.coord());
            d.setStoredRadius(in.coord());
            d.setColorNum(in.byte() % ColorTable::Count);
            raster.primitive(d);
            area = ModuleRaster::primitiveRect(d);
        } else if (op == 3) {
            const int x1 = in.coord(), y1 = in.coord(), x2 = in.coord(), y2 = in.coord(), t = in.byte() % 9;
            raster.line(x1, y1, x2, y2, c, t);
            const int before = (t - 1) / 2;
            area = QRect(QPoint(qMin(x1, x2), qMin(y1, y2)), QPoint(qMax(x1, x2), qMax(y1, y2)))
                       .adjusted(-before, -before, t - 1 - before, t - 1 - before);
        } else if (op == 4) {
            const QPoint at(in.coord(), in.coord());
            const QRect part(in.coord(), in.coord(), in.coord(), in.coord());
            raster.picture(picture, at, part);
            area = QRect(at, (part & picture.rect()).size());
        } else {
            ControlRecord r = ControlRecord::make(ControlKind(in.byte() % ControlKindCount), 0);
            r.x = in.coord(), r.y = in.coord(), r.w = in.coord(), r.h = in.coord();
            r.style = in.byte() % 7 - 1;
            r.progType = in.byte() % 5;
            r.text = QString::number(in.any());
            r.fontColorNum = in.byte() % 70;
            r.backgroundColorNum = in.byte() % 70;
            r.styleColorNum = in.byte() % 70;
            r.pressColorNum = in.byte() % 70;
            r.imageNum = in.byte() % 3 - 1;
            r.cutImageNum = in.byte() % 3 - 1;
            r.backgroundImageNum = in.byte() % 3 - 1;
            r.backgroundCutImageNum = in.byte() % 3 - 1;
            r.pointerL = in.coord();
            r.pointerW = in.any();
            r.pointerAngle = in.any();
            if (r.kind == ControlKind::Pointer) {
                r.pointerL = qBound(0, r.pointerL, 4096);
                r.settlePointer();
            } else if (r.isQRCode()) {
                r.h = r.w;
            }
            raster.control(r, pictures, in.byte() % ColorTable::Count);
            area = ModuleRaster::controlRect(r);
        }
        const QRect drawable = clip.isEmpty() ? screen.rect() : clip;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const QRgb now = screen.pixel(x, y);
                check(allowed[now & 0xFFFFFF], "a colour outside the table and the picture");
                if (now != before.pixel(x, y))
                    check(area.contains(x, y) && drawable.contains(x, y), "a pixel outside the rectangle changed");
            }
        }
    }
    return 0;
}
