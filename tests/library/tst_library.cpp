#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "edit/picturereferences.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/qmyimageitemmodel.h"
#include "library/picturereader.h"
#include "library/thumbnailloader.h"
#include "picturereferencesproject.h"
#include "tavocli.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

// The library in the window, driven through its buttons and tables on real project folders.
class TestLibrary : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modelTicksAndFlags();
    void importFillsRowsAddressesAndTotal();
    void importWithoutProjectIsRefused();
    void failedImportIsNamed();
    void droppedFilesAreImported();
    void clickSelectAllCancelAndDeleteMode();
    void deletionKeepsEveryReferenceAndMatchesTheCli();
    void deletionRefusedWhileDownloading();
    void reopeningListsTheSameOrder();
    void thumbnailsArriveOnceAndAreReused();
    void unreadableAndOversizedAreMarked();
    void openingReadsHeadersAndMarksFailuresLater();
    void fontTableFollowsTheFolder();

private:
    // A project of four pictures (10x10, 20x10, 30x10, 40x10) whose pages and controls name
    // picture n in every image field of page n, boot animation 2..3.
    QString makeProject(const QString &name);
    std::unique_ptr<MainWindow> openWindow(const QString &projectFile);
    QString picture(const QString &name, QSize size);
    static void answer(QMyMessageBox *box, bool yes);
    static QByteArray fileBytes(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
    QStringList m_chosen;
};

void TestLibrary::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
    m_chosen.clear();
}

void TestLibrary::cleanup()
{
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

QString TestLibrary::picture(const QString &name, QSize size)
{
    QDir().mkpath(m_dir->path() + QStringLiteral("/src"));
    const QString path = m_dir->path() + QStringLiteral("/src/") + name;
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 40));
    if (!img.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestLibrary::makeProject(const QString &name)
{
    const QString folder = m_dir->path() + QLatin1Char('/') + name;
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    QDir().mkpath(folder + QStringLiteral("/tempFonts"));
    for (int n = 0; n < 4; ++n) {
        QImage img(QSize(10 * (n + 1), 10), QImage::Format_RGB32);
        img.fill(QColor(40 * n, 100, 200));
        img.save(folder + QStringLiteral("/tempImages/%1_pic%2.bmp").arg(100001 + n).arg(n));
    }
    ProjectData d = projectNamingEachPicture(4);
    d.blValue = 20;
    d.logo1 = 2;
    d.logo2 = 3;
    d.currentPage = 1;
    d.parentImageNum = 1;
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".Tavo");
    if (!ProjectFile::write(file, d))
        qFatal("cannot write project");
    return file;
}

std::unique_ptr<MainWindow> TestLibrary::openWindow(const QString &projectFile)
{
    App::projectPath() = projectFile;
    auto w = std::make_unique<MainWindow>();
    w->setFilesChooser([this](bool) { return m_chosen; });
    return w;
}

void TestLibrary::answer(QMyMessageBox *box, bool yes)
{
    auto *b = box->findChild<QPushButton *>(yes ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

QByteArray TestLibrary::fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestLibrary::modelTicksAndFlags()
{
    QMyImageItemModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int r = 0; r < 3; ++r) {
        QList<QStandardItem *> row;
        for (int c = 0; c < QMyImageItemModel::ColumnCount; ++c)
            row << new QStandardItem(QStringLiteral("x"));
        m.appendRow(row);
    }
    QCOMPARE(m.data(m.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(!m.data(m.index(0, 1), Qt::CheckStateRole).isValid());
    QCOMPARE(m.data(m.index(2, 4), Qt::TextAlignmentRole).toInt(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    QVERIFY(m.flags(m.index(0, 0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(m.flags(m.index(0, 2)) & Qt::ItemIsUserCheckable));

    QVERIFY(m.setData(m.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(m.data(m.index(1, 0), QMyImageItemModel::CheckRole).toInt(), 2);
    QVERIFY(m.setData(m.index(1, 0), Qt::PartiallyChecked, Qt::CheckStateRole));
    QCOMPARE(m.data(m.index(1, 0), QMyImageItemModel::CheckRole).toInt(), 0);
    m.setTicked(2, true);
    QCOMPARE(m.tickedRows(), QVector<int>{2});
    m.removeRow(0);
    QCOMPARE(m.tickedRows(), QVector<int>{1});
}

void TestLibrary::importFillsRowsAddressesAndTotal()
{
    const QString file = makeProject(QStringLiteral("empty"));
    for (const QString &f : QDir(QFileInfo(file).absolutePath() + QStringLiteral("/tempImages")).entryList(QDir::Files))
        QFile::remove(QFileInfo(file).absolutePath() + QStringLiteral("/tempImages/") + f);
    QFile::remove(file);  // a project without pictures
    ProjectData d;
    d.frameW = 320;
    d.frameH = 240;
    d.pages << PageData();
    QVERIFY(ProjectFile::write(file, d));

    auto w = openWindow(file);
    MainForm &ui = w->form();
    QMyImageItemModel *m = w->library()->pictureModel();
    QCOMPARE(m->rowCount(), 0);
    QVERIFY(ui.labImageSize->isHidden());
    QVERIFY(!w->pictureLibraryChanged());

    m_chosen = QStringList{picture(QStringLiteral("a.bmp"), {10, 10}), picture(QStringLiteral("b.png"), {20, 10})};
    QTest::mouseClick(ui.btnImageFontAdd, Qt::LeftButton);
    QCOMPARE(m->rowCount(), 2);
    const QString row0[] = {QStringLiteral("0"), QString(), QStringLiteral("2097152"), QStringLiteral("10x10")};
    const QString row1[] = {QStringLiteral("1"), QString(), QStringLiteral("2097352"), QStringLiteral("20x10")};
    for (int c = 1; c <= 4; ++c) {
        QCOMPARE(m->item(0, c)->text(), row0[c - 1]);
        QCOMPARE(m->item(1, c)->text(), row1[c - 1]);
    }
    QVERIFY(m->item(0, 5)->text().endsWith(QStringLiteral("KB")));
    QCOMPARE(ui.labImageSize->text(), QStringLiteral("bin文件总大小：600"));
    QVERIFY(!ui.labImageSize->isHidden());
    QVERIFY(w->pictureLibraryChanged());
    QCOMPARE(w->pageTable()->pictures().count(), 2);
    QVERIFY(w->pageTable()->pictures().at(1).path.endsWith(QStringLiteral("/100002_b.bmp")));
}

void TestLibrary::importWithoutProjectIsRefused()
{
    MainWindow w;
    w.setFilesChooser([this](bool) { return m_chosen; });
    m_chosen = QStringList{picture(QStringLiteral("a.bmp"), {4, 4})};
    QTest::mouseClick(w.form().btnImageFontAdd, Qt::LeftButton);
    QCOMPARE(w.questionBox()->message(), QStringLiteral("未新建或加载项目，请您先新建或加载项目！"));
    QCOMPARE(w.library()->pictureModel()->rowCount(), 0);
}

void TestLibrary::failedImportIsNamed()
{
    auto w = openWindow(makeProject(QStringLiteral("p")));
    const QString junk = m_dir->path() + QStringLiteral("/junk.bmp");
    QFile j(junk);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.write("no picture");
    j.close();
    m_chosen = QStringList{junk, picture(QStringLiteral("ok.bmp"), {2, 2}), m_dir->path() + QStringLiteral("/gone.png")};
    QTest::mouseClick(w->form().btnImageFontAdd, Qt::LeftButton);
    QCOMPARE(w->library()->pictureModel()->rowCount(), 5);
    const QString text = w->infoBox()->message();
    QVERIFY2(text.contains(QStringLiteral("junk.bmp")) && text.contains(QStringLiteral("gone.png")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("ok.bmp")));
    QCOMPARE(QDir(m_dir->path() + QStringLiteral("/p/tempImages")).entryList(QDir::Files).size(), 5);
}

void TestLibrary::droppedFilesAreImported()
{
    auto w = openWindow(makeProject(QStringLiteral("p")));
    QWidget *viewport = w->form().tvImage->viewport();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(picture(QStringLiteral("dropped.bmp"), {8, 8}))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCOMPARE(w->library()->pictureModel()->rowCount(), 5);
    QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/p/tempImages/100005_dropped.bmp")));

    // Text without files is not taken.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent enterText(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    enterText.ignore();
    QApplication::sendEvent(viewport, &enterText);
    QVERIFY(!enterText.isAccepted());
}

void TestLibrary::clickSelectAllCancelAndDeleteMode()
{
    auto w = openWindow(makeProject(QStringLiteral("p")));
    MainForm &ui = w->form();
    QMyImageItemModel *m = w->library()->pictureModel();
    QVERIFY(ui.tvImage->isColumnHidden(0));
    QVERIFY(ui.btnImageFontAll->isHidden());

    // Outside delete mode a click ticks only that row and selects the picture.
    w->on_tvImage_clicked(m->index(2, 3));
    QCOMPARE(w->selectedImageNum(), 2);
    QCOMPARE(m->tickedRows(), QVector<int>{2});
    w->on_tvImage_clicked(m->index(1, 3));
    QCOMPARE(m->tickedRows(), QVector<int>{1});
    QCOMPARE(ui.tvImage->selectionModel()->selectedRows().value(0).row(), 1);

    QTest::mouseClick(ui.btnImageFontSub, Qt::LeftButton);
    QVERIFY(w->library()->deleteMode(LibraryPanel::Pictures));
    QVERIFY(!ui.tvImage->isColumnHidden(0));
    QVERIFY(!ui.btnImageFontAll->isHidden() && !ui.btnImageFontCannel->isHidden());
    // Delete mode says what it is, for the tab shown.
    QVERIFY(!ui.labDeleteHint->isHidden());
    QCOMPARE(ui.labDeleteHint->text(), QStringLiteral("选择要删除的图片，再按“-”删除"));
    // In delete mode clicks toggle.
    w->on_tvImage_clicked(m->index(3, 1));
    w->on_tvImage_clicked(m->index(1, 1));
    QCOMPARE(m->tickedRows(), QVector<int>{3});

    QTest::mouseClick(ui.btnImageFontAll, Qt::LeftButton);
    QCOMPARE(m->tickedRows(), (QVector<int>{0, 1, 2, 3}));
    QTest::mouseClick(ui.btnImageFontAll, Qt::LeftButton);
    QCOMPARE(m->tickedRows(), QVector<int>{});

    w->on_tvImage_clicked(m->index(0, 1));
    QTest::mouseClick(ui.btnImageFontCannel, Qt::LeftButton);
    QCOMPARE(m->tickedRows(), QVector<int>{});
    QVERIFY(!w->library()->deleteMode(LibraryPanel::Pictures));
    QVERIFY(ui.tvImage->isColumnHidden(0));
    QVERIFY(ui.btnImageFontAll->isHidden());
    QVERIFY(ui.labDeleteHint->isHidden());
}

void TestLibrary::deletionKeepsEveryReferenceAndMatchesTheCli()
{
    const QString file = makeProject(QStringLiteral("win"));
    // The same project for the command line, in a folder of its own.
    const QString cliFile = makeProject(QStringLiteral("cli"));
    QDir(m_dir->path()).rename(QStringLiteral("cli/cli.Tavo"), QStringLiteral("cli/win.Tavo"));
    const QString cliProject = m_dir->path() + QStringLiteral("/cli/win.Tavo");
    QVERIFY(fileBytes(cliProject) == fileBytes(file));

    auto w = openWindow(file);
    MainForm &ui = w->form();
    QMyImageItemModel *m = w->library()->pictureModel();
    w->setSelectedImageNum(1);
    QTest::mouseClick(ui.btnImageFontSub, Qt::LeftButton);
    w->on_tvImage_clicked(m->index(1, 1));
    QTest::mouseClick(ui.btnImageFontSub, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("图片1被第1页背景、第1页控件0使用\n是否删除选中的图片？"));
    QCOMPARE(w->questionBox()->code(), 3);
    answer(w->questionBox(), true);

    QCOMPARE(m->rowCount(), 3);
    QCOMPARE(m->item(2, 1)->text(), QStringLiteral("2"));
    QCOMPARE(m->item(1, 3)->text(), QStringLiteral("2097352"));  // 30x10 now follows 10x10
    QCOMPARE(m->item(2, 4)->text(), QStringLiteral("40x10"));
    QCOMPARE(ui.labImageSize->text(), QStringLiteral("bin文件总大小：1600"));
    QCOMPARE(w->selectedImageNum(), -1);
    QVERIFY(w->pictureLibraryChanged());
    QVERIFY(!QFile::exists(m_dir->path() + QStringLiteral("/win/tempImages/100002_pic1.bmp")));
    QCOMPARE(fileBytes(file), fileBytes(cliProject));

    const int want[] = {0, -1, 1, 2};
    PageTable *t = w->pageTable();
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(t->pageImageNum(p), want[p]);
        const ControlRecord &r = t->pageControls(p).at(0)->record();
        for (int f = 0; f < PictureReferences::ImageFieldCount; ++f)
            QCOMPARE(PictureReferences::imageField(r, f), want[p]);
    }
    QCOMPARE(w->canvas()->pageImageNum(), -1);  // page 1 is shown
    QCOMPARE(w->logo1(), 1);
    QCOMPARE(w->logo2(), 2);
    QCOMPARE(ui.editLogo1->text(), QStringLiteral("1"));
    QCOMPARE(ui.editLogo2->text(), QStringLiteral("2"));

    QVERIFY(w->saveProject());
    QVERIFY(!QFileInfo::exists(m_dir->path() + QStringLiteral("/win/tempImages.removing")));
    const CliRun r = runTavoCli({QStringLiteral("pictures"), cliProject, QStringLiteral("--remove"), QStringLiteral("1")});
    QCOMPARE(r.code, 0);
    QCOMPARE(fileBytes(cliProject), fileBytes(file));
    const CliRun a = runTavoCli({QStringLiteral("script"), file, QStringLiteral("--all")});
    const CliRun b = runTavoCli({QStringLiteral("script"), cliProject, QStringLiteral("--all")});
    QCOMPARE(a.code, 0);
    QCOMPARE(a.out, b.out);
    QVERIFY2(a.outText().contains(QStringLiteral("GIF(1,")), a.out.constData());
}

void TestLibrary::deletionRefusedWhileDownloading()
{
    auto w = openWindow(makeProject(QStringLiteral("p")));
    w->setDownloadRunning(true);
    QTest::mouseClick(w->form().btnImageFontSub, Qt::LeftButton);
    QCOMPARE(w->questionBox()->message(), QStringLiteral("下载中，不可删除！"));
    QVERIFY(!w->library()->deleteMode(LibraryPanel::Pictures));

    // A download that starts while the question is open still stops the deletion.
    w->setDownloadRunning(false);
    QTest::mouseClick(w->form().btnImageFontSub, Qt::LeftButton);
    w->on_tvImage_clicked(w->library()->pictureModel()->index(0, 1));
    QTest::mouseClick(w->form().btnImageFontSub, Qt::LeftButton);
    w->setDownloadRunning(true);
    answer(w->questionBox(), true);
    QCOMPARE(w->library()->pictureModel()->rowCount(), 4);
    QCOMPARE(QDir(m_dir->path() + QStringLiteral("/p/tempImages")).entryList(QDir::Files).size(), 4);
}

void TestLibrary::reopeningListsTheSameOrder()
{
    const QString file = makeProject(QStringLiteral("p"));
    QStringList before;
    {
        auto w = openWindow(file);
        m_chosen = QStringList{picture(QStringLiteral("z.bmp"), {2, 2}), picture(QStringLiteral("a.bmp"), {3, 3})};
        QTest::mouseClick(w->form().btnImageFontAdd, Qt::LeftButton);
        QVERIFY(w->saveProject());
        before = w->pageTable()->pictures().paths();
    }
    QCOMPARE(before.size(), 6);
    QVERIFY(before.at(4).endsWith(QStringLiteral("100005_z.bmp")));
    auto w = openWindow(file);
    QCOMPARE(w->pageTable()->pictures().paths(), before);
    QCOMPARE(w->library()->pictureModel()->item(5, 4)->text(), QStringLiteral("3x3"));
}

void TestLibrary::thumbnailsArriveOnceAndAreReused()
{
    const QString file = makeProject(QStringLiteral("p"));
    auto w = openWindow(file);
    LibraryPanel *lib = w->library();
    QSignalSpy done(lib, &LibraryPanel::thumbnailsDone);
    QTRY_VERIFY(lib->thumbnailsComplete());
    const int decoded = lib->thumbnails()->decodeCount();
    QCOMPARE(decoded, 4);
    const QVariant icon = lib->pictureModel()->item(3, 2)->data(Qt::DecorationRole);
    const QPixmap pm = icon.value<QPixmap>();
    QVERIFY(!pm.isNull());
    QVERIFY(pm.width() <= 64 && pm.height() <= 40);
    QCOMPARE(pm.toImage().pixelColor(pm.width() / 2, pm.height() / 2), QColor(120, 100, 200));

    // Another import decodes only the new picture.
    m_chosen = QStringList{picture(QStringLiteral("n.bmp"), {5, 5})};
    QTest::mouseClick(w->form().btnImageFontAdd, Qt::LeftButton);
    QTRY_VERIFY(lib->thumbnailsComplete());
    QCOMPARE(lib->thumbnails()->decodeCount(), decoded + 1);
}

void TestLibrary::unreadableAndOversizedAreMarked()
{
    const QString file = makeProject(QStringLiteral("p"));
    const QString images = m_dir->path() + QStringLiteral("/p/tempImages/");
    QImage big(400, 10, QImage::Format_RGB32);
    big.fill(Qt::black);
    QVERIFY(big.save(images + QStringLiteral("100005_big.bmp")));
    QFile empty(images + QStringLiteral("100006_empty.bmp"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto w = openWindow(file);
    QMyImageItemModel *m = w->library()->pictureModel();
    QCOMPARE(m->rowCount(), 6);
    QCOMPARE(m->item(0, 2)->data(LibraryPanel::MarkRole).toInt(), int(LibraryPanel::NoMark));
    QCOMPARE(m->item(4, 2)->data(LibraryPanel::MarkRole).toInt(), int(LibraryPanel::Oversized));
    QVERIFY(m->item(4, 4)->toolTip().contains(QStringLiteral("400x10")));
    QVERIFY(m->item(4, 4)->toolTip().contains(QStringLiteral("320x240")));
    QCOMPARE(m->item(5, 2)->data(LibraryPanel::MarkRole).toInt(), int(LibraryPanel::Unreadable));
    QVERIFY(m->item(5, 1)->toolTip().contains(QStringLiteral("100006_empty.bmp")));
    QTRY_VERIFY(w->library()->thumbnailsComplete());
}

// The window lists the library from the picture headers; each picture is decoded once, for its
// thumbnail on the thread pool, and one whose header promises pixels the file lacks is marked then.
void TestLibrary::openingReadsHeadersAndMarksFailuresLater()
{
    const QString file = makeProject(QStringLiteral("p"));
    const QString cut = m_dir->path() + QStringLiteral("/p/tempImages/100005_cut.bmp");
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QVERIFY(img.save(cut));
    QFile f(cut);
    QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(54));  // the header alone
    f.close();

    const int before = PictureReader::decodeCount();
    auto w = openWindow(file);
    QMyImageItemModel *m = w->library()->pictureModel();
    QCOMPARE(m->rowCount(), 5);
    QCOMPARE(m->item(4, 4)->text(), QStringLiteral("10x10"));
    QCOMPARE(m->item(4, 2)->data(LibraryPanel::MarkRole).toInt(), int(LibraryPanel::NoMark));
    QTRY_COMPARE(m->item(4, 2)->data(LibraryPanel::MarkRole).toInt(), int(LibraryPanel::Unreadable));
    QVERIFY(m->item(4, 1)->toolTip().contains(QStringLiteral("100005_cut.bmp")));
    QTRY_VERIFY(w->library()->thumbnailsComplete());
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(PictureReader::decodeCount() - before, 5);
}

void TestLibrary::fontTableFollowsTheFolder()
{
    const QString file = makeProject(QStringLiteral("p"));
    const QString fonts = m_dir->path() + QStringLiteral("/p/tempFonts/");
    for (const char *name : {"E_24.bin", "C_16.bin", "ABC.bin", "C_20.bin"}) {
        QFile f(fonts + QLatin1String(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
    }
    auto w = openWindow(file);
    QMyImageItemModel *m = w->library()->fontModel();
    QCOMPARE(m->rowCount(), 2);
    const QString row0[] = {QStringLiteral("1"), QStringLiteral("C_16.bin"), QStringLiteral("16"), QStringLiteral("中文"),
                            QStringLiteral("2.00KB")};
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(m->item(0, c)->text(), row0[c - 1]);
    QCOMPARE(m->item(1, 4)->text(), QStringLiteral("英文"));
    // The font tab is not shown in the window, but the list stays in step with the folder.
    QCOMPARE(w->form().tabWidgetImageFont->count(), 1);
    QCOMPARE(w->library()->fontPaths().size(), 2);
}

QTEST_MAIN(TestLibrary)
#include "tst_library.moc"
