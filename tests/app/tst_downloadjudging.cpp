#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "dialogs/qmymessagebox.h"
#include "dialogs/serialportdlg.h"
#include "download/downloadjob.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/picturereader.h"
#include "seriallink.h"
#include "app/picturejudging.h"
#include "app/simulatorrun.h"
#include "virtualport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <functional>

// The window judges a download's pictures on a thread of its own, and decodes each picture once
// from the click to the bytes sent.
class TestDownloadJudging : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void confirmDecodesEachPictureOnce_data();
    void confirmDecodesEachPictureOnce();
    void changedFolderIsJudgedAgain();
    void simulatorAndPictureDownloadDecodeOnce_data();
    void simulatorAndPictureDownloadDecodeOnce();
    void folderStampSeesChanges_data();
    void folderStampSeesChanges();
    void judgingStampsBeforeReading();
    void unreadablePictureIsNamed_data();
    void unreadablePictureIsNamed();
    void secondClickWhileJudging();
    void windowGoesWhileJudging_data();
    void windowGoesWhileJudging();

private:
    // A project of one 240 x 320 page whose background is picture 0, a 2 x 1 picture (red, blue),
    // followed by `more` pictures of the given size (large ones keep the judging busy for a while).
    QString makeProject(const QString &name, int more, const QSize &size = QSize(8, 8));
    static void openVirtual(MainWindow &w);
    static void answer(QMyMessageBox *box, bool yes);
    static bool runToEnd(MainWindow &w);
    // The library's thumbnails are decoded too: they are all made before decodes are counted.
    static void thumbnailsMade(MainWindow &w) { QTRY_VERIFY_WITH_TIMEOUT(w.library()->thumbnailsComplete(), 60000); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

namespace {

void writeTwoPixels(const QString &path, QRgb left, QRgb right)
{
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, left);
    img.setPixel(1, 0, right);
    QVERIFY(img.save(path, "BMP"));
}

}  // namespace

void TestDownloadJudging::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestDownloadJudging::cleanup()
{
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

QString TestDownloadJudging::makeProject(const QString &name, int more, const QSize &size)
{
    const QString folder = m_dir->filePath(name);
    const QString images = folder + QStringLiteral("/tempImages");
    QDir().mkpath(images);
    QDir().mkpath(folder + QStringLiteral("/tempFonts"));
    writeTwoPixels(images + QStringLiteral("/100001_first.bmp"), qRgb(255, 0, 0), qRgb(0, 0, 255));
    // Noise, so that a large picture takes its time to decode; one file copied under each name.
    QImage img(size, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            img.setPixel(x, y, QRgb(seed >> 8));
        }
    }
    const QString one = m_dir->filePath(QStringLiteral("one.jpg"));
    QFile::remove(one);
    img.save(one, "JPEG", 95);
    for (int i = 0; i < more; ++i)
        QFile::copy(one, images + QStringLiteral("/%1_p%2.jpg").arg(100002 + i).arg(i));
    QDir().mkpath(folder + QStringLiteral("/backUpImages"));
    for (const QString &f : QDir(images).entryList(QDir::Files))
        QFile::copy(images + QLatin1Char('/') + f, folder + QStringLiteral("/backUpImages/") + f);
    ProjectData d;
    d.frameW = 240;
    d.frameH = 320;
    d.dpi = QStringLiteral("240*320(QVGA)");
    PageData page;
    page.imageNum = 0;
    d.pages << page;
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".Tavo");
    QString error;
    if (!ProjectFile::write(path, d, &error))
        qWarning("%s", qPrintable(error));
    return path;
}

void TestDownloadJudging::openVirtual(MainWindow &w)
{
    w.on_btnSetCOM_clicked();
    SerialPortDlg *dlg = w.serialPortDlg();
    const int v = dlg->portCombox()->findData(SerialPortDlg::virtualEntry());
    QVERIFY(v >= 0);
    dlg->portCombox()->setCurrentIndex(v);
    dlg->baudCombox()->setCurrentText(QStringLiteral("921600"));
    dlg->on_btnOpenClose_clicked();
    QVERIFY(dlg->link()->isOpen());
}

void TestDownloadJudging::answer(QMyMessageBox *box, bool yes)
{
    auto *b = box->findChild<QPushButton *>(yes ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

bool TestDownloadJudging::runToEnd(MainWindow &w)
{
    SerialLink *link = w.serialPortDlg()->link();
    QSignalSpy finished(link, &SerialLink::s_jobFinished);
    if (!link->isBusy())
        return false;
    return finished.wait(60000) && finished.first().at(0).toBool();
}

void TestDownloadJudging::confirmDecodesEachPictureOnce_data()
{
    QTest::addColumn<bool>("withPictures");
    QTest::addColumn<QByteArray>("firstPixels");
    QTest::addColumn<int>("pixelBytes");
    // Red and blue in RGB565, high byte first; then four 8 x 8 pictures.
    QTest::newRow("pictures too") << true << QByteArray("\xF8\x00\x00\x1F", 4) << 4 + 4 * 128;
    QTest::newRow("pages only") << false << QByteArray() << 0;
}

void TestDownloadJudging::confirmDecodesEachPictureOnce()
{
    QFETCH(bool, withPictures);
    QFETCH(QByteArray, firstPixels);
    QFETCH(int, pixelBytes);
    App::projectPath() = makeProject(QStringLiteral("once"), 4);
    MainWindow w;
    openVirtual(w);
    VirtualModule *module = w.serialPortDlg()->virtualPort()->module();
    QVERIFY(module);
    thumbnailsMade(w);
    const int decodes = PictureReader::decodeCount();
    const int onMain = PictureReader::mainThreadDecodeCount();

    w.on_btnInstrDownLoad_clicked();
    QVERIFY(w.questionBox()->isVisible());
    QCOMPARE(w.questionBox()->code(), 11);
    QVERIFY(w.questionBox()->message().startsWith(QStringLiteral("是否下载当前项目到显示屏上？\n预计用时：")));
    QCOMPARE(PictureReader::decodeCount() - decodes, 5);
    w.questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->setChecked(withPictures);
    answer(w.questionBox(), true);
    QVERIFY(runToEnd(w));

    QCOMPARE(PictureReader::decodeCount() - decodes, 5);
    QCOMPARE(PictureReader::mainThreadDecodeCount() - onMain, 0);
    QCOMPARE(module->pixelData().size(), pixelBytes);
    QVERIFY(module->pixelData().startsWith(firstPixels));
    QCOMPARE(module->pageScripts().size(), 1);
}

void TestDownloadJudging::changedFolderIsJudgedAgain()
{
    App::projectPath() = makeProject(QStringLiteral("changed"), 2);
    MainWindow w;
    openVirtual(w);
    VirtualModule *module = w.serialPortDlg()->virtualPort()->module();
    thumbnailsMade(w);
    const int decodes = PictureReader::decodeCount();
    const int onMain = PictureReader::mainThreadDecodeCount();
    w.on_btnInstrDownLoad_clicked();
    QVERIFY(w.questionBox()->isVisible());
    QCOMPARE(PictureReader::decodeCount() - decodes, 3);

    // Picture 0 becomes green and white while the question is up.
    const QString first = m_dir->filePath(QStringLiteral("changed/tempImages/100001_first.bmp"));
    QVERIFY(QFile::remove(first));
    writeTwoPixels(first, qRgb(0, 255, 0), qRgb(255, 255, 255));
    w.questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->setChecked(true);
    answer(w.questionBox(), true);
    QVERIFY(runToEnd(w));

    QCOMPARE(PictureReader::decodeCount() - decodes, 6);
    QCOMPARE(PictureReader::mainThreadDecodeCount() - onMain, 0);
    QVERIFY(module->pixelData().startsWith(QByteArray("\x07\xE0\xFF\xFF", 4)));
    QCOMPARE(module->pixelData().size(), 4 + 2 * 128);
}

void TestDownloadJudging::simulatorAndPictureDownloadDecodeOnce_data()
{
    QTest::addColumn<bool>("simulator");
    QTest::newRow("simulator") << true;
    QTest::newRow("picture download") << false;
}

void TestDownloadJudging::simulatorAndPictureDownloadDecodeOnce()
{
    QFETCH(bool, simulator);
    App::projectPath() = makeProject(simulator ? QStringLiteral("sim") : QStringLiteral("pictures"), 4);
    MainWindow w;
    openVirtual(w);
    VirtualModule *module = w.serialPortDlg()->virtualPort()->module();
    thumbnailsMade(w);
    const int decodes = PictureReader::decodeCount();
    const int onMain = PictureReader::mainThreadDecodeCount();
    if (simulator) {
        QSignalSpy finished(w.simulator(), &SimulatorRun::s_finished);
        w.on_btnSimulate_clicked();
        QVERIFY(finished.count() == 1 || finished.wait(20000));
        QCOMPARE(finished.first().at(0).toBool(), true);
    } else {
        w.form().tabWidgetImageFont->setCurrentIndex(0);
        w.on_btnDownLoad_clicked();
        QVERIFY(runToEnd(w));
        QCOMPARE(module->pixelData().size(), 4 + 4 * 128);
        QVERIFY(module->pixelData().startsWith(QByteArray("\xF8\x00\x00\x1F", 4)));
    }
    QCOMPARE(PictureReader::decodeCount() - decodes, 5);
    QCOMPARE(PictureReader::mainThreadDecodeCount() - onMain, 0);
}

void TestDownloadJudging::folderStampSeesChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("same");
    QTest::newRow("nothing") << QStringLiteral("nothing") << true;
    QTest::newRow("read only") << QStringLiteral("read") << true;
    QTest::newRow("renamed") << QStringLiteral("rename") << false;
    QTest::newRow("added") << QStringLiteral("add") << false;
    QTest::newRow("removed") << QStringLiteral("remove") << false;
    QTest::newRow("same size, new time") << QStringLiteral("touch") << false;
}

void TestDownloadJudging::folderStampSeesChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, same);
    const QString folder = m_dir->filePath(QStringLiteral("stamp"));
    const QString images = folder + QStringLiteral("/tempImages");
    QDir().mkpath(images);
    const QString first = images + QStringLiteral("/100001_first.bmp");
    writeTwoPixels(first, qRgb(255, 0, 0), qRgb(0, 0, 255));
    writeTwoPixels(images + QStringLiteral("/100002_second.bmp"), qRgb(1, 2, 3), qRgb(4, 5, 6));
    const QDateTime time = QFileInfo(first).lastModified();
    const QByteArray before = pictureFolderStamp(folder);
    QVERIFY(!before.isEmpty());
    QFile f(first);
    if (change == QLatin1String("read")) {
        PictureState state;
        QVERIFY(!PictureReader::read(first, &state).isNull());
    } else if (change == QLatin1String("rename")) {
        QVERIFY(f.rename(images + QStringLiteral("/100001_renamed.bmp")));
    } else if (change == QLatin1String("add")) {
        writeTwoPixels(images + QStringLiteral("/100003_third.bmp"), qRgb(0, 0, 0), qRgb(0, 0, 0));
    } else if (change == QLatin1String("remove")) {
        QVERIFY(f.remove());
    } else if (change == QLatin1String("touch")) {
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(time.addSecs(5), QFileDevice::FileModificationTime));
    }
    f.close();
    QCOMPARE(pictureFolderStamp(folder) == before, same);
}

// A picture replaced while the judging reads the folder leaves the judged job's stamp stale, so
// the download judges again; the job is handed over once.
void TestDownloadJudging::judgingStampsBeforeReading()
{
    const QString path = makeProject(QStringLiteral("order"), 30, QSize(300, 200));
    const QString folder = QFileInfo(path).absolutePath();
    ProjectData project;
    QVERIFY(ProjectFile::read(path, 5, &project).ok);
    PictureJudging judging;
    QSignalSpy finished(&judging, &PictureJudging::finished);
    judging.start(project, folder, DownloadMode::PicturesAndPages, JobPictures::Verdicts);
    while (judging.isRunning() && judging.done() < 1)
        QThread::yieldCurrentThread();
    const bool midway = judging.isRunning() && judging.done() < judging.total();
    const QString first = folder + QStringLiteral("/tempImages/100001_first.bmp");
    QVERIFY(QFile::remove(first));
    writeTwoPixels(first, qRgb(0, 255, 0), qRgb(255, 255, 255));
    if (!midway)
        QSKIP("the judging ended before the picture was replaced");
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(judging.folderStamp() != pictureFolderStamp(folder));

    QCOMPARE(judging.takeJob().pictures.count(), 31);
    QCOMPARE(judging.takeJob().pictures.count(), 0);
}

void TestDownloadJudging::unreadablePictureIsNamed_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    const QString used = QStringLiteral("图片100001_first.bmp（编号0）无法读取，第0页使用了该图片，请您删除或重新导入该图片！");
    QTest::newRow("project") << QStringLiteral("project") << used;
    QTest::newRow("simulator") << QStringLiteral("simulator") << used;
    // The picture download is refused by the link before a byte is sent.
    QTest::newRow("pictures") << QStringLiteral("pictures") << used;
}

void TestDownloadJudging::unreadablePictureIsNamed()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    App::projectPath() = makeProject(QStringLiteral("broken"), 1);
    QFile f(m_dir->filePath(QStringLiteral("broken/tempImages/100001_first.bmp")));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("BM not a picture");
    f.close();
    MainWindow w;
    openVirtual(w);
    const int onMain = PictureReader::mainThreadDecodeCount();
    if (entry == QLatin1String("project")) {
        w.on_btnInstrDownLoad_clicked();
        QCOMPARE(w.infoBox()->message(), expected);
        QVERIFY(!w.questionBox()->isVisible());
    } else if (entry == QLatin1String("simulator")) {
        w.on_btnSimulate_clicked();
        QCOMPARE(w.infoBox()->message(), expected);
    } else {
        w.form().tabWidgetImageFont->setCurrentIndex(0);
        w.on_btnDownLoad_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(w.serialPortDlg()->messageBox()->message(), expected, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.serialPortDlg()->isBusy(), 20000);
    }
    QCOMPARE(PictureReader::mainThreadDecodeCount() - onMain, 0);
}

void TestDownloadJudging::secondClickWhileJudging()
{
    App::projectPath() = makeProject(QStringLiteral("twice"), 40, QSize(1600, 1200));
    MainWindow w;
    openVirtual(w);
    thumbnailsMade(w);
    const int decodes = PictureReader::decodeCount();
    w.on_btnInstrDownLoad_clicked();
    QVERIFY(w.questionBox()->isVisible());
    bool sawJudging = false;
    bool busy = true;
    QStringList hints;
    // Runs inside the second click's wait, the first question still up.
    QTimer::singleShot(0, &w, [&] {
        sawJudging = w.judgingPictures();
        w.on_btnInstrDownLoad_clicked();
        hints << w.infoBox()->message();
        w.on_btnSimulate_clicked();
        hints << w.infoBox()->message();
        answer(w.questionBox(), true);
        hints << w.infoBox()->message();
        busy = w.serialPortDlg()->isBusy();
    });
    w.on_btnInstrDownLoad_clicked();
    QVERIFY(sawJudging);
    const QString hint = QStringLiteral("正在检查图片，请稍候……");
    QCOMPARE(hints, QStringList({hint, hint, hint}));
    QVERIFY(!busy);
    // The hint goes when the question comes.
    QVERIFY(!w.infoBox()->isVisible());
    QVERIFY(w.questionBox()->isVisible());
    QCOMPARE(w.questionBox()->code(), 11);
    QVERIFY(!w.judgingPictures());
    QCOMPARE(PictureReader::decodeCount() - decodes, 2 * 41);
}

void TestDownloadJudging::windowGoesWhileJudging_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("closed") << QStringLiteral("closed");
    QTest::newRow("closed with unsaved work") << QStringLiteral("unsaved");
    QTest::newRow("deleted") << QStringLiteral("deleted");
    QTest::newRow("project switched") << QStringLiteral("switched");
}

void TestDownloadJudging::windowGoesWhileJudging()
{
    QFETCH(QString, how);
    App::projectPath() = makeProject(QStringLiteral("going"), 40, QSize(1600, 1200));
    const QString other = makeProject(QStringLiteral("other"), 0);
    auto *w = new MainWindow;
    QPointer<MainWindow> alive(w);
    w->setFileChooser([other](MainWindow::FileDialog) { return other; });
    openVirtual(*w);
    thumbnailsMade(*w);
    const int decodes = PictureReader::decodeCount();
    bool sawJudging = false;
    QTimer::singleShot(0, w, [&] {
        sawJudging = w->judgingPictures();
        if (how == QLatin1String("closed")) {
            w->close();
        } else if (how == QLatin1String("unsaved")) {
            w->addPage();
            w->close();
        } else if (how == QLatin1String("deleted")) {
            w->deleteLater();
        } else {
            w->on_btnLoadPro_clicked();
            answer(w->questionBox(), true);
        }
    });
    w->on_btnInstrDownLoad_clicked();
    QVERIFY(sawJudging);
    if (how == QLatin1String("deleted")) {
        QVERIFY(!alive);
        QVERIFY(PictureReader::decodeCount() - decodes < 41);
        return;
    }
    // The judging stopped short (the old project's when the tick saw the switch) and nothing started.
    if (how != QLatin1String("switched"))
        QVERIFY(PictureReader::decodeCount() - decodes < 41);
    QVERIFY(alive);
    QVERIFY(!w->judgingPictures());
    QVERIFY(!w->serialPortDlg()->isBusy());
    if (how == QLatin1String("switched")) {
        QCOMPARE(App::projectPath(), other);
        QCOMPARE(w->infoBox()->message(), QStringLiteral("导入成功！"));
        // The new project's download is judged anew.
        w->on_btnInstrDownLoad_clicked();
        QVERIFY(w->questionBox()->isVisible());
        QCOMPARE(w->questionBox()->code(), 11);
    } else if (how == QLatin1String("unsaved")) {
        // The question about saving stays.
        QCOMPARE(w->questionBox()->code(), 13);
        QVERIFY(w->questionBox()->isVisible());
    } else {
        QVERIFY(!w->questionBox()->isVisible());
    }
    delete w;
}

QTEST_MAIN(TestDownloadJudging)
#include "tst_downloadjudging.moc"
