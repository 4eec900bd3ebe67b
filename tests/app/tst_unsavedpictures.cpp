#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "tavocli.h"
#include "canvas/pagetable.h"
#include "dialogs/qmymessagebox.h"
#include "edit/picturereferences.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/picturefiles.h"
#include "library/qmyimageitemmodel.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

// The window killed while its picture changes are not saved: at the next opening every reference
// must name the same picture as the project file saved on disk meant, compared by the pictures'
// bytes. The window runs in a child process (this program started again) that is killed by
// SIGKILL once its steps are done, so the folder is left exactly as a crash leaves it.
class TestUnsavedPictures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void killedWindowLeavesTheSavedPictures_data();
    void killedWindowLeavesTheSavedPictures();
    void commandLineLeavesTheWindowsChangesAlone();

public:
    // The child's side: opens the project, runs the steps, says "ready" and waits to be killed.
    static int runSteps(const QString &projectFile, const QStringList &steps);

private:
    QString folder() const { return m_dir->filePath(QStringLiteral("p")); }
    QString file() const { return folder() + QStringLiteral("/p.Tavo"); }
    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Six pictures, each of its own size and colour; every page, control field and the boot
    // animation name one of them.
    void makeProject(QVector<QByteArray> *original, ProjectData *d);
    // Starts the window in a child process and waits until it has run the steps.
    void startWindow(QProcess *child, const QString &steps);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

namespace {

// Every picture reference of a project, in a fixed order.
QVector<int> referencesOf(const ProjectData &d)
{
    QVector<int> out;
    for (const PageData &page : d.pages) {
        out << page.imageNum;
        for (const ControlRecord &r : page.controls) {
            for (int f = 0; f < PictureReferences::ImageFieldCount; ++f)
                out << PictureReferences::imageField(r, f);
        }
    }
    out << d.logo1 << d.logo2;
    return out;
}

QString newPicture(const QString &folder)
{
    const QString path = folder + QStringLiteral("/new.bmp");
    QImage img(QSize(5, 7), QImage::Format_RGB32);
    img.fill(Qt::green);
    img.save(path);
    return path;
}

}  // namespace

int TestUnsavedPictures::runSteps(const QString &projectFile, const QStringList &steps)
{
    App::projectPath() = projectFile;
    MainWindow w;
    w.show();
    QUndoStack *stack = w.history()->stack();
    for (const QString &step : steps) {
        if (step == QLatin1String("delete")) {
            LibraryPanel *library = w.library();
            library->setDeleteMode(LibraryPanel::Pictures, true);
            library->model(LibraryPanel::Pictures)->setTicked(1, true);
            library->model(LibraryPanel::Pictures)->setTicked(4, true);
            QTest::mouseClick(w.form().btnImageFontSub, Qt::LeftButton);
            QTest::mouseClick(w.questionBox()->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
        } else if (step == QLatin1String("import")) {
            const QString source = newPicture(QFileInfo(projectFile).absolutePath() + QStringLiteral("/.."));
            w.setFilesChooser([source](bool) { return QStringList{source}; });
            QTest::mouseClick(w.form().btnImageFontAdd, Qt::LeftButton);
        } else if (step == QLatin1String("undo")) {
            stack->undo();
        } else if (step == QLatin1String("redo")) {
            stack->redo();
        } else if (step == QLatin1String("save")) {
            if (!w.saveProject())
                return 3;
        } else if (step == QLatin1String("write")) {
            // A save killed right after the project file was written, before anything else.
            if (!ProjectFile::write(projectFile, w.projectData()))
                return 3;
        }
        QCoreApplication::processEvents();
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;)
        pause();
}

void TestUnsavedPictures::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    App::projectPath().clear();
}

void TestUnsavedPictures::cleanup()
{
    App::projectPath().clear();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TestUnsavedPictures::makeProject(QVector<QByteArray> *original, ProjectData *d)
{
    QDir().mkpath(folder() + QStringLiteral("/tempImages"));
    QDir().mkpath(folder() + QStringLiteral("/tempFonts"));
    for (int n = 0; n < 6; ++n) {
        const QString path = folder() + QStringLiteral("/tempImages/10000%1_p%1.bmp").arg(n + 1);
        QImage img(QSize(8 + n, 6), QImage::Format_RGB32);
        img.fill(QColor(40 * n, 0, 255 - 40 * n));
        QVERIFY(img.save(path));
        *original << bytes(path);
    }
    d->frameW = 240;
    d->frameH = 320;
    d->dpi = QStringLiteral("240*320(QVGA-1)");
    d->pages.resize(3);
    d->pages[0].imageNum = 1;
    d->pages[1].imageNum = 5;
    d->pages[2].imageNum = 3;
    ControlRecord b = ControlRecord::make(ControlKind::Button, 0);
    b.x = 20;
    b.y = 200;
    b.imageNum = 4;
    b.pressImageNum = 2;
    d->pages[2].controls << b;
    d->logo1 = 2;
    d->logo2 = 5;
    QVERIFY(ProjectFile::write(file(), *d));
}

void TestUnsavedPictures::startWindow(QProcess *child, const QString &steps)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVO_STEPS"), steps);
    env.insert(QStringLiteral("TAVO_STEPS_PROJECT"), file());
    child->setProcessEnvironment(env);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child->waitForStarted());
    QByteArray said;
    while (!said.contains("ready\n") && child->state() == QProcess::Running) {
        child->waitForReadyRead(1000);
        said += child->readAllStandardOutput();
    }
    QVERIFY2(said.contains("ready\n"), said.constData());
}

void TestUnsavedPictures::killedWindowLeavesTheSavedPictures_data()
{
    QTest::addColumn<QString>("steps");
    // Whether the file on disk holds the deletion of pictures 1 and 4 at the kill.
    QTest::addColumn<bool>("deletionSaved");
    QTest::addColumn<int>("pictures");
    QTest::newRow("deleted") << "delete" << false << 6;
    QTest::newRow("deleted, undone") << "delete,undo" << false << 6;
    QTest::newRow("deleted, undone, redone") << "delete,undo,redo" << false << 6;
    QTest::newRow("deleted, saved") << "delete,save" << true << 4;
    QTest::newRow("deleted, saved, undone") << "delete,save,undo" << true << 4;
    QTest::newRow("deleted, saved, undone, redone") << "delete,save,undo,redo" << true << 4;
    QTest::newRow("deleted, saved, undone, saved") << "delete,save,undo,save" << false << 6;
    QTest::newRow("deleted, killed in the save") << "delete,write" << true << 4;
    QTest::newRow("deleted, saved, undone, killed in the save") << "delete,save,undo,write" << false << 6;
    // An import not saved goes as it would with "no" to saving at exit.
    QTest::newRow("imported") << "import" << false << 6;
    QTest::newRow("imported, deleted") << "import,delete" << false << 6;
    // The saved file names the imported picture: undoing the import must not lose it.
    QTest::newRow("imported, saved, undone") << "import,save,undo" << false << 7;
}

void TestUnsavedPictures::killedWindowLeavesTheSavedPictures()
{
    QFETCH(QString, steps);
    QFETCH(bool, deletionSaved);
    QFETCH(int, pictures);

    QVector<QByteArray> original;
    ProjectData d;
    makeProject(&original, &d);
    const QVector<int> before = referencesOf(d);
    QProcess child;
    startWindow(&child, steps);
    // While the window lives, another program opening the project leaves its folder alone.
    const QStringList working = QDir(folder() + QStringLiteral("/tempImages")).entryList(QDir::Files);
    PictureFiles::recoverRemoval(file());
    QCOMPARE(QDir(folder() + QStringLiteral("/tempImages")).entryList(QDir::Files), working);
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    // Opened again: each reference names the picture the saved file meant, byte for byte.
    App::projectPath() = file();
    auto w = std::make_unique<MainWindow>();
    const PictureLibrary lib = w->pageTable()->pictures();
    const QVector<int> after = referencesOf(w->projectData());
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        const int was = before.at(i);
        const bool gone = deletionSaved && (was == 1 || was == 4);
        const QByteArray want = was < 0 || gone ? QByteArray() : original.at(was);
        const int now = after.at(i);
        const QByteArray got = now >= 0 && now < lib.count() ? bytes(lib.at(now).path) : QByteArray();
        QVERIFY2(got == want, qPrintable(QStringLiteral("reference %1: picture %2 before, %3 now").arg(i).arg(was).arg(now)));
    }
    QCOMPARE(lib.count(), pictures);
    // Nothing of the unsaved changes is left beside the project.
    QVERIFY(!QFileInfo::exists(folder() + QStringLiteral("/tempImages.unsaved")));
    QVERIFY(!QFileInfo::exists(folder() + QStringLiteral("/tempImages.unsaved.part")));
    QCOMPARE(QDir(folder() + QStringLiteral("/backUpImages")).entryList(QDir::Files).size(), pictures);
}

// While the window holds unsaved picture changes, the command line changes nothing and reads
// only the saved state.
void TestUnsavedPictures::commandLineLeavesTheWindowsChangesAlone()
{
    QVector<QByteArray> original;
    ProjectData d;
    makeProject(&original, &d);
    QVERIFY(QDir().mkpath(folder() + QStringLiteral("/backUpImages")));
    for (const QString &name : QDir(folder() + QStringLiteral("/tempImages")).entryList(QDir::Files))
        QVERIFY(QFile::copy(folder() + QStringLiteral("/tempImages/") + name, folder() + QStringLiteral("/backUpImages/") + name));
    const CliRun savedScript = runTavoCli({QStringLiteral("script"), file(), QStringLiteral("--all")});
    QCOMPARE(savedScript.code, 0);
    const QByteArray savedFile = bytes(file());
    QProcess child;
    startWindow(&child, QStringLiteral("delete"));
    const QStringList working = QDir(folder() + QStringLiteral("/tempImages")).entryList(QDir::Files);
    QCOMPARE(working.size(), 4);

    for (const QStringList &change : {QStringList{QStringLiteral("pictures"), file(), QStringLiteral("--remove"), QStringLiteral("0")},
                                      QStringList{QStringLiteral("pictures"), file(), QStringLiteral("--add"), folder() + QStringLiteral("/tempImages/100001_p1.bmp")},
                                      QStringList{QStringLiteral("set"), file(), QStringLiteral("--page"), QStringLiteral("0"), QStringLiteral("--control"),
                                                  QStringLiteral("0"), QStringLiteral("x=1")}}) {
        const CliRun r = runTavoCli(change);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("unsaved picture changes")), qPrintable(r.err));
        QCOMPARE(bytes(file()), savedFile);
        QCOMPARE(QDir(folder() + QStringLiteral("/tempImages")).entryList(QDir::Files), working);
    }
    // Reading: the saved pictures, as before the window changed anything.
    const CliRun script = runTavoCli({QStringLiteral("script"), file(), QStringLiteral("--all")});
    QVERIFY2(script.code == 0, qPrintable(script.err));
    QCOMPARE(script.out, savedScript.out);
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString steps = qEnvironmentVariable("TAVO_STEPS");
    if (!steps.isEmpty())
        return TestUnsavedPictures::runSteps(qEnvironmentVariable("TAVO_STEPS_PROJECT"), steps.split(QLatin1Char(',')));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestUnsavedPictures t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_unsavedpictures.moc"
