#include "model/colortable.h"
#include "library/picturecache.h"
#include "render/qrsymbol.h"
#include "render/renderer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <qrencode.h>

namespace {

QColor col(int n) { return ColorTable::colorAt(n); }

// Ink extent (rows) of everything that is not the background colour.
QRect inkBounds(const QImage &img, QRgb background)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                r |= QRect(x, y, 1, 1);
    return r;
}

int countColour(const QImage &img, const QRect &area, const QColor &c)
{
    int n = 0;
    const QRect a = area & img.rect();
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

}  // namespace

Q_DECLARE_METATYPE(ControlRecord)

class TestRenderer : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    PictureLibrary m_pics;
    QImage m_pagePicture;  // picture 0: 200 x 120, every pixel different
    QImage m_quadrants;    // picture 1: 80 x 60, four coloured quadrants
    QImage m_stripe;       // picture 2: 30 x 10, one colour

    RenderContext context(QSize size = QSize(200, 120)) const
    {
        RenderContext ctx;
        ctx.pictures = &m_pics;
        ctx.pageSize = size;
        return ctx;
    }
    QImage render(const ControlRecord &r, int pageColour = 15, QSize size = QSize(200, 120), int pageImage = -1)
    {
        PageData page;
        page.backgroundNum = pageColour;
        page.imageNum = pageImage;
        page.controls = {r};
        return Renderer::renderPage(page, context(size));
    }
    QString savePicture(const QImage &img, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        if (!img.save(path))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase();

    void textStyles_data();
    void textStyles();
    void buttonStyles_data();
    void buttonStyles();
    void fontSizes_data();
    void fontSizes();
    void textSizeIndependentOfDeviceDpi();
    void buttonWholePicture_data();
    void buttonWholePicture();
    void cutPictureShowsPagePixels_data();
    void cutPictureShowsPagePixels();
    void progressFill_data();
    void progressFill();
    void progressPictures_data();
    void progressPictures();
    void pointerNeedle_data();
    void pointerNeedle();
    void qrMatchesEncoder_data();
    void qrMatchesEncoder();
    void qrSolidAtFractionalModuleSize();
    void qrNothingToDraw_data();
    void qrNothingToDraw();
    void numberLabel_data();
    void numberLabel();
    void handles();
    void pageBackgroundAndHelpLines();
    void primitives();
    void moduleDrawingOrder();
    void outOfRange_data();
    void outOfRange();
    void pictureCache();
    void pictureCacheBoundAndThreads();
};

void TestRenderer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pagePicture = QImage(200, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            m_pagePicture.setPixel(x, y, qRgb(x, y * 2, (x * 7 + y * 13) & 0xff));
    m_quadrants = QImage(80, 60, QImage::Format_RGB32);
    m_quadrants.fill(Qt::black);
    {
        QPainter p(&m_quadrants);
        p.fillRect(0, 0, 40, 30, QColor(255, 0, 0));
        p.fillRect(40, 0, 40, 30, QColor(0, 255, 0));
        p.fillRect(0, 30, 40, 30, QColor(0, 0, 255));
        p.fillRect(40, 30, 40, 30, QColor(255, 255, 0));
    }
    m_stripe = QImage(30, 10, QImage::Format_RGB32);
    m_stripe.fill(QColor(0, 128, 255));
    m_pics = PictureLibrary::fromPaths({savePicture(m_pagePicture, QStringLiteral("100001_page.bmp")),
                                        savePicture(m_quadrants, QStringLiteral("100002_quad.bmp")),
                                        savePicture(m_stripe, QStringLiteral("100003_stripe.bmp"))});
    QCOMPARE(m_pics.count(), 3);
}

void TestRenderer::textStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("border");
    QTest::addColumn<bool>("background");
    QTest::newRow("0 nothing") << 0 << false << false;
    QTest::newRow("1 border") << 1 << true << false;
    QTest::newRow("2 background") << 2 << false << true;
    QTest::newRow("3 both") << 3 << true << true;
    QTest::newRow("9 unknown is sent as 2") << 9 << false << true;
}

void TestRenderer::textStyles()
{
    QFETCH(int, style);
    QFETCH(bool, border);
    QFETCH(bool, background);
    for (ControlKind kind : {ControlKind::Text, ControlKind::Number}) {
        ControlRecord r = ControlRecord::make(kind, 0);
        r.x = 20;
        r.y = 10;
        r.w = 60;
        r.h = 30;
        r.text.clear();
        r.style = style;
        r.backgroundColorNum = 3;
        r.styleColorNum = 1;
        const QImage img = render(r, 40);
        const QColor inside = img.pixelColor(20 + 30, 10 + 15);
        QCOMPARE(inside, background ? col(3) : col(40));
        QCOMPARE(img.pixelColor(20, 10 + 15), border ? col(1) : inside);
        QCOMPARE(img.pixelColor(19, 25), col(40));  // nothing outside the control
    }
}

void TestRenderer::buttonStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("edge");  // colour number of the left edge; -1 = the page shows
    QTest::addColumn<bool>("background");
    QTest::addColumn<bool>("shadow");
    QTest::newRow("0 nothing") << 0 << -1 << false << false;
    QTest::newRow("1 border") << 1 << 1 << false << false;
    QTest::newRow("2 pressed-in") << 2 << 7 << true << true;
    QTest::newRow("3 background") << 3 << 3 << true << false;
    QTest::newRow("4 both") << 4 << 1 << true << false;
    QTest::newRow("8 unknown is sent as 3") << 8 << 3 << true << false;
}

void TestRenderer::buttonStyles()
{
    QFETCH(int, style);
    QFETCH(int, edge);
    QFETCH(bool, background);
    QFETCH(bool, shadow);
    ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
    r.x = 20;
    r.y = 10;
    r.w = 60;
    r.h = 30;
    r.text.clear();
    r.style = style;
    r.backgroundColorNum = 3;
    r.styleColorNum = 1;
    const QImage img = render(r, 40);
    QCOMPARE(img.pixelColor(50, 25), background ? col(3) : col(40));
    QCOMPARE(img.pixelColor(20, 25), edge < 0 ? col(40) : col(edge));
    // The pressed-in shadow is solid and lies one pixel down and right of the button.
    const QColor dark(43, 43, 43);
    QCOMPARE(img.pixelColor(80, 25), shadow ? dark : col(40));
    QCOMPARE(img.pixelColor(50, 40), shadow ? dark : col(40));
    QCOMPARE(img.pixelColor(80, 10), col(40));
    QCOMPARE(img.pixelColor(20, 40), col(40));
}

void TestRenderer::fontSizes_data()
{
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("points");
    QTest::newRow("16") << 16 << 12;
    QTest::newRow("24") << 24 << 18;
    QTest::newRow("32") << 32 << 24;
    QTest::newRow("48") << 48 << 36;
    QTest::newRow("72") << 72 << 54;
    QTest::newRow("96 is 74, not 72") << 96 << 74;
    QTest::newRow("other") << 20 << 12;
}

void TestRenderer::fontSizes()
{
    QFETCH(int, fontSize);
    QFETCH(int, points);
    QCOMPARE(Renderer::pointSizeFor(fontSize), points);

    // The glyphs drawn match a rendering of the same family at the mapped size, at 96 dpi.
    ControlRecord r = ControlRecord::make(ControlKind::Text, 0);
    r.w = 190;
    r.h = 140;
    r.style = 0;
    r.fontSize = fontSize;
    r.text = QStringLiteral("国H");
    const QImage img = render(r, 15, QSize(200, 150));
    const QRect drawn = inkBounds(img, col(15).rgb());

    auto reference = [&](qreal pt) {
        QImage ref(200, 150, QImage::Format_RGB32);
        ref.setDotsPerMeterX(3780);
        ref.setDotsPerMeterY(3780);
        ref.fill(col(15));
        QPainter p(&ref);
        QFont f(QStringLiteral("SimSun"));
        f.setPointSizeF(pt);
        p.setFont(f);
        p.setPen(col(0));
        p.drawText(QRect(0, 0, 190, 140), Qt::AlignCenter, r.text);
        p.end();
        return inkBounds(ref, col(15).rgb());
    };
    QCOMPARE(drawn.height(), reference(points).height());
    if (fontSize == 96)
        QVERIFY(drawn.height() > reference(72).height());
}

void TestRenderer::textSizeIndependentOfDeviceDpi()
{
    // A device at another resolution (a high-dpi screen or printer) gets the same pixels.
    ControlRecord r = ControlRecord::make(ControlKind::Text, 0);
    r.w = 190;
    r.h = 100;
    r.style = 0;
    r.fontSize = 48;
    r.text = QStringLiteral("国");
    QRect bounds[2];
    const int dpm[2] = {3780, 7559};
    for (int i = 0; i < 2; ++i) {
        QImage img(200, 100, QImage::Format_RGB32);
        img.setDotsPerMeterX(dpm[i]);
        img.setDotsPerMeterY(dpm[i]);
        img.fill(Qt::white);
        QPainter p(&img);
        Renderer::paintControl(p, r, context());
        p.end();
        bounds[i] = inkBounds(img, qRgb(255, 255, 255));
    }
    QVERIFY(bounds[0].height() > 30);
    QCOMPARE(bounds[1].height(), bounds[0].height());
}

void TestRenderer::buttonWholePicture_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("target");  // where the cropped picture lands, in control coordinates
    QTest::addColumn<QSize>("source");  // cropped part of the picture
    QTest::newRow("larger picture, no inset") << 0 << QSize(40, 30) << QRect(0, 0, 40, 30) << QSize(40, 30);
    QTest::newRow("larger picture, inset 1") << 4 << QSize(50, 40) << QRect(1, 1, 48, 38) << QSize(50, 40);
    QTest::newRow("smaller picture") << 2 << QSize(100, 80) << QRect(0, 0, 80, 60) << QSize(80, 60);
}

void TestRenderer::buttonWholePicture()
{
    QFETCH(int, style);
    QFETCH(QSize, size);
    QFETCH(QRect, target);
    QFETCH(QSize, source);
    ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
    r.x = 10;
    r.y = 10;
    r.w = size.width();
    r.h = size.height();
    r.style = style;
    r.imageNum = 1;
    r.styleColorNum = 3;
    r.backgroundColorNum = 2;
    const QImage img = render(r, 15);
    const QImage control = img.copy(10, 10, r.w, r.h);
    // Sample the target on a grid: each pixel shows the picture pixel it was scaled from.
    for (int ty = 0; ty < target.height(); ty += 3) {
        for (int tx = 0; tx < target.width(); tx += 3) {
            const int sx = tx * source.width() / target.width();
            const int sy = ty * source.height() / target.height();
            const QColor want = m_quadrants.pixelColor(sx, sy);
            const QColor got = control.pixelColor(target.x() + tx, target.y() + ty);
            // Nearest-neighbour rounding may pick the next source pixel at a quadrant edge.
            if (got != want && (sx % 40 > 1 && sx % 40 < 39) && (sy % 30 > 1 && sy % 30 < 29))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(tx).arg(ty)));
        }
    }
    // No text is drawn over a picture, and the button shows no pixel beyond the picture's crop.
    if (target.right() + 3 < r.w)
        QCOMPARE(control.pixelColor(target.right() + 2, r.h / 2), col(2));
    if (style == 4)
        QCOMPARE(control.pixelColor(0, r.h / 2), col(3));
}

void TestRenderer::cutPictureShowsPagePixels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("style");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("inset");
    QTest::newRow("button") << int(ControlKind::Button) << 0 << QRect(30, 20, 40, 30) << 0;
    QTest::newRow("button inset") << int(ControlKind::Button) << 4 << QRect(31, 21, 41, 31) << 1;
    QTest::newRow("button past page edge") << int(ControlKind::Button) << 0 << QRect(180, 100, 40, 30) << 0;
    QTest::newRow("progress full") << int(ControlKind::Progress) << 0 << QRect(50, 60, 100, 20) << 0;
}

void TestRenderer::cutPictureShowsPagePixels()
{
    QFETCH(int, kind);
    QFETCH(int, style);
    QFETCH(QRect, geometry);
    QFETCH(int, inset);
    ControlRecord r = ControlRecord::make(ControlKind(kind), 0);
    r.x = geometry.x();
    r.y = geometry.y();
    r.w = geometry.width();
    r.h = geometry.height();
    r.style = style;
    r.cutImageNum = 0;
    r.text = QStringLiteral("150");
    r.backgroundColorNum = 5;
    const QImage img = render(r, 15);
    const QRect inner = geometry.adjusted(inset, inset, -inset, -inset) & QRect(0, 0, 200, 120);
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            if (img.pixel(x, y) != m_pagePicture.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
}

void TestRenderer::progressFill_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QRect>("fill");  // control coordinates; empty = none
    // Horizontal bars are 100 x 20, vertical ones 20 x 100; style 1 has a one-pixel inset.
    QTest::newRow("left 0") << 0 << 0 << "0" << QRect();
    QTest::newRow("left 50") << 0 << 0 << "50" << QRect(0, 0, 50, 20);
    QTest::newRow("left 150") << 0 << 0 << "150" << QRect(0, 0, 100, 20);
    QTest::newRow("left 50 border") << 0 << 1 << "50" << QRect(1, 1, 49, 18);
    QTest::newRow("left 1: one column") << 0 << 0 << "1" << QRect(0, 0, 1, 20);
    QTest::newRow("left 29: no rounding loss") << 0 << 0 << "29" << QRect(0, 0, 29, 20);
    QTest::newRow("bottom 57: no rounding loss") << 1 << 0 << "57" << QRect(0, 43, 20, 57);
    QTest::newRow("bottom 0") << 1 << 0 << "0" << QRect();
    QTest::newRow("bottom 50") << 1 << 0 << "50" << QRect(0, 50, 20, 50);
    QTest::newRow("bottom 150") << 1 << 0 << "150" << QRect(0, 0, 20, 100);
    QTest::newRow("bottom 50 border") << 1 << 1 << "50" << QRect(1, 50, 18, 49);
    QTest::newRow("right 0") << 2 << 0 << "0" << QRect();
    QTest::newRow("right 50") << 2 << 0 << "50" << QRect(50, 0, 50, 20);
    QTest::newRow("right 150") << 2 << 0 << "150" << QRect(0, 0, 100, 20);
    QTest::newRow("right 50 border") << 2 << 1 << "50" << QRect(50, 1, 49, 18);
    QTest::newRow("top 0") << 3 << 0 << "0" << QRect();
    QTest::newRow("top 50") << 3 << 0 << "50" << QRect(0, 0, 20, 50);
    QTest::newRow("top 150") << 3 << 0 << "150" << QRect(0, 0, 20, 100);
    QTest::newRow("top 50 border") << 3 << 1 << "50" << QRect(1, 1, 18, 49);
    QTest::newRow("negative") << 0 << 0 << "-30" << QRect();
    QTest::newRow("not a number") << 0 << 0 << "abc" << QRect();
    QTest::newRow("beyond int") << 0 << 0 << "99999999999" << QRect(0, 0, 100, 20);
    QTest::newRow("unknown direction") << 7 << 0 << "50" << QRect();
}

void TestRenderer::progressFill()
{
    QFETCH(int, direction);
    QFETCH(int, style);
    QFETCH(QString, value);
    QFETCH(QRect, fill);
    ControlRecord r = ControlRecord::make(ControlKind::Progress, 0);
    const bool vertical = direction == 1 || direction == 3;
    r.x = 10;
    r.y = 5;
    r.w = vertical ? 20 : 100;
    r.h = vertical ? 100 : 20;
    r.progType = direction;
    r.style = style;
    r.text = value;
    r.backgroundColorNum = 3;
    r.styleColorNum = 0;
    r.fontColorNum = 2;
    const QImage img = render(r, 15).copy(r.x, r.y, r.w, r.h);
    QCOMPARE(countColour(img, img.rect(), col(2)), fill.width() * fill.height());
    if (!fill.isEmpty()) {
        QCOMPARE(countColour(img, fill, col(2)), fill.width() * fill.height());
    }
    if (style == 1) {
        // The border stays whole whatever the fill.
        QCOMPARE(img.pixelColor(0, r.h / 2), col(0));
        QCOMPARE(img.pixelColor(r.w / 2, 0), col(0));
    }
}

void TestRenderer::progressPictures_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QRect>("shown");  // where the picture's colour shows, control coordinates
    // 100 x 20 bar; the 30 x 10 picture sits against the anchored corner.
    QTest::newRow("left 20") << 0 << "20" << QRect(0, 0, 20, 10);
    QTest::newRow("left 100") << 0 << "100" << QRect(0, 0, 30, 10);
    QTest::newRow("left 0") << 0 << "0" << QRect();
    QTest::newRow("bottom 50") << 1 << "50" << QRect(0, 10, 30, 10);
    QTest::newRow("bottom 25") << 1 << "25" << QRect(0, 15, 30, 5);
    QTest::newRow("right 10") << 2 << "10" << QRect(90, 0, 10, 10);
    QTest::newRow("right 100") << 2 << "100" << QRect(70, 0, 30, 10);
    QTest::newRow("top 25") << 3 << "25" << QRect(0, 0, 30, 5);
    QTest::newRow("right 0") << 2 << "0" << QRect();
}

void TestRenderer::progressPictures()
{
    QFETCH(int, direction);
    QFETCH(QString, value);
    QFETCH(QRect, shown);
    ControlRecord r = ControlRecord::make(ControlKind::Progress, 0);
    r.x = 10;
    r.y = 5;
    r.w = 100;
    r.h = 20;
    r.progType = direction;
    r.text = value;
    r.backgroundColorNum = 3;
    r.imageNum = 2;
    const QImage img = render(r, 15).copy(r.x, r.y, r.w, r.h);
    const QColor pic = m_stripe.pixelColor(0, 0);
    QCOMPARE(countColour(img, img.rect(), pic), shown.width() * shown.height());
    if (!shown.isEmpty())
        QCOMPARE(countColour(img, shown, pic), shown.width() * shown.height());
}

void TestRenderer::pointerNeedle_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QPoint>("tip");
    QTest::addColumn<QPoint>("onNeedle");
    QTest::addColumn<QPoint>("offNeedle");
    QTest::newRow("0 left") << 0 << QPoint(0, 25) << QPoint(8, 25) << QPoint(42, 25);
    QTest::newRow("90 up") << 90 << QPoint(25, 0) << QPoint(25, 8) << QPoint(25, 42);
    QTest::newRow("180 right") << 180 << QPoint(50, 25) << QPoint(42, 25) << QPoint(8, 25);
    QTest::newRow("270 down") << 270 << QPoint(25, 50) << QPoint(25, 42) << QPoint(25, 8);
    QTest::newRow("45 up-left") << 45 << QPoint(7, 7) << QPoint(12, 12) << QPoint(38, 38);
    QTest::newRow("450 as 90") << 450 << QPoint(25, 0) << QPoint(25, 8) << QPoint(25, 42);
}

void TestRenderer::pointerNeedle()
{
    QFETCH(int, angle);
    QFETCH(QPoint, tip);
    QFETCH(QPoint, onNeedle);
    QFETCH(QPoint, offNeedle);
    ControlRecord r = ControlRecord::make(ControlKind::Pointer, 0);
    r.x = 40;
    r.y = 30;
    r.pointerL = 25;
    r.pointerW = 3;
    r.pointerAngle = angle;
    r.styleColorNum = 0;
    r.fontColorNum = 1;
    r.settlePointer();
    QCOMPARE(Renderer::pointerTip(r), tip);
    const QImage img = render(r, 15).copy(40, 30, 50, 50);
    QCOMPARE(img.pixelColor(onNeedle), col(1));
    QCOMPARE(img.pixelColor(offNeedle), col(15));  // the face takes the page colour
    QCOMPARE(img.pixelColor(25, 25), col(1));
}

void TestRenderer::qrMatchesEncoder_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("url") << QStringLiteral("https://www.example.com");
    QTest::newRow("short gets version 2") << QStringLiteral("A");
    QTest::newRow("lower case kept") << QStringLiteral("abc");
    QTest::newRow("chinese as UTF-8") << QStringLiteral("显示屏 LXP");
}

void TestRenderer::qrMatchesEncoder()
{
    QFETCH(QString, text);
    const QByteArray utf8 = text.toUtf8();
    QRcode *ref = QRcode_encodeString(utf8.constData(), 2, QR_ECLEVEL_H, QR_MODE_8, 1);
    QVERIFY(ref);
    const int n = ref->width;
    QVERIFY(ref->version >= 2);
    const QrSymbol sym = QrSymbol::encode(text);
    QCOMPARE(sym.size(), n);

    ControlRecord r = ControlRecord::make(ControlKind::QRCode, 0);
    r.text = text;
    r.x = 3;
    r.y = 4;
    r.w = r.h = n * 4;
    r.fontColorNum = 3;
    const QImage img = render(r, 15, QSize(n * 4 + 10, n * 4 + 10));
    for (int row = 0; row < n; ++row) {
        for (int c = 0; c < n; ++c) {
            const bool dark = ref->data[row * n + c] & 1;
            const QColor px = img.pixelColor(3 + c * 4 + 2, 4 + row * 4 + 2);
            if (px != (dark ? col(3) : col(15))) {
                QRcode_free(ref);
                QFAIL(qPrintable(QStringLiteral("module %1,%2").arg(row).arg(c)));
            }
        }
    }
    QRcode_free(ref);
    if (text == QLatin1String("abc")) {
        QrSymbol upper = QrSymbol::encode(QStringLiteral("ABC"));
        bool differs = false;
        for (int i = 0; i < n * n && !differs; ++i)
            differs = upper.isDark(i / n, i % n) != sym.isDark(i / n, i % n);
        QVERIFY(differs);
    }
}

void TestRenderer::qrSolidAtFractionalModuleSize()
{
    // 80 pixels for 25 modules: module edges fall inside pixels, and neighbouring dark modules
    // must still read as one solid area, as on the module.
    ControlRecord r = ControlRecord::make(ControlKind::QRCode, 0);
    r.text = QStringLiteral("A");
    r.w = r.h = 80;
    r.fontColorNum = 3;
    QCOMPARE(QrSymbol::encode(r.text).size(), 25);
    const QImage img = render(r, 15, QSize(100, 100));
    // The finder pattern's outer ring: column 0 and row 0 are dark over seven modules (22 px).
    QCOMPARE(countColour(img, QRect(0, 0, 3, 22), col(3)), 3 * 22);
    QCOMPARE(countColour(img, QRect(0, 0, 22, 3), col(3)), 22 * 3);

    // A file whose height disagrees still shows the square symbol the module draws.
    r.h = 30;
    const QImage square = render(r, 15, QSize(100, 100));
    QCOMPARE(countColour(square, QRect(0, 58, 3, 22), col(3)), 3 * 22);  // lower-left finder
}

void TestRenderer::qrNothingToDraw_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("2000 characters") << QString(2000, QLatin1Char('x'));
    QTest::newRow("2000 chinese") << QString(2000, QChar(0x4e2d));
}

void TestRenderer::qrNothingToDraw()
{
    QFETCH(QString, text);
    QVERIFY(QrSymbol::encode(text).isEmpty());
    ControlRecord r = ControlRecord::make(ControlKind::QRCode, 0);
    r.text = text;
    r.x = r.y = 5;
    const QImage img = render(r, 15);
    QCOMPARE(countColour(img, img.rect(), col(15)), img.width() * img.height());
}

void TestRenderer::numberLabel_data()
{
    QTest::addColumn<int>("background");
    QTest::addColumn<QColor>("label");
    QTest::newRow("on red 1: black") << 1 << QColor(Qt::black);
    QTest::newRow("on red-toned 53: black") << 53 << QColor(Qt::black);
    QTest::newRow("on grey 7: red") << 7 << QColor(Qt::red);
    QTest::newRow("on white 15: red") << 15 << QColor(Qt::red);
    QTest::newRow("on 99: red") << 99 << QColor(Qt::red);
}

void TestRenderer::numberLabel()
{
    QFETCH(int, background);
    QFETCH(QColor, label);
    ControlRecord r = ControlRecord::make(ControlKind::Text, 7);
    r.text.clear();
    r.style = 0;
    r.backgroundColorNum = background;
    r.x = 10;
    r.y = 10;
    PageData page;
    page.controls = {r};
    for (bool design : {false, true}) {
        const QImage corner = Renderer::renderPage(page, context(), design).copy(10 + r.w - 13, 10, 13, 10);
        int red = 0, black = 0;
        for (int y = 0; y < corner.height(); ++y) {
            for (int x = 0; x < corner.width(); ++x) {
                const QColor c = corner.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
                black += c.red() < 80 && c.green() < 80 && c.blue() < 80;
            }
        }
        // Only the design view shows numbers, in the colour that reads on the control.
        const int ink = label == QColor(Qt::black) ? black : red;
        QCOMPARE(ink > 3, design);
        QCOMPARE(label == QColor(Qt::black) ? red : black, 0);
    }
}

void TestRenderer::handles()
{
    ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
    r.w = 60;
    r.h = 30;
    const QVector<QRect> h = Renderer::handleRects(r);
    QCOMPARE(h.size(), 8);
    QCOMPARE(h.first(), QRect(0, 0, 6, 6));
    QCOMPARE(h.last(), QRect(53, 23, 6, 6));
    QVERIFY(Renderer::handleRects(ControlRecord::make(ControlKind::Pointer, 0)).isEmpty());
    QVERIFY(Renderer::handleRects(ControlRecord::make(ControlKind::QRCode, 0)).isEmpty());

    QImage img(60, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    Renderer::paintSelectionHandles(p, r);
    p.end();
    QCOMPARE(img.pixelColor(3, 3), QColor(Qt::blue));
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(img.pixelColor(56, 26), QColor(Qt::blue));
    QCOMPARE(img.pixelColor(30, 15), QColor(Qt::white));
}

void TestRenderer::pageBackgroundAndHelpLines()
{
    PageData page;
    page.backgroundNum = 3;
    page.imageNum = 2;  // 30 x 10, not scaled
    page.helpLineNum = 2;
    page.helpLineLeft = 20;
    page.helpLineTop = 40;
    page.helpLineRight = 20;
    page.helpLineBottom = 20;
    const QImage module = Renderer::renderPage(page, context(), false);
    QCOMPARE(module.size(), QSize(200, 120));
    QCOMPARE(module.pixelColor(29, 9), m_stripe.pixelColor(29, 9));
    QCOMPARE(module.pixelColor(30, 9), col(3));
    QCOMPARE(module.pixelColor(20, 80), col(3));  // helper lines are a design aid only
    const QImage design = Renderer::renderPage(page, context(), true);
    QVERIFY(design.pixelColor(20, 80).red() > 100);  // an antialiased red line
    QCOMPARE(design.dotsPerMeterX(), 3780);

    page.imageNum = 0;  // as large as the page
    page.helpLineNum = 1;
    const QImage full = Renderer::renderPage(page, context(QSize(150, 100)), false);
    QCOMPARE(full.size(), QSize(150, 100));
    QCOMPARE(full.pixel(149, 99), m_pagePicture.pixel(149, 99));
}

void TestRenderer::primitives()
{
    QMyDrawType box;
    box.setDrawType(QMyDrawType::Box);
    box.setRect(20, 20, 40, 30);
    box.setColorNum(1);
    QMyDrawType fill;
    fill.setDrawType(QMyDrawType::FilledCircle);
    fill.setStart(120, 60);
    fill.setRadius(20);
    fill.setColorNum(2);
    QMyDrawType line;
    line.setDrawType(QMyDrawType::Line);
    line.setStart(10, 100);
    line.setX2(190);
    line.setY2(100);
    line.setColorNum(3);
    line.setSelected(true);
    PageData page;
    page.primitives = {box, fill, line};
    const QImage img = Renderer::renderPage(page, context());
    QCOMPARE(img.pixelColor(40, 20), col(1));
    QCOMPARE(img.pixelColor(40, 35), col(15));  // a box is an outline
    QCOMPARE(img.pixelColor(120, 60), col(2));
    // The module knows no selection: the line is solid there.
    QCOMPARE(countColour(img, QRect(20, 99, 160, 2), col(3)), 320);
    const QImage design = Renderer::renderPage(page, context(), true);
    QVERIFY(countColour(design, QRect(20, 99, 160, 2), col(3)) < 300);
}

void TestRenderer::moduleDrawingOrder()
{
    // The module draws controls by number and QR codes last, whatever the list order.
    ControlRecord qr = ControlRecord::make(ControlKind::QRCode, 0);
    qr.x = 20;
    qr.y = 20;
    qr.w = qr.h = 25;  // one pixel per module
    qr.text = QStringLiteral("order");
    qr.fontColorNum = 1;
    auto box = [](int id, int x, int colourNum) {
        ControlRecord t = ControlRecord::make(ControlKind::Text, id);
        t.x = x;
        t.y = x;
        t.w = t.h = 60;
        t.text.clear();
        t.style = 2;
        t.backgroundColorNum = colourNum;
        return t;
    };
    PageData page;
    page.controls = {qr, box(1, 10, 2), box(0, 50, 3)};
    for (bool design : {false, true}) {
        const QImage img = Renderer::renderPage(page, context(), design);
        QCOMPARE(img.pixelColor(20, 20), col(1));  // the finder pattern's corner module
        QCOMPARE(img.pixelColor(60, 60), col(2));  // number 1 over number 0
        QCOMPARE(img.pixelColor(85, 85), col(3));
    }
}

void TestRenderer::outOfRange_data()
{
    QTest::addColumn<ControlRecord>("record");
    QTest::addColumn<bool>("blank");  // nothing but the page colour may show
    auto make = [](ControlKind k) {
        ControlRecord r = ControlRecord::make(k, 0);
        r.x = 10;
        r.y = 10;
        return r;
    };
    ControlRecord r = make(ControlKind::Text);
    r.fontColorNum = 64;
    r.backgroundColorNum = -1;
    r.styleColorNum = INT_MAX;
    r.style = 3;
    QTest::newRow("colour numbers") << r << false;
    r = make(ControlKind::Button);
    r.style = 0;
    r.imageNum = 3;
    QTest::newRow("picture number past the list") << r << true;
    r.imageNum = INT_MAX;
    QTest::newRow("huge picture number") << r << true;
    r.imageNum = -7;  // set, as far as the page script goes: the module shows no text
    QTest::newRow("negative picture number") << r << true;
    r.imageNum = -1;
    r.cutImageNum = 99;
    QTest::newRow("cut picture past the list") << r << true;
    r = make(ControlKind::Progress);
    r.backgroundImageNum = 42;
    r.backgroundCutImageNum = -9;
    r.imageNum = 1000;
    r.style = 7;
    r.text = QStringLiteral("80");
    QTest::newRow("progress pictures past the list") << r << false;
    r = make(ControlKind::Text);
    r.w = -50;
    r.h = -1;
    QTest::newRow("negative size") << r << true;
    r = make(ControlKind::Button);
    r.x = INT_MIN;
    r.y = INT_MAX;
    r.w = INT_MAX;
    r.h = INT_MAX;
    r.cutImageNum = 0;
    QTest::newRow("huge position and size") << r << true;
    r = make(ControlKind::Progress);
    r.w = INT_MAX;
    r.h = INT_MAX;
    r.progType = 2;
    r.text = QStringLiteral("50");
    QTest::newRow("huge progress") << r << false;
    r = make(ControlKind::Pointer);
    r.pointerL = 0;
    r.pointerW = 5;
    QTest::newRow("pointer length 0") << r << true;
    r.pointerL = INT_MAX;
    r.pointerW = -4;
    r.pointerAngle = INT_MIN;
    QTest::newRow("pointer huge") << r << false;
    r = make(ControlKind::QRCode);
    r.w = INT_MAX;
    r.h = 0;
    QTest::newRow("QR huge, its height ignored") << r << false;
}

void TestRenderer::outOfRange()
{
    QFETCH(ControlRecord, record);
    QFETCH(bool, blank);
    PageData page;
    page.backgroundNum = 200;
    page.imageNum = 77;
    page.controls = {record, record};
    QMyDrawType wild;
    wild.setDrawType(QMyDrawType::FilledCircle);
    wild.setRect(INT_MIN, INT_MAX, INT_MAX, INT_MAX);
    wild.setColorNum(-5);
    QMyDrawType wildLine;
    wildLine.setDrawType(QMyDrawType::Line);
    wildLine.setStart(INT_MIN, INT_MIN);
    wildLine.setX2(INT_MIN + 1);
    wildLine.setY2(INT_MAX);
    page.primitives = {wild, wildLine};
    for (bool design : {false, true}) {
        const QImage img = Renderer::renderPage(page, context(), design);
        QCOMPARE(img.size(), QSize(200, 120));
        if (blank && !design) {
            const QColor bg = img.pixelColor(0, 0);
            QCOMPARE(countColour(img, img.rect(), bg), img.width() * img.height());
        }
    }
    QVERIFY(Renderer::renderPage(page, context(QSize(0, 100))).isNull());
    QVERIFY(Renderer::renderPage(page, context(QSize(-5, -5))).isNull());
    QCOMPARE(Renderer::renderPage(page, context(QSize(100000, 2))).width(), 8192);
}

void TestRenderer::pictureCache()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("100001_a.bmp"));
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(QColor(248, 0, 0));
    QVERIFY(red.save(path));
    const PictureLibrary lib = PictureLibrary::fromPaths({path, dir.filePath(QStringLiteral("missing.bmp"))});
    RenderContext ctx;
    ctx.pictures = &lib;
    ctx.pageSize = QSize(40, 20);
    PageData page;
    page.imageNum = 0;

    PictureCache &cache = PictureCache::global();
    const int before = cache.decodeCount();
    QCOMPARE(Renderer::renderPage(page, ctx).pixelColor(5, 5), QColor(248, 0, 0));
    QCOMPARE(Renderer::renderPage(page, ctx).pixelColor(5, 5), QColor(248, 0, 0));
    QCOMPARE(cache.decodeCount(), before + 1);  // decoded once, then from memory

    // A picture replaced on disk is decoded again.
    QImage blue(40, 20, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 248));
    QVERIFY(blue.save(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    QCOMPARE(Renderer::renderPage(page, ctx).pixelColor(5, 5), QColor(0, 0, 248));
    QCOMPARE(cache.decodeCount(), before + 2);

    // A missing or undecodable file draws nothing.
    page.imageNum = 1;
    QCOMPARE(Renderer::renderPage(page, ctx).pixelColor(5, 5), col(15));
    QFile junk(dir.filePath(QStringLiteral("100002_junk.jpg")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    QVERIFY(cache.image(junk.fileName()).isNull());
}

void TestRenderer::pictureCacheBoundAndThreads()
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        QImage img(100, 100, QImage::Format_RGB32);  // 40000 bytes decoded
        img.fill(QColor(i * 40, 0, 0));
        paths << dir.filePath(QStringLiteral("%1_p.bmp").arg(100001 + i));
        QVERIFY(img.save(paths.last()));
    }
    PictureCache small(100 * 1000);
    for (const QString &p : paths)
        QVERIFY(!small.image(p).isNull());
    QVERIFY(small.usedBytes() <= 100 * 1000);
    QCOMPARE(small.count(), 2);
    // The most recent ones stay; an evicted one is decoded again when asked for.
    const int decodes = small.decodeCount();
    small.image(paths.last());
    QCOMPARE(small.decodeCount(), decodes);
    QCOMPARE(small.image(paths.first()).pixelColor(0, 0), QColor(0, 0, 0));
    QCOMPARE(small.decodeCount(), decodes + 1);

    // Several threads rendering at once get what one thread gets.
    const PictureLibrary lib = PictureLibrary::fromPaths(paths);
    RenderContext ctx;
    ctx.pictures = &lib;
    ctx.pageSize = QSize(100, 100);
    PageData page;
    page.imageNum = 0;
    for (int i = 0; i < 6; ++i) {
        ControlRecord b = ControlRecord::make(ControlKind::Button, i);
        b.x = i * 15;
        b.y = i * 10;
        b.cutImageNum = i;
        b.style = 4;
        page.controls << b;
    }
    ControlRecord text = ControlRecord::make(ControlKind::Text, 6);
    text.text = QStringLiteral("线程 ok");
    text.fontSize = 24;
    page.controls << text;
    PictureCache::global().clear();
    const QImage expected = Renderer::renderPage(page, ctx);
    PictureCache::global().clear();
    QVector<QImage> results(4);
    QVector<QThread *> threads;
    for (int t = 0; t < 4; ++t) {
        threads << QThread::create([&, t] {
            for (int k = 0; k < 20; ++k)
                results[t] = Renderer::renderPage(page, ctx);
        });
        threads.last()->start();
    }
    for (QThread *t : threads) {
        QVERIFY(t->wait(60000));
        delete t;
    }
    for (const QImage &img : results)
        QCOMPARE(img, expected);
}

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"
