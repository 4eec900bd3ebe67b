#include "dialogs/qmymessagebox.h"
#include "properties/colordlg.h"
#include "properties/qtusertypeone_image.h"
#include "properties/qtusertypetwo_color.h"
#include "qttreepropertybrowser.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Answers the colour dialog the editor is about to open: picks number n (or keeps the shown one
// when n < 0), then accepts or cancels.
void answerColorDlg(int n, bool accept)
{
    QTimer::singleShot(0, [n, accept] {
        auto *dlg = qobject_cast<ColorDlg *>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        if (n >= 0)
            dlg->slotSelectColorNum(n);
        if (accept)
            dlg->on_btnOK_clicked();
        else
            dlg->on_btnCancel_clicked();
    });
}

struct Rows {
    QtTreePropertyBrowser browser;
    QtUserTypeOne_ImageManager *images = new QtUserTypeOne_ImageManager(&browser);
    QtUserTypeOne_ImageFactory *imageFactory = new QtUserTypeOne_ImageFactory(&browser);
    QtUserTypeTwo_ColorManager *colors = new QtUserTypeTwo_ColorManager(&browser);
    QtUserTypeTwo_ColorFactory *colorFactory = new QtUserTypeTwo_ColorFactory(&browser);
    int selectedImageNum = -1;

    Rows()
    {
        imageFactory->setSelectedImageNumProvider([this] { return selectedImageNum; });
        browser.setFactoryForManager(images, imageFactory);
        browser.setFactoryForManager(colors, colorFactory);
        browser.resize(320, 300);
        browser.show();
    }

    template <class Editor>
    Editor *edit(QtProperty *property)
    {
        browser.editItem(browser.topLevelItem(property));
        return qobject_cast<Editor *>(browser.currentEditor());
    }
};
}  // namespace

class TestImageColorProperties : public QObject {
    Q_OBJECT
private slots:
    void managerValues();
    void imageSet();
    void imageHintWithoutSelection();
    void imageRemove();
    void colorSwatch_data();
    void colorSwatch();
    void rowSwatch_data();
    void rowSwatch();
    void colorDialog_data();
    void colorDialog();
    void editorLayout();
    void pictureListInTheRow();
    void managerValueShownInOpenEditor();
    void rowsRebuiltFromEdit();
};

void TestImageColorProperties::managerValues()
{
    QtUserTypeOne_ImageManager manager;
    QtProperty *p = manager.addProperty(QStringLiteral("图片编号"));
    QSignalSpy changed(&manager, &QtUserTypeOne_ImageManager::valueChanged);
    QCOMPARE(manager.value(p), QString());
    manager.setValue(p, QStringLiteral("4"));
    manager.setValue(p, QStringLiteral("4"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(p->valueText(), QStringLiteral("4"));

    // Another manager's property is not ours.
    QtUserTypeOne_ImageManager other;
    QtProperty *foreign = other.addProperty(QStringLiteral("x"));
    manager.setValue(foreign, QStringLiteral("9"));
    QCOMPARE(manager.value(foreign), QString());
    QCOMPARE(changed.count(), 1);

    manager.clear();
    QVERIFY(manager.properties().isEmpty());
}

void TestImageColorProperties::imageSet()
{
    Rows rows;
    QtProperty *p = rows.images->addProperty(QStringLiteral("前景图片编号"));
    rows.browser.addProperty(p);
    QSignalSpy changed(rows.images, &QtUserTypeOne_ImageManager::valueChanged);
    auto *editor = rows.edit<QtUserTypeOne_ImageWidget>(p);
    QVERIFY(editor);

    rows.selectedImageNum = 3;
    editor->addButton()->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(1).toString(), QStringLiteral("3"));
    QCOMPARE(rows.images->value(p), QStringLiteral("3"));
    QCOMPARE(editor->label()->text(), QStringLiteral("3"));
    QCOMPARE(rows.browser.treeWidget()->topLevelItem(0)->text(1), QStringLiteral("3"));

    // The same picture again is no change.
    editor->addButton()->click();
    QCOMPARE(changed.count(), 1);

    // Picture 0 is a picture.
    rows.selectedImageNum = 0;
    editor->addButton()->click();
    QCOMPARE(rows.images->value(p), QStringLiteral("0"));
    QVERIFY(!editor->messageBox()->isVisible());
}

void TestImageColorProperties::imageHintWithoutSelection()
{
    Rows rows;
    QtProperty *p = rows.images->addProperty(QStringLiteral("图片编号"));
    rows.images->setValue(p, QStringLiteral("5"));
    rows.browser.addProperty(p);
    auto *editor = rows.edit<QtUserTypeOne_ImageWidget>(p);
    QVERIFY(editor);
    QSignalSpy changed(rows.images, &QtUserTypeOne_ImageManager::valueChanged);

    editor->addButton()->click();
    QVERIFY(editor->messageBox()->isVisible());
    QCOMPARE(editor->messageBox()->message(), QStringLiteral("未选择图片，请您在图库中选择一张图片！"));
    QCOMPARE(rows.images->value(p), QStringLiteral("5"));
    QCOMPARE(editor->label()->text(), QStringLiteral("5"));
    QCOMPARE(changed.count(), 0);

    // A factory nobody told about the library behaves as "nothing selected".
    QtUserTypeOne_ImageWidget bare;
    bare.addButton()->click();
    QVERIFY(bare.messageBox()->isVisible());
    QCOMPARE(bare.value(), QString());
}

void TestImageColorProperties::imageRemove()
{
    QtUserTypeOne_ImageWidget widget;
    QSignalSpy changed(&widget, &QtUserTypeOne_ImageWidget::valueChanged);
    widget.removeButton()->click();
    QCOMPARE(changed.count(), 0);

    widget.setValue(QStringLiteral("7"));
    QCOMPARE(changed.count(), 0);  // shown, not reported
    widget.removeButton()->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QString());
    QCOMPARE(widget.label()->text(), QString());
}

void TestImageColorProperties::colorSwatch_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("darkInk");

    QTest::newRow("red") << "1" << "1" << "background-color:rgb(248,0,0);" << true;
    QTest::newRow("first") << "0" << "0" << "background-color:rgb(0,0,0);" << false;
    QTest::newRow("blue, a bright channel but dark") << "61" << "61" << "background-color:rgb(32,112,232);" << false;
    QTest::newRow("light") << "41" << "41" << "background-color:rgb(112,184,184);" << true;
    QTest::newRow("above the table") << "64" << "63" << "background-color:rgb(0,0,0);" << false;
    QTest::newRow("far above") << "100000" << "63" << "background-color:rgb(0,0,0);" << false;
    QTest::newRow("negative") << "-2" << "0" << "background-color:rgb(0,0,0);" << false;
    QTest::newRow("not a number") << "x7" << "0" << "background-color:rgb(0,0,0);" << false;
    QTest::newRow("in the middle") << "22" << "22" << "background-color:rgb(40,100,40);" << false;
}

void TestImageColorProperties::colorSwatch()
{
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QFETCH(QString, style);
    QFETCH(bool, darkInk);

    QtUserTypeTwo_ColorWidget widget;
    QCOMPARE(widget.label()->text(), QStringLiteral("0"));
    widget.setValue(value);
    QCOMPARE(widget.label()->text(), shown);
    QVERIFY2(widget.label()->styleSheet().startsWith(style), qPrintable(widget.label()->styleSheet()));
    // The number as drawn (a style sheet wins over the palette): its strokes in the ink.
    widget.resize(120, 24);
    widget.show();
    const QImage img = widget.label()->grab().toImage();
    const QColor ink = darkInk ? QColor(Qt::black) : QColor(Qt::white);
    int inked = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            inked += qAbs(c.red() - ink.red()) + qAbs(c.green() - ink.green()) + qAbs(c.blue() - ink.blue()) < 60;
        }
    }
    QVERIFY2(inked >= 3, qPrintable(QString::number(inked)));
    // What is shown is brought into the table; what is held stays as it was given.
    QCOMPARE(widget.value(), value);
}

void TestImageColorProperties::rowSwatch_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("swatch");

    QTest::newRow("red") << "1" << QColor(248, 0, 0);
    QTest::newRow("dark green") << "22" << QColor(40, 100, 40);
    QTest::newRow("blue") << "61" << QColor(32, 112, 232);
    QTest::newRow("white") << "15" << QColor(248, 252, 248);
    QTest::newRow("above the table") << "64" << QColor(0, 0, 0);
    QTest::newRow("none") << "" << QColor();
}

void TestImageColorProperties::rowSwatch()
{
    QFETCH(QString, value);
    QFETCH(QColor, swatch);

    Rows rows;
    QtProperty *p = rows.colors->addProperty(QStringLiteral("字体颜色"));
    rows.colors->setValue(p, value);
    rows.browser.addProperty(p);
    auto *tree = rows.browser.findChild<QTreeWidget *>();
    QVERIFY(tree);
    QTreeWidgetItem *row = tree->topLevelItem(0);
    QVERIFY(row);
    // The number stays as the row's text; the swatch sits beside it.
    QCOMPARE(row->text(1), value);
    const QIcon icon = row->icon(1);
    if (!swatch.isValid()) {
        QVERIFY(icon.isNull());
        return;
    }
    const QImage image = icon.pixmap(16, 16).toImage();
    QCOMPARE(image.pixelColor(8, 8), swatch);
    QCOMPARE(image.pixelColor(0, 0), QColor(128, 128, 128));

    // A new value repaints the swatch.
    rows.colors->setValue(p, QStringLiteral("3"));
    QCOMPARE(row->icon(1).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 0, 248));
}

void TestImageColorProperties::colorDialog_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("pick");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("changes");

    QTest::newRow("accept another") << "1" << 40 << true << "40" << 1;
    QTest::newRow("accept the same") << "17" << -1 << true << "17" << 0;
    QTest::newRow("pick then cancel") << "17" << 3 << false << "17" << 0;
    QTest::newRow("out of range, accepted as shown") << "99" << -1 << true << "63" << 1;
}

void TestImageColorProperties::colorDialog()
{
    QFETCH(QString, start);
    QFETCH(int, pick);
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QFETCH(int, changes);

    Rows rows;
    QtProperty *p = rows.colors->addProperty(QStringLiteral("字体颜色"));
    rows.colors->setValue(p, start);
    rows.browser.addProperty(p);
    auto *editor = rows.edit<QtUserTypeTwo_ColorWidget>(p);
    QVERIFY(editor);
    QSignalSpy changed(rows.colors, &QtUserTypeTwo_ColorManager::valueChanged);

    answerColorDlg(pick, accept);
    editor->addButton()->click();
    QCOMPARE(changed.count(), changes);
    QCOMPARE(rows.colors->value(p), changes ? result : start);
    QCOMPARE(editor->label()->text(), result);
}

void TestImageColorProperties::editorLayout()
{
    QtUserTypeOne_ImageWidget image;
    // Buttons as wide as their texts need, 40 at the least.
    for (QPushButton *b : {image.addButton(), image.removeButton()}) {
        QVERIFY(b->width() >= 40);
        QVERIFY(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 6);
    }
    QCOMPARE(image.focusProxy(), image.removeButton());
    QCOMPARE(image.addButton()->text(), QStringLiteral("设置"));
    QCOMPARE(image.removeButton()->text(), QStringLiteral("移除"));
    QCOMPARE(image.layout()->contentsMargins(), QMargins(4, 0, 0, 0));

    QWidget rtl;
    rtl.setLayoutDirection(Qt::RightToLeft);
    QtUserTypeTwo_ColorWidget color(&rtl);
    QCOMPARE(color.addButton()->width(), 50);
    QCOMPARE(color.focusProxy(), color.addButton());
    QCOMPARE(color.layout()->contentsMargins(), QMargins(0, 0, 4, 0));
}

void TestImageColorProperties::managerValueShownInOpenEditor()
{
    Rows rows;
    QtProperty *image = rows.images->addProperty(QStringLiteral("抬起背景图片编号"));
    QtProperty *cut = rows.images->addProperty(QStringLiteral("抬起背景切图编号"));
    rows.images->setValue(cut, QStringLiteral("4"));
    rows.browser.addProperty(image);
    rows.browser.addProperty(cut);
    auto *editor = rows.edit<QtUserTypeOne_ImageWidget>(cut);
    QVERIFY(editor);
    QSignalSpy edited(editor, &QtUserTypeOne_ImageWidget::valueChanged);

    // A partner row cleared by the program shows at once and is not reported back as an edit.
    rows.images->setValue(cut, QString());
    QCOMPARE(editor->label()->text(), QString());
    QCOMPARE(edited.count(), 0);
    QCOMPARE(rows.imageFactory->editorsOfProperty(cut).size(), 1);

    // Closing the editor forgets it.
    rows.browser.editItem(rows.browser.topLevelItem(image));
    flushDeletes();
    QVERIFY(rows.imageFactory->editorsOfProperty(cut).isEmpty());
}

void TestImageColorProperties::rowsRebuiltFromEdit()
{
    // The panel rebuilds every row from inside the edit's own notification; the editor that
    // reported the edit is deleted under its feet and nothing may crash.
    Rows rows;
    QString stored;
    QtProperty *image = nullptr;
    QtProperty *color = nullptr;
    bool building = false;
    auto rebuild = [&] {
        const QScopedValueRollback<bool> guard(building, true);
        rows.images->clear();
        rows.colors->clear();
        image = rows.images->addProperty(QStringLiteral("图片编号"));
        color = rows.colors->addProperty(QStringLiteral("颜色"));
        rows.images->setValue(image, stored);
        rows.colors->setValue(color, QStringLiteral("2"));
        rows.browser.addProperty(image);
        rows.browser.addProperty(color);
    };
    rebuild();
    connect(rows.images, &QtUserTypeOne_ImageManager::valueChanged, &rows.browser,
            [&](QtProperty *, const QString &value) {
                if (building)
                    return;
                stored = value;
                rebuild();
            });
    connect(rows.colors, &QtUserTypeTwo_ColorManager::valueChanged, &rows.browser,
            [&](QtProperty *, const QString &) {
                if (!building)
                    rebuild();
            });

    rows.selectedImageNum = 8;
    auto *editor = rows.edit<QtUserTypeOne_ImageWidget>(image);
    QVERIFY(editor);
    editor->addButton()->click();
    QCOMPARE(stored, QStringLiteral("8"));
    flushDeletes();
    QCOMPARE(rows.browser.treeWidget()->topLevelItem(0)->text(1), QStringLiteral("8"));

    auto *colorEditor = rows.edit<QtUserTypeTwo_ColorWidget>(color);
    QVERIFY(colorEditor);
    answerColorDlg(9, true);
    colorEditor->addButton()->click();
    flushDeletes();
    QCOMPARE(rows.browser.treeWidget()->topLevelItem(1)->text(1), QStringLiteral("2"));
}

// The row's own list: every picture with its number and thumbnail, the current one chosen; a
// click or Enter takes a picture and closes the list, Escape closes it alone.
void TestImageColorProperties::pictureListInTheRow()
{
    QtUserTypeOne_ImageWidget row;
    row.resize(200, 22);
    row.show();
    QVector<PictureChoice> choices;
    for (int n = 0; n < 3; ++n) {
        QPixmap thumb(40, 30);
        thumb.fill(QColor(80 * n, 100, 200));
        choices.append({n, QStringLiteral("100%1_pic.bmp").arg(n + 1), n == 2 ? QPixmap() : thumb});
    }
    row.setPictureChoices([&choices] { return choices; });
    row.setValue(QStringLiteral("1"));
    QSignalSpy changed(&row, &QtUserTypeOne_ImageWidget::valueChanged);

    row.listButton()->click();
    QListWidget *list = row.pictureList();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->count(), 3);
    QVERIFY(list->item(0)->text().startsWith(QStringLiteral("0")));
    QVERIFY(list->item(2)->text().contains(QStringLiteral("1003_pic.bmp")));
    QVERIFY(!list->item(0)->icon().isNull());
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(row.value(), QStringLiteral("2"));
    QTRY_VERIFY(!row.pictureList());

    row.listButton()->click();
    QTest::keyClick(row.pictureList(), Qt::Key_Escape);
    QTRY_VERIFY(!row.pictureList());
    QCOMPARE(changed.count(), 1);

    choices.clear();  // an empty library: one line saying so, nothing to take
    row.listButton()->click();
    QCOMPARE(row.pictureList()->count(), 1);
    QTest::mouseClick(row.pictureList()->viewport(), Qt::LeftButton, {}, row.pictureList()->visualItemRect(row.pictureList()->item(0)).center());
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(TestImageColorProperties)
#include "tst_imagecolorproperties.moc"
