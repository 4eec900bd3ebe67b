#include "controlrecord.h"
#include "instructions.h"
#include "qmydrawtype.h"

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
