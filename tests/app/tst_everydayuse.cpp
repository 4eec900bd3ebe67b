#include "app/appglobals.h"
#include "app/helpdocuments.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/propertypanel.h"
#include "app/setscreensizedlg.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "download/downloadcheck.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/qmyimageitemmodel.h"
#include "model/pagefit.h"
#include "model/resolutionlist.h"
#include "qtenumpropertymanager.h"
#include "qtvariantpropertymanager.h"
#include "tavocli.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTranslator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>

// The window in everyday use, through the real window on real folders: what the user chose is
// kept, undo survives library changes, and every action says what happened.
class TestEverydayUse : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bootPagePickedIsKept();
    void bootPageOfAnOldFileFollowsThePageShown();
    void exitQuestionCancelKeepsTheWindow();
    void helpThatCannotOpenSaysWhereItLooked_data();
    void helpThatCannotOpenSaysWhereItLooked();
    void panelRefusalRestoresTheRow();
    void unsafeTextIsStoredAndToldAtOnce_data();
    void unsafeTextIsStoredAndToldAtOnce();
    void deleteQuestionNamesTheUsers();
    void importThenUndo();
    void deleteThenUndo();
    void undoRedoAcrossAnImport();
    void historyEmptyWithNoProject();
    void resolutionShrinkOffersToMoveInside();
    void shrinkQuestionInEnglish_data();
    void shrinkQuestionInEnglish();

private:
    // Writes the sample project with six pictures and opens it in a new window.
    void open(const ProjectData &d);
    static ProjectData sample();
    QStringList files(const QString &sub) const;
    void importPicture(const QString &name);
    QUndoStack *stack() const { return m_w->history()->stack(); }
    QString folder() const { return m_dir->filePath(QStringLiteral("p")); }
    QString file() const { return folder() + QStringLiteral("/p.Tavo"); }
    QByteArray saved() const { return ProjectFile::toXml(m_w->projectData()); }
    static void answer(QMyMessageBox *box, const char *button)
    {
        auto *b = box->findChild<QPushButton *>(QLatin1String(button));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void setRow(const QString &key, const QVariant &value)
    {
        PropertyPanel *panel = m_w->propertyPanel();
        QtProperty *p = panel->property(key);
        QVERIFY2(p, qPrintable(key));
        static_cast<QtVariantPropertyManager *>(p->propertyManager())->setValue(p, value);
        QCoreApplication::processEvents();
    }
    QString row(const QString &key) const
    {
        QtProperty *p = m_w->propertyPanel()->property(key);
        return p ? static_cast<QtVariantPropertyManager *>(p->propertyManager())->value(p).toString() : QString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_w;
    QString m_oldCwd;
};

void TestEverydayUse::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_DATA_DIRS", m_dir->filePath(QStringLiteral("system")).toUtf8());
    App::projectPath().clear();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestEverydayUse::cleanup()
{
    m_w.reset();
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

// Three pages of 240 x 320: page 0 on picture 1, page 1 on picture 5, page 2 with text controls
// 0..2 and a button 3 showing picture 4, pressed picture 1; the boot animation runs 2..4.
ProjectData TestEverydayUse::sample()
{
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    d.pages.resize(3);
    d.pages[0].imageNum = 1;
    d.pages[1].imageNum = 5;
    for (int i = 0; i < 3; ++i) {
        ControlRecord t = ControlRecord::make(ControlKind::Text, i);
        t.x = 10;
        t.y = 10 + 40 * i;
        d.pages[2].controls << t;
    }
    ControlRecord b = ControlRecord::make(ControlKind::Button, 3);
    b.x = 20;
    b.y = 200;
    b.imageNum = 4;
    b.pressImageNum = 1;
    d.pages[2].controls << b;
    d.logo1 = 2;
    d.logo2 = 4;
    return d;
}

void TestEverydayUse::open(const ProjectData &d)
{
    m_w.reset();
    QDir(folder()).removeRecursively();
    for (const char *sub : {"/tempImages", "/backUpImages"}) {
        QDir().mkpath(folder() + QLatin1String(sub));
        for (int n = 0; n < 6; ++n) {
            QImage img(QSize(8 + n, 6), QImage::Format_RGB32);
            img.fill(QColor(40 * n, 0, 0));
            QVERIFY(img.save(folder() + QLatin1String(sub) + QStringLiteral("/10000%1_p%1.bmp").arg(n + 1)));
        }
    }
    QVERIFY(ProjectFile::write(file(), d));
    App::projectPath() = file();
    m_w = std::make_unique<MainWindow>();
    m_w->show();
    QCOMPARE(m_w->pageCount(), d.pages.size());
    QCOMPARE(m_w->pageTable()->pictures().count(), 6);
}

// ---- what the user chose is kept --------------------------------------------------------------

void TestEverydayUse::bootPagePickedIsKept()
{
    ProjectData d = sample();
    d.pages.resize(4);
    d.currentPage = 3;
    open(d);
    QComboBox *box = m_w->form().cbBootJump;
    QListWidget *list = m_w->form().listWidget;
    QCOMPARE(box->currentIndex(), 3);
    QVERIFY(!list->item(3)->icon().isNull());

    // Picked while page 3 is shown; showing other pages leaves it.
    box->setCurrentIndex(0);
    emit box->activated(0);
    list->setCurrentRow(2);
    QCOMPARE(m_w->currentPage(), 2);
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(m_w->bootSettings().bootPage, 0);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(!list->item(i)->icon().isNull(), i == 0);

    QVERIFY(m_w->saveProject());
    QFile f(file());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("        <currentPage>2</currentPage>\n    </frame>\n    <bootPage>0</bootPage>\n    <page id=\"1\">"));

    // The boot script of tavo-cli and of a reopened window agree.
    const CliRun r = runTavoCli({QStringLiteral("script"), file(), QStringLiteral("--boot")});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.endsWith("JUMP(0);\r\n"), r.out.constData());
    m_w.reset();
    m_w = std::make_unique<MainWindow>();
    QCOMPARE(m_w->currentPage(), 2);
    QCOMPARE(m_w->form().cbBootJump->currentIndex(), 0);
    QCOMPARE(m_w->bootSettings().bootPage, 0);
    QVERIFY(!m_w->form().listWidget->item(0)->icon().isNull());

    // Deleting a page before the picked one moves it along; deleting the picked one lets the
    // boot page follow the page shown again.
    m_w->form().listWidget->setCurrentRow(3);
    emit m_w->form().cbBootJump->activated(3);
    m_w->form().listWidget->setCurrentRow(1);
    m_w->deleteCurrentPage();
    QCOMPARE(m_w->pickedBootPage(), 2);
    m_w->form().listWidget->setCurrentRow(2);
    m_w->deleteCurrentPage();
    QCOMPARE(m_w->pickedBootPage(), -1);
    QCOMPARE(m_w->bootSettings().bootPage, m_w->currentPage());
}

void TestEverydayUse::bootPageOfAnOldFileFollowsThePageShown()
{
    ProjectData d = sample();
    d.currentPage = 2;
    open(d);
    QFile f(file());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();
    QVERIFY(!old.contains("bootPage"));
    QCOMPARE(m_w->bootSettings().bootPage, 2);
    const CliRun r = runTavoCli({QStringLiteral("script"), file(), QStringLiteral("--boot")});
    QVERIFY2(r.out.endsWith("JUMP(2);\r\n"), r.out.constData());

    m_w->form().listWidget->setCurrentRow(1);
    QCOMPARE(m_w->form().cbBootJump->currentIndex(), 1);
    QCOMPARE(m_w->bootSettings().bootPage, 1);
    QVERIFY(!m_w->form().listWidget->item(1)->icon().isNull());
    QVERIFY(m_w->form().listWidget->item(2)->icon().isNull());
    // Saved without a pick, the file keeps its old form.
    m_w->form().listWidget->setCurrentRow(2);
    QVERIFY(m_w->saveProject());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
}

// ---- every action says what happened ----------------------------------------------------------

void TestEverydayUse::exitQuestionCancelKeepsTheWindow()
{
    open(sample());
    m_w->addPage();
    QSignalSpy closing(m_w.get(), &MainWindow::s_closing);
    QVERIFY(!m_w->close());
    QMyMessageBox *box = m_w->questionBox();
    QCOMPARE(box->code(), 13);
    for (const char *name : {"btnOk", "btnCancel", "btnKeep"})
        QVERIFY(box->findChild<QPushButton *>(QLatin1String(name))->isVisible());
    QCOMPARE(box->findChild<QPushButton *>(QStringLiteral("btnKeep"))->text(), QStringLiteral("取消"));
    answer(box, "btnKeep");
    QVERIFY(!box->isVisible());
    QVERIFY(m_w->isVisible());
    QCOMPARE(closing.count(), 0);
    QCOMPARE(m_w->pageCount(), 4);
    QVERIFY(m_w->hasUnsavedWork());

    // No still closes without saving; a question of two buttons has no Cancel.
    QVERIFY(!m_w->close());
    answer(box, "btnCancel");
    QCOMPARE(closing.count(), 1);
    box->showMessage(QMyMessageBox::Hint, 2, 7, QStringLiteral("?"));
    QVERIFY(!box->findChild<QPushButton *>(QStringLiteral("btnKeep"))->isVisible());
}

void TestEverydayUse::helpThatCannotOpenSaysWhereItLooked_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("no viewer") << true;
    QTest::newRow("file missing") << false;
}

void TestEverydayUse::helpThatCannotOpenSaysWhereItLooked()
{
    QFETCH(bool, present);
    const QString help = m_dir->filePath(QStringLiteral("help"));
    if (present) {
        QDir().mkpath(help);
        QFile doc(help + QStringLiteral("/LXP指令集.pdf"));
        QVERIFY(doc.open(QIODevice::WriteOnly));
    }
    QList<QUrl> opened;
    HelpDocuments::setOpener([&opened](const QUrl &url) {
        opened << url;
        return false;
    });
    m_w = std::make_unique<MainWindow>();
    m_w->setHelpProgramDir(m_dir->filePath(QStringLiteral("bin")));
    m_w->on_actionInstr_triggered();
    HelpDocuments::setOpener([](const QUrl &) { return false; });
    QMyMessageBox *box = m_w->infoBox();
    QVERIFY(box->isVisible());
    QCOMPARE(opened.size(), present ? 1 : 0);
    if (present)
        QCOMPARE(box->message(), QStringLiteral("无法打开帮助文档“LXP指令集.pdf”（所在文件夹：%1），请安装能打开此类文件的程序后重试。").arg(help));
    else
        QVERIFY2(box->message().startsWith(QStringLiteral("找不到帮助文档“LXP指令集.pdf”，已查找的文件夹：\n%1\n").arg(help)),
                 qPrintable(box->message()));
}

void TestEverydayUse::panelRefusalRestoresTheRow()
{
    open(sample());
    m_w->form().listWidget->setCurrentRow(2);
    QMyWidget *text = m_w->pageTable()->pageControls(2).at(0);
    m_w->slotRecvWnd(text);
    const QString before = text->text();
    setRow(QStringLiteral("text"), QString(65, QLatin1Char('a')));
    QCOMPARE(m_w->questionBox()->message(), QStringLiteral("文本字符不能大于64（每个中文占两个字符）！"));
    QCOMPARE(text->text(), before);
    QCOMPARE(row(QStringLiteral("text")), before);
}

void TestEverydayUse::unsafeTextIsStoredAndToldAtOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("told");
    QTest::newRow("quote") << QStringLiteral("it's") << true;
    QTest::newRow("line break") << QStringLiteral("a\nb") << true;
    QTest::newRow("outside GBK") << QStringLiteral("a\u0e01b") << true;
    QTest::newRow("plain") << QStringLiteral("温度 23.5") << false;
}

void TestEverydayUse::unsafeTextIsStoredAndToldAtOnce()
{
    QFETCH(QString, text);
    QFETCH(bool, told);
    open(sample());
    m_w->form().listWidget->setCurrentRow(2);
    QMyWidget *control = m_w->pageTable()->pageControls(2).at(1);
    m_w->slotRecvWnd(control);
    setRow(QStringLiteral("text"), text);
    QCOMPARE(control->text(), text);
    QMyMessageBox *box = m_w->questionBox();
    QCOMPARE(box->isVisible(), told);
    if (!told)
        return;
    // The very words the download would refuse it with.
    const QString download = DownloadCheck::unsafeTextMessage(m_w->projectData().pages);
    QVERIFY(download.contains(QStringLiteral("第2页")));
    QCOMPARE(box->message(), download);
}

void TestEverydayUse::deleteQuestionNamesTheUsers()
{
    open(sample());
    LibraryPanel *library = m_w->library();
    QMyImageItemModel *pictures = library->model(LibraryPanel::Pictures);
    library->setDeleteMode(LibraryPanel::Pictures, true);
    QMyMessageBox *box = m_w->questionBox();

    // Nothing ticked: nothing asked, nothing deleted.
    QTest::mouseClick(m_w->form().btnImageFontSub, Qt::LeftButton);
    QVERIFY(!box->isVisible());

    pictures->setTicked(1, true);
    QTest::mouseClick(m_w->form().btnImageFontSub, Qt::LeftButton);
    QVERIFY(box->isVisible());
    QCOMPARE(box->message(), QStringLiteral("图片1被第0页背景、第2页控件3使用\n是否删除选中的图片？"));
    answer(box, "btnCancel");

    pictures->setTicked(0, true);
    pictures->setTicked(3, true);
    pictures->setTicked(4, true);
    pictures->setTicked(5, true);
    QTest::mouseClick(m_w->form().btnImageFontSub, Qt::LeftButton);
    QCOMPARE(box->message(), QStringLiteral("图片1被第0页背景、第2页控件3使用\n图片3被开机动画使用\n"
                                            "图片4被第2页控件3、开机动画使用\n等4张图片正被使用\n是否删除选中的图片？"));
    answer(box, "btnCancel");
    QCOMPARE(m_w->pageTable()->pictures().count(), 6);
}

// ---- undo survives picture imports and deletions ----------------------------------------------

QStringList TestEverydayUse::files(const QString &sub) const
{
    return QDir(folder() + sub).entryList(QDir::Files, QDir::Name);
}

void TestEverydayUse::importPicture(const QString &name)
{
    const QString source = m_dir->filePath(name);
    QImage img(QSize(5, 7), QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(source));
    m_w->setFilesChooser([source](bool) { return QStringList{source}; });
    QTest::mouseClick(m_w->form().btnImageFontAdd, Qt::LeftButton);
}

void TestEverydayUse::importThenUndo()
{
    open(sample());
    const QStringList before = files(QStringLiteral("/tempImages"));
    importPicture(QStringLiteral("new.bmp"));
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("导入图片"));
    QCOMPARE(m_w->pageTable()->pictures().count(), 7);
    QCOMPARE(files(QStringLiteral("/tempImages")), before + QStringList{QStringLiteral("100007_new.bmp")});
    // Saved: the backup holds a copy, which stays after the undo (the saved file still names the
    // picture) until the next save.
    QVERIFY(m_w->saveProject());
    QVERIFY(files(QStringLiteral("/backUpImages")).contains(QStringLiteral("100007_new.bmp")));

    stack()->undo();
    QCOMPARE(m_w->pageTable()->pictures().count(), 6);
    QCOMPARE(files(QStringLiteral("/tempImages")), before);
    QCOMPARE(files(QStringLiteral("/backUpImages")), before + QStringList{QStringLiteral("100007_new.bmp")});
    QCOMPARE(m_w->library()->model(LibraryPanel::Pictures)->rowCount(), 6);

    stack()->redo();
    QCOMPARE(m_w->pageTable()->pictures().count(), 7);
    QCOMPARE(files(QStringLiteral("/tempImages")), before + QStringList{QStringLiteral("100007_new.bmp")});
    QCOMPARE(m_w->pageTable()->pictures().at(6).size, QSize(5, 7));
}

void TestEverydayUse::deleteThenUndo()
{
    open(sample());
    const QStringList before = files(QStringLiteral("/tempImages"));
    const QStringList projectFiles = QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QByteArray bytesBefore = saved();
    LibraryPanel *library = m_w->library();
    library->setDeleteMode(LibraryPanel::Pictures, true);
    library->model(LibraryPanel::Pictures)->setTicked(1, true);
    library->model(LibraryPanel::Pictures)->setTicked(4, true);
    QTest::mouseClick(m_w->form().btnImageFontSub, Qt::LeftButton);
    answer(m_w->questionBox(), "btnOk");

    QCOMPARE(stack()->count(), 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("删除图片"));
    QCOMPARE(files(QStringLiteral("/tempImages")),
             (QStringList{QStringLiteral("100001_p1.bmp"), QStringLiteral("100003_p3.bmp"), QStringLiteral("100004_p4.bmp"),
                          QStringLiteral("100006_p6.bmp")}));
    // The files wait outside the project folder; only a note of the pictures as saved stays there
    // until the save, for an opening after a crash.
    QStringList withNote = projectFiles + QStringList{QStringLiteral("tempImages.unsaved")};
    if (!withNote.contains(QStringLiteral("tempImages.lock")))
        withNote << QStringLiteral("tempImages.lock");
    withNote.sort();
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), withNote);
    ProjectData after = m_w->projectData();
    QCOMPARE(after.pages.at(0).imageNum, -1);
    QCOMPARE(after.pages.at(1).imageNum, 3);
    QCOMPARE(after.pages.at(2).controls.at(3).imageNum, -1);
    QCOMPARE(after.pages.at(2).controls.at(3).pressImageNum, -1);
    QCOMPARE(after.logo1, 1);
    QCOMPARE(after.logo2, -1);
    const QByteArray bytesAfter = saved();

    stack()->undo();
    QCOMPARE(files(QStringLiteral("/tempImages")), before);
    QCOMPARE(m_w->pageTable()->pictures().count(), 6);
    QCOMPARE(saved(), bytesBefore);
    QCOMPARE(m_w->form().editLogo2->text(), QStringLiteral("4"));

    stack()->redo();
    QCOMPARE(m_w->pageTable()->pictures().count(), 4);
    QCOMPARE(saved(), bytesAfter);
    stack()->undo();
    QCOMPARE(saved(), bytesBefore);
    // What the canvas shows follows: the button on page 2 has its picture again.
    m_w->form().listWidget->setCurrentRow(2);
    QCOMPARE(m_w->pageTable()->pageControls(2).at(3)->record().imageNum, 4);
    QVERIFY(m_w->saveProject());
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), projectFiles);
}

void TestEverydayUse::undoRedoAcrossAnImport()
{
    open(sample());
    const QByteArray start = saved();
    m_w->canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 20));
    m_w->history()->checkpoint();
    const QByteArray one = saved();
    importPicture(QStringLiteral("mid.bmp"));
    QMyWidget *added = m_w->pageTable()->pageControls(m_w->currentPage()).last();
    added->setImageNum(6);
    added->setFontColorNum(9);
    m_w->history()->checkpoint();
    const QByteArray three = saved();
    QCOMPARE(stack()->count(), 3);

    stack()->undo();
    stack()->undo();
    QCOMPARE(m_w->pageTable()->pictures().count(), 6);
    QCOMPARE(saved(), one);
    stack()->undo();
    QCOMPARE(saved(), start);
    stack()->redo();
    stack()->redo();
    stack()->redo();
    QCOMPARE(m_w->pageTable()->pictures().count(), 7);
    QCOMPARE(saved(), three);
    // The history is cleared only by another project.
    QCOMPARE(stack()->count(), 3);
    open(sample());
    QCOMPARE(stack()->count(), 0);
}

void TestEverydayUse::historyEmptyWithNoProject()
{
    m_w = std::make_unique<MainWindow>();
    m_w->show();
    MainWindow *w = m_w.get();
    w->setFileChooser([](MainWindow::FileDialog) { return QString(); });
    w->setScreenSizeRunner([w]() {
        w->screenSizeDlg()->cbVGA->setCurrentText(QStringLiteral("480*272(HHVGA)"));
        w->screenSizeDlg()->on_btnOK_clicked();
        return true;
    });
    QTest::mouseClick(w->form().btnNewPro, Qt::LeftButton);
    QCoreApplication::processEvents();
    w->history()->checkpoint();
    QCOMPARE(stack()->count(), 0);
}

// ---- a smaller page -------------------------------------------------------------------------------

void TestEverydayUse::resolutionShrinkOffersToMoveInside()
{
    ProjectData d = sample();
    // Page 0: a box from (150, 250) to (200, 300); page 2's button (control 3) at (20, 200).
    QMyDrawType box;
    box.setDrawType(QMyDrawType::Box);
    box.setStart(150, 250);
    box.setEnd(200, 300);
    box.instructionText();
    d.pages[0].primitives << box;
    open(d);
    const QByteArray before = saved();
    m_w->form().listWidget->setCurrentRow(2);
    m_w->slotRecvParent(0, nullptr);
    const int commands = stack()->count();
    PropertyPanel *panel = m_w->propertyPanel();
    QtProperty *vga = panel->property(QStringLiteral("vga"));
    QVERIFY(vga);
    panel->enumManager->setValue(vga, ResolutionList().indexOf(QStringLiteral("128*128(SQQVGA)")));
    QCoreApplication::processEvents();
    m_w->history()->checkpoint();
    QCOMPARE(m_w->canvas()->frameW(), 128);
    QMyMessageBox *box0 = m_w->questionBox();
    QVERIFY(box0->isVisible());
    // Page 2's controls: texts at y 10, 50, 90 of height 30+ reach below 128 partly; the button
    // at y 200 and the box at 150..200 lie wholly outside.
    const QVector<PageFit::Item> outside = PageFit::itemsOutside(m_w->projectData().pages, 128, 128);
    int wholly = 0;
    for (const PageFit::Item &item : outside)
        wholly += item.wholly ? 1 : 0;
    QCOMPARE(wholly, 2);
    QCOMPARE(box0->message(), QStringLiteral("页面变小后，有%1个控件或图形超出页面（其中2个完全在页面之外）。是否将它们移入页面内？")
                                  .arg(outside.size()));
    // check names the wholly outside items but does not fail.
    QVERIFY(m_w->saveProject());
    const CliRun check = runTavoCli({QStringLiteral("check"), file()});
    QCOMPARE(check.code, 0);
    QVERIFY2(check.err.contains(QStringLiteral("第0页图形0完全在页面之外")), qPrintable(check.err));
    QVERIFY2(check.err.contains(QStringLiteral("第2页控件3完全在页面之外")), qPrintable(check.err));

    const int afterResize = stack()->count();
    QVERIFY(afterResize > commands);
    answer(box0, "btnOk");
    QCOMPARE(stack()->count(), afterResize + 1);
    QCOMPARE(stack()->undoText(), QStringLiteral("移入页面"));
    const ProjectData moved = m_w->projectData();
    QVERIFY(PageFit::itemsOutside(moved.pages, 128, 128).isEmpty() || moved.pages.at(2).controls.at(3).w > 128);
    QCOMPARE(moved.pages.at(0).primitives.at(0).bounds().bottomRight(), QPoint(127, 127));
    stack()->undo();
    QCOMPARE(PageFit::itemsOutside(m_w->projectData().pages, 128, 128).size(), outside.size());
    while (stack()->canUndo() && stack()->index() > commands)
        stack()->undo();
    QCOMPARE(saved(), before);
}

// One item reads in the singular in English.
void TestEverydayUse::shrinkQuestionInEnglish_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("wholly");
    QTest::addColumn<QString>("english");
    QTest::newRow("one") << 1 << 1
                         << "With the smaller page, 1 control or shape lies outside it (1 wholly). Move it inside the page?";
    QTest::newRow("three") << 3 << 2
                           << "With the smaller page, 3 controls or shapes lie outside it (2 of them wholly). Move them inside the page?";
}

void TestEverydayUse::shrinkQuestionInEnglish()
{
    QFETCH(int, count);
    QFETCH(int, wholly);
    QFETCH(QString, english);
    QCOMPARE(MainWindow::moveInsideQuestion(count, wholly),
             QStringLiteral("页面变小后，有%1个控件或图形超出页面（其中%2个完全在页面之外）。是否将它们移入页面内？").arg(count).arg(wholly));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/config/language/English.qm")));
    QCoreApplication::installTranslator(&translator);
    const QString text = MainWindow::moveInsideQuestion(count, wholly);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(text, english);
}

QTEST_MAIN(TestEverydayUse)
#include "tst_everydayuse.moc"
