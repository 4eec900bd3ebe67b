#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "app/recentprojects.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "editcases.h"
#include "qttreepropertybrowser.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QTableView>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

// The real window from the keyboard: Tab through its areas, tooltips of sign buttons, a palette
// item placed with Enter, pages moved up and down, and the recent projects.
class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tabWalksTheAreasInReadingOrder();
    void consoleGivesTabUp();
    void focusedButtonIsRinged();
    void signButtonsSayWhatTheyDo();
    void enterPlacesAPaletteItemInTheMiddle();
    void pageMovesCarryTheBootPage_data();
    void pageMovesCarryTheBootPage();
    void recentProjectsNewestFirst();

private:
    void openWindow();
    QStringList pageBackgrounds() const;
    PageTable *table() const { return m_window->pageTable(); }
    QUndoStack *stack() const { return m_window->history()->stack(); }
    QByteArray saved() const { return ProjectFile::toXml(m_window->projectData()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestKeyboard::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
    App::projectPath() = EditCases::writeProject(m_dir->path());
    openWindow();
}

void TestKeyboard::openWindow()
{
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1280, 800);
    m_window->show();
    m_window->questionBox()->hide();
    m_window->infoBox()->hide();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QTRY_VERIFY(m_window->isActiveWindow());
}

void TestKeyboard::cleanup()
{
    m_window.reset();
    App::projectPath().clear();
    m_dir.reset();
}

void TestKeyboard::tabWalksTheAreasInReadingOrder()
{
    MainForm &ui = m_window->form();
    ui.btnNewPro->setFocus();
    QWidget *tree = m_window->propertyPanel()->browser()->treeWidget();
    // Each area once, in this order; stops inside an area come between.
    QList<QWidget *> areas;
    areas << ui.btnNewPro << ui.btnVersion << ui.listView << ui.listWidget << m_window->canvas() << ui.textBrowser
          << ui.btnSendCmd << tree << ui.cbBootJump << ui.tvImage << ui.btnDownLoad;
    QList<QWidget *> visited{QApplication::focusWidget()};
    for (int i = 0; i < 60 && visited.size() < 200; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    int at = -1;
    for (QWidget *area : areas) {
        const int found = visited.indexOf(area, at + 1);
        QVERIFY2(found > at, qPrintable(area->objectName() + QStringLiteral(" out of order")));
        at = found;
    }
    // Nothing was typed into the console on the way.
    QCOMPARE(ui.textBrowser->toPlainText(), QString());
}

void TestKeyboard::consoleGivesTabUp()
{
    QTextBrowser *console = m_window->form().textBrowser;
    console->setFocus();
    QTest::keyClicks(console, QStringLiteral("CLR(0);"));
    QTest::keyClick(console, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(console->toPlainText(), QStringLiteral("CLR(0);\t"));
    QTest::keyClick(console, Qt::Key_Tab);
    QVERIFY(!console->hasFocus());
    QCOMPARE(console->toPlainText(), QStringLiteral("CLR(0);\t"));
}

void TestKeyboard::focusedButtonIsRinged()
{
    // The same button drawn with and without the keyboard looks different.
    for (QWidget *b : {static_cast<QWidget *>(m_window->form().btnSavePro),
                       static_cast<QWidget *>(m_window->form().btnSendCmd)}) {
        m_window->form().listWidget->setFocus();
        QTRY_VERIFY(!b->hasFocus());
        const QImage plain = b->grab().toImage();
        b->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(b->hasFocus());
        QVERIFY2(b->grab().toImage() != plain, qPrintable(b->objectName()));
    }
}

void TestKeyboard::signButtonsSayWhatTheyDo()
{
    MainForm &ui = m_window->form();
    for (QAbstractButton *b : {static_cast<QAbstractButton *>(ui.btnPageAdd), static_cast<QAbstractButton *>(ui.btnPageSub),
                               static_cast<QAbstractButton *>(ui.btnImageFontAdd),
                               static_cast<QAbstractButton *>(ui.btnImageFontSub)})
        QVERIFY2(!b->toolTip().isEmpty() && b->toolTip() != b->text(), qPrintable(b->objectName()));
    // Buttons of the undo and redo actions name their keys.
    QStringList tips;
    for (QToolButton *b : m_window->statusBar()->findChildren<QToolButton *>()) {
        if (b->defaultAction())
            tips << b->toolTip();
    }
    const QString undoKey = QKeySequence(Qt::CTRL | Qt::Key_Z).toString(QKeySequence::NativeText);
    const QString redoKey = QKeySequence(Qt::CTRL | Qt::Key_Y).toString(QKeySequence::NativeText);
    QVERIFY2(tips.filter(undoKey).size() == 1 && tips.filter(redoKey).size() == 1, qPrintable(tips.join(QLatin1Char('|'))));
}

void TestKeyboard::enterPlacesAPaletteItemInTheMiddle()
{
    QListView *palette = m_window->form().listView;
    QMyFrame *canvas = m_window->canvas();
    const int before = table()->pageControls(0).size();
    palette->setFocus();
    palette->setCurrentIndex(palette->model()->index(2, 0));  // the button
    QTest::keyClick(palette, Qt::Key_Return);
    QCOMPARE(table()->pageControls(0).size(), before + 1);
    QMyWidget *w = table()->pageControls(0).last();
    QVERIFY(w->kind() == ControlKind::Button);
    QCOMPARE(table()->selectedControls(), QList<QMyWidget *>{w});
    QCOMPARE(m_window->propertyPanel()->curWidget(), w);
    const QPoint middle = canvas->toModule(canvas->visibleRegion().boundingRect().center());
    const QPoint centre(w->getX() + w->getW() / 2, w->getY() + w->getH() / 2);
    QVERIFY2((centre - middle).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
    QTRY_COMPARE(stack()->count(), 1);
    stack()->undo();
    QCOMPARE(table()->pageControls(0).size(), before);
}

QStringList TestKeyboard::pageBackgrounds() const
{
    QStringList s;
    for (const PageData &p : m_window->projectData().pages)
        s << QString::number(p.backgroundNum);
    return s;
}

void TestKeyboard::pageMovesCarryTheBootPage_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("boot");  // -1: none picked
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("bootAfter");
    QTest::newRow("boot page moved down by key") << 1 << 1 << true << 1 << QStringList{"0", "2", "1", "3"} << 2;
    QTest::newRow("page above the boot page moved down") << 0 << 1 << false << 1 << QStringList{"1", "0", "2", "3"} << 0;
    QTest::newRow("last page up past the boot page") << 3 << 2 << true << -1 << QStringList{"0", "1", "3", "2"} << 3;
    QTest::newRow("first page cannot go up") << 0 << 2 << true << -1 << QStringList{"0", "1", "2", "3"} << 2;
    QTest::newRow("boot page not picked follows the page shown")
        << 2 << -1 << false << -1 << QStringList{"0", "2", "1", "3"} << 1;
}

void TestKeyboard::pageMovesCarryTheBootPage()
{
    QFETCH(int, shown);
    QFETCH(int, boot);
    QFETCH(bool, byKey);
    QFETCH(int, delta);
    QFETCH(QStringList, order);
    QFETCH(int, bootAfter);
    for (int i = 1; i < 4; ++i)
        m_window->addPage();
    for (int i = 0; i < 4; ++i) {
        m_window->form().listWidget->setCurrentRow(i);
        m_window->canvas()->setPageBackgroundNum(i);
    }
    m_window->pickBootPage(boot);
    m_window->form().listWidget->setCurrentRow(shown);
    m_window->history()->checkpoint();
    const int steps = stack()->count();
    const QByteArray before = saved();

    if (byKey) {
        m_window->form().listWidget->setFocus();
        QTest::keyClick(m_window->form().listWidget, delta < 0 ? Qt::Key_Up : Qt::Key_Down,
                        Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QMenu *menu = m_window->pageMenu();
        emit menu->aboutToShow();
        QAction *a = delta < 0 ? m_window->pageUpAction() : m_window->pageDownAction();
        QVERIFY(menu->actions().contains(a));
        QVERIFY(a->isEnabled());
        a->trigger();
    }
    QCOMPARE(pageBackgrounds(), order);
    QCOMPARE(m_window->bootPage(), bootAfter);
    QCOMPARE(m_window->form().cbBootJump->currentIndex(), bootAfter);
    const bool moved = order != QStringList{"0", "1", "2", "3"};
    m_window->history()->checkpoint();
    QCOMPARE(stack()->count(), steps + (moved ? 1 : 0));
    if (!moved)
        return;
    QCOMPARE(m_window->currentPage(), shown + delta);
    QCOMPARE(m_window->form().listWidget->currentRow(), shown + delta);
    QCOMPARE(stack()->undoText(), QStringLiteral("移动页面"));
    const QByteArray after = saved();
    stack()->undo();
    QCOMPARE(saved(), before);
    QCOMPARE(m_window->bootPage(), boot < 0 ? shown : boot);
    stack()->redo();
    QCOMPARE(saved(), after);
}

void TestKeyboard::recentProjectsNewestFirst()
{
    RecentProjects *recent = m_window->recentProjects();
    // The project open at the start is listed.
    QCOMPARE(recent->paths().value(0), QFileInfo(App::projectPath()).absoluteFilePath());
    recent->clear();
    QStringList made;
    for (int i = 0; i < 10; ++i) {
        const QString folder = m_dir->filePath(QStringLiteral("p%1").arg(i));
        made << EditCases::writeProject(folder);
        recent->add(made.last());
    }
    recent->add(made.at(5));  // again: to the front, once
    QStringList expected{made.at(5), made.at(9), made.at(8), made.at(7), made.at(6), made.at(4), made.at(3), made.at(2)};
    QCOMPARE(recent->paths(), expected);

    // A file gone is greyed and can be taken off.
    QFile::remove(made.at(8));
    QMenu *menu = m_window->recentMenu();
    emit menu->aboutToShow();
    QList<QAction *> entries;
    for (QAction *a : menu->actions()) {
        if (!a->data().toString().isEmpty())
            entries << a;
    }
    QCOMPARE(entries.size(), 8);
    QVERIFY(!entries.at(2)->isEnabled());
    QVERIFY(entries.at(1)->isEnabled());
    auto *prune = menu->findChild<QAction *>(QStringLiteral("actionRemoveMissing"));
    QVERIFY(prune && prune->isEnabled());
    prune->trigger();
    expected.removeAt(2);
    QCOMPARE(recent->paths(), expected);

    // Picking one asks the import question; yes opens it and puts it first.
    emit menu->aboutToShow();
    QAction *pick = nullptr;
    for (QAction *a : menu->actions()) {
        if (a->data().toString() == made.at(7))
            pick = a;
    }
    QVERIFY(pick);
    pick->trigger();
    QMyMessageBox *box = m_window->questionBox();
    QVERIFY(box->isVisible());
    QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    QCOMPARE(QFileInfo(App::projectPath()).absoluteFilePath(), made.at(7));
    QCOMPARE(recent->paths().first(), made.at(7));

    // Kept for the next run.
    m_window.reset();
    openWindow();
    QCOMPARE(m_window->recentProjects()->paths().mid(0, 2), (QStringList{made.at(7), made.at(5)}));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
