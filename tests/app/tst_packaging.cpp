#include "app/desktopintegration.h"
#include "app/helpdocuments.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// What `make install` and `make package` deliver, checked on the real install of this build.
class TestPackaging : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void installHoldsEveryFile();
    void installedDesktopFilesValidateAndMatchTheProgram();
    void installedProgramFindsItsHelpDocuments();
    void installedProgramStartsAndLeavesTheDesktopToThePackage();
    void debianPackageHoldsEveryFile();

private:
    static QStringList expectedFiles();
    static int run(const QString &program, const QStringList &args, QByteArray *output = nullptr,
                   const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

    QTemporaryDir m_prefix;
};

QStringList TestPackaging::expectedFiles()
{
    QStringList files{
        QStringLiteral("bin/tavo"),
        QStringLiteral("bin/tavo-cli"),
        QStringLiteral("bin/lxp-sim"),
        QStringLiteral("share/applications/tavo.desktop"),
        QStringLiteral("share/mime/packages/tavo.xml"),
        QStringLiteral("share/metainfo/org.tavo.Tavo.metainfo.xml"),
        QStringLiteral("share/icons/hicolor/scalable/apps/tavo.svg"),
        QStringLiteral("share/man/man1/tavo.1.gz"),
        QStringLiteral("share/man/man1/tavo-cli.1.gz"),
        QStringLiteral("share/doc/tavo/copyright"),
        QStringLiteral("share/doc/tavo/changelog.gz"),
        QStringLiteral("share/man/man1/lxp-sim.1.gz"),
        QStringLiteral("share/tavo/help/产品使用视频参考/01 新建项目与页面.pdf"),
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/tavo.png").arg(size);
    for (int language : {1, 2}) {
        for (int d = HelpDocuments::UseDocument; d <= HelpDocuments::Support; ++d) {
            if (d != HelpDocuments::Study)
                files << QStringLiteral("share/tavo/help/")
                             + QFileInfo(HelpDocuments::tablePath(HelpDocuments::Document(d), language)).fileName();
        }
    }
    files.removeDuplicates();
    return files;
}

int TestPackaging::run(const QString &program, const QStringList &args, QByteArray *output,
                       const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(240000))
        return -1;
    if (output)
        *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void TestPackaging::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QByteArray out;
    QCOMPARE(run(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(TAVO_BIN_DIR),
                                          QStringLiteral("--prefix"), m_prefix.path()}, &out), 0);
}

void TestPackaging::installHoldsEveryFile()
{
    for (const QString &f : expectedFiles())
        QVERIFY2(QFileInfo(m_prefix.path() + QLatin1Char('/') + f).size() > 0, qPrintable(f));
    QVERIFY(QFileInfo(m_prefix.path() + QStringLiteral("/bin/tavo")).isExecutable());
    // Build-time tools stay in the build.
    QVERIFY(!QFile::exists(m_prefix.path() + QStringLiteral("/bin/helpdoc")));
    QVERIFY(!QFile::exists(m_prefix.path() + QStringLiteral("/bin/svg2png")));
}

void TestPackaging::installedDesktopFilesValidateAndMatchTheProgram()
{
    auto read = [this](const QString &relative) {
        QFile f(m_prefix.path() + QLatin1Char('/') + relative);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    // The installed files and what the program registers per user say the same.
    QCOMPARE(read(QStringLiteral("share/applications/tavo.desktop")), DesktopIntegration::desktopEntry(QStringLiteral("tavo")));
    QCOMPARE(read(QStringLiteral("share/mime/packages/tavo.xml")), DesktopIntegration::mimeTypeXml());

    const QString desktopValidate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!desktopValidate.isEmpty()) {
        QByteArray out;
        QCOMPARE(run(desktopValidate, {m_prefix.path() + QStringLiteral("/share/applications/tavo.desktop")}, &out), 0);
        QCOMPARE(out.trimmed(), QByteArray());
    }
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (!appstream.isEmpty()) {
        QByteArray out;
        const int rc = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                       m_prefix.path() + QStringLiteral("/share/metainfo/org.tavo.Tavo.metainfo.xml")}, &out);
        QVERIFY2(rc == 0, out.constData());
    }
    if (desktopValidate.isEmpty() || appstream.isEmpty())
        QSKIP("desktop-file-validate or appstreamcli is not installed");
}

void TestPackaging::installedProgramFindsItsHelpDocuments()
{
    QTemporaryDir elsewhere;
    const QString old = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const QStringList folders = HelpDocuments::searchFolders(m_prefix.path() + QStringLiteral("/bin"));
    for (int language : {1, 2}) {
        for (int d = HelpDocuments::UseDocument; d <= HelpDocuments::Support; ++d) {
            const QString table = HelpDocuments::tablePath(HelpDocuments::Document(d), language);
            QCOMPARE(HelpDocuments::locate(table, folders),
                     m_prefix.path() + QStringLiteral("/share/tavo/help/") + QFileInfo(table).fileName());
        }
    }
    QDir::setCurrent(old);
}

void TestPackaging::installedProgramStartsAndLeavesTheDesktopToThePackage()
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), m_prefix.path() + QStringLiteral("/share"));
    env.insert(QStringLiteral("PATH"), m_prefix.path() + QStringLiteral("/bin:") + env.value(QStringLiteral("PATH")));

    QByteArray out;
    QCOMPARE(run(m_prefix.path() + QStringLiteral("/bin/tavo-cli"),
                 {QStringLiteral("info"), QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo")}, &out, env), 0);
    QCOMPARE(run(m_prefix.path() + QStringLiteral("/bin/lxp-sim"), {QStringLiteral("--help")}, &out, env), 0);

    QProcess tavo;
    tavo.setProcessEnvironment(env);
    tavo.setWorkingDirectory(home.path());
    tavo.start(m_prefix.path() + QStringLiteral("/bin/tavo"), QStringList());
    QVERIFY(tavo.waitForStarted());
    // The settings file appears once start-up has passed the settings and the registration.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.path() + QStringLiteral("/config/tavo/system.ini")), 20000);
    QTest::qWait(500);
    QCOMPARE(tavo.state(), QProcess::Running);
    tavo.terminate();
    QVERIFY(tavo.waitForFinished(10000));
    // The installed entry starts this program, so no per-user copy hides it.
    QVERIFY(!QFile::exists(home.path() + QStringLiteral("/data/applications/tavo.desktop")));
    QVERIFY(!QFile::exists(home.path() + QStringLiteral("/data/mime/packages/tavo.xml")));
    QVERIFY(!QFile::exists(home.path() + QStringLiteral("/config/mimeapps.list")));
}

void TestPackaging::debianPackageHoldsEveryFile()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
        QSKIP("dpkg-deb or dpkg-shlibdeps is not installed");
    QTemporaryDir out;
    QByteArray log;
    QVERIFY2(run(QStringLiteral("cpack"), {QStringLiteral("--config"), QStringLiteral(TAVO_BIN_DIR "/CPackConfig.cmake"),
                                           QStringLiteral("-B"), out.path()}, &log) == 0,
             log.constData());
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")});
    QCOMPARE(debs.size(), 1);
    const QString deb = out.path() + QLatin1Char('/') + debs.first();

    QByteArray list;
    QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb}, &list), 0);
    const QString contents = QString::fromUtf8(list);
    for (const QString &f : expectedFiles())
        QVERIFY2(contents.contains(QStringLiteral("./usr/") + f), qPrintable(f));

    QByteArray depends;
    QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}, &depends), 0);
    // Taken from the programs' shared libraries: those of the toolkit this build uses.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QVERIFY2(depends.contains("libqt6widgets6") && depends.contains("libqt6serialport6") && depends.contains("libqrencode")
                 && !depends.contains("libqt5"),
             depends.constData());
#else
    QVERIFY2(depends.contains("libqt5widgets5") && depends.contains("libqt5serialport5") && depends.contains("libqrencode")
                 && !depends.contains("libqt6"),
             depends.constData());
#endif
    QVERIFY(depends.contains("fonts-wqy-microhei"));
    // Qt's own Chinese texts, of whichever Qt the programs use.
    QVERIFY2(depends.contains("qttranslations5-l10n") || depends.contains("qt6-translations-l10n"), depends.constData());
}

QTEST_MAIN(TestPackaging)
#include "tst_packaging.moc"
