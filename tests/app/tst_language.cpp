#include "app/appglobals.h"
#include "app/languagedlg.h"
#include "app/mainwindow.h"
#include "app/projecthistory.h"
#include "app/setscreensizedlg.h"
#include "app/systemsettings.h"
#include "canvas/itemdata.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "file/projectfile.h"
#include "support/uilanguage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QUndoStack>
#include <QUndoView>
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
    void englishWindowShowsNoChinese();
    void qtTextsFollowTheLanguage();

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

namespace {

// Han characters and CJK punctuation.
bool hasChinese(const QString &text)
{
    static const QRegularExpression cjk(QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(cjk);
}

// Every text a person can see in the widget tree: labels, buttons and their tips, titles, tabs,
// headers and rows of item views, combo boxes, placeholders, menus' actions.
QStringList visibleTexts(QWidget *top)
{
    QStringList out;
    auto add = [&out](const QObject *o, const QString &what, const QString &text) {
        if (!text.isEmpty())
            out << QStringLiteral("%1 [%2]: %3").arg(o->objectName(), what, text);
    };
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets.prepend(top);
    for (QWidget *w : widgets) {
        if (!w->isVisible())
            continue;
        if (w->isWindow())
            add(w, QStringLiteral("title"), w->windowTitle());
        add(w, QStringLiteral("tip"), w->toolTip());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(w, QStringLiteral("label"), l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(w, QStringLiteral("button"), b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(w, QStringLiteral("group"), g->title());
        if (auto *t = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < t->count(); ++i)
                add(w, QStringLiteral("tab"), t->tabText(i));
        }
        if (auto *e = qobject_cast<QLineEdit *>(w))
            add(w, QStringLiteral("placeholder"), e->placeholderText());
        if (auto *c = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < c->count(); ++i)
                add(w, QStringLiteral("combo"), c->itemText(i));
        }
        if (auto *v = qobject_cast<QAbstractItemView *>(w)) {
            const QAbstractItemModel *m = v->model();
            if (!m)
                continue;
            for (int c = 0; c < m->columnCount(); ++c)
                add(w, QStringLiteral("header"), m->headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < m->rowCount(); ++r) {
                for (int c = 0; c < m->columnCount(); ++c) {
                    add(w, QStringLiteral("row"), m->index(r, c).data().toString());
                    add(w, QStringLiteral("row tip"), m->index(r, c).data(Qt::ToolTipRole).toString());
                }
            }
        }
        for (QAction *a : w->actions()) {
            add(a, QStringLiteral("action"), a->text());
            add(a, QStringLiteral("action tip"), a->toolTip());
        }
    }
    return out;
}

}  // namespace

void TestLanguage::englishWindowShowsNoChinese()
{
    // A project whose own texts are Latin: what remains Chinese can only be the program's.
    ProjectData d;
    d.frameW = 320;
    d.frameH = 240;
    d.dpi = QStringLiteral("240*320(QVGA-1)");
    d.pages = {PageData(), PageData()};
    QDir().mkpath(QStringLiteral("p/tempImages"));
    QDir().mkpath(QStringLiteral("p/tempFonts"));
    const QString file = m_dir->filePath(QStringLiteral("p/p.Tavo"));
    QVERIFY(ProjectFile::write(file, d));
    App::projectPath() = file;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Changes recorded while the window was Chinese.
    QMyWidget *label = w.canvas()->addControl(QStringLiteral("QLabel"), QPoint(10, 10));
    QVERIFY(label);
    label->setText(QStringLiteral("Hi"));
    w.history()->checkpoint();
    label->setX(40);
    w.history()->checkpoint();
    w.addPage();
    w.history()->checkpoint();
    QVERIFY(w.history()->stack()->count() >= 3);
    w.canvas()->selectItems({}, {});

    App::switchTranslator(QLatin1String(UiLanguage::EnglishTranslationPath));
    w.slotRefleshUI(QLatin1String(UiLanguage::EnglishTranslationPath));
    // The language change reaches the widgets as posted events, as in the running program.
    QCoreApplication::processEvents();

    // The history names its entries in English, undo's text included.
    QStringList offenders;
    for (int i = 0; i < w.history()->stack()->count(); ++i) {
        if (hasChinese(w.history()->stack()->text(i)))
            offenders << w.history()->stack()->text(i);
    }
    auto *undo = w.findChild<QAction *>(QStringLiteral("actionUndo"));
    QVERIFY(undo);
    QCOMPARE(undo->text(), QStringLiteral("Undo \"Add page\""));
    auto *historyButton = w.findChild<QAbstractButton *>(QStringLiteral("btnHistory"));
    QVERIFY(historyButton);
    historyButton->click();
    auto *view = w.findChild<QUndoView *>();
    QVERIFY(view && view->isVisible());
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        const QString text = view->model()->index(r, 0).data().toString();
        if (hasChinese(text))
            offenders << QStringLiteral("history view: ") + text;
    }
    QVERIFY(!hasChinese(view->emptyLabel()));

    // Message boxes: their window titles as well as their headings.
    w.questionBox()->showMessage(QMyMessageBox::Warning, 2, 0, QStringLiteral("x"));
    QCOMPARE(w.questionBox()->windowTitle(), QStringLiteral("Warning"));
    w.questionBox()->hide();

    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        for (const QString &text : visibleTexts(top)) {
            if (hasChinese(text))
                offenders << text;
        }
    }
    QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QLatin1Char('\n'))));
    App::projectPath().clear();
}

void TestLanguage::qtTextsFollowTheLanguage()
{
    const QString english = QStringLiteral("&Copy");
    App::switchTranslator(QLatin1String(UiLanguage::EnglishTranslationPath));
    QCOMPARE(QCoreApplication::translate("QLineEdit", "&Copy"), english);
    App::switchTranslator(QString());
    const QString catalogue = UiLanguage::qtTranslationsPath() + QStringLiteral("/qtbase_zh_CN.qm");
    if (!QFile::exists(catalogue))
        QSKIP("Qt's Chinese translations are not installed");
    const QString chinese = QCoreApplication::translate("QLineEdit", "&Copy");
    QVERIFY2(hasChinese(chinese), qPrintable(chinese));
    QVERIFY(hasChinese(QCoreApplication::translate("QPlatformTheme", "Cancel")));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
