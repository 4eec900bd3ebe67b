// Time of one full page render into a QImage: an 800 x 480 page with a background picture and
// 64 controls. Cold: the picture cache and QR symbols forgotten before each render, so pictures
// are decoded; warm: everything cached. Prints medians in milliseconds.
// Usage: bench_render [--save FILE.png] [--save-design FILE.png]

#include "library/picturecache.h"
#include "render/qrsymbol.h"
#include "render/renderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

QImage makePicture(int w, int h, QColor a, QColor b)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    p.drawRect(0, 0, w - 1, h - 1);
    return img;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

ControlRecord at(ControlKind kind, int id, int x, int y, int w, int h)
{
    ControlRecord r = ControlRecord::make(kind, id);
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
    return r;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int saveAt = args.indexOf(QStringLiteral("--save"));

    QTemporaryDir dir;
    QStringList paths;
    auto add = [&](const QImage &img, const QString &name) {
        const QString path = dir.filePath(QStringLiteral("%1_%2").arg(100001 + paths.size()).arg(name));
        img.save(path, nullptr, 90);
        paths << path;
        return paths.size() - 1;
    };
    const int background = add(makePicture(800, 480, QColor(20, 60, 120), QColor(200, 220, 255)), QStringLiteral("bg.jpg"));
    QVector<int> buttons;
    for (int i = 0; i < 10; ++i)
        buttons << add(makePicture(90, 50, QColor::fromHsv(i * 36, 200, 220), QColor(30, 30, 30)),
                       QStringLiteral("btn%1.bmp").arg(i));
    const int bar = add(makePicture(200, 24, QColor(0, 200, 0), QColor(250, 250, 0)), QStringLiteral("bar.bmp"));
    const int barBack = add(makePicture(200, 24, QColor(60, 60, 60), QColor(10, 10, 10)), QStringLiteral("barbg.bmp"));
    const PictureLibrary lib = PictureLibrary::fromPaths(paths);

    PageData page;
    page.imageNum = background;
    int id = 0;
    for (int i = 0; i < 10; ++i) {  // buttons with whole pictures
        ControlRecord r = at(ControlKind::Button, id++, 10 + i * 78, 10, 72, 44);
        r.imageNum = buttons.at(i);
        r.style = i % 2 ? 4 : 2;
        page.controls << r;
    }
    for (int i = 0; i < 10; ++i) {  // buttons showing the page picture under them
        ControlRecord r = at(ControlKind::Button, id++, 10 + i * 78, 64, 72, 44);
        r.cutImageNum = background;
        r.style = 1;
        page.controls << r;
    }
    for (int i = 0; i < 8; ++i) {  // progress bars: picture, cut picture, colour fill
        ControlRecord r = at(ControlKind::Progress, id++, 10 + (i % 4) * 200, 120 + (i / 4) * 34, 190, 24);
        r.text = QString::number(15 + i * 12);
        r.progType = i % 4 == 1 ? 2 : 0;
        r.style = 1;
        r.styleColorNum = 15;
        r.fontColorNum = 2;
        if (i % 3 == 0) {
            r.imageNum = bar;
            r.backgroundImageNum = barBack;
        } else if (i % 3 == 1) {
            r.cutImageNum = background;
        }
        page.controls << r;
    }
    for (int i = 0; i < 6; ++i) {  // pointer gauges
        ControlRecord r = ControlRecord::make(ControlKind::Pointer, id++);
        r.x = 10 + i * 110;
        r.y = 200;
        r.pointerL = 45;
        r.pointerW = 3;
        r.pointerAngle = i * 36;
        r.styleColorNum = 0;
        page.controls << r;
    }
    for (int i = 0; i < 2; ++i) {  // QR codes
        ControlRecord r = at(ControlKind::QRCode, i, 680 + i * 0, 200 + i * 130, 110, 110);
        r.text = i ? QStringLiteral("https://www.example.com/tavo/page/7") : QStringLiteral("LXP 显示屏");
        page.controls << r;
    }
    const int texts = 64 - page.controls.size();
    for (int i = 0; i < texts; ++i) {  // texts and numbers of all sizes
        const int size = fontSizeList().at(i % 3);
        ControlRecord r = at(i % 4 == 3 ? ControlKind::Number : ControlKind::Text, id++, 10 + (i % 7) * 95,
                             300 + (i / 7) * 36, 92, 34);
        r.text = i % 4 == 3 ? QString::number(i * 37) : QStringLiteral("温度 %1").arg(i);
        r.fontSize = size;
        r.style = i % 4;
        r.fontColorNum = i % 2 ? 0 : 15;
        r.backgroundColorNum = 40 + i % 20;
        r.styleColorNum = 1;
        page.controls << r;
    }
    if (page.controls.size() != 64) {
        std::fprintf(stderr, "expected 64 controls, built %d\n", int(page.controls.size()));
        return 1;
    }

    RenderContext ctx;
    ctx.pictures = &lib;
    ctx.pageSize = QSize(800, 480);

    // One untimed render loads the fonts, which the program does once at start-up anyway.
    PictureCache &cache = PictureCache::global();
    Renderer::renderPage(page, ctx);

    QElapsedTimer t;
    QVector<double> cold, warm;
    for (int i = 0; i < 15; ++i) {
        cache.clear();
        QrSymbol::forgetRemembered();
        t.start();
        const QImage img = Renderer::renderPage(page, ctx);
        cold << t.nsecsElapsed() / 1e6;
    }
    QImage last;
    for (int i = 0; i < 200; ++i) {
        t.start();
        last = Renderer::renderPage(page, ctx);
        warm << t.nsecsElapsed() / 1e6;
    }
    QVector<double> design;
    for (int i = 0; i < 50; ++i) {
        t.start();
        const QImage img = Renderer::renderPage(page, ctx, true);
        design << t.nsecsElapsed() / 1e6;
    }
    std::printf("page 800x480, 64 controls, %d pictures\n", int(paths.size()));
    std::printf("cold render (pictures decoded): median %.2f ms over %d\n", median(cold), int(cold.size()));
    std::printf("warm render (cache filled):     median %.2f ms over %d\n", median(warm), int(warm.size()));
    std::printf("warm render with design extras: median %.2f ms over %d\n", median(design), int(design.size()));
    if (saveAt > 0 && saveAt + 1 < args.size())
        last.save(args.at(saveAt + 1));
    const int designAt = args.indexOf(QStringLiteral("--save-design"));
    if (designAt > 0 && designAt + 1 < args.size())
        Renderer::renderPage(page, ctx, true).save(args.at(designAt + 1));
    return 0;
}
