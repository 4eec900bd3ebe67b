// The module's own drawing: exact pixels of every primitive and control style, and, over
// thousands of random instructions, the two promises of the raster: nothing outside an
// instruction's rectangle changes, and every pixel is a table colour or a picture pixel.
#include "model/colortable.h"
#include "moduleglyphs.h"
#include "moduleraster.h"
#include "moduleruntime.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include <vector>

namespace {

const QRgb B = qRgb(112, 184, 184);  // colour 41, the page under every case
const QRgb kRed = qRgb(248, 0, 0), kGreen = qRgb(0, 252, 0), kBlue = qRgb(0, 0, 248), kYellow = qRgb(248, 252, 0);

QRgb rgb(const QImage &img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

// "x,y=RRGGBB x,y=RRGGBB ..." with B for the page colour.
struct Expect {
    QPoint at;
    QRgb colour;
};
QVector<Expect> parseExpect(const QString &text)
{
    QVector<Expect> out;
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = item.split(QLatin1Char('='));
        const QStringList xy = kv.at(0).split(QLatin1Char(','));
        const QRgb c = kv.at(1) == QLatin1String("B") ? B : (0xFF000000u | kv.at(1).toUInt(nullptr, 16));
        out.append({QPoint(xy.at(0).toInt(), xy.at(1).toInt()), c});
    }
    return out;
}

QString hex(QRgb c) { return QString::number(c & 0xFFFFFF, 16).rightJustified(6, QLatin1Char('0')); }

// Two pictures as a download stores them: 4 x 3 of colours outside the table, and 2 x 2.
ModulePictures pictures()
{
    const QByteArray header = QByteArray::fromHex("00000020" "0002" "00040003" "00020002");
    QByteArray pixels;
    for (int i = 0; i < 12; ++i)
        pixels += QByteArray::fromHex("1234");
    pixels += QByteArray::fromHex("A5A5" "5A5A" "0841" "FFFF");
    return ModulePictures(header, pixels);
}

}  // namespace

class TestModuleRaster : public QObject {
    Q_OBJECT
private slots:
    void pixels_data()
    {
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QRect>("area");  // nothing outside it may differ from the page colour
        QTest::addColumn<QString>("expect");

        // Primitives: corners inclusive, nothing one pixel beyond.
        QTest::newRow("BOX corners") << "BOX(20,20,40,40,1);" << QRect(20, 20, 21, 21)
                                     << "20,20=f80000 40,40=f80000 40,20=f80000 30,20=f80000 30,30=B 21,21=B";
        QTest::newRow("BOX outside each corner") << "BOX(20,20,40,40,1);" << QRect(20, 20, 21, 21)
                                                 << "19,30=B 41,30=B 30,19=B 30,41=B 19,19=B 41,41=B";
        QTest::newRow("BOX reversed corners") << "BOX(40,40,20,20,1);" << QRect(20, 20, 21, 21)
                                              << "20,20=f80000 40,40=f80000 20,40=f80000 30,30=B";
        QTest::newRow("BOXF") << "BOXF(20,20,40,40,1);" << QRect(20, 20, 21, 21)
                              << "20,30=f80000 40,30=f80000 30,30=f80000 19,30=B 41,30=B 30,41=B";
        QTest::newRow("BOXF one pixel") << "BOXF(5,5,5,5,2);" << QRect(5, 5, 1, 1) << "5,5=00fc00";
        QTest::newRow("PS") << "PS(50,50,2);" << QRect(50, 50, 1, 1) << "50,50=00fc00 49,50=B 51,50=B 50,49=B 50,51=B";
        QTest::newRow("PS top-left edge") << "PS(0,0,2);" << QRect(0, 0, 1, 1) << "0,0=00fc00";
        QTest::newRow("PS bottom-right edge") << "PS(239,319,2);" << QRect(239, 319, 1, 1) << "239,319=00fc00";
        QTest::newRow("PS off the screen") << "PS(240,320,2);PS(-1,5,2);" << QRect() << "239,319=B 0,5=B";
        QTest::newRow("PL level") << "PL(10,100,30,100,3);" << QRect(10, 100, 21, 1)
                                  << "10,100=0000f8 30,100=0000f8 20,100=0000f8 9,100=B 31,100=B 20,99=B";
        QTest::newRow("PL steep") << "PL(5,10,7,30,4);" << QRect(5, 10, 3, 21)
                                  << "5,10=f8fc00 5,14=f8fc00 6,15=f8fc00 6,24=f8fc00 7,25=f8fc00 7,30=f8fc00 6,14=B 5,15=B";
        QTest::newRow("PL backwards") << "PL(30,50,10,40,4);" << QRect(10, 40, 21, 11)
                                      << "30,50=f8fc00 29,49=f8fc00 20,45=f8fc00 10,40=f8fc00 30,49=B 10,41=B";
        QTest::newRow("PL zero length") << "PL(60,60,60,60,5);" << QRect(60, 60, 1, 1) << "60,60=00fcf8";
        QTest::newRow("CIR extremes") << "CIR(100,100,10,4);" << QRect(90, 90, 21, 21)
                                      << "90,100=f8fc00 110,100=f8fc00 100,90=f8fc00 100,110=f8fc00 "
                                         "89,100=B 111,100=B 100,100=B 107,107=f8fc00 109,104=f8fc00 110,104=B";
        QTest::newRow("CIRF") << "CIRF(100,100,10,4);" << QRect(90, 90, 21, 21)
                              << "100,100=f8fc00 90,100=f8fc00 110,103=f8fc00 89,100=B 111,100=B 108,108=B";
        QTest::newRow("CIR radius 0") << "CIR(100,100,0,4);" << QRect(100, 100, 1, 1) << "100,100=f8fc00";

        // Texts and numbers, rectangle (20,30)-(79,59), empty texts so only the body shows.
        const QRect r(20, 30, 60, 30);
        QTest::newRow("TXT no background") << "TXT(20,30,60,30,16,'',4,0,0,1,3,4);" << QRect() << "20,30=B";
        QTest::newRow("TXT border") << "TXT(20,30,60,30,16,'',6,0,0,1,3,4);" << r
                                    << "20,30=f8fc00 21,31=f8fc00 22,32=B 79,59=f8fc00 78,58=f8fc00 77,57=B";
        QTest::newRow("TXT background") << "TXT(20,30,60,30,16,'',0,0,0,1,3,4);" << r << "20,30=0000f8 79,59=0000f8";
        QTest::newRow("TXT background and border")
            << "TXT(20,30,60,30,16,'',2,0,0,1,3,4);" << r << "20,30=f8fc00 21,31=f8fc00 22,32=0000f8 77,57=0000f8";
        QTest::newRow("NUM background and border")
            << "NUM(20,30,60,30,16,,0,2,0,0,1,3,4);" << r << "20,30=f8fc00 22,32=0000f8 79,30=f8fc00";
        // Buttons without pictures (mode 32 plus the style code).
        QTest::newRow("BUTTON no background") << "BUTTON(20,30,60,30,16,'',0,0,36,0,0,1,3,2,4);" << QRect() << "20,30=B";
        QTest::newRow("BUTTON border") << "BUTTON(20,30,60,30,16,'',0,0,38,0,0,1,3,2,4);" << r
                                       << "20,30=f8fc00 21,31=f8fc00 22,32=B 79,59=f8fc00";
        QTest::newRow("BUTTON raised") << "BUTTON(20,30,60,30,16,'',0,0,33,0,0,1,3,2,4);" << r
                                       << "20,30=c8ccc8 78,58=c8ccc8 21,31=0000f8 77,57=0000f8 "
                                          "79,30=B 79,31=404040 79,59=404040 20,59=B 21,59=404040";
        QTest::newRow("BUTTON raised, pressed") << "BUTTON(20,30,60,30,16,'',0,0,33,0,0,1,3,2,4);SET_BTN(0,1);" << r
                                                << "20,30=c8ccc8 21,31=00fc00 79,31=404040 79,30=B";
        QTest::newRow("BUTTON background") << "BUTTON(20,30,60,30,16,'',0,0,32,0,0,1,3,2,4);" << r
                                           << "20,30=0000f8 79,59=0000f8";
        QTest::newRow("BUTTON background and border") << "BUTTON(20,30,60,30,16,'',0,0,34,0,0,1,3,2,4);" << r
                                                      << "20,30=f8fc00 21,31=f8fc00 22,32=0000f8";
        QTest::newRow("BUTTON picture") << "BUTTON(20,30,60,30,16,'',1,1,16,0,0,1,3,2,4);" << r
                                        << "20,30=a0b428 21,30=5848d0 20,31=080808 21,31=f8fcf8 22,30=0000f8 20,32=0000f8";
        QTest::newRow("BUTTON picture, border") << "BUTTON(20,30,60,30,16,'',1,1,18,0,0,1,3,2,4);" << r
                                                << "21,31=f8fc00 22,32=a0b428 23,33=f8fcf8 24,32=0000f8";
        QTest::newRow("BTN") << "BTN(20,30,60,30,'',1,4,0,3);" << r << "20,30=0000f8 79,59=0000f8";
        // Progress bars: value, direction (+8 with a border), bar, background, border colours.
        QTest::newRow("PROG left half") << "PROG(20,30,60,30,50,0,0,0,0,1,3,4);" << r
                                        << "20,30=f80000 49,59=f80000 50,45=0000f8 79,59=0000f8";
        QTest::newRow("PROG left half, border") << "PROG(20,30,60,30,50,0,0,0,8,1,3,4);" << r
                                                << "20,30=f8fc00 21,31=f80000 49,45=f80000 50,45=0000f8 79,59=f8fc00";
        QTest::newRow("PROG bottom") << "PROG(20,30,60,30,50,0,0,0,1,1,3,4);" << r << "50,45=f80000 50,44=0000f8";
        QTest::newRow("PROG right quarter") << "PROG(20,30,60,30,25,0,0,0,2,1,3,4);" << r
                                            << "65,40=f80000 79,59=f80000 64,40=0000f8";
        QTest::newRow("PROG top full") << "PROG(20,30,60,30,100,0,0,0,3,1,3,4);" << r << "20,30=f80000 79,59=f80000";
        QTest::newRow("PROG empty") << "PROG(20,30,60,30,0,0,0,0,0,1,3,4);" << r << "20,30=0000f8";
        // Pointers: the square (30,30)-(69,69); the face is the page colour, the needle cut at
        // the square's edge.
        const QRect p(30, 30, 40, 40);
        QTest::newRow("POINT left") << "POINT(50,50,0,20,1,1);" << p << "30,50=f80000 50,50=f80000 40,50=f80000 40,49=B";
        QTest::newRow("POINT up") << "POINT(50,50,90,20,1,1);" << p << "50,30=f80000 50,40=f80000 51,40=B";
        QTest::newRow("POINT right, cut") << "POINT(50,50,180,20,1,1);" << p << "69,50=f80000 70,50=B";
        QTest::newRow("POINT thick") << "POINT(50,50,90,20,3,1);" << p << "49,40=f80000 51,40=f80000 52,40=B";
        QTest::newRow("POINT face") << "CLR(5);CLR(41);CLR(5);BOXF(30,30,69,69,41);POINT(50,50,90,20,1,1);" << QRect()
                                    << "31,31=00fcf8 50,35=f80000";
        // QR code: 25 modules over 42 pixels; finder patterns in three corners.
        QTest::newRow("QRCODE") << "QRCODE(20,30,hello,42,3);" << QRect(20, 30, 42, 42)
                                << "20,30=0000f8 21,31=B 61,30=0000f8 20,71=0000f8";
    }
    void pixels()
    {
        QFETCH(QString, instructions);
        QFETCH(QRect, area);
        QFETCH(QString, expect);
        ModuleRuntime rt(QSize(240, 320));
        rt.setPictures(pictures());
        int refused = 0;
        rt.log = [&refused](const QString &) { ++refused; };
        rt.submit(QStringLiteral("CLR(41);") + instructions, 0);
        QCOMPARE(refused, 0);
        const QImage img = rt.frame();
        for (const Expect &e : parseExpect(expect))
            QVERIFY2(rgb(img, e.at.x(), e.at.y()) == e.colour,
                     qPrintable(QStringLiteral("(%1,%2) is %3, not %4")
                                    .arg(e.at.x()).arg(e.at.y()).arg(hex(rgb(img, e.at.x(), e.at.y())), hex(e.colour))));
        if (instructions.startsWith(QLatin1String("CLR")))
            return;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (!area.contains(x, y) && rgb(img, x, y) != B)
                    QFAIL(qPrintable(QStringLiteral("(%1,%2) outside changed").arg(x).arg(y)));
    }

    // Glyphs are one-bit masks placed by the alignment codes: every pixel is the page, the
    // background or the text colour, and the text lies where its cells say.
    void text_data()
    {
        QTest::addColumn<QString>("instruction");
        QTest::addColumn<QRect>("cells");  // where the text's cells lie
        QTest::newRow("centred") << "TXT(20,30,60,30,16,'Hi中',0,0,0,1,3,0);" << QRect(34, 37, 32, 16);
        QTest::newRow("left, top") << "TXT(20,30,60,30,16,'Hi中',0,1,1,1,3,0);" << QRect(20, 30, 32, 16);
        QTest::newRow("right, bottom") << "TXT(20,30,60,30,16,'Hi中',0,2,2,1,3,0);" << QRect(48, 44, 32, 16);
        QTest::newRow("border, left") << "TXT(20,30,60,30,16,'Hi中',2,1,1,1,3,4);" << QRect(22, 32, 32, 16);
        QTest::newRow("24 pixels") << "TXT(20,30,60,30,24,'AB',0,1,1,1,3,0);" << QRect(20, 30, 24, 24);
        QTest::newRow("cut at the right") << "TXT(20,30,20,30,16,'ABCDEFGH',0,1,1,1,3,0);" << QRect(20, 30, 20, 16);
        QTest::newRow("button text") << "BUTTON(20,30,60,30,16,'OK',0,0,32,0,0,1,3,2,4);" << QRect(42, 37, 16, 16);
        QTest::newRow("DC16") << "DC16(20,30,'AB',1);" << QRect(20, 30, 16, 16);
    }
    void text()
    {
        QFETCH(QString, instruction);
        QFETCH(QRect, cells);
        ModuleRuntime rt(QSize(240, 320));
        rt.submit(QStringLiteral("CLR(41);") + instruction, 0);
        const QImage img = rt.frame();
        int lit = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = rgb(img, x, y);
                QVERIFY2(c == B || c == kBlue || c == kRed || c == kYellow, qPrintable(hex(c)));
                if (c == kRed) {
                    QVERIFY2(cells.contains(x, y), qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
                    ++lit;
                }
            }
        }
        QVERIFY(lit > 10);
    }

    // Every printable Latin character keeps all its strokes: drawn alone at each size, its ink
    // lies inside its cell, with the last column free, and is the very ink of the same character
    // drawn with no cell around it (a wide glyph centred in a narrow cell loses its outer strokes).
    void latinGlyphsAreWhole()
    {
        auto inked = [](const QImage &img, auto lit) {
            QRect box;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (lit(img, x, y))
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        for (const int size : {16, 24, 32, 48, 72, 96}) {
            const QFont font = ModuleGlyphs::latinFont(size);
            const int cw = ModuleRaster::cellWidth(QLatin1Char('M'), size);
            for (ushort u = 0x21; u <= 0x7E; ++u) {
                const QString what = QStringLiteral("'%1' at %2").arg(QChar(u)).arg(size);
                // Through the module's own text drawing, in an area far larger than the cell.
                QImage shown(size * 3, size * 3, QImage::Format_RGB32);
                shown.fill(Qt::black);
                const QPoint cell(size, size);
                ModuleRaster(&shown).text(QRect(cell, QSize(size * 2, size * 2)), QString(QChar(u)), size,
                                          AlignStart, AlignStart, kRed);
                const QRect ink = inked(shown, [](const QImage &i, int x, int y) { return i.pixel(x, y) == kRed; });
                QVERIFY2(!ink.isEmpty(), qPrintable(what));
                QVERIFY2(QRect(cell, QSize(cw - 1, size)).contains(ink), qPrintable(what));

                QImage free(size * 4, size * 4, QImage::Format_ARGB32_Premultiplied);
                free.fill(Qt::transparent);
                {
                    QPainter p(&free);
                    p.setFont(font);
                    p.setPen(Qt::white);
                    p.drawText(QPoint(size, size * 3), QString(QChar(u)));
                }
                auto covered = [](const QImage &i, int x, int y) { return qAlpha(i.pixel(x, y)) >= 128; };
                const QRect whole = inked(free, covered);
                QCOMPARE(ink.size(), whole.size());
                for (int y = 0; y < whole.height(); ++y)
                    for (int x = 0; x < whole.width(); ++x)
                        QVERIFY2(covered(free, whole.x() + x, whole.y() + y)
                                     == (shown.pixel(ink.x() + x, ink.y() + y) == kRed),
                                 qPrintable(what));
            }
            // Shrinking to fit keeps the letters readable: a capital is over half the size tall.
            QVERIFY2(QFontMetrics(font).capHeight() * 2 > size, qPrintable(QString::number(size)));
        }
    }

    // A control set again is redrawn inside its rectangle only, over what was drawn under it.
    void redrawKeepsTheRest()
    {
        ModuleRuntime rt(QSize(240, 320));
        rt.submit(QStringLiteral("CLR(41);BOXF(10,10,100,100,2);TXT(20,30,60,30,16,'AAAA',4,0,0,1,3,0);"
                                 "PROG(70,50,60,10,10,0,0,0,0,1,3,4);"), 0);
        const QImage before = rt.frame();
        rt.submit(QStringLiteral("SET_TXT(0,'B');SET_PROG(1,100);"), 0);
        const QImage after = rt.frame();
        const QRect text(20, 30, 60, 30), bar(70, 50, 60, 10);
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (!text.contains(x, y) && !bar.contains(x, y))
                    QCOMPARE(rgb(after, x, y), rgb(before, x, y));
        QCOMPARE(rgb(after, 21, 31), kGreen);  // the box under the transparent text stays
        QCOMPARE(rgb(after, 129, 59), kRed);    // the bar is full
        QVERIFY(before != after);
    }

    void invariants();
};

namespace {

// A random valid instruction and the rectangle it may change; controls it makes are tracked so
// that SET_ instructions can name them.
class Generator {
public:
    explicit Generator(quint32 seed) : m_rand(seed) {}

    struct Control {
        char kind;  // T text, N number, B button, P progress, O pointer
        QRect rect;
    };

    QString next(QRect *area, const QSize &screen)
    {
        const int pick = int(m_rand.bounded(100));
        auto c = [this] { return int(m_rand.bounded(64)); };
        auto co = [this] { return int(m_rand.bounded(-30, 150)); };
        auto sz = [this] { return int(m_rand.bounded(0, 90)); };
        auto code = [this](std::initializer_list<int> codes) { return *(codes.begin() + m_rand.bounded(int(codes.size()))); };
        const QStringList texts = {QString(), QStringLiteral("A"), QStringLiteral("Hello"), QStringLiteral("温度 23.5"),
                                   QStringLiteral("中文字"), QStringLiteral("ABCDEFGHIJKLMNOP")};
        auto text = [&] { return texts.at(int(m_rand.bounded(texts.size()))); };
        auto font = [this] { return int(QList<int>{16, 24, 32, 48, 72, 96, 16}.at(int(m_rand.bounded(7)))); };
        const int x = co(), y = co(), w = sz(), h = sz();
        if (pick < 2) {
            *area = QRect(QPoint(0, 0), screen);
            m_controls.clear();
            m_qr.clear();
            return QStringLiteral("CLR(%1);").arg(c());
        }
        if (pick < 22) {
            const int x2 = co(), y2 = co();
            const char *names[] = {"BOX", "BOXF", "PL"};
            const int k = int(m_rand.bounded(3));
            *area = QRect(QPoint(qMin(x, x2), qMin(y, y2)), QPoint(qMax(x, x2), qMax(y, y2)));
            return QStringLiteral("%1(%2,%3,%4,%5,%6);").arg(QLatin1String(names[k])).arg(x).arg(y).arg(x2).arg(y2).arg(c());
        }
        if (pick < 32) {
            const int r = int(m_rand.bounded(0, 70));
            *area = QRect(x - r, y - r, 2 * r + 1, 2 * r + 1);
            return QStringLiteral("%1(%2,%3,%4,%5);").arg(m_rand.bounded(2) ? QLatin1String("CIR") : QLatin1String("CIRF"))
                .arg(x).arg(y).arg(r).arg(c());
        }
        if (pick < 36) {
            *area = QRect(x, y, 1, 1);
            return QStringLiteral("PS(%1,%2,%3);").arg(x).arg(y).arg(c());
        }
        if (pick < 40) {
            const int n = int(m_rand.bounded(2));
            const QSize s = n == 0 ? QSize(4, 3) : QSize(2, 2);
            *area = QRect(x, y, qMin(w, s.width()), qMin(h, s.height()));
            return QStringLiteral("PIC(%1,%2,%3,%4,%5);").arg(n).arg(x).arg(y).arg(w).arg(h);
        }
        if (pick < 46) {
            const QString t = text();
            int size = font();
            QString name = QStringLiteral("DC%1").arg(size);
            QString tail;
            if (size >= 48) {
                tail = QStringLiteral(",%1").arg(m_rand.bounded(2));
            } else if (m_rand.bounded(2)) {
                name = QStringLiteral("DCV%1").arg(size);
            }
            int width = 0;
            for (QChar ch : t)
                width += ch.unicode() < 0x80 ? size / 2 : size;
            *area = QRect(x, y, width, size);
            return QStringLiteral("%1(%2,%3,'%4',%5%6);").arg(name).arg(x).arg(y).arg(t).arg(c()).arg(tail);
        }
        if (pick < 54) {
            *area = QRect(x, y, w, h);
            m_controls.append({'T', *area});
            return QStringLiteral("TXT(%1,%2,%3,%4,%5,'%6',%7,%8,%9,%10,%11,%12);")
                .arg(x).arg(y).arg(w).arg(h).arg(font()).arg(text()).arg(code({0, 2, 4, 6, 9}))
                .arg(m_rand.bounded(3)).arg(m_rand.bounded(3)).arg(c()).arg(c()).arg(c());
        }
        if (pick < 58) {
            *area = QRect(x, y, w, h);
            m_controls.append({'N', *area});
            return QStringLiteral("NUM(%1,%2,%3,%4,%5,%6,2,%7,%8,%9,%10,%11,%12);")
                .arg(x).arg(y).arg(w).arg(h).arg(font()).arg(m_rand.bounded(-500, 500) / 10.0)
                .arg(code({0, 2, 4, 6})).arg(m_rand.bounded(3)).arg(m_rand.bounded(3)).arg(c()).arg(c()).arg(c());
        }
        if (pick < 66) {
            *area = QRect(x, y, w, h);
            m_controls.append({'B', *area});
            const int mode = code({16, 32, 64});
            const bool pictured = mode != 32;
            return QStringLiteral("BUTTON(%1,%2,%3,%4,%5,'%6',%7,%8,%9,%10,%11,%12,%13,%14,%15);")
                .arg(x).arg(y).arg(w).arg(h).arg(font()).arg(pictured ? QString() : text())
                .arg(pictured ? m_rand.bounded(2) : 0).arg(pictured ? m_rand.bounded(2) : 0)
                .arg(mode + code({0, 1, 2, 4, 6})).arg(m_rand.bounded(3)).arg(m_rand.bounded(3))
                .arg(c()).arg(c()).arg(c()).arg(c());
        }
        if (pick < 72) {
            *area = QRect(x, y, w, h);
            m_controls.append({'P', *area});
            const int mode = code({0, 2, 3});
            return QStringLiteral("PROG(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12);")
                .arg(x).arg(y).arg(w).arg(h).arg(m_rand.bounded(101)).arg(mode ? m_rand.bounded(2) : 0)
                .arg(mode ? m_rand.bounded(2) : 0).arg(mode).arg(m_rand.bounded(4) + code({0, 8}))
                .arg(c()).arg(c()).arg(c());
        }
        if (pick < 76) {
            const int l = int(m_rand.bounded(0, 50));
            *area = QRect(x - l, y - l, 2 * l, 2 * l);
            m_controls.append({'O', *area});
            return QStringLiteral("POINT(%1,%2,%3,%4,%5,%6);").arg(x).arg(y).arg(m_rand.bounded(361)).arg(l)
                .arg(m_rand.bounded(0, 8)).arg(c());
        }
        if (pick < 79) {
            const int s = int(m_rand.bounded(1, 80));
            *area = QRect(x, y, s, s);
            m_qr.append(*area);
            return QStringLiteral("QRCODE(%1,%2,%3,%4,%5);").arg(x).arg(y).arg(m_rand.bounded(2) ? QStringLiteral("hello")
                                                                                                    : QStringLiteral("a,b(c)"))
                .arg(s).arg(c());
        }
        if (pick < 81) {
            *area = QRect();
            return QStringLiteral("SBC(%1);").arg(c());
        }
        if (pick < 83 && !m_qr.isEmpty()) {
            const int n = int(m_rand.bounded(m_qr.size()));
            *area = m_qr.at(n);
            return QStringLiteral("QBAR(%1,%2);").arg(n).arg(text().isEmpty() ? QStringLiteral("x") : QStringLiteral("text %1").arg(pick));
        }
        if (m_controls.isEmpty()) {
            *area = QRect(x, y, 1, 1);
            return QStringLiteral("PS(%1,%2,%3);").arg(x).arg(y).arg(c());
        }
        // Something about a control already there.
        const int n = int(m_rand.bounded(m_controls.size()));
        const Control &k = m_controls.at(n);
        *area = k.rect;
        switch (m_rand.bounded(3) == 0 ? 'C' : k.kind) {
        case 'T':
            return QStringLiteral("SET_TXT(%1,'%2');").arg(n).arg(text());
        case 'B':
            return m_rand.bounded(2) ? QStringLiteral("SET_BTN(%1,%2);").arg(n).arg(m_rand.bounded(2))
                                     : QStringLiteral("SET_BTN_IMG(%1,%2,%3);").arg(n).arg(m_rand.bounded(2)).arg(m_rand.bounded(2));
        case 'N':
            return QStringLiteral("SET_NUM(%1,%2,3);").arg(n).arg(m_rand.bounded(-999, 999));
        case 'P':
            return QStringLiteral("SET_PROG(%1,%2);").arg(n).arg(m_rand.bounded(101));
        case 'O':
            return QStringLiteral("SET_POINT(%1,%2);").arg(n).arg(m_rand.bounded(361));
        default: {
            const char *names[] = {"SET_BCOLOR", "SET_BCOLOR2", "SET_FCOLOR", "SET_FRAME_COLOR"};
            return QStringLiteral("%1(%2,%3);").arg(QLatin1String(names[m_rand.bounded(4)])).arg(n).arg(c());
        }
        }
    }

private:
    QRandomGenerator m_rand;
    QVector<Control> m_controls;
    QVector<QRect> m_qr;
};

}  // namespace

void TestModuleRaster::invariants()
{
    constexpr int kInstructions = 6000;
    ModuleRuntime rt(QSize(160, 120));
    rt.setPictures(pictures());
    // Every value a pixel may take: the table in RGB565 and the pictures' own pixels.
    std::vector<bool> allowed(1 << 24, false);
    for (int n = 0; n < ColorTable::Count; ++n)
        allowed[ColorTable::colorAt(n).rgb() & 0xFFFFFF] = true;
    for (const QImage &img : rt.pictures().images())
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                allowed[img.pixel(x, y) & 0xFFFFFF] = true;

    int refused = 0;
    QString lastRefusal;
    rt.log = [&](const QString &why) { ++refused, lastRefusal = why; };
    Generator gen(20261208);
    rt.submit(QStringLiteral("CLR(0);"), 0);
    QImage before = rt.frame();
    for (int i = 0; i < kInstructions; ++i) {
        QRect area;
        const QString ins = gen.next(&area, before.size());
        rt.submit(ins, 0);
        const QImage after = rt.frame();
        const char *bad = nullptr;
        QPoint at;
        for (int y = 0; y < after.height() && !bad; ++y) {
            const QRgb *a = reinterpret_cast<const QRgb *>(after.constScanLine(y));
            const QRgb *b = reinterpret_cast<const QRgb *>(before.constScanLine(y));
            for (int x = 0; x < after.width(); ++x) {
                if (!allowed[a[x] & 0xFFFFFF]) {
                    bad = "a colour outside the table and the pictures";
                } else if (a[x] != b[x] && !area.contains(x, y)) {
                    bad = "a pixel outside the instruction's rectangle changed";
                }
                if (bad) {
                    at = QPoint(x, y);
                    break;
                }
            }
        }
        if (bad)
            QFAIL(qPrintable(QStringLiteral("%1 at (%2,%3) after instruction %4: %5")
                                 .arg(QLatin1String(bad)).arg(at.x()).arg(at.y()).arg(i).arg(ins)));
        before = after;
    }
    // The stream must really draw: hardly anything may be refused.
    QVERIFY2(refused < kInstructions / 50, qPrintable(QStringLiteral("%1 refused, e.g. %2").arg(refused).arg(lastRefusal)));
}

QTEST_MAIN(TestModuleRaster)
#include "tst_moduleraster.moc"
