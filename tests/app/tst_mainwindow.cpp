#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/setscreensizedlg.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "file/projectfile.h"

#include <QAction>
#include <QComboBox>
#include <QToolButton>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

// Runs the window's flows against real folders, answering its dialogs in code.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newProjectMakesFoldersFileAndTitle();
    void newProjectPageSize_data();
    void newProjectPageSize();
    void newProjectInExistingFolderIsRefused();
    void pagesAddSwitchAndBootJump();
    void pageDeleteRenumbersAndRefreshesBootJump();
    void lastPageCannotBeDeleted();
    void pageCopyPaste();
    void shortcutsCopyPasteAndDeleteOnTheCanvas_data();
    void shortcutsCopyPasteAndDeleteOnTheCanvas();
    void standardKeys();
    void deletingThePageOfTheSelectedControlClearsTheSelection();
    void noProjectRefusesPageAddAndSave();
    void bootAnimationPictureRules();
    void saveThenImportGivesTheSameProject();
    void startWithProjectArgumentLoadsIt();
    void startWithDamagedProjectSaysSoAndSavesOnlyWhenAsked();
    void autoSaveWritesSilently();
    void exitWithNoRestoresTempImages();
    void exitWithNoKeepsTempImagesWhenThereIsNoBackup();
    void importDiscardsUnsavedPicturesOfTheOldProject();
    void exitWithYesSavesAndCloses();
    void failedSaveWarnsAndKeepsTheWindowOpen();
    void importOfTheOpenFileDoesNothing();
    void importOfDamagedFileLeavesTheOpenProject();
    void missingPictureFolderIsRestoredFromTheBackup_data();
    void missingPictureFolderIsRestoredFromTheBackup();
    void importRestoresAMissingPictureFolder();
    void startWithAMissingProjectCreatesNothing();
    void importOfANonProjectNameKeepsTheOpenProject();

private:
    std::unique_ptr<MainWindow> makeWindow();
    // The window's own dialogs answered in code: the resolution and orientation, then a file.
    void newProject(MainWindow &w, const QString &file, const QString &resolution = QStringLiteral("240*320(QVGA-1)"),
                    int orientation = 0);
    void importProject(MainWindow &w, const QString &file);
    static void answer(QMyMessageBox *box, bool yes);
    static ProjectData sampleProject();
    static void writePicture(const QString &path, QSize size);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    QString m_nextFile;
    QString m_resolution;
    int m_orientation = 0;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestMainWindow::cleanup()
{
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

std::unique_ptr<MainWindow> TestMainWindow::makeWindow()
{
    auto w = std::make_unique<MainWindow>();
    MainWindow *wp = w.get();
    w->setFileChooser([this](MainWindow::FileDialog) { return m_nextFile; });
    w->setScreenSizeRunner([this, wp]() {
        SetScreenSizeDlg *d = wp->screenSizeDlg();
        QRadioButton *codes[] = {d->rbPorTrait_0, d->rbLandScape_90, d->rbPorTrait_180, d->rbLandScape_270};
        codes[m_orientation]->setChecked(true);
        d->cbVGA->setCurrentText(m_resolution);
        d->on_btnOK_clicked();
        return true;
    });
    return w;
}

void TestMainWindow::newProject(MainWindow &w, const QString &file, const QString &resolution, int orientation)
{
    m_nextFile = file;
    m_resolution = resolution;
    m_orientation = orientation;
    w.on_btnNewPro_clicked();
}

void TestMainWindow::importProject(MainWindow &w, const QString &file)
{
    m_nextFile = file;
    w.on_btnLoadPro_clicked();
    QVERIFY(w.questionBox()->isVisible());
    QCOMPARE(w.questionBox()->code(), 9);
    answer(w.questionBox(), true);
}

void TestMainWindow::answer(QMyMessageBox *box, bool yes)
{
    auto *b = box->findChild<QPushButton *>(yes ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void TestMainWindow::writePicture(const QString &path, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(path));
}

ProjectData TestMainWindow::sampleProject()
{
    ProjectData d;
    d.frameW = 320;
    d.frameH = 240;
    d.screenType = 1;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    d.baud = QStringLiteral("9600");
    d.blValue = 33;
    d.logo1 = 0;
    d.logo2 = 1;
    d.logoX = 5;
    d.logoY = 6;
    d.logoW = 70;
    d.logoH = 80;
    d.logoTime = 250;
    d.currentPage = 1;
    PageData p0;
    p0.backgroundNum = 3;
    p0.imageNum = 1;
    ControlRecord label = ControlRecord::make(ControlKind::Text, 0);
    label.x = 10;
    label.y = 20;
    label.text = QStringLiteral("温度");
    p0.controls.append(label);
    p0.controls.append(ControlRecord::make(ControlKind::QRCode, 0));
    QMyDrawType box;
    box.setDrawType(QMyDrawType::Box);
    box.setStart(4, 5);
    box.setEnd(40, 50);
    box.setColorNum(9);
    p0.primitives.append(box);
    PageData p1;
    p1.helpLineNum = 2;
    p1.helpLineLeft = 7;
    ControlRecord button = ControlRecord::make(ControlKind::Button, 0);
    button.pressImageNum = 0;
    p1.controls.append(button);
    QMyDrawType circle;
    circle.setDrawType(QMyDrawType::Circle);
    circle.setStart(60, 60);
    circle.setRadius(12);
    p1.primitives.append(circle);
    d.pages = {p0, p1, PageData()};
    d.parentImageNum = d.pages.at(d.currentPage).imageNum;
    d.parentBackgroundNum = d.pages.at(d.currentPage).backgroundNum;
    return d;
}

void TestMainWindow::newProjectMakesFoldersFileAndTitle()
{
    auto w = makeWindow();
    QCOMPARE(w->windowTitle(), QStringLiteral("路径：/opt/tavo/tavo"));
    QVERIFY(!w->form().frame->isVisibleTo(w.get()));
    const QString file = m_dir->filePath(QStringLiteral("demo.Tavo"));
    newProject(*w, file);
    const QString folder = m_dir->filePath(QStringLiteral("demo"));
    const QString projectFile = folder + QStringLiteral("/demo.Tavo");
    for (const char *sub : {"", "/tempImages", "/tempFonts", "/backUpImages"})
        QVERIFY2(QFileInfo(folder + QLatin1String(sub)).isDir(), sub);
    QCOMPARE(App::projectPath(), projectFile);
    QCOMPARE(w->windowTitle(), QStringLiteral("路径：") + projectFile);
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(projectFile, 0, &onDisk).ok);
    QCOMPARE(onDisk.pages.size(), 1);
    QCOMPARE(onDisk.dpi, QStringLiteral("240*320(QVGA-1)"));
    QCOMPARE(w->form().listWidget->count(), 1);
    QCOMPARE(w->form().listWidget->item(0)->text(), QStringLiteral("Page0"));
    QVERIFY(w->form().frame->isVisibleTo(w.get()));
    QVERIFY(w->autoSaveActive());
}

void TestMainWindow::newProjectPageSize_data()
{
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<int>("screenType");
    QTest::newRow("QVGA code 0") << "240*320(QVGA-1)" << 0 << QSize(240, 320) << 0;
    QTest::newRow("QVGA code 1") << "240*320(QVGA-1)" << 1 << QSize(320, 240) << 1;
    QTest::newRow("HHVGA") << "480*272(HHVGA)" << 0 << QSize(480, 272) << 1;
    QTest::newRow("WVGA-1") << "800*480(WVGA-1)" << 2 << QSize(800, 480) << 1;
    QTest::newRow("WVGA-2") << "480*800(WVGA-2)" << 0 << QSize(800, 480) << 1;
    QTest::newRow("WSVGA") << "1024*600(WSVGA)" << 3 << QSize(1024, 600) << 1;
}

void TestMainWindow::newProjectPageSize()
{
    QFETCH(QString, resolution);
    QFETCH(int, orientation);
    QFETCH(QSize, page);
    QFETCH(int, screenType);
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")), resolution, orientation);
    QCOMPARE(w->pageSize(), page);
    QCOMPARE(w->screenType(), screenType);
    QCOMPARE(w->form().frame->size(), page);
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(App::projectPath(), 0, &onDisk).ok);
    QCOMPARE(QSize(onDisk.frameW, onDisk.frameH), page);
    QCOMPARE(onDisk.screenType, screenType);
}

void TestMainWindow::newProjectInExistingFolderIsRefused()
{
    auto w = makeWindow();
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("demo"))));
    newProject(*w, m_dir->filePath(QStringLiteral("demo.Tavo")));
    QVERIFY(w->questionBox()->isVisible());
    QCOMPARE(w->questionBox()->message(), QStringLiteral("新建项目名称已存在，请您重新命名！"));
    QCOMPARE(App::projectPath(), QString());
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("demo/demo.Tavo"))));
    QCOMPARE(w->pageCount(), 0);
}

void TestMainWindow::pagesAddSwitchAndBootJump()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    MainForm &ui = w->form();
    QTest::mouseClick(ui.btnPageAdd, Qt::LeftButton);
    QTest::mouseClick(ui.btnPageAdd, Qt::LeftButton);
    QCOMPARE(w->pageCount(), 3);
    QCOMPARE(ui.listWidget->item(2)->text(), QStringLiteral("Page2"));
    QCOMPARE(ui.listWidget->currentRow(), 2);
    QCOMPARE(w->currentPage(), 2);
    QCOMPARE(ui.cbBootJump->count(), 3);
    QCOMPARE(ui.cbBootJump->currentIndex(), 2);
    ui.listWidget->setCurrentRow(1);
    QCOMPARE(w->currentPage(), 1);
    QCOMPARE(ui.cbBootJump->currentIndex(), 1);
}

void TestMainWindow::pageDeleteRenumbersAndRefreshesBootJump()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    MainForm &ui = w->form();
    w->addPage();
    w->addPage();
    ui.listWidget->setCurrentRow(1);

    // No keeps the page.
    QTest::mouseClick(ui.btnPageSub, Qt::LeftButton);
    QCOMPARE(w->questionBox()->code(), 1);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("是否删除当前页？"));
    answer(w->questionBox(), false);
    QCOMPARE(w->pageCount(), 3);

    QTest::mouseClick(ui.btnPageSub, Qt::LeftButton);
    answer(w->questionBox(), true);
    QCOMPARE(w->pageCount(), 2);
    QCOMPARE(ui.listWidget->count(), 2);
    QCOMPARE(ui.listWidget->item(0)->text(), QStringLiteral("Page0"));
    QCOMPARE(ui.listWidget->item(1)->text(), QStringLiteral("Page1"));
    QCOMPARE(ui.listWidget->currentRow(), 0);
    QCOMPARE(w->currentPage(), 0);
    QCOMPARE(ui.cbBootJump->count(), 2);
    QCOMPARE(ui.cbBootJump->itemText(0), QStringLiteral("0"));
    QCOMPARE(ui.cbBootJump->itemText(1), QStringLiteral("1"));
}

void TestMainWindow::lastPageCannotBeDeleted()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    QTest::mouseClick(w->form().btnPageSub, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("不可删除最后一页！"));
    QCOMPARE(w->questionBox()->title(), QStringLiteral("警告"));
    answer(w->questionBox(), false);
    QCOMPARE(w->pageCount(), 1);
}

void TestMainWindow::pageCopyPaste()
{
    const ProjectData sample = sampleProject();
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    writePicture(folder + QStringLiteral("/tempImages/100001_a.bmp"), QSize(8, 8));
    writePicture(folder + QStringLiteral("/tempImages/100002_b.bmp"), QSize(8, 8));
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sample));
    auto w = makeWindow();
    importProject(*w, folder + QStringLiteral("/s.Tavo"));
    w->form().listWidget->setCurrentRow(0);
    w->pageCopyAction()->trigger();
    w->pagePasteAction()->trigger();
    QCOMPARE(w->pageCount(), 4);
    QCOMPARE(w->currentPage(), 3);
    QCOMPARE(w->projectData().pages.at(3), sample.pages.at(0));
}

namespace {

// A fast typist's press: Ctrl goes up before the letter does.
void ctrlLetGoFirst(QWidget *w, Qt::Key key)
{
    QTest::keyPress(w, Qt::Key_Control);
    QTest::keyPress(w, key, Qt::ControlModifier);
    QTest::keyRelease(w, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(w, key, Qt::NoModifier);
}

void activate(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

}  // namespace

void TestMainWindow::shortcutsCopyPasteAndDeleteOnTheCanvas_data()
{
    QTest::addColumn<bool>("ctrlFirst");
    QTest::newRow("ctrl held") << false;
    QTest::newRow("ctrl let go first") << true;
}

void TestMainWindow::shortcutsCopyPasteAndDeleteOnTheCanvas()
{
    QFETCH(bool, ctrlFirst);
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sampleProject()));
    auto w = makeWindow();
    importProject(*w, folder + QStringLiteral("/s.Tavo"));
    activate(w.get());
    w->form().listWidget->setCurrentRow(0);
    PageTable *table = w->pageTable();
    QCOMPARE(table->pageControls(0).size(), 2);
    QMyWidget *label = table->pageControls(0).at(0);
    w->canvas()->slotRecvWnd(label);
    w->form().listWidget->setFocus();
    auto press = [&](Qt::Key key) {
        if (ctrlFirst)
            ctrlLetGoFirst(w.get(), key);
        else
            QTest::keyClick(w.get(), key, Qt::ControlModifier);
    };

    // One press, one action: a copy, then exactly one pasted control.
    press(Qt::Key_C);
    press(Qt::Key_V);
    QCOMPARE(table->pageControls(0).size(), 3);
    QCOMPARE(table->pageControls(0).at(2)->text(), QStringLiteral("温度"));

    QMyWidget *pasted = table->pageControls(0).at(2);
    w->canvas()->slotRecvWnd(pasted);
    pasted->setSelected(true);
    QTest::keyClick(w.get(), Qt::Key_Delete);
    QCOMPARE(table->pageControls(0).size(), 2);

    // A text field with the cursor keeps the keys to itself.
    w->canvas()->slotRecvWnd(label);
    label->setSelected(true);
    for (QWidget *field : {static_cast<QWidget *>(w->form().sbLogoX), static_cast<QWidget *>(w->form().textBrowser)}) {
        field->setFocus();
        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(w.get(), Qt::Key_Delete);
        press(Qt::Key_V);
        press(Qt::Key_D);
        QCOMPARE(table->pageControls(0).size(), 2);
    }
}

void TestMainWindow::standardKeys()
{
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sampleProject()));
    auto w = makeWindow();
    importProject(*w, folder + QStringLiteral("/s.Tavo"));
    activate(w.get());
    w->form().listWidget->setCurrentRow(0);
    w->form().listWidget->setFocus();
    PageTable *table = w->pageTable();

    // Ctrl+A: both controls and the box of page 0.
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(table->selectedControls().size(), 2);
    QCOMPARE(table->selectedPrimitives().size(), 1);

    // Ctrl+D: one copy of the label, 10 pixels down and right, and it is what is selected.
    QMyWidget *label = table->pageControls(0).at(0);
    w->canvas()->selectItems({label}, {});
    QTest::keyClick(w.get(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(table->pageControls(0).size(), 3);
    QMyWidget *copy = table->pageControls(0).at(2);
    QCOMPARE(copy->text(), QStringLiteral("温度"));
    QCOMPARE(copy->geometryRect().topLeft(), QPoint(20, 30));
    QCOMPARE(table->selectedControls(), QList<QMyWidget *>{copy});
    // The copy of a copy goes on from there; what was copied before stays copied.
    QTest::keyClick(w.get(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(table->pageControls(0).at(3)->geometryRect().topLeft(), QPoint(30, 40));
    QVERIFY(!w->canvas()->controlClipboard());

    // Ctrl+S asks, as the button does.
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(w->questionBox()->isVisible());
    QCOMPARE(w->questionBox()->code(), 7);
    answer(w->questionBox(), true);
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(folder + QStringLiteral("/s.Tavo"), 0, &onDisk).ok);
    QCOMPARE(onDisk.pages.at(0).controls.size(), 4);

    // Ctrl+O asks before importing, a saved project being replaced too; Ctrl+N starts a new project.
    QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
    QVERIFY(w->questionBox()->isVisible());
    QCOMPARE(w->questionBox()->code(), 9);
    QCOMPARE(w->questionBox()->message(),
             QStringLiteral("您是否需要继续导入项目覆盖当前项目？（建议您先保存当前项目再导入！）"));
    answer(w->questionBox(), false);
    const QString made = m_dir->filePath(QStringLiteral("n.Tavo"));
    m_nextFile = made;
    m_resolution = QStringLiteral("240*320(QVGA-1)");
    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(App::projectPath(), m_dir->filePath(QStringLiteral("n/n.Tavo")));

    // The keys are named where the actions are.
    QVERIFY(w->form().btnSavePro->toolTip().contains(QStringLiteral("Ctrl+S")));
    QVERIFY(w->form().btnNewPro->toolTip().contains(QStringLiteral("Ctrl+N")));
    QVERIFY(w->form().btnLoadPro->toolTip().contains(QStringLiteral("Ctrl+O")));
    QStringList menu;
    for (QAction *a : w->canvas()->contextMenu()->actions())
        menu << a->shortcut().toString();
    for (const char *key : {"Ctrl+C", "Ctrl+V", "Ctrl+D", "Del", "Ctrl+A"})
        QVERIFY2(menu.contains(QLatin1String(key)), key);
}

void TestMainWindow::deletingThePageOfTheSelectedControlClearsTheSelection()
{
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sampleProject()));
    auto w = makeWindow();
    importProject(*w, folder + QStringLiteral("/s.Tavo"));
    w->form().listWidget->setCurrentRow(1);
    QMyWidget *button = w->pageTable()->pageControls(1).at(0);
    w->canvas()->slotRecvWnd(button);
    w->canvas()->slotCopyAction();
    QCOMPARE(w->canvas()->selectedControl(), button);
    w->on_btnPageSub_clicked();
    answer(w->questionBox(), true);
    QCOMPARE(w->pageCount(), 2);
    QCOMPARE(w->canvas()->selectedControl(), nullptr);
    QCOMPARE(w->canvas()->controlClipboard(), nullptr);
    QCOMPARE(w->form().listWidget->item(1)->text(), QStringLiteral("Page1"));
}

void TestMainWindow::noProjectRefusesPageAddAndSave()
{
    auto w = makeWindow();
    QTest::mouseClick(w->form().btnPageAdd, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("未创建项目，请您先创建项目！"));
    QCOMPARE(w->pageCount(), 0);
    answer(w->questionBox(), false);
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("未创建项目，请您先创建项目！"));
    QCOMPARE(w->questionBox()->code(), 0);
}

void TestMainWindow::bootAnimationPictureRules()
{
    auto w = makeWindow();
    MainForm &ui = w->form();
    QMyMessageBox *box = w->questionBox();

    w->setSelectedImageNum(-1);
    QTest::mouseClick(ui.btnLogo1, Qt::LeftButton);
    QCOMPARE(box->message(), QStringLiteral("未选择图片，请您在图库中选择一张图片！"));
    QCOMPARE(w->logo1(), -1);

    w->setSelectedImageNum(3);
    QTest::mouseClick(ui.btnLogo2, Qt::LeftButton);
    QCOMPARE(box->message(), QStringLiteral("起始动画未设置，请您先设置起始动画！"));
    QCOMPARE(w->logo2(), -1);

    QTest::mouseClick(ui.btnLogo1, Qt::LeftButton);
    QCOMPARE(w->logo1(), 3);
    QCOMPARE(ui.editLogo1->text(), QStringLiteral("3"));

    w->setSelectedImageNum(2);
    box->hide();
    QTest::mouseClick(ui.btnLogo2, Qt::LeftButton);
    QCOMPARE(box->message(), QStringLiteral("结束动画ID不可大于起始动画ID，请您重新设置！"));
    QVERIFY(box->isVisible());
    QCOMPARE(w->logo2(), -1);

    w->setSelectedImageNum(3);
    QTest::mouseClick(ui.btnLogo2, Qt::LeftButton);
    QCOMPARE(w->logo2(), 3);
    QCOMPARE(ui.editLogo2->text(), QStringLiteral("3"));

    QTest::mouseClick(ui.btnRemoveLogo1, Qt::LeftButton);
    QCOMPARE(w->logo1(), -1);
    QCOMPARE(ui.editLogo1->text(), QString());
    QCOMPARE(w->logo2(), 3);
    QTest::mouseClick(ui.btnRemoveLogo2, Qt::LeftButton);
    QCOMPARE(w->logo2(), -1);
    QCOMPARE(ui.editLogo2->text(), QString());
}

void TestMainWindow::saveThenImportGivesTheSameProject()
{
    const ProjectData sample = sampleProject();
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    writePicture(folder + QStringLiteral("/tempImages/100001_a.bmp"), QSize(8, 8));
    writePicture(folder + QStringLiteral("/tempImages/100002_b.bmp"), QSize(8, 8));
    const QString file = folder + QStringLiteral("/s.Tavo");
    QVERIFY(ProjectFile::write(file, sample));

    auto a = makeWindow();
    importProject(*a, file);
    QCOMPARE(a->infoBox()->message(), QStringLiteral("导入成功！"));
    QCOMPARE(a->projectData(), sample);
    QCOMPARE(a->form().editLogo1->text(), QStringLiteral("0"));
    QCOMPARE(a->form().sbLogoTime->value(), 250);
    QCOMPARE(a->form().listWidget->currentRow(), 1);
    QVERIFY(a->autoSaveActive());

    // Change something, save through the question, and read it back in a fresh window.
    a->form().sbLogoX->setValue(42);
    QTest::mouseClick(a->form().btnSavePro, Qt::LeftButton);
    QCOMPARE(a->questionBox()->code(), 7);
    answer(a->questionBox(), true);
    QCOMPARE(a->infoBox()->message(), QStringLiteral("保存成功！"));
    QVERIFY(QFileInfo(folder + QStringLiteral("/backUpImages/100002_b.bmp")).isFile());

    ProjectData expected = sample;
    expected.logoX = 42;
    a.reset();
    App::projectPath().clear();
    auto b = makeWindow();
    importProject(*b, file);
    QCOMPARE(b->projectData(), expected);
}

void TestMainWindow::startWithProjectArgumentLoadsIt()
{
    const ProjectData sample = sampleProject();
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sample));
    App::projectPath() = folder + QStringLiteral("/s.Tavo");
    auto w = makeWindow();
    QCOMPARE(w->windowTitle(), QStringLiteral("路径：") + App::projectPath());
    QCOMPARE(w->pageCount(), 3);
    QCOMPARE(w->pageSize(), QSize(320, 240));
    // No pictures in the library: every picture number reads as none.
    QCOMPARE(w->logo1(), -1);
    QCOMPARE(w->projectData().pages.at(0).imageNum, -1);
}

void TestMainWindow::startWithDamagedProjectSaysSoAndSavesOnlyWhenAsked()
{
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    QByteArray xml = ProjectFile::toXml(sampleProject());
    // A primitive kind the module does not know, in the second page: the first page is read.
    const int second = xml.indexOf("<page id=\"2\"");
    const int draw = xml.indexOf("DrawClassName=\"3\"", second);
    QVERIFY(second > 0 && draw > second);
    xml.replace(draw, int(qstrlen("DrawClassName=\"3\"")), "DrawClassName=\"7\"");
    QFile f(folder + QStringLiteral("/s.Tavo"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(xml);
    f.close();
    const QString file = f.fileName();
    App::projectPath() = file;
    auto w = makeWindow();
    QVERIFY(w->infoBox()->isVisible());
    QCOMPARE(w->infoBox()->message(), QStringLiteral("加载控件错误，可能该项目之前未做保存操作，导入失败！"));
    QVERIFY(w->loadIncomplete());
    QVERIFY(w->pageCount() >= 1);
    QVERIFY(!w->autoSaveActive());

    // Neither the timer's save nor a save the user did not confirm touches the file.
    w->slotTimerAutoSavePro();
    QCOMPARE(QFileInfo(file).size(), qint64(xml.size()));
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    QVERIFY(w->questionBox()->message().contains(QStringLiteral("未能完整导入")));
    answer(w->questionBox(), false);
    QFile again(file);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), xml);

    // Saving when asked writes what is shown and auto-save resumes.
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    answer(w->questionBox(), true);
    QCOMPARE(w->infoBox()->message(), QStringLiteral("保存成功！"));
    QVERIFY(!w->loadIncomplete());
    QVERIFY(w->autoSaveActive());
    QCOMPARE(w->autoSaveInterval(), 1200000);
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(file, 0, &onDisk).ok);
    QCOMPARE(onDisk.pages.size(), w->pageCount());
}

void TestMainWindow::startWithAMissingProjectCreatesNothing()
{
    const QString folder = m_dir->filePath(QStringLiteral("gone"));
    App::projectPath() = folder + QStringLiteral("/gone.Tavo");
    auto w = makeWindow();
    QCOMPARE(w->infoBox()->message(), QStringLiteral("加载项目路径错误，导入失败！"));
    QCOMPARE(w->infoBox()->title(), QStringLiteral("错误"));
    QVERIFY(!App::isProjectOpen());
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(w->windowTitle(), QStringLiteral("路径：/opt/tavo/tavo"));
    QCOMPARE(w->pageCount(), 0);
    // With no project open, nothing can be saved over a 0 x 0 page.
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("未创建项目，请您先创建项目！"));
    QVERIFY(!QFileInfo::exists(folder));
}

// A saved project with pictures 0 and 1, both in the working folder and in the backup.
static QString savedProjectWithPictures(const QString &root)
{
    const QString folder = root + QStringLiteral("/s");
    for (const char *sub : {"/tempImages", "/backUpImages"}) {
        QDir().mkpath(folder + QLatin1String(sub));
        for (const char *name : {"/100001_a.bmp", "/100002_b.bmp"}) {
            QImage img(QSize(6, 4), QImage::Format_RGB32);
            img.fill(Qt::blue);
            img.save(folder + QLatin1String(sub) + QLatin1String(name));
        }
    }
    return folder;
}

void TestMainWindow::missingPictureFolderIsRestoredFromTheBackup_data()
{
    QTest::addColumn<bool>("removeFolder");
    QTest::newRow("folder missing") << true;
    QTest::newRow("folder emptied") << false;
}

void TestMainWindow::missingPictureFolderIsRestoredFromTheBackup()
{
    QFETCH(bool, removeFolder);
    const QString folder = savedProjectWithPictures(m_dir->path());
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sampleProject()));
    QDir temp(folder + QStringLiteral("/tempImages"));
    if (removeFolder) {
        QVERIFY(temp.removeRecursively());
    } else {
        for (const QString &name : temp.entryList(QDir::Files))
            QVERIFY(temp.remove(name));
    }

    App::projectPath() = folder + QStringLiteral("/s.Tavo");
    auto w = makeWindow();
    QCOMPARE(w->infoBox()->message(),
             QStringLiteral("图片文件夹“tempImages”缺失或为空，已从“backUpImages”恢复2个文件。"));
    QCOMPARE(temp.entryList(QDir::Files).size(), 2);
    QCOMPARE(QDir(folder + QStringLiteral("/backUpImages")).entryList(QDir::Files).size(), 2);
    // The picture numbers of the file name the restored pictures.
    QCOMPARE(w->logo1(), 0);
    QCOMPARE(w->logo2(), 1);
    QCOMPARE(w->projectData().pages.at(0).imageNum, 1);

    // Saving keeps them, also when the working folder is emptied again behind the window's back.
    w->slotTimerAutoSavePro();
    QCOMPARE(QDir(folder + QStringLiteral("/backUpImages")).entryList(QDir::Files).size(), 2);
    for (const QString &name : temp.entryList(QDir::Files))
        QVERIFY(temp.remove(name));
    w->slotTimerAutoSavePro();
    QCOMPARE(QDir(folder + QStringLiteral("/backUpImages")).entryList(QDir::Files).size(), 2);
}

void TestMainWindow::importRestoresAMissingPictureFolder()
{
    const QString folder = savedProjectWithPictures(m_dir->path());
    QVERIFY(ProjectFile::write(folder + QStringLiteral("/s.Tavo"), sampleProject()));
    QVERIFY(QDir(folder + QStringLiteral("/tempImages")).removeRecursively());
    auto w = makeWindow();
    importProject(*w, folder + QStringLiteral("/s.Tavo"));
    QCOMPARE(w->infoBox()->message(), QStringLiteral("导入成功！\n图片文件夹“tempImages”缺失或为空，已从“backUpImages”恢复2个文件。"));
    QCOMPARE(w->logo1(), 0);
    QCOMPARE(w->projectData().pages.at(0).imageNum, 1);
}

void TestMainWindow::autoSaveWritesSilently()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    w->addPage();
    w->form().sbLogoTime->setValue(99);
    w->slotTimerAutoSavePro();
    QVERIFY(!w->infoBox()->isVisible());
    QVERIFY(!w->questionBox()->isVisible());
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(App::projectPath(), 0, &onDisk).ok);
    QCOMPARE(onDisk.pages.size(), 2);
    QCOMPARE(onDisk.logoTime, 99);
}

void TestMainWindow::exitWithNoRestoresTempImages()
{
    auto w = makeWindow();
    w->show();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    const QString folder = m_dir->filePath(QStringLiteral("p"));
    writePicture(folder + QStringLiteral("/tempImages/100001_saved.bmp"), QSize(4, 4));
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    answer(w->questionBox(), true);
    writePicture(folder + QStringLiteral("/tempImages/100002_unsaved.bmp"), QSize(4, 4));

    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(w->questionBox()->code(), 13);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("退出软件前是否保存当前项目？"));
    QSignalSpy closing(w.get(), &MainWindow::s_closing);
    answer(w->questionBox(), false);
    QCOMPARE(closing.count(), 1);
    QVERIFY(!w->isVisible());
    QVERIFY(QFile::exists(folder + QStringLiteral("/tempImages/100001_saved.bmp")));
    QVERIFY(!QFile::exists(folder + QStringLiteral("/tempImages/100002_unsaved.bmp")));
}

void TestMainWindow::exitWithNoKeepsTempImagesWhenThereIsNoBackup()
{
    auto w = makeWindow();
    w->show();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    const QString folder = m_dir->filePath(QStringLiteral("p"));
    writePicture(folder + QStringLiteral("/tempImages/100001_only.bmp"), QSize(4, 4));
    QVERIFY(QDir(folder + QStringLiteral("/backUpImages")).removeRecursively());
    w->close();
    answer(w->questionBox(), false);
    QVERIFY(!w->isVisible());
    QVERIFY(QFile::exists(folder + QStringLiteral("/tempImages/100001_only.bmp")));
}

void TestMainWindow::importDiscardsUnsavedPicturesOfTheOldProject()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("old.Tavo")));
    const QString old = m_dir->filePath(QStringLiteral("old"));
    writePicture(old + QStringLiteral("/tempImages/100001_unsaved.bmp"), QSize(4, 4));
    const QString other = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(other);
    QVERIFY(ProjectFile::write(other + QStringLiteral("/s.Tavo"), sampleProject()));
    importProject(*w, other + QStringLiteral("/s.Tavo"));
    QCOMPARE(w->pageCount(), 3);
    QVERIFY(!QFile::exists(old + QStringLiteral("/tempImages/100001_unsaved.bmp")));
    // The new project opens with its saved picture copy equal to the working one.
    QVERIFY(QFileInfo(other + QStringLiteral("/backUpImages")).isDir());
}

void TestMainWindow::exitWithYesSavesAndCloses()
{
    auto w = makeWindow();
    w->show();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    w->addPage();
    w->close();
    answer(w->questionBox(), true);
    QVERIFY(!w->isVisible());
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(App::projectPath(), 0, &onDisk).ok);
    QCOMPARE(onDisk.pages.size(), 2);
}

void TestMainWindow::failedSaveWarnsAndKeepsTheWindowOpen()
{
    auto w = makeWindow();
    w->show();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    QVERIFY(QDir(m_dir->filePath(QStringLiteral("p"))).removeRecursively());
    QTest::mouseClick(w->form().btnSavePro, Qt::LeftButton);
    answer(w->questionBox(), true);
    QCOMPARE(w->infoBox()->message(), QStringLiteral("路径错误，保存失败！"));
    QCOMPARE(w->infoBox()->title(), QStringLiteral("警告"));
    w->infoBox()->hide();
    w->close();
    answer(w->questionBox(), true);
    QCOMPARE(w->infoBox()->message(), QStringLiteral("路径错误，保存失败！"));
    QVERIFY(w->isVisible());
}

void TestMainWindow::importOfTheOpenFileDoesNothing()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    w->addPage();
    importProject(*w, App::projectPath());
    QCOMPARE(w->pageCount(), 2);
    QVERIFY(!w->infoBox()->isVisible());
}

void TestMainWindow::importOfDamagedFileLeavesTheOpenProject()
{
    const QString folder = m_dir->filePath(QStringLiteral("s"));
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/s.Tavo");
    QByteArray xml = ProjectFile::toXml(sampleProject());
    xml.chop(40);
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(xml);
    f.close();

    // The open project: two pages, the second shown, boot values of its own.
    const QString open = savedProjectWithPictures(m_dir->filePath(QStringLiteral("open")));
    ProjectData mine = sampleProject();
    mine.pages.removeLast();
    mine.logo1 = 1;
    mine.logo2 = 1;
    mine.logoTime = 777;
    mine.currentPage = 1;
    QVERIFY(ProjectFile::write(open + QStringLiteral("/s.Tavo"), mine));
    App::projectPath() = open + QStringLiteral("/s.Tavo");
    auto w = makeWindow();
    const ProjectData before = w->projectData();
    const QString title = w->windowTitle();
    QCOMPARE(before.pages.size(), 2);
    QCOMPARE(w->currentPage(), 1);

    importProject(*w, file);
    QCOMPARE(w->infoBox()->message(), QStringLiteral("加载控件错误，可能该项目之前未做保存操作，导入失败！"));
    QCOMPARE(w->infoBox()->title(), QStringLiteral("错误"));
    QCOMPARE(App::projectPath(), open + QStringLiteral("/s.Tavo"));
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(w->currentPage(), 1);
    QCOMPARE(w->form().editLogo1->text(), QStringLiteral("1"));
    QCOMPARE(w->form().editLogo2->text(), QStringLiteral("1"));
    QCOMPARE(w->form().sbLogoTime->value(), 777);
    QVERIFY(!w->loadIncomplete());
    QVERIFY(w->autoSaveActive());
    QCOMPARE(ProjectFile::toXml(w->projectData()), ProjectFile::toXml(before));
    // Neither file changed.
    QFile again(file);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), xml);
}

void TestMainWindow::importOfANonProjectNameKeepsTheOpenProject()
{
    auto w = makeWindow();
    newProject(*w, m_dir->filePath(QStringLiteral("p.Tavo")));
    w->addPage();
    const QString open = App::projectPath();
    importProject(*w, m_dir->filePath(QStringLiteral("notes.txt")));
    QCOMPARE(w->infoBox()->message(), QStringLiteral("加载项目路径错误，导入失败！"));
    QCOMPARE(w->infoBox()->title(), QStringLiteral("错误"));
    QCOMPARE(App::projectPath(), open);
    QVERIFY(App::isProjectOpen());
    QCOMPARE(w->pageCount(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
