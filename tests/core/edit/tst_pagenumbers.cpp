// Page numbers following pages moved or taken out, as far as the boot script.
#include "edit/pagenumbers.h"
#include "model/bootsettings.h"
#include "script/scripts.h"

#include <QtTest>

class TestPageNumbers : public QObject {
    Q_OBJECT
private slots:
    void afterMove_data();
    void afterMove();
    void afterRemoval();
    void bootScriptFollowsAMovedPage();
};

void TestPageNumbers::afterMove_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("where");  // where pages 0..4 and "none" (-1) end up
    QTest::newRow("down one") << 1 << 2 << QList<int>{0, 2, 1, 3, 4, -1};
    QTest::newRow("up one") << 3 << 2 << QList<int>{0, 1, 3, 2, 4, -1};
    QTest::newRow("first to last") << 0 << 4 << QList<int>{4, 0, 1, 2, 3, -1};
    QTest::newRow("last to first") << 4 << 0 << QList<int>{1, 2, 3, 4, 0, -1};
    QTest::newRow("in place") << 2 << 2 << QList<int>{0, 1, 2, 3, 4, -1};
}

void TestPageNumbers::afterMove()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, where);
    const QList<int> pages{0, 1, 2, 3, 4, -1};
    QList<int> got;
    for (int p : pages)
        got << PageNumbers::afterMove(p, from, to);
    QCOMPARE(got, where);
    // Every page lands on a place of its own.
    QList<int> places = got.mid(0, 5);
    std::sort(places.begin(), places.end());
    QCOMPARE(places, pages.mid(0, 5));
}

void TestPageNumbers::afterRemoval()
{
    QList<int> got;
    for (int p : {-1, 0, 1, 2, 3})
        got << PageNumbers::afterRemoval(p, 1);
    QCOMPARE(got, (QList<int>{-1, 0, -1, 1, 2}));
}

void TestPageNumbers::bootScriptFollowsAMovedPage()
{
    ProjectData d;
    for (int i = 0; i < 4; ++i) {
        PageData p;
        p.backgroundNum = i;  // tells the pages apart
        d.pages.append(p);
    }
    d.bootPage = 2;
    d.currentPage = 3;
    QVERIFY(PageNumbers::movePage(d, 2, 0));
    QCOMPARE(d.pages.at(0).backgroundNum, 2);
    QCOMPARE(d.bootPage, 0);
    QCOMPARE(d.currentPage, 3);
    QVERIFY(buildBootScript(bootSettingsOf(d)).endsWith(QStringLiteral("JUMP(0);\r\n")));
    QVERIFY(PageNumbers::movePage(d, 1, 3));
    QCOMPARE(d.currentPage, 2);
    QCOMPARE(d.bootPage, 0);
    // Outside the project: nothing moves.
    const ProjectData before = d;
    QVERIFY(!PageNumbers::movePage(d, 0, 4));
    QVERIFY(!PageNumbers::movePage(d, -1, 0));
    QVERIFY(d == before);
}

QTEST_APPLESS_MAIN(TestPageNumbers)
#include "tst_pagenumbers.moc"
