#include "model/controlrecord.h"
#include "script/instructions.h"
#include "script/moduletext.h"
#include "download/downloadjob.h"
#include "script/scripts.h"

#include <QtTest>

namespace {

ControlRecord text(int id, const QString &t)
{
    ControlRecord c = ControlRecord::make(ControlKind::Text, id);
    c.text = t;
    return c;
}

}  // namespace

class TestScripts : public QObject {
    Q_OBJECT
private slots:
    void pageOrder()
    {
        PageData page;
        ControlRecord qr = ControlRecord::make(ControlKind::QRCode, 0);
        qr.text = QStringLiteral("q");
        page.controls << qr << text(1, QStringLiteral("b")) << text(0, QStringLiteral("a"))
                      << text(2, QStringLiteral("c"));
        QMyDrawType box;
        box.setDrawType(QMyDrawType::Box);
        box.setStart(1, 2);
        box.setEnd(11, 22);
        page.primitives << box;
        QString script;
        QVERIFY(buildPageScript(page, 0, PictureLibrary(), &script));
        QCOMPARE(script, QStringLiteral("CLR(15);BOX(1,2,10,21,0);"
                                        "TXT(0,0,60,30,16,'a',0,0,0,0,7,0);TXT(0,0,60,30,16,'b',0,0,0,0,7,0);"
                                        "TXT(0,0,60,30,16,'c',0,0,0,0,7,0);QRCODE(0,0,q,53,0);\r\n"));
    }

    void background_data()
    {
        QTest::addColumn<int>("imageNum");
        QTest::addColumn<QString>("start");
        QTest::newRow("colour") << -1 << "CLR(9);";
        QTest::newRow("picture") << 1 << "PIC(1,0,0,240,320);";
        // A number the library lacks (pictures deleted since) still sends a picture, sized 0.
        QTest::newRow("missing picture") << 4 << "PIC(4,0,0,0,0);";
    }
    void background()
    {
        QFETCH(int, imageNum);
        QFETCH(QString, start);
        PictureLibrary lib;
        lib.append(PictureInfo{QStringLiteral("a.bmp"), QSize(10, 10), 0});
        lib.append(PictureInfo{QStringLiteral("b.bmp"), QSize(240, 320), 0});
        PageData page;
        page.imageNum = imageNum;
        page.backgroundNum = 9;
        QString script;
        QVERIFY(buildPageScript(page, 0, lib, &script));
        QCOMPARE(script, start + QStringLiteral("\r\n"));
    }

    void boot_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("script");
        QTest::newRow("three frames")
            << 0 << 2
            << "DIR(1);BL(20);GIF(0,10,20,50,40);DELAYMS(100);GIF(1,10,20,50,40);DELAYMS(100);"
               "GIF(2,10,20,50,40);DELAYMS(100);JUMP(0);\r\n";
        QTest::newRow("only first") << 0 << -1 << "DIR(1);BL(20);JUMP(0);\r\n";
        QTest::newRow("only last") << -1 << 3 << "DIR(1);BL(20);JUMP(0);\r\n";
        QTest::newRow("reversed") << 2 << 1 << "DIR(1);BL(20);JUMP(0);\r\n";
        QTest::newRow("one frame") << 4 << 4 << "DIR(1);BL(20);GIF(4,10,20,50,40);DELAYMS(100);JUMP(0);\r\n";
    }
    void boot()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, script);
        DownloadJob job;
        job.direction = 1;
        job.backlight = 20;
        job.gifFirst = first;
        job.gifLast = last;
        job.gifX = 10;
        job.gifY = 20;
        job.gifW = 50;
        job.gifH = 40;
        job.gifIntervalMs = 100;
        QCOMPARE(buildBootScript(job), script);
    }

    void gbkByteCounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("ascii") << "TXT(1);" << 7;
        QTest::newRow("chinese") << "文本" << 4;
        QTest::newRow("mixed") << "a中b" << 4;
        QTest::newRow("full-width punctuation") << "，！" << 4;
        QTest::newRow("empty") << "" << 0;
    }
    void gbkByteCounts()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(ModuleText::byteCount(text), bytes);
        QCOMPARE(ModuleText::decode(ModuleText::encode(text)), text);
    }

    // Values from a damaged file anywhere in int range must not overflow while building texts.
    void extremeValues()
    {
        QMyDrawType box;
        box.setDrawType(QMyDrawType::FilledBox);
        box.setRect(2147483000, -2147483000, 2147483647, 2147483647);
        QCOMPARE(box.instructionTextFor(), QStringLiteral("BOXF(2147483000,-2147483000,4294966646,646,0);"));
        ControlRecord p = ControlRecord::make(ControlKind::Pointer, 0);
        p.x = 2147483600;
        p.pointerL = 2000000000;
        QCOMPARE(instructionText(p), QStringLiteral("POINT(2147483647,1073741823,0,2000000000,2,1);"));
    }
};

QTEST_GUILESS_MAIN(TestScripts)
#include "tst_scripts.moc"
