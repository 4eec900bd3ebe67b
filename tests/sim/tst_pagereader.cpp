#include "pagereader.h"
#include "render/renderer.h"
#include "script/scripts.h"

#include <QtTest>

namespace {

// A page with every kind of control.
PageData fullPage()
{
    PageData page;
    int id = 0;
    for (int k = 0; k < ControlKindCount; ++k) {
        const ControlKind kind = ControlKind(k);
        ControlRecord r = ControlRecord::make(kind, kind == ControlKind::QRCode ? 0 : id++);
        r.x = 10 + 20 * k;
        r.y = 15 + 10 * k;
        r.style = 1;
        r.hAlign = 2;
        r.fontColorNum = 9;
        if (kind == ControlKind::Text)
            r.text = QStringLiteral("温度, (°C)");
        if (kind == ControlKind::Number)
            r.text = QStringLiteral("-12.5");
        if (kind == ControlKind::Progress)
            r.text = QStringLiteral("40");
        if (kind == ControlKind::QRCode)
            r.text = QStringLiteral("http://example.com/a,b(c)'d'");  // sent bare
        if (kind == ControlKind::Pointer) {
            r.pointerL = 30;
            r.pointerW = 3;
            r.pointerAngle = 45;
        }
        if (kind == ControlKind::Button)
            r.pressImageNum = 2;
        page.controls << r;
    }
    return page;
}

}  // namespace

class TestPageReader : public QObject {
    Q_OBJECT
private slots:
    void scriptReadsBackToTheSameScript()
    {
        const PageData page = fullPage();
        QString script;
        QVERIFY(buildPageScript(page, 0, PictureLibrary(), &script));
        QStringList skipped;
        const PageData read = PageReader::read(script, &skipped);
        QCOMPARE(skipped, QStringList{QStringLiteral("CLR")});  // the background: the runtime's own
        QCOMPARE(read.controls.size(), ControlKindCount);
        QString again;
        QVERIFY(buildPageScript(read, 0, PictureLibrary(), &again));
        QCOMPARE(again, script);
    }

    void drawnLikeTheDesign()
    {
        PageData page = fullPage();
        page.controls.removeAt(2);  // the button: a picture number without pictures
        QString script;
        QVERIFY(buildPageScript(page, 0, PictureLibrary(), &script));
        RenderContext ctx;
        ctx.pageSize = QSize(240, 320);
        const QImage expected = Renderer::renderPage(page, ctx);
        const QImage actual = Renderer::renderPage(PageReader::read(script), ctx);
        QVERIFY(!expected.isNull());
        QCOMPARE(actual, expected);
    }

    void untrustedInput_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("empty") << QString();
        QTest::newRow("unterminated") << QStringLiteral("TXT(1,2,'abc");
        QTest::newRow("missing arguments") << QStringLiteral("BOX();CIR(1);QRCODE(1,2);POINT();");
        QTest::newRow("garbage") << QStringLiteral(")))(((;;;,,,''");
    }
    void untrustedInput()
    {
        QFETCH(QString, script);
        const PageData page = PageReader::read(script);
        QVERIFY(page.controls.size() <= 4);
    }
};

QTEST_MAIN(TestPageReader)
#include "tst_pagereader.moc"
