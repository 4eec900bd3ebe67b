#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "editcases.h"
#include "qtenumpropertymanager.h"
#include "qttreepropertybrowser.h"
#include "qtvariantpropertymanager.h"
#include "properties/qtusertypetwo_color.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

// The property panel with several items selected in the real window: the shared rows, and an
// edit going to every item as one undoable change or to none.
class TestPanelSelection : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sharedRowsShowWhatAllAgreeOn();
    void editGoesToAllOrNone_data();
    void editGoesToAllOrNone();
    void blankChoicePicksForAll();
    void selectionBackToOneShowsItAlone();

private:
    // "control N" / "primitive N" of page 0.
    void select(const QStringList &targets);
    void setRow(const QString &key, const QVariant &value);
    QString shown(const QString &key) const;
    QStringList labels() const;
    QByteArray saved() const { return ProjectFile::toXml(m_window->projectData()); }
    QString stored(const QString &target, const QString &field) const
    {
        return EditCases::valueIn(m_window->projectData(), target, field);
    }
    PropertyPanel *panel() const { return m_window->propertyPanel(); }
    QUndoStack *stack() const { return m_window->history()->stack(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestPanelSelection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
    App::projectPath() = EditCases::writeProject(m_dir->path());
    m_window = std::make_unique<MainWindow>();
    m_window->questionBox()->hide();
}

void TestPanelSelection::cleanup()
{
    m_window.reset();
    App::projectPath().clear();
    m_dir.reset();
}

void TestPanelSelection::select(const QStringList &targets)
{
    PageTable *table = m_window->pageTable();
    QList<QMyWidget *> controls;
    QList<QMyDrawType *> primitives;
    for (const QString &t : targets) {
        const int n = t.section(QLatin1Char(' '), 1).toInt();
        if (t.startsWith(QLatin1String("control")))
            controls << table->pageControls(0).at(n);
        else
            primitives << table->pagePrimitives(0).at(n);
    }
    m_window->canvas()->selectItems(controls, primitives);
}

void TestPanelSelection::setRow(const QString &key, const QVariant &value)
{
    QtProperty *p = panel()->property(key);
    QVERIFY2(p, qPrintable(key));
    if (panel()->enumManager->ownsProperty(p))
        panel()->enumManager->setValue(p, value.toInt());
    else if (panel()->colorManager->ownsProperty(p))
        panel()->colorManager->setValue(p, value.toString());
    else
        static_cast<QtVariantPropertyManager *>(p->propertyManager())->setValue(p, value);
    QCoreApplication::processEvents();
}

QString TestPanelSelection::shown(const QString &key) const
{
    QtProperty *p = panel()->property(key);
    return p ? p->valueText() : QStringLiteral("<no row>");
}

QStringList TestPanelSelection::labels() const
{
    QStringList l;
    for (QtBrowserItem *item : panel()->browser()->topLevelItems())
        l << item->property()->propertyName() + QLatin1Char('=') + item->property()->valueText();
    return l;
}

void TestPanelSelection::sharedRowsShowWhatAllAgreeOn()
{
    // A text and a button at the same x: a button's modes are other choices, so no mode row.
    select({QStringLiteral("control 0"), QStringLiteral("control 2")});
    QVERIFY(panel()->showsSelection());
    QCOMPARE(labels(), QStringList({QStringLiteral("类型=2 个对象"), QStringLiteral("x=10"), QStringLiteral("y="),
                                    QStringLiteral("宽度=60"), QStringLiteral("高度=30"), QStringLiteral("文本="),
                                    QStringLiteral("字体大小=16"), QStringLiteral("字体颜色=0"),
                                    QStringLiteral("水平对齐=居中"), QStringLiteral("垂直对齐=居中"),
                                    QStringLiteral("边框颜色=0"), QStringLiteral("背景颜色=7")}));
    QVERIFY(!panel()->property(QStringLiteral("style")));

    // Box and circle share their colour only; a control added shares nothing with them.
    select({QStringLiteral("primitive 0"), QStringLiteral("primitive 1")});
    QCOMPARE(labels(), QStringList({"类型=2 个对象", "颜色=0"}));
    select({QStringLiteral("primitive 0"), QStringLiteral("primitive 1"), QStringLiteral("control 0")});
    QCOMPARE(labels(), QStringList({"类型=3 个对象"}));
    // Showing a selection is no change.
    m_window->history()->checkpoint();
    QCOMPARE(stack()->count(), 0);
}

void TestPanelSelection::editGoesToAllOrNone_data()
{
    QTest::addColumn<QStringList>("targets");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("expected");  // the field of each target afterwards
    QTest::addColumn<QString>("message");
    const QString text = QStringLiteral("control 0"), number = QStringLiteral("control 1"),
                  button = QStringLiteral("control 2"), qr = QStringLiteral("control 5");
    QTest::newRow("same y") << QStringList{text, button} << "y" << QVariant(QStringLiteral("200"))
                            << QStringList{"200", "200"} << QString();
    QTest::newRow("x clamped on each") << QStringList{text, qr} << "x" << QVariant(230)
                                       << QStringList{"180", "187"} << QString();
    QTest::newRow("padded and plain") << QStringList{text, number} << "text" << QVariant(QStringLiteral("12.5"))
                                      << QStringList{"12.5", "12.5000"} << QString();
    QTest::newRow("one refuses: none changes")
        << QStringList{text, number} << "text" << QVariant(QStringLiteral("1a")) << QStringList{"文本", "0"}
        << QStringLiteral("输入数值格式不对，数值里不可包含特殊字符，请您重新输入有效的数值格式！");
    QTest::newRow("a blank number row takes whole numbers only")
        << QStringList{text, button} << "y" << QVariant(QStringLiteral("2x")) << QStringList{"10", "90"}
        << QStringLiteral("请输入整数！");
    QTest::newRow("colour of two shapes") << QStringList{"primitive 0", "primitive 1"} << "drawColorNum"
                                          << QVariant(QStringLiteral("12")) << QStringList{"12", "12"} << QString();
}

void TestPanelSelection::editGoesToAllOrNone()
{
    QFETCH(QStringList, targets);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    select(targets);
    m_window->history()->checkpoint();
    const QByteArray before = saved();

    setRow(field, value);
    m_window->history()->checkpoint();
    for (int i = 0; i < targets.size(); ++i)
        QCOMPARE(stored(targets.at(i), field), expected.at(i));
        
    QMyMessageBox *box = m_window->questionBox();
    QCOMPARE(box->isVisible() ? box->message() : QString(), message);
    QVERIFY(panel()->showsSelection());
    if (!message.isEmpty()) {
        QCOMPARE(saved(), before);
        QCOMPARE(stack()->count(), 0);
        return;
    }
    const QByteArray after = saved();
    QCOMPARE(stack()->count(), 1);
    // The step is named by the row edited.
    QCOMPARE(stack()->undoText(), field == QLatin1String("drawColorNum") ? QStringLiteral("修改属性：颜色")
                                  : field == QLatin1String("text")       ? QStringLiteral("修改属性：文本")
                                                                         : QStringLiteral("修改属性：") + field);
    stack()->undo();
    QCOMPARE(saved(), before);
    stack()->redo();
    QCOMPARE(saved(), after);
}

void TestPanelSelection::blankChoicePicksForAll()
{
    PageTable *table = m_window->pageTable();
    ControlRecord r = table->pageControls(0).at(2)->record();
    r.hAlign = 2;
    table->pageControls(0).at(2)->setRecord(r);
    select({QStringLiteral("control 0"), QStringLiteral("control 2")});
    QtProperty *p = panel()->property(QStringLiteral("hAlign"));
    QCOMPARE(panel()->enumManager->enumNames(p).first(), QString());
    QCOMPARE(shown(QStringLiteral("hAlign")), QString());
    // Entry 2 after the blank one is the second alignment, "左对齐".
    setRow(QStringLiteral("hAlign"), 2);
    QCOMPARE(stored(QStringLiteral("control 0"), QStringLiteral("hAlign")), QStringLiteral("1"));
    QCOMPARE(stored(QStringLiteral("control 2"), QStringLiteral("hAlign")), QStringLiteral("1"));
    QCOMPARE(shown(QStringLiteral("hAlign")), QStringLiteral("左对齐"));
}

void TestPanelSelection::selectionBackToOneShowsItAlone()
{
    select({QStringLiteral("control 0"), QStringLiteral("control 2")});
    QVERIFY(panel()->showsSelection());
    select({QStringLiteral("control 2")});
    QVERIFY(!panel()->showsSelection());
    QCOMPARE(panel()->curWidget(), m_window->pageTable()->pageControls(0).at(2));
    QVERIFY(panel()->property(QStringLiteral("style")));
    select({QStringLiteral("control 0"), QStringLiteral("primitive 0")});
    QVERIFY(panel()->showsSelection());
    select({});
    QVERIFY(!panel()->showsSelection());
    QVERIFY(panel()->property(QStringLiteral("parentBackgroundNum")));
}

QTEST_MAIN(TestPanelSelection)
#include "tst_panelselection.moc"
