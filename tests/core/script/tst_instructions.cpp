#include "model/controlrecord.h"
#include "script/instructions.h"
#include "model/projectdata.h"
#include "model/qmydrawtype.h"

#include <QtTest>

class TestInstructions : public QObject {
    Q_OBJECT
private slots:
    void textControl()
    {
        ControlRecord r = ControlRecord::make(ControlKind::Text, 0);
        r.x = 10;
        r.y = 20;
        r.text = QStringLiteral("AB");
        QCOMPARE(instructionText(r), QStringLiteral("TXT(10,20,60,30,16,'AB',0,0,0,0,7,0);"));
    }

    void numberWidths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("width");
        QTest::newRow("default") << "0" << "0" << 1;
        QTest::newRow("trailing point") << "12." << "12" << 2;
        QTest::newRow("negative") << "-15" << "-15" << 2;
        QTest::newRow("negative fraction") << "-1.5" << "-1.5" << 2;
        QTest::newRow("fraction") << "3.14" << "3.14" << 1;
        QTest::newRow("two points") << "1.2.3" << "1.2.3" << 0;
    }
    void numberWidths()
    {
        QFETCH(QString, text);
        QFETCH(QString, sent);
        QFETCH(int, width);
        ControlRecord r = ControlRecord::make(ControlKind::Number, 0);
        r.text = text;
        QCOMPARE(instructionText(r),
                 QStringLiteral("NUM(0,0,60,30,16,%1,%2,0,0,0,0,7,0);").arg(sent).arg(width));
    }

    void buttonPictureModes()
    {
        ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
        r.text = QStringLiteral("按键");
        QCOMPARE(instructionText(r), QStringLiteral("BUTTON(0,0,60,30,16,'按键',0,0,33,0,0,0,7,0,0);"));
        r.imageNum = 3;
        r.pressImageNum = 4;
        QCOMPARE(instructionText(r), QStringLiteral("BUTTON(0,0,60,30,16,'',3,4,17,0,0,0,7,0,0);"));
        r.imageNum = -1;
        r.pressImageNum = -1;
        r.cutImageNum = 2;
        QCOMPARE(instructionText(r), QStringLiteral("BUTTON(0,0,60,30,16,'',2,0,65,0,0,0,7,0,0);"));
    }

    void progressClampAndDirection()
    {
        ControlRecord r = ControlRecord::make(ControlKind::Progress, 0);
        r.text = QStringLiteral("150");
        r.progType = 2;
        r.style = 1;
        QCOMPARE(instructionText(r), QStringLiteral("PROG(0,0,100,20,100,0,0,0,10,0,7,0);"));
    }

    void pointerCentre()
    {
        ControlRecord r = ControlRecord::make(ControlKind::Pointer, 0);
        r.x = 100;
        r.y = 100;
        QCOMPARE(instructionText(r), QStringLiteral("POINT(125,125,0,25,2,1);"));
    }

    void styleCodes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("textCode");
        QTest::addColumn<int>("buttonCode");
        QTest::newRow("0") << 0 << 4 << 4;
        QTest::newRow("1") << 1 << 6 << 6;
        QTest::newRow("2") << 2 << 0 << 1;
        QTest::newRow("3") << 3 << 2 << 0;
        QTest::newRow("4") << 4 << 0 << 2;
        QTest::newRow("negative") << -1 << 0 << 0;
        QTest::newRow("large") << 99 << 0 << 0;
    }
    void styleCodes()
    {
        QFETCH(int, style);
        QFETCH(int, textCode);
        QFETCH(int, buttonCode);
        QCOMPARE(textStyleCode(style), textCode);
        QCOMPARE(buttonStyleCode(style), buttonCode);
        ControlRecord t = ControlRecord::make(ControlKind::Text, 0);
        t.style = style;
        t.text = QStringLiteral("a");
        QCOMPARE(instructionText(t), QStringLiteral("TXT(0,0,60,30,16,'a',%1,0,0,0,7,0);").arg(textCode));
    }

    void buttonPictures_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("pressCut");
        QTest::addColumn<QString>("args");  // text, released, pressed, mode + style code 1
        QTest::newRow("none") << -1 << -1 << -1 << -1 << "'B',0,0,33";
        QTest::newRow("whole both") << 3 << -1 << 4 << -1 << "'',3,4,17";
        QTest::newRow("whole released only") << 3 << -1 << -1 << -1 << "'',3,0,17";
        QTest::newRow("whole pressed only keeps text") << -1 << -1 << 4 << -1 << "'B',0,4,17";
        QTest::newRow("cut released") << -1 << 2 << -1 << -1 << "'',2,0,65";
        QTest::newRow("cut pressed only") << -1 << -1 << -1 << 5 << "'B',0,5,65";
        QTest::newRow("whole wins over cut") << 3 << 2 << 4 << 5 << "'',3,4,17";
        QTest::newRow("cut with whole pressed") << -1 << 2 << 4 << -1 << "'',2,4,17";
        QTest::newRow("picture 0") << 0 << -1 << 0 << -1 << "'',0,0,17";
    }
    void buttonPictures()
    {
        QFETCH(int, image);
        QFETCH(int, cut);
        QFETCH(int, press);
        QFETCH(int, pressCut);
        QFETCH(QString, args);
        ControlRecord r = ControlRecord::make(ControlKind::Button, 1);
        r.text = QStringLiteral("B");
        r.imageNum = image;
        r.cutImageNum = cut;
        r.pressImageNum = press;
        r.pressCutImageNum = pressCut;
        QCOMPARE(instructionText(r), QStringLiteral("BUTTON(0,0,60,30,16,%1,0,0,0,7,0,0);").arg(args));
    }

    void progress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("backCut");
        QTest::addColumn<int>("progType");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("args");  // value, fore, back, mode, direction
        QTest::newRow("default") << "10" << -1 << -1 << -1 << -1 << 0 << 0 << "10,0,0,0,0";
        QTest::newRow("exactly 100") << "100" << -1 << -1 << -1 << -1 << 0 << 0 << "100,0,0,0,0";
        QTest::newRow("over 100") << "101" << -1 << -1 << -1 << -1 << 0 << 0 << "100,0,0,0,0";
        QTest::newRow("not a number") << "abc" << -1 << -1 << -1 << -1 << 0 << 0 << "0,0,0,0,0";
        QTest::newRow("fraction") << "12.5" << -1 << -1 << -1 << -1 << 0 << 0 << "0,0,0,0,0";
        QTest::newRow("whole pictures") << "50" << 1 << -1 << 2 << -1 << 1 << 0 << "50,1,2,2,1";
        QTest::newRow("whole background only") << "50" << -1 << -1 << 2 << -1 << 0 << 0 << "50,0,2,2,0";
        QTest::newRow("cut pictures") << "50" << -1 << 3 << -1 << 4 << 3 << 1 << "50,3,4,3,11";
        QTest::newRow("border down") << "5" << -1 << -1 << -1 << -1 << 2 << 1 << "5,0,0,0,10";
    }
    void progress()
    {
        QFETCH(QString, text);
        QFETCH(int, image);
        QFETCH(int, cut);
        QFETCH(int, back);
        QFETCH(int, backCut);
        QFETCH(int, progType);
        QFETCH(int, style);
        QFETCH(QString, args);
        ControlRecord r = ControlRecord::make(ControlKind::Progress, 0);
        r.text = text;
        r.imageNum = image;
        r.cutImageNum = cut;
        r.backgroundImageNum = back;
        r.backgroundCutImageNum = backCut;
        r.progType = progType;
        r.style = style;
        QCOMPARE(instructionText(r), QStringLiteral("PROG(0,0,100,20,%1,0,7,0);").arg(args));
    }

    void textsAreLiteral()
    {
        ControlRecord t = ControlRecord::make(ControlKind::Text, 0);
        t.text = QStringLiteral("%1 %2");
        QCOMPARE(instructionText(t), QStringLiteral("TXT(0,0,60,30,16,'%1 %2',0,0,0,0,7,0);"));
        ControlRecord q = ControlRecord::make(ControlKind::QRCode, 0);
        q.x = 5;
        q.y = 6;
        q.text = QStringLiteral("a,b");
        q.fontColorNum = 3;
        QCOMPARE(instructionText(q), QStringLiteral("QRCODE(5,6,a,b,53,3);"));
    }

    void pointerLengthKeepsCentre()
    {
        ControlRecord r = ControlRecord::make(ControlKind::Pointer, 0);
        r.x = 100;
        r.y = 100;
        r.settlePointer();
        r.setPointerL(40);
        r.pointerAngle = 90;
        r.fontColorNum = 4;
        QCOMPARE(instructionText(r), QStringLiteral("POINT(125,125,90,40,2,4);"));
        r.settlePointer();
        QCOMPARE(QRect(r.x, r.y, r.w, r.h), QRect(85, 85, 80, 80));
        // Values from a damaged file move the corner to the end of the int range, not round it.
        r.pointerX = -10;
        r.setPointerL(2147483647);
        QCOMPARE(r.x, int(-2147483647 - 1));
        r.setPointerY(-2147483647 - 1);
        QCOMPARE(r.y, int(-2147483647 - 1));
    }

    void numbering()
    {
        PageData page;
        QCOMPARE(page.nextControlId(ControlKind::QRCode), 0);
        for (int i = 0; i < 3; ++i)
            page.controls.append(ControlRecord::make(ControlKind::Text, page.nextControlId(ControlKind::Text)));
        page.controls.append(ControlRecord::make(ControlKind::QRCode, page.nextControlId(ControlKind::QRCode)));
        page.controls.append(ControlRecord::make(ControlKind::QRCode, page.nextControlId(ControlKind::QRCode)));
        QCOMPARE(page.nextControlId(ControlKind::Button), 3);
        QCOMPARE(page.nextControlId(ControlKind::QRCode), 2);
        // Removing text 0 moves 1 and 2 down; QR codes keep theirs.
        page.controls.removeAt(0);
        renumberAfterRemoval(page.controls, ControlKind::Text, 0);
        QVector<int> ids;
        for (const ControlRecord &c : page.controls)
            ids << c.id;
        QCOMPARE(ids, (QVector<int>{0, 1, 0, 1}));
        // Removing QR code 0 renumbers the QR codes in list order.
        page.controls.removeAt(2);
        renumberAfterRemoval(page.controls, ControlKind::QRCode, 0);
        QCOMPARE(page.controls.last().id, 0);
        QCOMPARE(page.controls.at(1).id, 1);
    }

    void boxDraggedBackwards()
    {
        QMyDrawType d;
        d.setDrawType(QMyDrawType::Box);
        d.setStart(50, 40);
        d.setEnd(10, 20);
        QCOMPARE(d.rect(), QRect(10, 20, 40, 20));
        QCOMPARE(d.instructionText(), QStringLiteral("BOX(10,20,49,39,0);"));
    }
};

QTEST_GUILESS_MAIN(TestInstructions)
#include "tst_instructions.moc"
