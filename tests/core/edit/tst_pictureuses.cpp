#include "edit/picturereferences.h"
#include "edit/pictureuses.h"
#include "file/projectfile.h"
#include "model/bootsettings.h"
#include "model/pagefit.h"

#include <QtTest>

// Who uses a picture, the way back from a deletion, and the boot page a file keeps.
class TestPictureUses : public QObject {
    Q_OBJECT
private slots:
    void describesUses_data();
    void describesUses();
    void restoreUndoesRemoval_data();
    void restoreUndoesRemoval();
    void bootPageFromTheFile_data();
    void bootPageFromTheFile();
    void itemsMovedInside_data();
    void itemsMovedInside();
};

namespace {

// Page 0: background 1; page 2: a button (control 3) with picture 1 pressed and 4 released,
// and QR code 0 (no pictures); boot animation 2..4.
ProjectData sample()
{
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.pages.resize(3);
    d.pages[0].imageNum = 1;
    d.pages[1].imageNum = 5;
    ControlRecord b = ControlRecord::make(ControlKind::Button, 3);
    b.imageNum = 4;
    b.pressImageNum = 1;
    d.pages[2].controls << ControlRecord::make(ControlKind::QRCode, 0) << b;
    d.logo1 = 2;
    d.logo2 = 4;
    return d;
}

}  // namespace

void TestPictureUses::describesUses_data()
{
    QTest::addColumn<QVector<int>>("numbers");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<int>("maxPerLine");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unused") << QVector<int>{0} << 3 << 3 << QString();
    QTest::newRow("background and control") << QVector<int>{1} << 3 << 3 << QStringLiteral("图片1被第0页背景、第2页控件3使用");
    QTest::newRow("animation and control") << QVector<int>{4} << 3 << 3 << QStringLiteral("图片4被第2页控件3、开机动画使用");
    QTest::newRow("uses cut short") << QVector<int>{1} << 3 << 1 << QStringLiteral("图片1被第0页背景等2处使用");
    QTest::newRow("lines cut short") << QVector<int>{1, 2, 3, 4, 5} << 2 << 3
                                     << QStringLiteral("图片1被第0页背景、第2页控件3使用\n图片2被开机动画使用\n等5张图片正被使用");
}

void TestPictureUses::describesUses()
{
    QFETCH(QVector<int>, numbers);
    QFETCH(int, maxLines);
    QFETCH(int, maxPerLine);
    QFETCH(QString, expected);
    QCOMPARE(PictureUses::describe(PictureUses::usesOf(sample(), numbers), maxLines, maxPerLine), expected);
}

void TestPictureUses::restoreUndoesRemoval_data()
{
    QTest::addColumn<QVector<int>>("removed");
    QTest::newRow("first") << QVector<int>{0};
    QTest::newRow("used by three") << QVector<int>{1};
    QTest::newRow("two apart") << QVector<int>{1, 4};
    QTest::newRow("animation ends") << QVector<int>{2, 4};
    QTest::newRow("all") << QVector<int>{0, 1, 2, 3, 4, 5};
}

void TestPictureUses::restoreUndoesRemoval()
{
    QFETCH(QVector<int>, removed);
    const ProjectData before = sample();
    const ProjectData after = PictureReferences::withPicturesRemoved(before, removed);
    QCOMPARE(PictureUses::withPicturesRestored(after, removed, before), before);
    // Numbers after removing 1 and 4 from 0..6: 0 stays, 2 -> 1, 3 -> 2, 5 -> 3, 6 -> 4.
    const QVector<int> gone{1, 4};
    QCOMPARE(PictureUses::numberBefore(0, gone), 0);
    QCOMPARE(PictureUses::numberBefore(1, gone), 2);
    QCOMPARE(PictureUses::numberBefore(2, gone), 3);
    QCOMPARE(PictureUses::numberBefore(3, gone), 5);
    QCOMPARE(PictureUses::numberBefore(4, gone), 6);
    QCOMPARE(PictureUses::numberBefore(-1, gone), -1);
}

void TestPictureUses::bootPageFromTheFile_data()
{
    QTest::addColumn<QByteArray>("root");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("boot");
    // currentPage is 2 in every row; three pages.
    QTest::newRow("none: the page shown") << QByteArray() << -1 << 2;
    QTest::newRow("picked") << QByteArray("<bootPage>0</bootPage>") << 0 << 0;
    QTest::newRow("spaces") << QByteArray("<bootPage> 1 </bootPage>") << 1 << 1;
    QTest::newRow("no such page") << QByteArray("<bootPage>3</bootPage>") << -1 << 2;
    QTest::newRow("negative") << QByteArray("<bootPage>-4</bootPage>") << -1 << 2;
    QTest::newRow("not a number") << QByteArray("<bootPage>one</bootPage>") << -1 << 2;
    QTest::newRow("after the pages") << QByteArray("AFTER<bootPage>1</bootPage>") << 1 << 1;
}

void TestPictureUses::bootPageFromTheFile()
{
    QFETCH(QByteArray, root);
    QFETCH(int, stored);
    QFETCH(int, boot);
    const bool after = root.startsWith("AFTER");
    if (after)
        root = root.mid(5);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui>\n    <frame frame=\"frame\">\n"
                     "        <frameW>240</frameW>\n        <frameH>320</frameH>\n"
                     "        <currentPage>2</currentPage>\n    </frame>\n";
    if (!after)
        xml += root;
    xml += "<page id=\"1\"/><page id=\"2\"/><page id=\"3\"/>";
    if (after)
        xml += root;
    xml += "</ui>\n";
    for (bool fast : {true, false}) {
        ProjectData d;
        QVERIFY(ProjectFile::readFromBytesWith(xml, 0, &d, QString(), fast).ok);
        QCOMPARE(d.bootPage, stored);
        QCOMPARE(bootSettingsOf(d).bootPage, boot);
    }
    // Written back only when picked, right after "frame".
    ProjectData d;
    QVERIFY(ProjectFile::readFromBytes(xml, 0, &d).ok);
    const QByteArray written = ProjectFile::toXml(d);
    QCOMPARE(written.contains("<bootPage>"), stored >= 0);
    if (stored >= 0)
        QVERIFY(written.contains("    </frame>\n    <bootPage>" + QByteArray::number(stored) + "</bootPage>\n    <page id=\"1\">"));
}

void TestPictureUses::itemsMovedInside_data()
{
    QTest::addColumn<QRect>("control");
    QTest::addColumn<bool>("outside");
    QTest::addColumn<bool>("wholly");
    QTest::addColumn<QPoint>("movedTo");
    // Page 100 x 80.
    QTest::newRow("inside") << QRect(10, 10, 30, 20) << false << false << QPoint(10, 10);
    QTest::newRow("touching the edges") << QRect(70, 60, 30, 20) << false << false << QPoint(70, 60);
    QTest::newRow("one pixel over") << QRect(71, 60, 30, 20) << true << false << QPoint(70, 60);
    QTest::newRow("wholly right and below") << QRect(150, 90, 30, 20) << true << true << QPoint(70, 60);
    QTest::newRow("left of the page") << QRect(-40, 5, 30, 20) << true << true << QPoint(0, 5);
    QTest::newRow("wider than the page") << QRect(20, 5, 120, 20) << true << false << QPoint(0, 5);
}

void TestPictureUses::itemsMovedInside()
{
    QFETCH(QRect, control);
    QFETCH(bool, outside);
    QFETCH(bool, wholly);
    QFETCH(QPoint, movedTo);
    PageData page;
    ControlRecord c = ControlRecord::make(ControlKind::Text, 4);
    c.x = control.x();
    c.y = control.y();
    c.w = control.width();
    c.h = control.height();
    page.controls << c;
    const QVector<PageFit::Item> items = PageFit::itemsOutside({page}, 100, 80);
    QCOMPARE(items.size(), outside ? 1 : 0);
    if (outside) {
        QCOMPARE(items.first().wholly, wholly);
        QCOMPARE(items.first().id, 4);
    }
    QCOMPARE(PageFit::outsideWarnings({page}, 100, 80),
             wholly ? QStringList{QStringLiteral("第0页控件4完全在页面之外，模块上不会显示")} : QStringList());
    const PageData moved = PageFit::movedInside(page, 100, 80);
    QCOMPARE(QPoint(moved.controls.first().x, moved.controls.first().y), movedTo);
    QCOMPARE(moved.controls.first().w, c.w);
}

QTEST_GUILESS_MAIN(TestPictureUses)
#include "tst_pictureuses.moc"
