#include "edit/editrules.h"
#include "edit/propertyedit.h"
#include "edit/propertyrows.h"
#include "model/qmydrawtype.h"
#include "library/picturelibrary.h"

#include <QtTest>

Q_DECLARE_METATYPE(QVector<QVector<PropertyRow>>)

// The edit rules on their own: what no value may do however large the control or the page.
class TestEditRules : public QObject {
    Q_OBJECT
private slots:
    void clampsNeverLeaveThePage_data();
    void clampsNeverLeaveThePage();
    void numberGrammarAccepts_data();
    void numberGrammarAccepts();
    void largeFontCharacters_data();
    void largeFontCharacters();
    void textLimitCountsModuleBytes();
    void offeredLists();
    void imagePairsExcludeEachOther();
    void pageOrientationKeepsTheSides();
    void sharedRowsOfSeveralKinds_data();
    void sharedRowsOfSeveralKinds();
};

void TestEditRules::clampsNeverLeaveThePage_data()
{
    QTest::addColumn<int>("got");
    QTest::addColumn<int>("expected");
    // A control wider than the page goes to 0, never to a negative position.
    QTest::newRow("x of a control wider than the page") << EditRules::clampPosition(30, 300, 240) << 0;
    QTest::newRow("x at the far edge") << EditRules::clampPosition(200, 40, 240) << 200;
    QTest::newRow("x one past the edge") << EditRules::clampPosition(201, 40, 240) << 200;
    QTest::newRow("width at a damaged negative x") << EditRules::clampSize(500, -50, 240, 2) << 240;
    QTest::newRow("width at x beyond the page") << EditRules::clampSize(50, 300, 240, 2) << 1;
    QTest::newRow("pointer wider than the page") << EditRules::clampPointerCentre(120, 300, 240) << 150;
    QTest::newRow("pointer centre fits") << EditRules::clampPointerCentre(120, 50, 240) << 120;
    QTest::newRow("pointer length 0") << EditRules::clampPointerLength(0, 120, 120, 240, 320) << 5;
    QTest::newRow("pointer length at the edge") << EditRules::clampPointerLength(10, 0, 120, 240, 320) << 1;
    QTest::newRow("circle larger than the page") << EditRules::clampCircleCentre(200, 100, 150, 240) << 150;
    QTest::newRow("circle moving inwards across the edge") << EditRules::clampCircleCentre(230, 235, 20, 240) << 230;
    QTest::newRow("circle moving outwards across the edge") << EditRules::clampCircleCentre(236, 230, 20, 240) << 220;
    QTest::newRow("radius on the edge") << EditRules::clampCircleRadius(10, 0, 100, 240, 320) << 1;
    QTest::newRow("radius 0") << EditRules::clampCircleRadius(0, 100, 100, 240, 320) << 5;
    QTest::newRow("point on a page of 0") << EditRules::clampPoint(10, 0) << 0;
}

void TestEditRules::clampsNeverLeaveThePage()
{
    QFETCH(int, got);
    QFETCH(int, expected);
    QCOMPARE(got, expected);
}

void TestEditRules::numberGrammarAccepts_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("stored");
    QTest::newRow("zero") << "0" << "0";
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("0.5") << "0.5" << "0.5000";
    QTest::newRow("-1.5") << "-1.5" << "-1.5000";
    QTest::newRow("four decimals") << "3.1416" << "3.1416";
    QTest::newRow("point last") << "5." << "5.0000";
    QTest::newRow("64 digits") << QString(64, QLatin1Char('9')) << QString(64, QLatin1Char('9'));
    QTest::newRow("60 + 4 decimals") << QString(59, QLatin1Char('9')) + ".1234" << QString(59, QLatin1Char('9')) + ".1234";
}

void TestEditRules::numberGrammarAccepts()
{
    QFETCH(QString, input);
    QFETCH(QString, stored);
    const EditRules::NumberCheck c = EditRules::checkNumberText(input);
    QVERIFY2(c.ok, qPrintable(c.message));
    QCOMPARE(c.value, stored);
}

void TestEditRules::largeFontCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("letters and digits") << "Ab09" << true;
    QTest::newRow("punctuation") << "`~!@#$%^&*()_-+=<>,./\\:;?[]" << true;
    QTest::newRow("space") << "a b" << false;
    QTest::newRow("double quote") << "a\"" << false;
    QTest::newRow("apostrophe") << "a'" << false;
    QTest::newRow("brace") << "{" << false;
    QTest::newRow("bar") << "|" << false;
    QTest::newRow("Chinese") << QString::fromUtf8("中") << false;
    QTest::newRow("accented") << QString::fromUtf8("é") << false;
}

void TestEditRules::largeFontCharacters()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(EditRules::isLargeFontText(text), accepted);
    QCOMPARE(EditRules::checkControlText(text, 72).isEmpty(), accepted);
    QVERIFY(EditRules::checkControlText(text, 48).isEmpty());
}

void TestEditRules::textLimitCountsModuleBytes()
{
    // Two bytes per Chinese character whatever the host's locale.
    QVERIFY(EditRules::checkControlText(QString(32, QChar(0x4E2D)), 16).isEmpty());
    QVERIFY(!EditRules::checkControlText(QString(32, QChar(0x4E2D)) + QLatin1Char('a'), 16).isEmpty());
    QVERIFY(EditRules::checkControlText(QString(64, QLatin1Char('a')), 16).isEmpty());
}

void TestEditRules::offeredLists()
{
    QCOMPARE(EditRules::qrCodeSizes(128, 128), (QList<int>{53, 106}));
    QCOMPARE(EditRules::qrCodeSizes(80, 160), (QList<int>{53}));
    QCOMPARE(EditRules::qrCodeSizes(53, 200), QList<int>());
    QCOMPARE(EditRules::qrCodeSizes(240, 54), (QList<int>{53}));
    QCOMPARE(EditRules::fontSizesFor(QStringLiteral("128*128(SQQVGA)")), (QList<int>{16, 24, 32}));
    QCOMPARE(EditRules::fontSizesFor(QStringLiteral("128*160(QQVGA)")), (QList<int>{16, 24, 32}));
    QCOMPARE(EditRules::fontSizesFor(QStringLiteral("80*160(QQVGA2)")), (QList<int>{16, 24, 32, 48, 72}));
    QCOMPARE(EditRules::fontSizesFor(QStringLiteral("240*320(QVGA-1)")).size(), 6);
    QCOMPARE(EditRules::fontSizesFor(QString()).size(), 6);
    QCOMPARE(EditRules::resolutionIndex(QStringLiteral("240*320(anything)")), 7);
    QCOMPARE(EditRules::resolutionIndex(QStringLiteral("240*320")), -1);
}

void TestEditRules::imagePairsExcludeEachOther()
{
    PictureLibrary pictures;
    for (int i = 0; i < 5; ++i)
        pictures.append(PictureInfo());
    const EditContext ctx{240, 320, QString(), &pictures, {}};
    ControlRecord b = ControlRecord::make(ControlKind::Button, 0);
    b.imageNum = 2;
    b.cutImageNum = 4;
    // Building a panel never resolves such a pair; only an edit does.
    QCOMPARE(PropertyEdit::editControl(b, QStringLiteral("cutImageNum"), QStringLiteral("3"), ctx).status,
             EditOutcome::Stored);
    QCOMPARE(b.cutImageNum, 3);
    QCOMPARE(b.imageNum, -1);
    QCOMPARE(PropertyEdit::editControl(b, QStringLiteral("cutImageNum"), QString(), ctx).status, EditOutcome::Stored);
    QCOMPARE(b.cutImageNum, -1);
    QCOMPARE(PropertyEdit::editControl(b, QStringLiteral("pressImageNum"), QStringLiteral("5"), ctx).status,
             EditOutcome::Refused);
    QCOMPARE(b.pressImageNum, -1);
    // A text control has no pictures at all.
    ControlRecord t = ControlRecord::make(ControlKind::Text, 0);
    QCOMPARE(PropertyEdit::editControl(t, QStringLiteral("imageNum"), QStringLiteral("1"), ctx).status,
             EditOutcome::UnknownKey);
}

void TestEditRules::pageOrientationKeepsTheSides()
{
    PageFields page;
    page.resolutionText = QStringLiteral("240*320(QVGA-1)");
    page.frameW = 240;
    page.frameH = 320;
    const PictureLibrary none;
    PropertyEdit::editPage(page, QStringLiteral("screenType"), QStringLiteral("3"), none);
    QCOMPARE(QSize(page.frameW, page.frameH), QSize(320, 240));
    PropertyEdit::editPage(page, QStringLiteral("screenType"), QStringLiteral("1"), none);
    QCOMPARE(QSize(page.frameW, page.frameH), QSize(320, 240));
    PropertyEdit::editPage(page, QStringLiteral("vga"), QStringLiteral("128*160(QQVGA)"), none);
    QCOMPARE(QSize(page.frameW, page.frameH), QSize(160, 128));
    QCOMPARE(PropertyEdit::editPage(page, QStringLiteral("vga"), QStringLiteral("1*1"), none).status,
             EditOutcome::Refused);
    QCOMPARE(page.resolutionText, QStringLiteral("128*160(QQVGA)"));
}

void TestEditRules::sharedRowsOfSeveralKinds_data()
{
    QTest::addColumn<QVector<QVector<PropertyRow>>>("lists");
    QTest::addColumn<QStringList>("keys");
    using K = ControlKind;
    const auto c = [](K k) { return PropertyRows::controlRows(k); };
    const auto p = [](int k) { return PropertyRows::primitiveRows(k); };
    QTest::newRow("two texts: every editable row") << QVector<QVector<PropertyRow>>{c(K::Text), c(K::Text)}
        << QStringList{"x", "y", "w", "h", "text", "fontSize", "fontColorNum", "hAlign", "vAlign", "style",
                       "styleColorNum", "backgroundColorNum"};
    // The modes of a button are other choices than those of a text: not shared.
    QTest::newRow("text and button") << QVector<QVector<PropertyRow>>{c(K::Text), c(K::Button)}
        << QStringList{"x", "y", "w", "h", "text", "fontSize", "fontColorNum", "hAlign", "vAlign", "styleColorNum",
                       "backgroundColorNum"};
    QTest::newRow("text and pointer") << QVector<QVector<PropertyRow>>{c(K::Text), c(K::Pointer)}
        << QStringList{"fontColorNum"};
    QTest::newRow("text, number and QR code") << QVector<QVector<PropertyRow>>{c(K::Text), c(K::Number), c(K::QRCode)}
        << QStringList{"x", "y", "text", "fontColorNum"};
    QTest::newRow("box and circle") << QVector<QVector<PropertyRow>>{p(QMyDrawType::Box), p(QMyDrawType::Circle)}
        << QStringList{"drawColorNum"};
    QTest::newRow("point and line") << QVector<QVector<PropertyRow>>{p(QMyDrawType::Point), p(QMyDrawType::Line)}
        << QStringList{"drawX1", "drawY1", "drawColorNum"};
    QTest::newRow("control and primitive") << QVector<QVector<PropertyRow>>{c(K::Text), p(QMyDrawType::Box)}
        << QStringList{};
}

void TestEditRules::sharedRowsOfSeveralKinds()
{
    QFETCH(QVector<QVector<PropertyRow>>, lists);
    QFETCH(QStringList, keys);
    QStringList got;
    for (const PropertyRow &r : PropertyRows::sharedRows(lists))
        got << r.key;
    QCOMPARE(got, keys);
}

QTEST_GUILESS_MAIN(TestEditRules)
#include "tst_editrules.moc"
