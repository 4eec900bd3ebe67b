#include "model/colortable.h"
#include "render/renderer.h"

#include <QtTest>

// A console-only program (no GUI application, so no fonts) still renders pages: shapes and
// colours are drawn, texts are left out, nothing aborts.
class TestRenderHeadless : public QObject {
    Q_OBJECT

private slots:
    void rendersWithoutFonts()
    {
        QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
        PageData page;
        page.backgroundNum = 15;
        ControlRecord text = ControlRecord::make(ControlKind::Text, 0);
        text.style = 3;
        text.styleColorNum = 1;
        text.backgroundColorNum = 3;
        text.x = 60;
        text.y = 40;
        page.controls << text << ControlRecord::make(ControlKind::QRCode, 0)
                      << ControlRecord::make(ControlKind::Button, 1);
        RenderContext ctx;
        ctx.pageSize = QSize(120, 80);
        const QImage img = Renderer::renderPage(page, ctx, true);
        QCOMPARE(img.size(), QSize(120, 80));
        QCOMPARE(img.pixelColor(90, 55), ColorTable::colorAt(3));
        QCOMPARE(img.pixelColor(60, 55), ColorTable::colorAt(1));
    }
};

QTEST_GUILESS_MAIN(TestRenderHeadless)
#include "tst_renderheadless.moc"
