#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "editcases.h"

#include <QAction>
#include <QInputDialog>
#include <QListWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

// The firmware's names in the real window: renaming a page from the page list, and the names
// copies are given.
class TestNaming : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pageRenameFromTheList_data();
    void pageRenameFromTheList();
    void copiesGetFreshNames();
    void pageCopyGetsAFreshName();

private:
    QListWidget *list() const { return m_w->form().listWidget; }
    QMyFrame *canvas() const { return m_w->canvas(); }
    QList<QMyWidget *> controls() const { return m_w->pageTable()->pageControls(m_w->pageTable()->currentPage()); }
    QStringList controlNames() const
    {
        QStringList names;
        for (const QMyWidget *w : controls())
            names << w->record().name;
        return names;
    }
    // Answers the open name dialog with text.
    void answerDialog(const QString &text);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_w;
};

void TestNaming::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
    ProjectData d = EditCases::project();
    d.pages.append(d.pages.first());
    d.pages[0].name = QStringLiteral("main");
    App::projectPath() = EditCases::writeProject(m_dir->path(), d);
    m_w = std::make_unique<MainWindow>();
    m_w->questionBox()->hide();
    m_w->show();
}

void TestNaming::cleanup()
{
    m_w.reset();
    App::projectPath().clear();
    m_dir.reset();
}

void TestNaming::answerDialog(const QString &text)
{
    auto *dialog = m_w->findChild<QInputDialog *>(QStringLiteral("pageNameDialog"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    dialog->setTextValue(text);
    dialog->accept();
    QCoreApplication::processEvents();
}

void TestNaming::pageRenameFromTheList_data()
{
    QTest::addColumn<bool>("byMenu");  // the context menu's entry, else a double click
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("refusal");  // a word of the message, empty when taken
    QTest::newRow("double click") << false << "settings" << "settings" << QString();
    QTest::newRow("menu") << true << "settings" << "settings" << QString();
    QTest::newRow("spaces around") << false << "  info_2 " << "info_2" << QString();
    QTest::newRow("emptied") << true << "" << "" << QString();
    QTest::newRow("another page's") << false << "main" << "" << "已被使用";
    QTest::newRow("invalid") << true << "2nd page" << "" << "无效";
    QTest::newRow("too long") << false << QString(33, QLatin1Char('p')) << "" << "过长";
}

void TestNaming::pageRenameFromTheList()
{
    QFETCH(bool, byMenu);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, refusal);
    QUndoStack *stack = m_w->history()->stack();
    const int commands = stack->count();
    list()->setCurrentRow(1);
    if (byMenu) {
        m_w->pageRenameAction()->trigger();
    } else {
        const QRect r = list()->visualItemRect(list()->item(1));
        // A double click is a press, a release and a double-click press on the same item.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }
    answerDialog(typed);
    QCOMPARE(m_w->pageTable()->pageName(1), stored);
    QCOMPARE(list()->item(1)->text(), stored.isEmpty() ? QStringLiteral("Page1") : QStringLiteral("Page1 (%1)").arg(stored));
    QCOMPARE(list()->item(0)->text(), QStringLiteral("Page0 (main)"));
    QMyMessageBox *box = m_w->questionBox();
    if (!refusal.isEmpty()) {
        QVERIFY(box->isVisible());
        QVERIFY2(box->message().contains(refusal), qPrintable(box->message()));
        QCOMPARE(stack->count(), commands);
        return;
    }
    QVERIFY(!box->isVisible());
    if (stored.isEmpty())
        return;  // no name before, none after: nothing to undo
    // One undoable step, and the list follows it both ways.
    QCOMPARE(stack->count(), commands + 1);
    stack->undo();
    QCOMPARE(m_w->pageTable()->pageName(1), QString());
    QCOMPARE(list()->item(1)->text(), QStringLiteral("Page1"));
    stack->redo();
    QCOMPARE(list()->item(1)->text(), QStringLiteral("Page1 (%1)").arg(stored));
    QVERIFY(m_w->saveProject());
    ProjectData back;
    QVERIFY(ProjectFile::read(App::projectPath(), 2, &back).ok);
    QCOMPARE(back.pages.at(1).name, stored);
}

// Paste, duplicate and group paste on a page: a taken name gets the next free "_N".
void TestNaming::copiesGetFreshNames()
{
    list()->setCurrentRow(1);
    QCOMPARE(controlNames().at(3), QStringLiteral("level"));
    QMyWidget *level = controls().at(3);
    canvas()->setSelectedControl(level);
    canvas()->slotCopyAction();
    canvas()->setPastePos(QPoint(10, 200));
    canvas()->slotPasteAction();
    canvas()->slotPasteAction();
    QCOMPARE(controlNames().mid(6), (QStringList{"level_2", "level_3"}));
    canvas()->setSelectedControl(controls().last());
    canvas()->duplicateSelection();
    QCOMPARE(controlNames().last(), QStringLiteral("level_4"));
    // Unnamed controls stay unnamed.
    canvas()->setSelectedControl(controls().at(0));
    canvas()->slotCopyAction();
    canvas()->slotPasteAction();
    QCOMPARE(controlNames().last(), QString());
    // On a page without that name a copy keeps it.
    canvas()->setSelectedControl(level);
    canvas()->slotCopyAction();
    list()->setCurrentRow(0);
    canvas()->slotPasteAction();
    QCOMPARE(controlNames().last(), QStringLiteral("level_2"));  // page 0 has "level" too
    m_w->pageTable()->pageControls(0).at(3)->setName(QStringLiteral("other"));
    canvas()->slotPasteAction();
    QCOMPARE(controlNames().last(), QStringLiteral("level"));
    QStringList named = controlNames();
    named.removeAll(QString());
    QCOMPARE(QSet<QString>(named.begin(), named.end()).size(), named.size());
}

void TestNaming::pageCopyGetsAFreshName()
{
    list()->setCurrentRow(0);
    m_w->slotCopyAction();
    m_w->slotPasteAction();
    m_w->slotPasteAction();
    QCOMPARE(m_w->pageTable()->pageNames(), (QStringList{"main", QString(), "main_2", "main_3"}));
    QCOMPARE(list()->item(3)->text(), QStringLiteral("Page3 (main_3)"));
    // The controls keep their names: each page is a scope of its own.
    QCOMPARE(m_w->pageTable()->pageData(3).controls.at(3).name, QStringLiteral("level"));
}

QTEST_MAIN(TestNaming)
#include "tst_naming.moc"
