#include "qteditorguard.h"
#include "qtpropertybrowser.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {
QStringList column(const QtTreePropertyBrowser &browser, int col)
{
    QStringList texts;
    QTreeWidget *tree = browser.treeWidget();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(col);
    return texts;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A browser with one manager and factory of each kind, as a panel would set it up.
struct Panel {
    QWidget window;
    QtTreePropertyBrowser *browser = new QtTreePropertyBrowser(&window);
    QtVariantPropertyManager *readOnly = new QtVariantPropertyManager(browser);
    QtVariantPropertyManager *variants = new QtVariantPropertyManager(browser);
    QtVariantEditorFactory *variantFactory = new QtVariantEditorFactory(browser);
    QtEnumPropertyManager *enums = new QtEnumPropertyManager(browser);
    QtEnumEditorFactory *enumFactory = new QtEnumEditorFactory(browser);
    QLineEdit *outside = new QLineEdit(&window);
    QWidget *canvas = new QWidget(&window);

    Panel()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(browser);
        layout->addWidget(outside);
        layout->addWidget(canvas);
        canvas->setMinimumHeight(40);
        browser->setFactoryForManager(variants, variantFactory);
        browser->setFactoryForManager(enums, enumFactory);
        browser->setResizeMode(QtTreePropertyBrowser::ResizeToContents);
        window.resize(300, 400);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    template <class Editor>
    Editor *edit(QtProperty *property)
    {
        browser->editItem(browser->topLevelItem(property));
        return qobject_cast<Editor *>(browser->currentEditor());
    }
};
}  // namespace

class TestPropertyBrowser : public QObject {
    Q_OBJECT
private slots:
    void rowsInOrder();
    void clearDeletesPropertiesAndRows();
    void variantValues_data();
    void variantValues();
    void choiceSignals();
    void readOnlyRowsHaveNoEditor();
    void editorsRoundTrip();
    void editorClosesWithCurrentRow();
    void rowRemovedWhileEditing_data();
    void rowRemovedWhileEditing();
    void rebuildFromValueChanged();
    void clickElsewhereCommits();
    void undoShortcutReachesWindow();
    void wheelNeedsFocus();
};

void TestPropertyBrowser::rowsInOrder()
{
    Panel p;
    QtProperty *name = p.readOnly->addProperty(QVariant::String, QStringLiteral("Name"));
    p.readOnly->setValue(name, QStringLiteral("屏幕"));
    QtProperty *type = p.enums->addProperty(QStringLiteral("类型"));
    p.enums->setEnumNames(type, {QStringLiteral("竖屏1"), QStringLiteral("横屏1")});
    p.enums->setValue(type, 1);
    QtProperty *x = p.variants->addProperty(QVariant::Int, QStringLiteral("x"));
    p.variants->setValue(x, -7);
    QtProperty *text = p.variants->addProperty(QVariant::String, QStringLiteral("文本"));
    p.variants->setValue(text, QStringLiteral("abc"));

    p.browser->addProperty(name);
    p.browser->addProperty(type);
    p.browser->addProperty(x);
    p.browser->insertProperty(text, name);  // right after the first row
    QCOMPARE(column(*p.browser, 0), QStringList({"Name", "文本", "类型", "x"}));
    QCOMPARE(column(*p.browser, 1), QStringList({"屏幕", "abc", "横屏1", "-7"}));
    QCOMPARE(p.browser->properties(), QList<QtProperty *>({name, text, type, x}));

    // A property is shown once; adding it again changes nothing.
    QVERIFY(!p.browser->addProperty(x));
    QCOMPARE(p.browser->treeWidget()->topLevelItemCount(), 4);

    // Value and label changes reach the row.
    p.variants->setValue(x, 12);
    x->setPropertyName(QStringLiteral("y"));
    QCOMPARE(p.browser->treeWidget()->topLevelItem(3)->text(0), QStringLiteral("y"));
    QCOMPARE(p.browser->treeWidget()->topLevelItem(3)->text(1), QStringLiteral("12"));

    // Taking a row off the browser keeps the property with its manager.
    p.browser->removeProperty(text);
    QCOMPARE(column(*p.browser, 0), QStringList({"Name", "类型", "y"}));
    QVERIFY(p.variants->properties().contains(text));
}

void TestPropertyBrowser::clearDeletesPropertiesAndRows()
{
    Panel p;
    for (int i = 0; i < 5; ++i) {
        p.browser->addProperty(p.variants->addProperty(QVariant::Int, QString::number(i)));
        p.browser->addProperty(p.enums->addProperty(QStringLiteral("e%1").arg(i)));
    }
    QCOMPARE(p.browser->treeWidget()->topLevelItemCount(), 10);
    QSignalSpy destroyed(p.variants, &QtAbstractPropertyManager::propertyDestroyed);

    p.variants->clear();
    QCOMPARE(destroyed.count(), 5);
    QVERIFY(p.variants->properties().isEmpty());
    QCOMPARE(column(*p.browser, 0), QStringList({"e0", "e1", "e2", "e3", "e4"}));

    p.enums->clear();
    QCOMPARE(p.browser->treeWidget()->topLevelItemCount(), 0);
    QVERIFY(p.browser->properties().isEmpty());
    QVERIFY(p.browser->topLevelItems().isEmpty());

    // The browser keeps working with new properties of the same managers.
    QtProperty *again = p.variants->addProperty(QVariant::String, QStringLiteral("again"));
    p.browser->addProperty(again);
    QCOMPARE(column(*p.browser, 0), QStringList({"again"}));
}

void TestPropertyBrowser::variantValues_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("text");

    QTest::newRow("number") << int(QVariant::Int) << QVariant(42) << 1 << "42";
    QTest::newRow("negative number") << int(QVariant::Int) << QVariant(-300000) << 1 << "-300000";
    QTest::newRow("number unchanged") << int(QVariant::Int) << QVariant(0) << 0 << "0";
    QTest::newRow("number from digits") << int(QVariant::Int) << QVariant(QStringLiteral("15")) << 1 << "15";
    QTest::newRow("number from words") << int(QVariant::Int) << QVariant(QStringLiteral("abc")) << 0 << "0";
    QTest::newRow("text") << int(QVariant::String) << QVariant(QStringLiteral("中文 abc")) << 1 << "中文 abc";
    QTest::newRow("text unchanged") << int(QVariant::String) << QVariant(QString()) << 0 << "";
    QTest::newRow("text from number") << int(QVariant::String) << QVariant(7) << 1 << "7";
}

void TestPropertyBrowser::variantValues()
{
    QFETCH(int, type);
    QFETCH(QVariant, input);
    QFETCH(int, changes);
    QFETCH(QString, text);

    QtVariantPropertyManager manager;
    QtVariantProperty *property = manager.addProperty(type, QStringLiteral("p"));
    QVERIFY(property);
    QCOMPARE(property->propertyType(), type);
    QSignalSpy changed(&manager, &QtVariantPropertyManager::valueChanged);

    property->setValue(input);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(property->valueText(), text);
    QCOMPARE(manager.value(property).userType(), type);
    // The same value again is not a change.
    property->setValue(input);
    QCOMPARE(changed.count(), changes);
}

void TestPropertyBrowser::choiceSignals()
{
    QtEnumPropertyManager manager;
    QtProperty *property = manager.addProperty(QStringLiteral("choice"));
    QSignalSpy changed(&manager, &QtEnumPropertyManager::valueChanged);
    QCOMPARE(manager.value(property), -1);

    // Names first report index 0, then the real index follows.
    manager.setEnumNames(property, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    manager.setValue(property, 2);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(1).toInt(), 0);
    QCOMPARE(changed.at(1).at(1).toInt(), 2);
    QCOMPARE(property->valueText(), QStringLiteral("c"));

    // Unchanged, out of range and the same names again: nothing.
    manager.setValue(property, 2);
    manager.setValue(property, 3);
    manager.setValue(property, -1);
    manager.setEnumNames(property, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(changed.count(), 2);
    QCOMPARE(manager.value(property), 2);

    // An index outside new names leaves the first name chosen.
    manager.setEnumNames(property, {QStringLiteral("x")});
    manager.setValue(property, 4);
    QCOMPARE(manager.value(property), 0);
    QCOMPARE(changed.count(), 3);
}

void TestPropertyBrowser::readOnlyRowsHaveNoEditor()
{
    Panel p;
    QtProperty *name = p.readOnly->addProperty(QVariant::String, QStringLiteral("Name"));
    p.browser->addProperty(name);
    p.browser->editItem(p.browser->topLevelItem(name));
    QVERIFY(!p.browser->currentEditor());
    QVERIFY(!(p.browser->treeWidget()->topLevelItem(0)->flags() & Qt::ItemIsEditable));
}

void TestPropertyBrowser::editorsRoundTrip()
{
    Panel p;
    QtProperty *number = p.variants->addProperty(QVariant::Int, QStringLiteral("n"));
    QtProperty *text = p.variants->addProperty(QVariant::String, QStringLiteral("t"));
    QtProperty *choice = p.enums->addProperty(QStringLiteral("c"));
    p.enums->setEnumNames(choice, {QStringLiteral("a"), QStringLiteral("b")});
    p.variants->setValue(number, 5);
    for (QtProperty *property : {number, text, choice})
        p.browser->addProperty(property);
    QSignalSpy variantChanged(p.variants, &QtVariantPropertyManager::valueChanged);
    QSignalSpy enumChanged(p.enums, &QtEnumPropertyManager::valueChanged);

    // Number: the spin box shows the value, has no limits, and each step reaches the manager.
    auto *spin = p.edit<QSpinBox>(number);
    QVERIFY(spin);
    QCOMPARE(spin->value(), 5);
    QCOMPARE(spin->minimum(), INT_MIN);
    QCOMPARE(spin->maximum(), INT_MAX);
    spin->stepUp();
    QCOMPARE(p.variants->value(number).toInt(), 6);
    QCOMPARE(variantChanged.count(), 1);
    // A value set on the manager shows in the editor without coming back as an edit.
    p.variants->setValue(number, 100000);
    QCOMPARE(spin->value(), 100000);
    QCOMPARE(variantChanged.count(), 2);

    // Text: typed text arrives once, when editing finishes.
    auto *edit = p.edit<QLineEdit>(text);
    QVERIFY(edit);
    flushDeletes();
    QTest::keyClicks(edit, QStringLiteral("hello"));
    QCOMPARE(p.variants->value(text).toString(), QString());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(p.variants->value(text).toString(), QStringLiteral("hello"));
    QCOMPARE(variantChanged.count(), 3);
    QCOMPARE(p.browser->treeWidget()->topLevelItem(1)->text(1), QStringLiteral("hello"));

    // Choice: picking a name sets the index.
    auto *combo = p.edit<QComboBox>(choice);
    QVERIFY(combo);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    QCOMPARE(p.enums->value(choice), 1);
    QCOMPARE(enumChanged.count(), 1);
    p.enums->setEnumNames(choice, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(enumChanged.count(), 2);
}

void TestPropertyBrowser::editorClosesWithCurrentRow()
{
    Panel p;
    QtProperty *a = p.variants->addProperty(QVariant::String, QStringLiteral("a"));
    QtProperty *b = p.variants->addProperty(QVariant::String, QStringLiteral("b"));
    p.browser->addProperty(a);
    p.browser->addProperty(b);
    QPointer<QWidget> first = p.edit<QLineEdit>(a);
    QVERIFY(first);
    QPointer<QWidget> second = p.edit<QLineEdit>(b);
    QVERIFY(second);
    flushDeletes();
    QVERIFY(!first);
    QVERIFY(second);
    QCOMPARE(p.browser->currentItem(), p.browser->topLevelItem(b));
}

void TestPropertyBrowser::rowRemovedWhileEditing_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("manager cleared") << 0;
    QTest::newRow("property deleted") << 1;
    QTest::newRow("row taken off the browser") << 2;
    QTest::newRow("browser cleared") << 3;
    QTest::newRow("browser deleted") << 4;
}

void TestPropertyBrowser::rowRemovedWhileEditing()
{
    QFETCH(int, how);
    Panel p;
    QtProperty *text = p.variants->addProperty(QVariant::String, QStringLiteral("t"));
    p.browser->addProperty(text);
    QPointer<QLineEdit> edit = p.edit<QLineEdit>(text);
    QVERIFY(edit);
    flushDeletes();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("unsaved"));
    QSignalSpy changed(p.variants, &QtVariantPropertyManager::valueChanged);

    switch (how) {
    case 0: p.variants->clear(); break;
    case 1: delete text; break;
    case 2: p.browser->removeProperty(text); break;
    case 3: p.browser->clear(); break;
    case 4: delete p.browser; break;
    }
    flushDeletes();
    QVERIFY(!edit);
    // The half-typed text had no row left to go to.
    QCOMPARE(changed.count(), 0);
    if (how == 2 || how == 3) {
        QCOMPARE(p.variants->value(text).toString(), QString());
        // The property lives on and can be shown and edited again.
        p.browser->addProperty(text);
        auto *again = p.edit<QLineEdit>(text);
        QVERIFY(again);
        again->setText(QStringLiteral("later"));
        emit again->editingFinished();
        QCOMPARE(p.variants->value(text).toString(), QStringLiteral("later"));
    }
}

void TestPropertyBrowser::rebuildFromValueChanged()
{
    // A listener that clamps a value and rebuilds every row, from inside the edit's own signal.
    Panel p;
    QList<QtProperty *> rows;
    int stored = 0;
    std::function<void()> rebuild = [&] {
        p.variants->clear();
        QtProperty *x = p.variants->addProperty(QVariant::Int, QStringLiteral("x"));
        p.variants->setValue(x, stored);
        p.browser->addProperty(x);
        rows = {x};
    };
    rebuild();
    connect(p.variants, &QtVariantPropertyManager::valueChanged, &p.window, [&](QtProperty *, const QVariant &v) {
        stored = qMax(0, v.toInt());
        if (stored != v.toInt())
            rebuild();
    });

    auto *spin = p.edit<QSpinBox>(rows.first());
    QVERIFY(spin);
    spin->stepDown();  // -1, clamped to 0, rows rebuilt under the editor's feet
    flushDeletes();
    QCOMPARE(stored, 0);
    QCOMPARE(column(*p.browser, 1), QStringList({"0"}));
    QVERIFY(!p.browser->currentEditor());

    auto *spin2 = p.edit<QSpinBox>(rows.first());
    QVERIFY(spin2);
    spin2->stepUp();
    QCOMPARE(stored, 1);
}

void TestPropertyBrowser::clickElsewhereCommits()
{
    Panel p;
    QtProperty *text = p.variants->addProperty(QVariant::String, QStringLiteral("t"));
    p.browser->addProperty(text);
    auto *edit = p.edit<QLineEdit>(text);
    QVERIFY(edit);
    flushDeletes();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("typed"));
    QSignalSpy changed(p.variants, &QtVariantPropertyManager::valueChanged);
    // The canvas never takes the focus; the edit still ends before the click is handled.
    QCOMPARE(p.canvas->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(p.canvas, Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(p.variants->value(text).toString(), QStringLiteral("typed"));
    flushDeletes();
    QVERIFY(!p.browser->currentEditor());
}

void TestPropertyBrowser::undoShortcutReachesWindow()
{
    Panel p;
    auto *undo = new QAction(&p.window);
    undo->setShortcut(QKeySequence::Undo);
    p.window.addAction(undo);
    QSignalSpy triggered(undo, &QAction::triggered);

    QtProperty *text = p.variants->addProperty(QVariant::String, QStringLiteral("t"));
    p.browser->addProperty(text);
    auto *edit = p.edit<QLineEdit>(text);
    QVERIFY(edit);
    flushDeletes();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(triggered.count(), 1);

    // An ordinary line edit elsewhere keeps its own undo.
    p.outside->setFocus();
    QTest::keyClick(p.outside, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(triggered.count(), 1);
}

void TestPropertyBrowser::wheelNeedsFocus()
{
    // An editor keeps its row while another window is active; a wheel turned over it then must
    // not change the value.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *spin = new QSpinBox(&window);
    auto *other = new QLineEdit(&window);
    layout->addWidget(spin);
    layout->addWidget(other);
    QtEditorGuard::install(spin);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto wheel = [spin] {
        const QPoint pos = spin->rect().center();
        QWheelEvent event(pos, spin->mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(spin, &event);
    };
    other->setFocus();
    wheel();
    QCOMPARE(spin->value(), 0);
    spin->setFocus();
    QVERIFY(spin->hasFocus());
    wheel();
    QCOMPARE(spin->value(), 1);
}

QTEST_MAIN(TestPropertyBrowser)
#include "tst_propertybrowser.moc"
