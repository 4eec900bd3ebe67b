#include "app/desktopintegration.h"
#include "app/helpdocuments.h"
#include "app/languagedlg.h"
#include "app/mainwindow.h"
#include "app/systemsettings.h"
#include "dialogs/qmymessagebox.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

using namespace DesktopIntegration;

// Registration, help documents and the settings location, against real folders: the XDG
// folders point into a temporary folder for each case.
class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void execArgumentQuoting_data();
    void execArgumentQuoting();
    void registrationWritesTypeEntryIconAndDefault();
    void secondStartRewritesNothing();
    void newProgramCopyRewritesOnlyTheEntry();
    void installedFilesNamingTheProgramWinOverUserFiles();
    void installedFilesOfAnotherCopyDoNotStopRegistration();
    void unwritableDataFolderIsReportedAndTheRestWritten();
    void defaultApplicationKeepsOtherLines_data();
    void defaultApplicationKeepsOtherLines();
    void helpTablePath_data();
    void helpTablePath();
    void helpLookupOrder();
    void helpActionsOpenTheLanguagesDocument_data();
    void helpActionsOpenTheLanguagesDocument();
    void helpMenuHoldsFourActionsInOrder();
    void helpOpenerFailureIsShown_data();
    void helpOpenerFailureIsShown();
    void buildMakesEveryHelpDocument();
    void portableSettingsWinOverXdg();
    void settingsGoToXdgWhenNoPortableFile();

private:
    Folders folders() const;
    QString program(const QString &relative) const;
    static QByteArray read(const QString &path);
    static void writeFile(const QString &path, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

void TestDesktop::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCwd = QDir::currentPath();
    QDir(m_dir->path()).mkpath(QStringLiteral("work"));
    QVERIFY(QDir::setCurrent(m_dir->path() + QStringLiteral("/work")));
    qputenv("HOME", m_dir->path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (m_dir->path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_DATA_DIRS", (m_dir->path() + QStringLiteral("/system")).toUtf8());
    HelpDocuments::setOpener([](const QUrl &) { return false; });
}

void TestDesktop::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

Folders TestDesktop::folders() const
{
    Folders f = Folders::fromEnvironment();
    return f;
}

// An executable file standing in for a program copy.
QString TestDesktop::program(const QString &relative) const
{
    const QString path = m_dir->path() + QLatin1Char('/') + relative;
    writeFile(path, "#!/bin/sh\n");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QByteArray TestDesktop::read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestDesktop::writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void TestDesktop::execArgumentQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/opt/tavo/tavo" << "/opt/tavo/tavo";
    QTest::newRow("space") << "/home/a b/tavo" << "\"/home/a b/tavo\"";
    QTest::newRow("double quote") << "/x/a\"b/tavo" << "\"/x/a\\\\\"b/tavo\"";
    QTest::newRow("dollar and backtick") << "/x/$y`z/tavo" << "\"/x/\\\\$y\\\\`z/tavo\"";
    QTest::newRow("backslash") << "/x/a\\b/tavo" << "\"/x/a\\\\\\\\b/tavo\"";
    QTest::newRow("percent") << "/x/100%/tavo" << "/x/100%%/tavo";
    QTest::newRow("percent and space") << "/x/1 %f/tavo" << "\"/x/1 %%f/tavo\"";
    QTest::newRow("Chinese") << "/home/用户/tavo" << "/home/用户/tavo";
}

void TestDesktop::execArgumentQuoting()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(execArgument(path), exec);
    // The entry's Exec leads back to the same program.
    QCOMPARE(execProgram(desktopEntry(path)), path);
}

void TestDesktop::registrationWritesTypeEntryIconAndDefault()
{
    const QString tavo = program(QStringLiteral("my programs/tavo"));
    const Result r = registerProgram(tavo, folders());
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QVERIFY(!r.systemWide);
    const QString data = m_dir->path() + QStringLiteral("/data");
    QCOMPARE(r.written.size(), 4);

    const QString mime = QString::fromUtf8(read(data + QStringLiteral("/mime/packages/tavo.xml")));
    QVERIFY(mime.contains(QLatin1String("<mime-type type=\"application/x-tavo-project\">")));
    QVERIFY(mime.contains(QLatin1String("<glob pattern=\"*.Tavo\" case-sensitive=\"true\"/>")));
    QVERIFY(mime.contains(QStringLiteral("<comment xml:lang=\"zh_CN\">Tavo文件</comment>")));
    QVERIFY(mime.contains(QLatin1String("<comment>Tavo file</comment>")));

    const QString entryPath = data + QStringLiteral("/applications/tavo.desktop");
    const QString entry = QString::fromUtf8(read(entryPath));
    QVERIFY(entry.contains(QLatin1String("\nExec=\"") + tavo + QLatin1String("\" %f\n")));
    QVERIFY(!entry.contains(QLatin1String("%1")));
    QVERIFY(!entry.contains(QLatin1Char('\\')));
    QVERIFY(entry.contains(QLatin1String("\nMimeType=application/x-tavo-project;\n")));
    QVERIFY(entry.contains(QLatin1String("\nCategories=Development;Electronics;\n")));
    QVERIFY(entry.contains(QLatin1String("\nIcon=tavo\n")));
    QVERIFY(read(data + QStringLiteral("/icons/hicolor/scalable/apps/tavo.svg")).startsWith("<svg"));
    QCOMPARE(read(m_dir->path() + QStringLiteral("/config/mimeapps.list")),
             QByteArray("[Default Applications]\napplication/x-tavo-project=tavo.desktop\n"));

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(validator, {entryPath});
        QVERIFY(p.waitForFinished());
        QVERIFY2(p.exitCode() == 0 && p.readAll().trimmed().isEmpty(), qPrintable(entry));
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        QVERIFY(QFile::exists(data + QStringLiteral("/mime/application/x-tavo-project.xml")));
    if (!QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        QVERIFY(read(data + QStringLiteral("/applications/mimeinfo.cache")).contains("application/x-tavo-project=tavo.desktop;"));

    // The desktop's own tool agrees on the default application.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        QProcess p;
        p.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/x-tavo-project")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("tavo.desktop"));
    }
}

void TestDesktop::secondStartRewritesNothing()
{
    const QString tavo = program(QStringLiteral("bin/tavo"));
    QVERIFY(registerProgram(tavo, folders(), false).error.isEmpty());
    const QString entryPath = m_dir->path() + QStringLiteral("/data/applications/tavo.desktop");
    const QDateTime before = QFileInfo(entryPath).lastModified();
    QTest::qWait(20);
    const Result again = registerProgram(tavo, folders(), false);
    QVERIFY(again.error.isEmpty());
    QCOMPARE(again.written, QStringList());
    QCOMPARE(QFileInfo(entryPath).lastModified(), before);
}

void TestDesktop::newProgramCopyRewritesOnlyTheEntry()
{
    QVERIFY(registerProgram(program(QStringLiteral("old/tavo")), folders(), false).error.isEmpty());
    const QString newer = program(QStringLiteral("new copy/tavo"));
    const Result r = registerProgram(newer, folders(), false);
    QCOMPARE(r.written, QStringList{m_dir->path() + QStringLiteral("/data/applications/tavo.desktop")});
    QCOMPARE(execProgram(QString::fromUtf8(read(r.written.first()))), newer);
}

void TestDesktop::installedFilesNamingTheProgramWinOverUserFiles()
{
    // An earlier build copy registered itself; then the package is installed and its program runs.
    QVERIFY(registerProgram(program(QStringLiteral("build/tavo")), folders(), false).error.isEmpty());
    const QString installed = program(QStringLiteral("usr/bin/tavo"));
    const QString system = m_dir->path() + QStringLiteral("/system");
    writeFile(system + QStringLiteral("/applications/tavo.desktop"),
              "[Desktop Entry]\nType=Application\nName=Tavo\nExec=" + installed.toUtf8() + " %f\n");
    writeFile(system + QStringLiteral("/mime/packages/tavo.xml"), mimeTypeXml().toUtf8());
    const QString data = m_dir->path() + QStringLiteral("/data");
    const QByteArray apps = read(m_dir->path() + QStringLiteral("/config/mimeapps.list"));

    const Result r = registerProgram(installed, folders(), false);
    QVERIFY(r.error.isEmpty());
    QVERIFY(r.systemWide);
    QCOMPARE(r.written, QStringList());
    QVERIFY(!QFile::exists(data + QStringLiteral("/applications/tavo.desktop")));
    QVERIFY(!QFile::exists(data + QStringLiteral("/mime/packages/tavo.xml")));
    QCOMPARE(read(m_dir->path() + QStringLiteral("/config/mimeapps.list")), apps);
}

void TestDesktop::installedFilesOfAnotherCopyDoNotStopRegistration()
{
    const QString system = m_dir->path() + QStringLiteral("/system");
    writeFile(system + QStringLiteral("/applications/tavo.desktop"),
              "[Desktop Entry]\nType=Application\nName=Tavo\nExec=" + program(QStringLiteral("usr/bin/tavo")).toUtf8() + " %f\n");
    writeFile(system + QStringLiteral("/mime/packages/tavo.xml"), mimeTypeXml().toUtf8());
    const QString mine = program(QStringLiteral("checkout/build/tavo"));
    const Result r = registerProgram(mine, folders(), false);
    QVERIFY(!r.systemWide);
    QCOMPARE(r.written.size(), 4);
    QCOMPARE(execProgram(QString::fromUtf8(read(m_dir->path() + QStringLiteral("/data/applications/tavo.desktop")))), mine);
}

void TestDesktop::unwritableDataFolderIsReportedAndTheRestWritten()
{
    // A plain file where the applications folder should be.
    writeFile(m_dir->path() + QStringLiteral("/data/applications"), "not a folder");
    const Result r = registerProgram(program(QStringLiteral("bin/tavo")), folders(), false);
    QVERIFY(r.error.contains(QLatin1String("applications")));
    QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/data/mime/packages/tavo.xml")));
    QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/config/mimeapps.list")));
}

void TestDesktop::defaultApplicationKeepsOtherLines_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString line = QStringLiteral("application/x-tavo-project=tavo.desktop");
    QTest::newRow("empty") << "" << "[Default Applications]\n" + line + "\n";
    QTest::newRow("other section only")
        << "[Added Associations]\ntext/plain=gedit.desktop;\n"
        << "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n" + line + "\n";
    QTest::newRow("other defaults kept, blank line stays last")
        << "[Default Applications]\ntext/plain=gedit.desktop\n\n[Added Associations]\nimage/png=eog.desktop;\n"
        << "[Default Applications]\ntext/plain=gedit.desktop\n" + line + "\n\n[Added Associations]\nimage/png=eog.desktop;\n";
    QTest::newRow("another program replaced")
        << "[Default Applications]\napplication/x-tavo-project=old.desktop\ntext/plain=gedit.desktop\n"
        << "[Default Applications]\n" + line + "\ntext/plain=gedit.desktop\n";
    QTest::newRow("duplicates folded")
        << "[Default Applications]\napplication/x-tavo-project=a.desktop\napplication/x-tavo-project=b.desktop\n"
        << "[Default Applications]\n" + line + "\n";
    QTest::newRow("no final line break") << "[Default Applications]\ntext/plain=gedit.desktop"
                                         << "[Default Applications]\ntext/plain=gedit.desktop\n" + line + "\n";
}

void TestDesktop::defaultApplicationKeepsOtherLines()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QCOMPARE(withDefaultApplication(before), after);
    QCOMPARE(withDefaultApplication(after), after);
}

void TestDesktop::helpTablePath_data()
{
    QTest::addColumn<int>("document");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");
    using namespace HelpDocuments;
    QTest::newRow("usage") << int(UseDocument) << "./help/Tavo软件使用文档.pdf" << "./help/Tavo sotfware usage document.pdf";
    QTest::newRow("application") << int(ApplicationNote) << "./help/LXP应用文档.pdf" << "./help/LXP Application document.pdf";
    QTest::newRow("instructions") << int(InstructionSet) << "./help/LXP指令集.pdf" << "./help/LXP指令集.pdf";
    QTest::newRow("programming") << int(Programming) << "./help/LXP编程实例.pdf" << "./help/LXP编程实例.pdf";
    QTest::newRow("notice") << int(Notice) << "./help/LXP使用注意事项文档.pdf" << "./help/LXP使用注意事项文档.pdf";
    QTest::newRow("offline") << int(OfflineUpload) << "./help/图片脱机上传流程.pdf" << "./help/图片脱机上传流程.pdf";
    QTest::newRow("videos") << int(Study) << "./help/产品使用视频参考" << "./help/产品使用视频参考";
    QTest::newRow("support") << int(Support) << "./help/技术支持窗口.txt" << "./help/Technical Support Window.txt";
}

void TestDesktop::helpTablePath()
{
    QFETCH(int, document);
    QFETCH(QString, chinese);
    QFETCH(QString, english);
    const auto d = HelpDocuments::Document(document);
    QCOMPARE(HelpDocuments::tablePath(d, 1), chinese);
    QCOMPARE(HelpDocuments::tablePath(d, 2), english);
    QCOMPARE(HelpDocuments::tablePath(d, 0), QString());
    QCOMPARE(HelpDocuments::tablePath(d, 3), QString());
}

void TestDesktop::helpLookupOrder()
{
    const QString programDir = m_dir->path() + QStringLiteral("/prefix/bin");
    const QString name = QStringLiteral("LXP指令集.pdf");
    const QStringList places = {
        QDir::currentPath() + QStringLiteral("/help/") + name,
        programDir + QStringLiteral("/help/") + name,
        m_dir->path() + QStringLiteral("/prefix/share/tavo/help/") + name,
        m_dir->path() + QStringLiteral("/system/tavo/help/") + name,
    };
    const QString table = HelpDocuments::tablePath(HelpDocuments::InstructionSet, 1);
    const QStringList folders = HelpDocuments::searchFolders(programDir);
    QCOMPARE(HelpDocuments::locate(table, folders), QString());
    for (const QString &p : places)
        writeFile(p, "%PDF");
    for (const QString &p : places) {
        QCOMPARE(HelpDocuments::locate(table, folders), QFileInfo(p).absoluteFilePath());
        QFile::remove(p);
    }
    QCOMPARE(HelpDocuments::locate(table, folders), QString());
}

void TestDesktop::helpActionsOpenTheLanguagesDocument_data()
{
    QTest::addColumn<int>("languageId");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("opened");
    QTest::newRow("Chinese usage") << 1 << "actionUseDocument" << "Tavo软件使用文档.pdf";
    QTest::newRow("English usage") << 2 << "actionUseDocument" << "Tavo sotfware usage document.pdf";
    QTest::newRow("English application note") << 2 << "actionDocument" << "LXP Application document.pdf";
    QTest::newRow("English instruction set") << 2 << "actionInstr" << "LXP指令集.pdf";
    QTest::newRow("Chinese programming") << 1 << "actionProgram" << "LXP编程实例.pdf";
    QTest::newRow("Chinese notice") << 1 << "actionNotice" << "LXP使用注意事项文档.pdf";
    QTest::newRow("English offline") << 2 << "actionOffline" << "图片脱机上传流程.pdf";
    QTest::newRow("English videos folder") << 2 << "actionStudy" << "产品使用视频参考";
    QTest::newRow("Chinese support") << 1 << "actionSupport" << "技术支持窗口.txt";
    QTest::newRow("English support") << 2 << "actionSupport" << "Technical Support Window.txt";
    QTest::newRow("unknown language") << 0 << "actionDocument" << "";
    QTest::newRow("unknown language, videos") << 0 << "actionStudy" << "";
}

void TestDesktop::helpActionsOpenTheLanguagesDocument()
{
    QFETCH(int, languageId);
    QFETCH(QString, action);
    QFETCH(QString, opened);
    writeFile(QStringLiteral("config/system.ini"), "[Language]\nID=" + QByteArray::number(languageId) + "\n");
    for (const char *name : {"Tavo软件使用文档.pdf", "Tavo sotfware usage document.pdf", "LXP应用文档.pdf",
                             "LXP Application document.pdf", "LXP指令集.pdf", "LXP编程实例.pdf",
                             "LXP使用注意事项文档.pdf", "图片脱机上传流程.pdf", "技术支持窗口.txt",
                             "Technical Support Window.txt"})
        writeFile(QStringLiteral("help/") + QString::fromUtf8(name), "x");
    QDir().mkpath(QStringLiteral("help/产品使用视频参考"));

    QList<QUrl> urls;
    HelpDocuments::setOpener([&urls](const QUrl &u) {
        urls << u;
        return true;
    });
    MainWindow w;
    auto *a = w.findChild<QAction *>(action);
    QVERIFY(a);
    a->trigger();
    if (opened.isEmpty()) {
        QCOMPARE(urls.size(), 0);
        return;
    }
    QCOMPARE(urls.size(), 1);
    QVERIFY(urls.first().isLocalFile());
    QCOMPARE(urls.first().toLocalFile(), QDir::currentPath() + QStringLiteral("/help/") + opened);
}

void TestDesktop::helpOpenerFailureIsShown_data()
{
    QTest::addColumn<QByteArray>("launcher");  // the desktop's opener on PATH; empty: none
    QTest::addColumn<bool>("shown");
    QTest::newRow("no program for the type") << QByteArray("exit 3") << true;
    QTest::newRow("opened") << QByteArray("exit 0") << false;
    QTest::newRow("viewer still open") << QByteArray("/bin/sleep 1") << false;
    QTest::newRow("no opener at all") << QByteArray() << true;
}

// The desktop's opener is run for real (a stand-in on PATH): a failure that comes after it
// started is still said, naming the file.
void TestDesktop::helpOpenerFailureIsShown()
{
    QFETCH(QByteArray, launcher);
    QFETCH(bool, shown);
    const QByteArray oldPath = qgetenv("PATH");
    const QString bin = m_dir->path() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    const QString argument = m_dir->path() + QStringLiteral("/argument");
    if (!launcher.isEmpty()) {
        writeFile(bin + QStringLiteral("/xdg-open"), "#!/bin/sh\nprintf '%s' \"$1\" > '" + argument.toUtf8() + "'\n" + launcher + "\n");
        QFile(bin + QStringLiteral("/xdg-open")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    qputenv("PATH", bin.toUtf8());
    writeFile(QStringLiteral("config/system.ini"), "[Language]\nID=1\n");
    writeFile(QStringLiteral("help/LXP指令集.pdf"), "%PDF-");
    HelpDocuments::resetOpener();
    MainWindow w;
    w.findChild<QAction *>(QStringLiteral("actionInstr"))->trigger();
    if (shown) {
        QTRY_VERIFY(w.infoBox()->isVisible());
        QVERIFY(w.infoBox()->message().startsWith(QStringLiteral("无法打开帮助文档“LXP指令集.pdf”")));
    } else {
        QTest::qWait(300);
        QVERIFY(!w.infoBox()->isVisible());
    }
    qputenv("PATH", oldPath);
    HelpDocuments::setOpener([](const QUrl &) { return false; });
    if (!launcher.isEmpty())
        QCOMPARE(QString::fromUtf8(read(argument)), QDir::currentPath() + QStringLiteral("/help/LXP指令集.pdf"));
}

void TestDesktop::helpMenuHoldsFourActionsInOrder()
{
    MainWindow w;
    QMenu *menu = w.form().btnHelp->menu();
    QVERIFY(menu);
    QCOMPARE(w.form().btnHelp->popupMode(), QToolButton::DelayedPopup);
    QStringList names;
    for (QAction *a : menu->actions())
        names << a->objectName();
    QCOMPARE(names, (QStringList{QStringLiteral("actionUseDocument"), QStringLiteral("actionDocument"),
                                 QStringLiteral("actionStudy"), QStringLiteral("actionSupport")}));
    QCOMPARE(w.form().actionInstr->toolTip(), QStringLiteral("LXP指令集"));
}

// The build writes the documents beside the programs, where a window started from the build
// folder finds them.
void TestDesktop::buildMakesEveryHelpDocument()
{
    const QStringList folders{QStringLiteral(TAVO_BIN_DIR "/help")};
    for (int language : {1, 2}) {
        for (int d = HelpDocuments::UseDocument; d <= HelpDocuments::Support; ++d) {
            const QString path = HelpDocuments::locate(HelpDocuments::tablePath(HelpDocuments::Document(d), language), folders);
            QVERIFY2(!path.isEmpty(), qPrintable(HelpDocuments::tablePath(HelpDocuments::Document(d), language)));
            if (path.endsWith(QLatin1String(".pdf")))
                QVERIFY2(read(path).startsWith("%PDF-"), qPrintable(path));
            else if (path.endsWith(QLatin1String(".txt")))
                QVERIFY(read(path).size() > 200);
            else
                QVERIFY(QDir(path).entryList({QStringLiteral("*.pdf")}).size() >= 3);
        }
    }
}

void TestDesktop::portableSettingsWinOverXdg()
{
    writeFile(QStringLiteral("config/system.ini"), "[Language]\nID=2\nPath=:/config/language/English.qm\n");
    QCOMPARE(SystemSettings::fileName(), QStringLiteral("./config/system.ini"));
    SystemSettings s;
    QCOMPARE(s.languageId(), 2);
    s.setLanguage(1, QString());
    QVERIFY(read(QStringLiteral("config/system.ini")).contains("ID=1"));
    QVERIFY(!QFile::exists(m_dir->path() + QStringLiteral("/config/tavo/system.ini")));
}

void TestDesktop::settingsGoToXdgWhenNoPortableFile()
{
    const QString xdg = m_dir->path() + QStringLiteral("/config/tavo/system.ini");
    QCOMPARE(SystemSettings::fileName(), xdg);
    {
        SystemSettings s;
        QCOMPARE(s.languageId(), 1);
        QVERIFY(s.setLanguage(2, QStringLiteral(":/config/language/English.qm")));
    }
    QVERIFY(QFile::exists(xdg));
    QVERIFY(!QFileInfo::exists(QStringLiteral("config")));
    SystemSettings again;
    QCOMPARE(again.languageId(), 2);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
