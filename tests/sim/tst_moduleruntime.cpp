#include "moduleruntime.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A runtime on a 240 x 320 panel that records what it answers and notes.
struct Rig {
    ModuleRuntime rt{QSize(240, 320)};
    QList<QByteArray> answers;
    QStringList notes;
    Rig()
    {
        rt.answer = [this](const QByteArray &a) { answers << a; };
        rt.log = [this](const QString &n) { notes << n; };
    }
    void send(const QString &line, qint64 now = 0) { rt.submit(line, now); }
    QColor at(int x, int y) const { return rt.frame().pixelColor(x, y); }
};

// Two pictures as a download stores them: 2 x 1 (red, green) and 1 x 1 (blue).
ModulePictures threePixels()
{
    const QByteArray header = QByteArray::fromHex("00000006" "0002" "00020001" "00010001");
    const QByteArray pixels = QByteArray::fromHex("F800" "07E0" "001F");
    return ModulePictures(header, pixels);
}

const QColor kRed(248, 0, 0), kGreen(0, 252, 0), kBlue(0, 0, 248), kWhite(248, 252, 248), kGrey(200, 204, 200),
    kBlack(0, 0, 0);

int countColour(const QImage &img, const QRect &area, const QColor &c)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixelColor(x, y) == c ? 1 : 0;
    return n;
}

}  // namespace

class TestModuleRuntime : public QObject {
    Q_OBJECT
private slots:
    void drawing_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("CLR fills the screen") << "CLR(1);" << QPoint(0, 0) << kRed;
        QTest::newRow("CLR reaches the far corner") << "CLR(1);" << QPoint(239, 319) << kRed;
        QTest::newRow("BOXF inside") << "CLR(15);BOXF(10,20,29,39,1);" << QPoint(20, 30) << kRed;
        QTest::newRow("BOXF corner") << "CLR(15);BOXF(10,20,29,39,1);" << QPoint(10, 20) << kRed;
        QTest::newRow("BOXF outside") << "CLR(15);BOXF(10,20,29,39,1);" << QPoint(40, 50) << kWhite;
        QTest::newRow("BOX leaves the inside") << "CLR(15);BOX(10,20,49,59,1);" << QPoint(30, 40) << kWhite;
        QTest::newRow("CIRF centre") << "CLR(15);CIRF(100,100,20,3);" << QPoint(100, 100) << kBlue;
        QTest::newRow("CIRF inside the radius") << "CLR(15);CIRF(100,100,20,3);" << QPoint(100, 85) << kBlue;
        QTest::newRow("CIRF outside the radius") << "CLR(15);CIRF(100,100,20,3);" << QPoint(100, 125) << kWhite;
        QTest::newRow("CIR hollow") << "CLR(15);CIR(100,100,20,3);" << QPoint(100, 100) << kWhite;
        QTest::newRow("PS") << "CLR(0);PS(50,50,2);" << QPoint(50, 50) << kGreen;
        QTest::newRow("PL middle") << "CLR(0);PL(10,60,110,60,2);" << QPoint(60, 60) << kGreen;
        QTest::newRow("DCV16 background from SBC") << "CLR(0);SBC(3);DCV16(30,30,'  ',1);" << QPoint(35, 35) << kBlue;
        QTest::newRow("DC16 transparent") << "CLR(0);SBC(3);DC16(30,30,'  ',1);" << QPoint(35, 35) << kBlack;
        QTest::newRow("DC48 mode 1 background") << "CLR(0);SBC(2);DC48(10,10,' ',1,1);" << QPoint(20, 50) << kGreen;
        QTest::newRow("colours are RGB565") << "CLR(41);" << QPoint(5, 5) << QColor(112, 184, 184);
    }
    void drawing()
    {
        QFETCH(QString, script);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        Rig r;
        r.send(script);
        QCOMPARE(r.at(at.x(), at.y()), colour);
        QCOMPARE(r.answers.size(), script.count(QLatin1Char(';')));
        QVERIFY2(r.notes.isEmpty(), qPrintable(r.notes.join(QLatin1Char('\n'))));
    }

    void answers()
    {
        Rig r;
        r.rt.setAddress(1, 7);
        r.send(QStringLiteral("VER();GET_ADDR();BPS(9600);"));
        QCOMPARE(r.answers, (QList<QByteArray>{"FW_LXP-SIM_1.0\r\n", "GETADDR_1_7\r\n", "OK"}));
        QCOMPARE(r.rt.baud(), 9600);
        // An address header for this module or for all of them; another module's line is not ours.
        r.answers.clear();
        r.send(QStringLiteral("ADDR(3);BL(90);"));
        r.send(QStringLiteral("ADDR(7);BL(40);"));
        r.send(QStringLiteral("ADDR(0);SET_HDOT(1);"));
        QCOMPARE(r.answers, (QList<QByteArray>{"OK", "OK"}));
        QCOMPARE(r.rt.backlight(), 40);
        QVERIFY(r.rt.halfDot());
    }

    void setTextRedrawsOnlyThatControl()
    {
        Rig r;
        r.send(QStringLiteral("CLR(15);TXT(10,10,100,30,16,'one',0,0,0,0,7,0);TXT(10,60,100,30,16,'two',0,0,0,0,7,0);"));
        const QImage before = r.rt.frame();
        r.send(QStringLiteral("SET_TXT(0,'WWWWWW');"));
        QCOMPARE(r.answers.last(), QByteArray("OK"));
        const QImage after = r.rt.frame();
        const QRect control(10, 10, 100, 30);
        int changedInside = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                if (control.contains(x, y))
                    changedInside += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
                else
                    QVERIFY2(before.pixel(x, y) == after.pixel(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        QVERIFY(changedInside > 0);
        QCOMPARE(r.rt.screen().controlCount(), 2);
        QCOMPARE(r.rt.screen().control(0)->text, QStringLiteral("WWWWWW"));
        // A number control is not a text control.
        r.send(QStringLiteral("NUM(10,110,60,30,16,5,1,0,0,0,0,7,0);SET_NUM(2,-12.5,2);"));
        QCOMPARE(r.rt.screen().control(2)->text, QStringLiteral("-12.5"));
        r.answers.clear();
        r.send(QStringLiteral("SET_TXT(2,'x');SET_NUM(0,1,1);SET_NUM(2,1x,1);"));
        QVERIFY(r.answers.isEmpty());
        QCOMPARE(r.notes.size(), 3);
    }

    void progress_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("value");
        QTest::addColumn<QRect>("filled");
        // A 100 x 40 bar at (20, 20), no border.
        for (int v : {0, 50, 100}) {
            QTest::addRow("left %d", v) << 0 << v << QRect(20, 20, v, 40);
            QTest::addRow("bottom %d", v) << 1 << v << QRect(20, 60 - 40 * v / 100, 100, 40 * v / 100);
            QTest::addRow("right %d", v) << 2 << v << QRect(120 - v, 20, v, 40);
            QTest::addRow("top %d", v) << 3 << v << QRect(20, 20, 100, 40 * v / 100);
        }
    }
    void progress()
    {
        QFETCH(int, direction);
        QFETCH(int, value);
        QFETCH(QRect, filled);
        Rig r;
        r.send(QStringLiteral("CLR(15);PROG(20,20,100,40,30,0,0,0,%1,1,7,0);").arg(direction));
        r.send(QStringLiteral("SET_PROG(0,%1);").arg(value));
        QCOMPARE(r.answers.size(), 3);
        const QImage img = r.rt.frame();
        const QRect bar(20, 20, 100, 40);
        QCOMPARE(countColour(img, bar, kRed), filled.width() * filled.height());
        if (!filled.isEmpty()) {
            QCOMPARE(countColour(img, filled, kRed), filled.width() * filled.height());
        }
        QCOMPARE(img.pixelColor(19, 19), kWhite);
    }

    void pointer_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<QPoint>("towards");
        QTest::newRow("0 points left") << 0 << QPoint(-1, 0);
        QTest::newRow("90 points up") << 90 << QPoint(0, -1);
        QTest::newRow("180 points right") << 180 << QPoint(1, 0);
        QTest::newRow("270 points down") << 270 << QPoint(0, 1);
    }
    void pointer()
    {
        QFETCH(int, angle);
        QFETCH(QPoint, towards);
        Rig r;
        r.send(QStringLiteral("CLR(15);POINT(100,100,45,25,3,3);SET_POINT(0,%1);").arg(angle));
        QCOMPARE(r.rt.screen().control(0)->pointerAngle, angle);
        const QPoint centre(100, 100);
        const QColor tip = r.at(centre.x() + towards.x() * 15, centre.y() + towards.y() * 15);
        const QColor away = r.at(centre.x() - towards.x() * 15, centre.y() - towards.y() * 15);
        QVERIFY2(tip.blue() > 150 && tip.red() < 100, qPrintable(tip.name()));
        QCOMPARE(away, kWhite);
    }

    void buttonPressedLook()
    {
        Rig r;
        r.send(QStringLiteral("CLR(15);BUTTON(50,50,60,30,16,'',0,0,35,0,0,0,7,2,0);"));
        QCOMPARE(r.at(55, 75), kGrey);
        r.send(QStringLiteral("SET_BTN(0,1);"));
        QVERIFY(r.rt.screen().isPressed(0));
        QCOMPARE(r.at(55, 75), kGreen);
        r.send(QStringLiteral("SET_BTN(0,0);"));
        QCOMPARE(r.at(55, 75), kGrey);
        // The pressed picture replaces the released one while pressed.
        r.rt.setPictures(threePixels());
        r.send(QStringLiteral("SET_BTN_IMG(0,1,1);SET_BTN(0,1);"));
        QCOMPARE(r.at(50, 50), kBlue);
        QCOMPARE(r.rt.screen().buttonAt(QPoint(60, 60)), 0);
        QCOMPARE(r.rt.screen().buttonAt(QPoint(10, 10)), -1);
    }

    void jump()
    {
        Rig r;
        r.rt.setPage(0, "CLR(1);TXT(0,0,10,10,16,'',0,0,0,0,7,0);\r\n");
        r.rt.setPage(1, "CLR(2);\r\n");
        r.send(QStringLiteral("JUMP(1);"));
        QCOMPARE(r.answers, QList<QByteArray>{"OK"});
        QCOMPARE(r.rt.currentPage(), 1);
        QCOMPARE(r.at(100, 100), kGreen);
        r.send(QStringLiteral("JUMP(0);"));
        QCOMPARE(r.rt.screen().controlCount(), 1);
        r.send(QStringLiteral("JUMP(7);"));
        QCOMPARE(r.answers.size(), 2);
        QCOMPARE(r.rt.currentPage(), 0);
        QCOMPARE(r.at(100, 100), kRed);
        QCOMPARE(r.rt.screen().controlCount(), 1);
        // A page that jumps would never end.
        r.rt.setPage(2, "CLR(3);JUMP(2);\r\n");
        r.send(QStringLiteral("JUMP(2);"));
        QCOMPARE(r.at(100, 100), kBlue);
        QCOMPARE(r.rt.pendingCount(), 0);
    }

    void flashPictures()
    {
        Rig r;
        r.rt.setPictures(threePixels());
        r.send(QStringLiteral("CLR(0);FSIMG(1,5,5,1,1,0);FSIMG(2097156,7,7,1,1,0);FSIMG(2097152,0,0,2,1,0);PIC(0,20,20,1,1);"));
        QCOMPARE(r.answers.size(), 5);
        QCOMPARE(r.at(5, 5), kBlue);
        QCOMPARE(r.at(7, 7), kBlue);
        QCOMPARE(r.at(0, 0), kRed);
        QCOMPARE(r.at(1, 0), kGreen);
        QCOMPARE(r.at(20, 20), kRed);
        QCOMPARE(r.at(21, 20), kBlack);  // cropped to 1 x 1
        r.answers.clear();
        r.send(QStringLiteral("FSIMG(2,0,0,1,1,0);FSIMG(2097158,0,0,1,1,0);PIC(-1,0,0,1,1);"));
        QVERIFY(r.answers.isEmpty());
    }

    void picturesOnlyAsFarAsReceived()
    {
        // The header claims a 65535 x 65535 picture; only 6 bytes arrived.
        const QByteArray header = QByteArray::fromHex("00000006" "0002" "FFFFFFFF" "00010001");
        const ModulePictures p(header, QByteArray::fromHex("F80007E0001F"));
        QCOMPARE(p.count(), 2);
        QVERIFY(p.image(0).isNull());
        QVERIFY(p.image(1).isNull());  // its pixels would lie beyond the first picture
        QVERIFY(p.imageAt(PictureLibrary::BaseAddress, 65535, 65535, QRect(0, 0, 240, 320)).height() <= 1);
    }

    // A header naming 65,535 pictures, all of whose pixels arrived: drawing them leaves no file
    // behind in the temporary folder, one per picture or otherwise.
    void manyPicturesWriteNoFiles()
    {
        QTemporaryDir tmp;
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        QByteArray header = QByteArray::fromHex("0001FFFE" "FFFF");
        for (int i = 0; i < 65535; ++i)
            header += QByteArray::fromHex("00010001");
        QByteArray pixels;
        for (int i = 0; i < 65535; ++i)
            pixels += i % 2 ? QByteArray::fromHex("001F") : QByteArray::fromHex("F800");
        Rig r;
        r.rt.setPictures(ModulePictures(header, pixels));
        r.send(QStringLiteral("CLR(0);PIC(0,0,0,1,1);PIC(65533,1,0,1,1);PIC(65534,2,0,1,1);"));
        qputenv("TMPDIR", oldTmp);
        QCOMPARE(r.answers.size(), 4);
        QCOMPARE(r.at(0, 0), kRed);
        QCOMPARE(r.at(1, 0), kBlue);
        QCOMPARE(r.at(2, 0), kRed);
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            it.next();
            ++files;
        }
        QCOMPARE(files, 0);
    }

    void backlight()
    {
        Rig r;
        r.send(QStringLiteral("CLR(15);BL(0);"));
        QCOMPARE(r.rt.display(), r.rt.frame());
        r.send(QStringLiteral("BL(255);"));
        QCOMPARE(r.rt.display().pixelColor(3, 3), kBlack);
        r.send(QStringLiteral("BL(51);"));
        QCOMPARE(r.rt.display().pixelColor(3, 3), QColor(248 * 204 / 255, 252 * 204 / 255, 248 * 204 / 255));
        r.send(QStringLiteral("BL(0);LCDON(0);"));
        QCOMPARE(r.rt.display().pixelColor(3, 3), kBlack);
        r.send(QStringLiteral("LCDON(1);"));
        QCOMPARE(r.rt.display().pixelColor(3, 3), kWhite);
    }

    void direction_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QSize>("drawing");
        QTest::addColumn<QPoint>("onPanel");  // where the drawing's top-left pixel lies on the panel
        QTest::newRow("0 portrait") << 0 << QSize(240, 320) << QPoint(0, 0);
        QTest::newRow("1 a quarter anticlockwise") << 1 << QSize(320, 240) << QPoint(239, 0);
        QTest::newRow("2 upside down") << 2 << QSize(240, 320) << QPoint(239, 319);
        QTest::newRow("3 a quarter clockwise") << 3 << QSize(320, 240) << QPoint(0, 319);
    }
    void direction()
    {
        QFETCH(int, direction);
        QFETCH(QSize, drawing);
        QFETCH(QPoint, onPanel);
        Rig r;
        r.rt.setPictures(threePixels());
        r.send(QStringLiteral("DIR(%1);BL(0);CLR(0);FSIMG(0,0,0,2,1,0);").arg(direction));
        QCOMPARE(r.rt.frame().size(), drawing);
        const QImage panel = r.rt.panel();
        QCOMPARE(panel.size(), QSize(240, 320));
        QCOMPARE(panel.pixelColor(onPanel), kRed);
        // What was drawn stays on the panel when the orientation changes.
        r.send(QStringLiteral("DIR(%1);").arg((direction + 1) % 4));
        QCOMPARE(r.rt.panel().pixelColor(onPanel), kRed);
    }

    void resetRunsTheBootScriptAgain()
    {
        Rig r;
        r.rt.setPictures(threePixels());
        r.rt.setBootScript("DIR(0);BL(33);GIF(1,0,0,1,1);DELAYMS(100);GIF(0,0,0,2,1);DELAYMS(100);JUMP(0);\r\n");
        r.rt.setPage(0, "CLR(2);\r\n");
        r.send(QStringLiteral("RESET();"), 1000);
        QVERIFY(r.answers.isEmpty());  // a restart is not answered
        QCOMPARE(r.rt.backlight(), 33);
        QCOMPARE(r.at(0, 0), kBlue);
        QCOMPARE(r.rt.run(1099), qint64(1100));
        QCOMPARE(r.at(0, 0), kBlue);
        r.rt.run(1100);
        QCOMPARE(r.at(0, 0), kRed);
        QCOMPARE(r.rt.currentPage(), -1);
        QCOMPARE(r.rt.run(1200), qint64(-1));
        QCOMPARE(r.rt.currentPage(), 0);
        QCOMPARE(r.at(0, 0), kGreen);
        // Changed settings go back to what the boot script says.
        r.send(QStringLiteral("BL(5);DIR(1);CLR(1);RESET();"), 2000);
        r.rt.run(2100);
        r.rt.run(2200);
        QCOMPARE(r.rt.backlight(), 33);
        QCOMPARE(r.rt.direction(), 0);
        QCOMPARE(r.at(100, 100), kGreen);
        // The instructions behind a RESET on the same line are lost with the restart.
        r.answers.clear();
        r.send(QStringLiteral("RESET();CLR(1);"), 4000);
        QVERIFY(r.answers.isEmpty());
    }

    void delayPacesWhatFollows()
    {
        Rig r;
        r.send(QStringLiteral("CLR(0);DELAYMS(100);CLR(1);"), 0);
        QCOMPARE(r.answers.size(), 2);
        QCOMPARE(r.at(0, 0), kBlack);
        r.send(QStringLiteral("CLR(2);BL(7);"), 50);  // behind the held ones, in order
        QCOMPARE(r.rt.pendingCount(), 3);
        QCOMPARE(r.rt.nextDue(), qint64(100));
        QCOMPARE(r.rt.run(99), qint64(100));
        QCOMPARE(r.answers.size(), 2);
        QCOMPARE(r.rt.run(100), qint64(-1));
        QCOMPARE(r.answers.size(), 5);
        QCOMPARE(r.at(0, 0), kGreen);
        QCOMPARE(r.rt.backlight(), 7);
    }

    // A QR code text is sent bare: quotes and brackets belong to it; only ";" ends it.
    void qrTextKeepsQuotesAndBrackets()
    {
        Rig r;
        r.send(QStringLiteral("CLR(15);QRCODE(30,30,a)'b',(c),40,0);"));
        QCOMPARE(r.rt.screen().qrCodeCount(), 1);
        QCOMPARE(r.rt.screen().qrCode(0)->text, QStringLiteral("a)'b',(c)"));
        r.send(QStringLiteral("QBAR(0,x)'y');"));
        QCOMPARE(r.rt.screen().qrCode(0)->text, QStringLiteral("x)'y'"));
        QVERIFY2(r.notes.isEmpty(), qPrintable(r.notes.join(QLatin1Char('\n'))));
        QCOMPARE(r.answers.size(), 3);
    }

    void refusedInstructionsChangeNothing_data()
    {
        QTest::addColumn<QString>("line");
        for (const char *line :
             {"FOO(1);", "clr(1);", "CLR(64);", "CLR(-1);", "CLR(1", "CLR(a);", "CLR(1,2);", "CLR();", "CLR(1)X",
              "BL(256);", "DIR(4);", "SET_TXT(9,'x');", "SET_TXT(0,x);", "SET_TXT(0,'a','b');", "SET_PROG(0,101);",
              "SET_PROG(1,50);", "SET_POINT(1,400);", "SET_BTN(0,2);", "JUMP(-1);", "JUMP(3);", "FSIMG(5,0,0,1,1,0);",
              "DELAYMS(70000);", "DELAYMS(-1);", "BPS(1234);", "TXT(1,2,3);", "TXT(1,2,3,4,16,'a,b',0,0,0,0,7);",
              "QRCODE(1,2);", "QBAR(0,x);", "(((", "'''", "LCDON(2);", "PIC(5,0,0,10,10);", "BOXF(0,0,10,10,99);",
              "CIRF(10,10,-5,1);", "DC16(0,0,abc,1);", "DC48(0,0,'a',1,2);", "SET_BCOLOR(2,3);", "VER(1);",
              "ADDR(300);", "X23456789012345678901234567890123456(1);", "CLR(99999999999999999999);",
              "PS(40000,0,1);", "PS(0,40000,1);", "BOXF(40000,0,10,10,1);", "BOXF(0,40000,10,10,1);",
              // Each coordinate of a picture and of a control is checked (picture 0 exists here).
              "PIC(0,40000,0,10,10);", "PIC(0,0,40000,10,10);", "PIC(0,0,-40000,10,10);",
              "TXT(40000,0,50,10,16,'a',0,0,0,0,7,0);", "TXT(0,40000,50,10,16,'a',0,0,0,0,7,0);",
              "QRCODE(0,40000,x,20,1);"})
            QTest::newRow(line) << QString::fromLatin1(line);
    }
    void refusedInstructionsChangeNothing()
    {
        QFETCH(QString, line);
        Rig r;
        r.rt.setPictures(threePixels());
        r.rt.setPage(0, "CLR(2);PROG(0,0,50,10,20,0,0,0,0,1,7,0);TXT(0,20,50,10,16,'t',0,0,0,0,7,0);\r\n");
        r.send(QStringLiteral("JUMP(0);BL(9);DIR(1);"));
        const QImage frame = r.rt.display();
        r.answers.clear();
        r.send(line);
        QVERIFY(r.answers.isEmpty());
        QVERIFY(!r.notes.isEmpty());
        QCOMPARE(r.rt.display(), frame);
        QCOMPARE(r.rt.backlight(), 9);
        QCOMPARE(r.rt.direction(), 1);
        QCOMPARE(r.rt.currentPage(), 0);
        QCOMPARE(r.rt.pendingCount(), 0);
        QCOMPARE(r.rt.screen().control(0)->text, QStringLiteral("20"));
        QCOMPARE(r.rt.screen().control(1)->text, QStringLiteral("t"));
    }

    // Corners given the other way round cover the same pixels.
    void reversedCornersCoverTheSamePixels_data()
    {
        QTest::addColumn<QString>("inOrder");
        QTest::addColumn<QString>("reversed");
        QTest::newRow("BOX") << "BOX(10,20,29,39,1);" << "BOX(29,39,10,20,1);";
        QTest::newRow("BOX, one pair reversed") << "BOX(10,20,29,39,1);" << "BOX(29,20,10,39,1);";
        QTest::newRow("BOXF") << "BOXF(10,20,29,39,1);" << "BOXF(29,39,10,20,1);";
    }
    void reversedCornersCoverTheSamePixels()
    {
        QFETCH(QString, inOrder);
        QFETCH(QString, reversed);
        Rig a, b;
        a.send(QStringLiteral("CLR(15);") + inOrder);
        b.send(QStringLiteral("CLR(15);") + reversed);
        QCOMPARE(b.answers.size(), 2);
        const QRect area(0, 0, 60, 60);
        QVERIFY(countColour(a.rt.frame(), area, kRed) > 0);
        QCOMPARE(countColour(b.rt.frame(), area, kRed), countColour(a.rt.frame(), area, kRed));
        QCOMPARE(b.rt.frame(), a.rt.frame());
        QCOMPARE(b.at(10, 20), kRed);
    }

    void pendingInstructionsAreBounded()
    {
        Rig r;
        r.send(QStringLiteral("DELAYMS(65535);"));
        for (int i = 0; i < ModuleRuntime::MaxPending + 100; ++i)
            r.send(QStringLiteral("BL(%1);").arg(i % 256));
        QCOMPARE(r.rt.pendingCount(), ModuleRuntime::MaxPending);
        QCOMPARE(r.notes.size(), 100);
    }

    void randomInput()
    {
        // Random bytes and random mixes of real instruction pieces: nothing crashes, nothing piles up.
        Rig r;
        r.rt.setPictures(threePixels());
        r.rt.setPage(0, "CLR(2);BUTTON(0,0,20,20,16,'b',0,0,33,0,0,0,7,2,0);QRCODE(30,30,x,40,0);\r\n");
        r.rt.setBootScript("JUMP(0);");
        const QStringList pieces{"CLR(", "SET_TXT(", "SET_PROG(", "JUMP(", "FSIMG(", "QBAR(", "RESET(", "DELAYMS(",
                                 "DIR(", "BL(", "0", "1", "-1", "65535", "2097152", ",", "'", ")", ";", "(", "x", " "};
        QRandomGenerator rng(12345);
        qint64 now = 0;
        for (int i = 0; i < 3000; ++i) {
            QString line;
            const int n = rng.bounded(1, 40);
            if (i % 2) {
                for (int k = 0; k < n; ++k)
                    line += pieces.at(rng.bounded(pieces.size()));
            } else {
                QByteArray bytes(n, '\0');
                for (char &c : bytes)
                    c = char(rng.bounded(256));
                line = QString::fromLatin1(bytes);
            }
            now += rng.bounded(50);
            r.send(line, now);
            QVERIFY(r.rt.pendingCount() <= ModuleRuntime::MaxPending);
        }
        r.rt.run(now + 10000000);
        QCOMPARE(r.rt.pendingCount(), 0);
    }
};

QTEST_MAIN(TestModuleRuntime)
#include "tst_moduleruntime.moc"
