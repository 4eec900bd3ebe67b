#include "app/setscreensizedlg.h"
#include "model/resolutionlist.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestSetScreenSizeDlg : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheListAndPortrait();
    void acceptGivesChoiceAndPageSize_data();
    void acceptGivesChoiceAndPageSize();
    void landscapeOnlyResolutionsForceOrientation1();
    void leavingALandscapeOnlyResolutionKeepsTheCheck();
    void cancelKeepsTheLastAcceptedChoice();
};

static QRadioButton *radio(SetScreenSizeDlg &d, int code)
{
    QRadioButton *all[] = {d.rbPorTrait_0, d.rbLandScape_90, d.rbPorTrait_180, d.rbLandScape_270};
    return all[code];
}

void TestSetScreenSizeDlg::startsWithTheListAndPortrait()
{
    SetScreenSizeDlg d;
    QCOMPARE(d.cbVGA->count(), 25);
    for (int i = 0; i < d.cbVGA->count(); ++i)
        QCOMPARE(d.cbVGA->itemText(i), ResolutionList().at(i));
    QCOMPARE(d.cbVGA->currentIndex(), 0);
    QCOMPARE(d.cbVGA->maxVisibleItems(), 15);
    QVERIFY(d.rbPorTrait_0->isChecked());
    QCOMPARE(d.resolutionText(), QString());
    QCOMPARE(d.screenType(), 0);
    QVERIFY(d.isHidden());
}

void TestSetScreenSizeDlg::acceptGivesChoiceAndPageSize_data()
{
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("screenType");
    QTest::addColumn<QSize>("page");
    QTest::newRow("QVGA portrait") << "240*320(QVGA-1)" << 0 << 0 << QSize(240, 320);
    QTest::newRow("QVGA landscape 1") << "240*320(QVGA-1)" << 1 << 1 << QSize(320, 240);
    QTest::newRow("QVGA portrait 2") << "240*320(QVGA-1)" << 2 << 2 << QSize(240, 320);
    QTest::newRow("QVGA landscape 2") << "240*320(QVGA-1)" << 3 << 3 << QSize(320, 240);
    QTest::newRow("landscape-first text, portrait") << "320*240(QVGA-3)" << 0 << 0 << QSize(240, 320);
    // These four only offer orientation 1, whatever was checked before.
    QTest::newRow("HHVGA forced") << "480*272(HHVGA)" << 0 << 1 << QSize(480, 272);
    QTest::newRow("WVGA-1 forced") << "800*480(WVGA-1)" << 2 << 1 << QSize(800, 480);
    QTest::newRow("WVGA-2 forced") << "480*800(WVGA-2)" << 3 << 1 << QSize(800, 480);
    QTest::newRow("WSVGA forced") << "1024*600(WSVGA)" << 0 << 1 << QSize(1024, 600);
}

void TestSetScreenSizeDlg::acceptGivesChoiceAndPageSize()
{
    QFETCH(QString, resolution);
    QFETCH(int, orientation);
    QFETCH(int, screenType);
    QFETCH(QSize, page);
    SetScreenSizeDlg d;
    radio(d, orientation)->setChecked(true);
    d.cbVGA->setCurrentText(resolution);
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    QCOMPARE(d.result(), 1);
    QCOMPARE(d.resolutionText(), resolution);
    QCOMPARE(d.screenType(), screenType);
    QCOMPARE(pageSizeFor(d.resolutionText(), d.screenType()), page);
}

void TestSetScreenSizeDlg::landscapeOnlyResolutionsForceOrientation1()
{
    SetScreenSizeDlg d;
    d.cbVGA->setCurrentText(QStringLiteral("800*480(WVGA-1)"));
    QVERIFY(d.rbLandScape_90->isEnabled());
    QVERIFY(d.rbLandScape_90->isChecked());
    QVERIFY(!d.rbPorTrait_0->isEnabled());
    QVERIFY(!d.rbPorTrait_180->isEnabled());
    QVERIFY(!d.rbLandScape_270->isEnabled());
}

void TestSetScreenSizeDlg::leavingALandscapeOnlyResolutionKeepsTheCheck()
{
    SetScreenSizeDlg d;
    d.cbVGA->setCurrentText(QStringLiteral("1024*600(WSVGA)"));
    d.cbVGA->setCurrentText(QStringLiteral("128*160(QQVGA)"));
    for (int code = 0; code < 4; ++code)
        QVERIFY(radio(d, code)->isEnabled());
    QVERIFY(d.rbLandScape_90->isChecked());
}

void TestSetScreenSizeDlg::cancelKeepsTheLastAcceptedChoice()
{
    SetScreenSizeDlg d;
    d.cbVGA->setCurrentText(QStringLiteral("240*320(QVGA-1)"));
    d.rbLandScape_270->setChecked(true);
    d.on_btnOK_clicked();
    d.cbVGA->setCurrentText(QStringLiteral("640*480(VGA)"));
    d.rbPorTrait_0->setChecked(true);
    d.on_btnCancel_clicked();
    QCOMPARE(d.result(), 0);
    QCOMPARE(d.resolutionText(), QStringLiteral("240*320(QVGA-1)"));
    QCOMPARE(d.screenType(), 3);
}

QTEST_MAIN(TestSetScreenSizeDlg)
#include "tst_setscreensizedlg.moc"
