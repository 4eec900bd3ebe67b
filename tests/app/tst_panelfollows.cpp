#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "editcases.h"
#include "model/resolutionlist.h"
#include "qtenumpropertymanager.h"
#include "qttreepropertybrowser.h"
#include "qtvariantpropertymanager.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

// The property panel and the history following changes made anywhere in the real window:
// nudges, alignment, undo and redo.
class TestPanelFollows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void panelShowsChangesMadeElsewhere_data();
    void panelShowsChangesMadeElsewhere();
    void nudgesOfTheSameItemsAreOneStep();
    void smallerPageAndMoveInsideAreOneStep();
    void undoAndRedoSelectWhatTheyChanged_data();
    void undoAndRedoSelectWhatTheyChanged();

private:
    void select(const QStringList &targets);
    void nudge(Qt::Key key, int times = 1);
    void setRow(const QString &key, const QVariant &value);
    QString shown(const QString &key) const;
    QStringList selected() const;
    PropertyPanel *panel() const { return m_window->propertyPanel(); }
    PageTable *table() const { return m_window->pageTable(); }
    QUndoStack *stack() const { return m_window->history()->stack(); }
    QByteArray saved() const { return ProjectFile::toXml(m_window->projectData()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
};

using Action = std::function<void(MainWindow *)>;
Q_DECLARE_METATYPE(Action)

void TestPanelFollows::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
    App::projectPath() = EditCases::writeProject(m_dir->path());
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    m_window->questionBox()->hide();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPanelFollows::cleanup()
{
    m_window.reset();
    App::projectPath().clear();
    m_dir.reset();
}

// "control N" / "primitive N" of page 0, picked as a click would pick them.
void TestPanelFollows::select(const QStringList &targets)
{
    QList<QMyWidget *> controls;
    QList<QMyDrawType *> primitives;
    for (const QString &t : targets) {
        const int n = t.section(QLatin1Char(' '), 1).toInt();
        if (t.startsWith(QLatin1String("control")))
            controls << table()->pageControls(0).at(n);
        else
            primitives << table()->pagePrimitives(0).at(n);
    }
    m_window->selectHistoryItems(0, {}, {});
    QMyFrame *canvas = m_window->canvas();
    canvas->selectItems(controls, primitives);
    if (controls.size() == 1 && primitives.isEmpty())
        m_window->slotRecvWnd(controls.first());
    else if (primitives.size() == 1 && controls.isEmpty())
        m_window->slotRecvParent(primitives.first()->drawType(), primitives.first());
    m_window->history()->checkpoint();
}

void TestPanelFollows::nudge(Qt::Key key, int times)
{
    QMyFrame *canvas = m_window->canvas();
    canvas->setFocus();
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(canvas, key);
        QCoreApplication::processEvents();
    }
}

void TestPanelFollows::setRow(const QString &key, const QVariant &value)
{
    QtProperty *p = panel()->property(key);
    QVERIFY2(p, qPrintable(key));
    if (panel()->enumManager->ownsProperty(p))
        panel()->enumManager->setValue(p, value.toInt());
    else
        static_cast<QtVariantPropertyManager *>(p->propertyManager())->setValue(p, value);
    QCoreApplication::processEvents();
}

QString TestPanelFollows::shown(const QString &key) const
{
    QtProperty *p = panel()->property(key);
    return p ? p->valueText() : QStringLiteral("<no row>");
}

QStringList TestPanelFollows::selected() const
{
    QStringList s;
    for (QMyWidget *w : table()->selectedControls())
        s << QStringLiteral("control %1").arg(table()->pageControls(0).indexOf(w));
    for (QMyDrawType *d : table()->selectedPrimitives())
        s << QStringLiteral("primitive %1").arg(table()->pagePrimitives(0).indexOf(d));
    s.sort();
    return s;
}

void TestPanelFollows::panelShowsChangesMadeElsewhere_data()
{
    QTest::addColumn<QStringList>("targets");
    QTest::addColumn<Action>("change");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString text = QStringLiteral("control 0"), button = QStringLiteral("control 2"),
                  qr = QStringLiteral("control 5");
    QTest::newRow("nudge one control") << QStringList{text} << Action([this](MainWindow *) {
        nudge(Qt::Key_Right, 3);
    }) << "x" << "13";
    QTest::newRow("nudge one primitive") << QStringList{"primitive 0"} << Action([this](MainWindow *) {
        nudge(Qt::Key_Down);
    }) << "drawY" << "201";
    QTest::newRow("nudge several") << QStringList{text, button} << Action([this](MainWindow *) {
        nudge(Qt::Key_Right);
    }) << "x" << "11";
    // x differs (blank row) until the alignment makes it one value.
    QTest::newRow("align a mixed selection") << QStringList{text, qr} << Action([](MainWindow *w) {
        w->canvas()->arrangeSelection(Arrange::AlignLeft);
        // As the release of the menu click ends the action.
        w->history()->checkpoint();
    }) << "x" << "10";
    QTest::newRow("undo") << QStringList{text} << Action([this](MainWindow *w) {
        setRow(QStringLiteral("x"), 50);
        w->history()->checkpoint();
        QCOMPARE(shown(QStringLiteral("x")), QStringLiteral("50"));
        w->history()->stack()->undo();
    }) << "x" << "10";
}

void TestPanelFollows::panelShowsChangesMadeElsewhere()
{
    QFETCH(QStringList, targets);
    QFETCH(Action, change);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    select(targets);
    change(m_window.get());
    QTRY_COMPARE(shown(key), expected);
}

void TestPanelFollows::nudgesOfTheSameItemsAreOneStep()
{
    select({QStringLiteral("control 0"), QStringLiteral("primitive 0"), QStringLiteral("control 2")});
    const QByteArray before = saved();
    nudge(Qt::Key_Right, 4);
    nudge(Qt::Key_Down, 2);
    QTRY_COMPARE(stack()->count(), 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("移动 3 个对象"));
    const QByteArray after = saved();

    // Another selection starts a step of its own; so does a nudge after a save.
    select({QStringLiteral("control 2")});
    nudge(Qt::Key_Left);
    QTRY_COMPARE(stack()->count(), 2);
    QCOMPARE(stack()->undoText(), QStringLiteral("移动 1 个对象"));
    QVERIFY(m_window->saveProject());
    nudge(Qt::Key_Left);
    QTRY_COMPARE(stack()->count(), 3);
    // A panel edit between nudges is a step of its own.
    setRow(QStringLiteral("y"), 120);
    m_window->history()->checkpoint();
    QCOMPARE(stack()->count(), 4);
    QCOMPARE(stack()->undoText(), QStringLiteral("修改属性：y"));

    stack()->setIndex(1);
    QCOMPARE(saved(), after);
    stack()->undo();
    QCOMPARE(saved(), before);
}

void TestPanelFollows::smallerPageAndMoveInsideAreOneStep()
{
    // The QR code at x 150 and the circle at y 230..270 lie outside a page 128 square.
    m_window->slotRecvParent(0, nullptr);
    const QByteArray before = saved();
    setRow(QStringLiteral("vga"), ResolutionList().indexOf(QStringLiteral("128*128(SQQVGA)")));
    m_window->history()->checkpoint();
    QTRY_VERIFY(m_window->questionBox()->isVisible());
    m_window->moveItemsInside();
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("修改分辨率或方向"));
    const QByteArray after = saved();
    stack()->undo();
    QCOMPARE(saved(), before);
    stack()->redo();
    QCOMPARE(saved(), after);
}

void TestPanelFollows::undoAndRedoSelectWhatTheyChanged_data()
{
    QTest::addColumn<QStringList>("targets");
    QTest::addColumn<Action>("change");
    QTest::addColumn<QStringList>("afterUndo");
    QTest::addColumn<QStringList>("afterRedo");
    const QStringList two{QStringLiteral("control 2"), QStringLiteral("primitive 1")};
    QTest::newRow("a nudge") << two << Action([this](MainWindow *) { nudge(Qt::Key_Up); }) << two << two;
    QTest::newRow("a panel edit") << QStringList{"control 3"} << Action([this](MainWindow *) {
        setRow(QStringLiteral("text1"), 40);
    }) << QStringList{"control 3"} << QStringList{"control 3"};
    // The deleted item comes back selected; redo takes it away again.
    QTest::newRow("a deletion") << QStringList{"primitive 2"} << Action([](MainWindow *w) {
        w->canvas()->deleteSelection();
    }) << QStringList{"primitive 2"} << QStringList{};
}

void TestPanelFollows::undoAndRedoSelectWhatTheyChanged()
{
    QFETCH(QStringList, targets);
    QFETCH(Action, change);
    QFETCH(QStringList, afterUndo);
    QFETCH(QStringList, afterRedo);
    select(targets);
    change(m_window.get());
    m_window->history()->checkpoint();
    QCOMPARE(stack()->count(), 1);
    // The person looks at something else before undoing.
    select({});
    m_window->slotRecvParent(0, nullptr);

    stack()->undo();
    QCOMPARE(selected(), afterUndo);
    QCOMPARE(panel()->showsSelection(), afterUndo.size() > 1);
    if (afterUndo.size() == 1 && afterUndo.first().startsWith(QLatin1String("control")))
        QCOMPARE(panel()->curWidget(), table()->selectedControls().first());
    if (afterUndo.size() == 1 && afterUndo.first().startsWith(QLatin1String("primitive")))
        QCOMPARE(panel()->curDraw(), table()->selectedPrimitives().first());
    stack()->redo();
    QCOMPARE(selected(), afterRedo);
    QCOMPARE(panel()->showsSelection(), afterRedo.size() > 1);
}

QTEST_MAIN(TestPanelFollows)
#include "tst_panelfollows.moc"
