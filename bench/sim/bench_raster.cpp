// Instructions per second of the module raster on an 800 x 480 screen, against the design-look
// renderer (antialiased QPainter pens, as the simulator drew before) on the same stream: boxes,
// filled boxes, circles, filled circles, lines, points and SET_TXT on 16 text controls.
//   raster, whole lines:  ModuleRuntime::submit (parsing included), as lines arrive at the module
//   raster, drawing only: the same records drawn by ModuleRaster into a framebuffer and its base
//   design look:          the same records painted by Renderer into two layers; SET_TXT restores
//                         the control's area from the base layer and paints the controls there
// Prints medians of 5 runs. Usage: bench_raster [COUNT]

#include "moduleraster.h"
#include "moduleruntime.h"
#include "render/renderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kW = 800, kH = 480, kTexts = 16;

struct Item {
    QString line;
    QMyDrawType shape;  // kind 0 for SET_TXT
    int control = -1;
    QString text;
};

ControlRecord textControl(int i)
{
    ControlRecord r = ControlRecord::make(ControlKind::Text, i);
    r.x = (i % 4) * 200 + 10;
    r.y = (i / 4) * 120 + 10;
    r.w = 180;
    r.h = 24;
    r.style = 2;
    r.text = QStringLiteral("Text %1").arg(i);
    r.fontColorNum = 0;
    r.backgroundColorNum = 7;
    return r;
}

QString pageScript()
{
    QString s = QStringLiteral("CLR(15);");
    for (int i = 0; i < kTexts; ++i) {
        const ControlRecord r = textControl(i);
        s += QStringLiteral("TXT(%1,%2,%3,%4,16,'%5',0,0,0,0,7,0);").arg(r.x).arg(r.y).arg(r.w).arg(r.h).arg(r.text);
    }
    return s;
}

QVector<Item> stream(int count)
{
    QVector<Item> items;
    quint32 seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % quint32(n));
    };
    for (int i = 0; i < count; ++i) {
        Item it;
        const int k = i % 8;
        const int x = next(kW), y = next(kH), c = next(64);
        QMyDrawType d;
        if (k == 6 || k == 7) {
            it.control = next(kTexts);
            it.text = QStringLiteral("Value %1").arg(i);
            it.line = QStringLiteral("SET_TXT(%1,'%2');").arg(it.control).arg(it.text);
        } else if (k <= 1) {
            d.setDrawType(k == 0 ? QMyDrawType::Box : QMyDrawType::FilledBox);
            const int w = 1 + next(120), h = 1 + next(80);
            d.setRect(x, y, w, h);
            d.setStart(x, y);
            it.line = QStringLiteral("%1(%2,%3,%4,%5,%6);").arg(k == 0 ? QLatin1String("BOX") : QLatin1String("BOXF"))
                          .arg(x).arg(y).arg(x + w - 1).arg(y + h - 1).arg(c);
        } else if (k <= 3) {
            d.setDrawType(k == 2 ? QMyDrawType::Circle : QMyDrawType::FilledCircle);
            d.setStart(x, y);
            d.setRadius(1 + next(50));
            it.line = QStringLiteral("%1(%2,%3,%4,%5);").arg(k == 2 ? QLatin1String("CIR") : QLatin1String("CIRF"))
                          .arg(x).arg(y).arg(d.radius()).arg(c);
        } else if (k == 4) {
            d.setDrawType(QMyDrawType::Line);
            d.setStart(x, y);
            d.setX2(next(kW));
            d.setY2(next(kH));
            it.line = QStringLiteral("PL(%1,%2,%3,%4,%5);").arg(x).arg(y).arg(d.x2()).arg(d.y2()).arg(c);
        } else {
            d.setDrawType(QMyDrawType::Point);
            d.setStart(x, y);
            it.line = QStringLiteral("PS(%1,%2,%3);").arg(x).arg(y).arg(c);
        }
        d.setColorNum(c);
        it.shape = d;
        items.append(it);
    }
    return items;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

double perSecond(int count, const std::function<void()> &run)
{
    QVector<double> rates;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        rates.append(count * 1000.0 / qMax<qint64>(1, t.elapsed()));
    }
    return median(rates);
}

QImage blank()
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(ModuleRaster::tableColour(15));
    return img;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? qMax(8, atoi(argv[1])) : 20000;
    const QVector<Item> items = stream(count);

    // Raster, as the module receives the lines.
    const double lines = perSecond(count, [&] {
        ModuleRuntime rt(QSize(kW, kH));
        rt.submit(QStringLiteral("DIR(1);") + pageScript(), 0);
        for (const Item &it : items)
            rt.submit(it.line, 0);
    });

    // Raster drawing alone: free drawing into both layers, a text redrawn over its restored area.
    const double raster = perSecond(count, [&] {
        QImage base = blank(), screen = blank();
        QVector<ControlRecord> texts;
        for (int i = 0; i < kTexts; ++i) {
            texts.append(textControl(i));
            ModuleRaster(&screen).control(texts.last(), nullptr, 15);
        }
        for (const Item &it : items) {
            if (it.control < 0) {
                ModuleRaster(&base).primitive(it.shape);
                ModuleRaster(&screen).primitive(it.shape);
            } else {
                ControlRecord &r = texts[it.control];
                r.text = it.text;
                const QRect area(r.x, r.y, r.w, r.h);
                ModuleRaster onScreen(&screen, area);
                onScreen.picture(base, area.topLeft(), area);
                onScreen.control(r, nullptr, 15);
            }
        }
    });

    // The design look on the same records, as the simulator drew before the raster.
    RenderContext ctx;
    ctx.pageSize = QSize(kW, kH);
    ctx.pageBackgroundNum = 15;
    const double design = perSecond(count, [&] {
        QImage base = blank(), screen = blank();
        QVector<ControlRecord> texts;
        {
            QPainter p(&screen);
            for (int i = 0; i < kTexts; ++i) {
                texts.append(textControl(i));
                Renderer::paintShownControl(p, texts.last(), ctx);
            }
        }
        for (const Item &it : items) {
            if (it.control < 0) {
                for (QImage *layer : {&base, &screen}) {
                    QPainter p(layer);
                    Renderer::paintPrimitive(p, it.shape);
                }
            } else {
                ControlRecord &r = texts[it.control];
                r.text = it.text;
                const QRect area(r.x, r.y, r.w, r.h);
                QPainter p(&screen);
                p.drawImage(area.topLeft(), base, area);
                p.setClipRect(area);
                Renderer::paintShownControl(p, r, ctx);
            }
        }
    });

    std::printf("800 x 480, %d instructions (6 primitives and SET_TXT on %d texts), median of 5 runs:\n", count, kTexts);
    std::printf("  raster, whole lines (parse + draw): %10.0f instructions/s\n", lines);
    std::printf("  raster, drawing only:               %10.0f instructions/s\n", raster);
    std::printf("  design look (QPainter, antialiased): %9.0f instructions/s\n", design);
    std::printf("  raster / design look: %.2fx (drawing only), %.2fx (whole lines)\n", raster / design, lines / design);
    return 0;
}
