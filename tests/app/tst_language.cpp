#include "app/appglobals.h"
#include "app/languagedlg.h"
#include "app/mainwindow.h"
#include "app/setscreensizedlg.h"
#include "app/systemsettings.h"
#include "canvas/itemdata.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QToolButton>
#include <QtTest>

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartWritesChineseDefaults();
    void storedIdChecksItsButton_data();
    void storedIdChecksItsButton();
    void okWithoutChangeWritesAndEmitsNothing();
    void switchingChangesVisibleTextsAtOnce();
    void iconsStylesheetAndTranslationAreEmbedded();
    void englishCoversTextsOfEveryArea_data();
    void englishCoversTextsOfEveryArea();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

void TestLanguage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + QStringLiteral("/xdg-config")).toUtf8());
    App::switchTranslator(QString());
}

void TestLanguage::cleanup()
{
    App::switchTranslator(QString());
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TestLanguage::firstStartWritesChineseDefaults()
{
    const QString file = m_dir->path() + QStringLiteral("/xdg-config/tavo/system.ini");
    QVERIFY(!QFile::exists(file));
    SystemSettings s;
    QVERIFY(QFile::exists(file));
    QCOMPARE(s.languageId(), 1);
    QCOMPARE(s.languagePath(), QString());
    QSettings ini(file, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Language/ID")).toInt(), 1);
    QVERIFY(ini.contains(QStringLiteral("Language/Path")));
    QCOMPARE(ini.value(QStringLiteral("Language/Path")).toString(), QString());
}

void TestLanguage::storedIdChecksItsButton_data()
{
    QTest::addColumn<QString>("storedId");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<bool>("english");
    QTest::newRow("Chinese") << "1" << true << false;
    QTest::newRow("English") << "2" << false << true;
    QTest::newRow("unknown id") << "7" << false << false;
    QTest::newRow("not a number") << "abc" << false << false;
}

void TestLanguage::storedIdChecksItsButton()
{
    QFETCH(QString, storedId);
    QFETCH(bool, chinese);
    QFETCH(bool, english);
    QDir().mkpath(QStringLiteral("config"));
    QFile f(QStringLiteral("config/system.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Language]\nID=" + storedId.toLatin1() + "\nPath=\n");
    f.close();
    LanguageDlg d;
    QCOMPARE(d.rbChinese->isChecked(), chinese);
    QCOMPARE(d.rbEnglish->isChecked(), english);
}

void TestLanguage::okWithoutChangeWritesAndEmitsNothing()
{
    LanguageDlg d;
    QVERIFY(d.rbChinese->isChecked());
    const QString file = SystemSettings::fileName();
    QFile::remove(file);
    QSignalSpy spy(&d, &LanguageDlg::s_translator);
    d.show();
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QVERIFY(!QFile::exists(file));
    QVERIFY(d.isHidden());
}

void TestLanguage::switchingChangesVisibleTextsAtOnce()
{
    MainWindow w;
    MainForm &ui = w.form();
    LanguageDlg *d = w.languageDlg();
    QSignalSpy spy(d, &LanguageDlg::s_translator);
    QCOMPARE(ui.btnNewPro->text(), QStringLiteral("新建"));

    d->rbEnglish->setChecked(true);
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral(":/config/language/English.qm"));
    QCOMPARE(ui.btnNewPro->text(), QStringLiteral("New"));
    QCOMPARE(ui.btnSetCOM->text(), QStringLiteral("Port Select"));
    QCOMPARE(ui.label_2->text(), QStringLiteral("BOOT to page:"));
    QCOMPARE(ui.label_5->text(), QStringLiteral("GIF Interval time:"));
    QCOMPARE(ui.label->text(), QStringLiteral("Add or remove pages"));
    QCOMPARE(w.pageCopyAction()->text(), QStringLiteral("Page Copy"));
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Path:")));
    QCOMPARE(w.screenSizeDlg()->windowTitle(), QStringLiteral("Set Dpi"));
    QCOMPARE(w.screenSizeDlg()->rbLandScape_90->text(), QStringLiteral("Landscape 1"));
    QCOMPARE(d->windowTitle(), QStringLiteral("language choice"));
    auto label = [](QListView *v, int row) {
        return v->model()->index(row, 0).data(Qt::UserRole + 1).value<ItemData>().label;
    };
    QCOMPARE(label(ui.listView, 5), QStringLiteral("QR code"));
    QCOMPARE(label(ui.listViewDraw, 6), QStringLiteral("PL"));
    {
        QSettings ini(SystemSettings::fileName(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Language/ID")).toInt(), 2);
        QCOMPARE(ini.value(QStringLiteral("Language/Path")).toString(), QStringLiteral(":/config/language/English.qm"));
    }

    d->rbChinese->setChecked(true);
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(ui.btnNewPro->text(), QStringLiteral("新建"));
    QCOMPARE(ui.label_2->text(), QStringLiteral("BOOT跳转页："));
    QCOMPARE(w.pagePasteAction()->text(), QStringLiteral("页面粘贴"));
    QCOMPARE(label(ui.listView, 5), QStringLiteral("二维码"));
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("路径：")));
    QCOMPARE(w.screenSizeDlg()->windowTitle(), QStringLiteral("设置分辨率"));
    QSettings ini(SystemSettings::fileName(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Language/ID")).toInt(), 1);
    QCOMPARE(ini.value(QStringLiteral("Language/Path")).toString(), QString());
}

void TestLanguage::iconsStylesheetAndTranslationAreEmbedded()
{
    MainWindow w;
    for (QToolButton *b : w.form().toolButtons())
        QVERIFY2(!b->icon().pixmap(32, 32).isNull(), qPrintable(b->objectName()));
    QVERIFY(qApp->styleSheet().contains(QLatin1String("QToolButton")));
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/config/language/English.qm")));
    QCOMPARE(english.translate("QMyMessageBox", "同时下载资源"), QStringLiteral("Download pictures too"));
}

// Some areas translate through helpers with a fixed context; their texts must be in the file too.
void TestLanguage::englishCoversTextsOfEveryArea_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("english");
    QTest::newRow("download worker") << "InstructSerialPort" << "通信超时，下载失败！" << "Communication timeout, download failed!";
    QTest::newRow("serial link") << "SerialPortDlg" << "通信已断开，下载失败！" << "Communication lost, download failed!";
    QTest::newRow("module answer") << "SerialPortDlg" << "下载失败，下载图片的bin文件总大小超过2M！"
                                   << "Download failed, the pictures to download exceed 2M in total!";
    QTest::newRow("page size check") << "MainWindow" << "BOOT指令字节数超过了%1字节，请您重新调整！"
                                     << "The BOOT instructions exceed %1 bytes, please adjust!";
    QTest::newRow("script check") << "Script" << "第%1页%2控件%3的文本含有单引号，请您修改！"
                                  << "The text of %2 control %3 on page %1 contains a single quote, please change it!";
    QTest::newRow("project reader") << "ProjectFile" << "%1：元素“%2”出现在任何页面之前"
                                    << "%1: element \"%2\" comes before any page";
    QTest::newRow("canvas") << "QMyFrame" << "删除" << "Delete";
}

void TestLanguage::englishCoversTextsOfEveryArea()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, english);
    QTranslator t;
    QVERIFY(t.load(QStringLiteral(":/config/language/English.qm")));
    QCOMPARE(t.translate(context.toLatin1().constData(), source.toUtf8().constData()), english);
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
