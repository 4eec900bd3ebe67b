#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "app/propertypanel.h"
#include "app/setscreensizedlg.h"
#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "dialogs/qmymessagebox.h"
#include "editcases.h"
#include "properties/qtusertypeone_image.h"
#include "properties/qtusertypetwo_color.h"
#include "qtenumpropertymanager.h"
#include "qttreepropertybrowser.h"
#include "qtvariantpropertymanager.h"
#include "tavocli.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

// The property panel of the real window on a real project: rows, edits, and agreement with
// `tavo-cli set`.
class TestPropertyPanel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editsLikeTheCli_data();
    void editsLikeTheCli();
    void rowLists_data();
    void rowLists();
    void qrSizesFollowThePage_data();
    void qrSizesFollowThePage();
    void fontSizesFollowTheResolution_data();
    void fontSizesFollowTheResolution();
    void showingNeverChangesTheProject();
    void helperLineOffsetRowsComeAndGo();
    void resolutionAndOrientationResizeTheCanvas();
    void backgroundMessageOnlyWhenSetting();
    void canvasAndPanelInStep();
    void languageSwitchRebuildsInEnglish();
    void typingInTheEditors();

private:
    void open(const ProjectData &d = EditCases::project());
    void select(const QString &target);
    // Sets the row as its editor would; value as `tavo-cli set` takes it.
    void setRow(const QString &key, const QString &value);
    QString shown(const QString &key) const;
    QString stored(const QString &target, const QString &field) const;
    QStringList labels() const;
    PropertyPanel *panel() const { return m_window->propertyPanel(); }
    QByteArray saved();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
    QString m_path;
};

void TestPropertyPanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    App::programPath() = QStringLiteral("/opt/tavo/tavo");
}

void TestPropertyPanel::cleanup()
{
    m_window.reset();
    App::projectPath().clear();
    m_dir.reset();
}

void TestPropertyPanel::open(const ProjectData &d)
{
    m_window.reset();
    m_path = EditCases::writeProject(m_dir->path(), d);
    App::projectPath() = m_path;
    m_window = std::make_unique<MainWindow>();
    m_window->questionBox()->hide();
}

void TestPropertyPanel::select(const QString &target)
{
    const QStringList parts = target.split(QLatin1Char(' '));
    PageTable *table = m_window->pageTable();
    if (parts.first() == QLatin1String("control"))
        m_window->canvas()->slotRecvWnd(table->pageControls(0).at(parts.at(1).toInt()));
    else if (parts.first() == QLatin1String("primitive")) {
        QMyDrawType *d = table->pagePrimitives(0).at(parts.at(1).toInt());
        m_window->slotRecvParent(d->drawType(), d);
    } else
        m_window->slotRecvParent(0, nullptr);
}

void TestPropertyPanel::setRow(const QString &key, const QString &value)
{
    QtProperty *p = panel()->property(key);
    QVERIFY2(p, qPrintable(key));
    if (panel()->enumManager->ownsProperty(p)) {
        const QStringList names = panel()->enumManager->enumNames(p);
        const bool byName = key == QLatin1String("fontSize") || key == QLatin1String("qrcodeSize") || key == QLatin1String("vga");
        panel()->enumManager->setValue(p, byName ? names.indexOf(value) : value.toInt());
    } else if (panel()->imageManager->ownsProperty(p)) {
        panel()->imageManager->setValue(p, value);
    } else if (panel()->colorManager->ownsProperty(p)) {
        panel()->colorManager->setValue(p, value);
    } else {
        auto *m = static_cast<QtVariantPropertyManager *>(p->propertyManager());
        if (m->valueType(p) == QVariant::Int)
            m->setValue(p, value.toInt());
        else
            m->setValue(p, value);
    }
    QCoreApplication::processEvents();
}

QString TestPropertyPanel::shown(const QString &key) const
{
    QtProperty *p = panel()->property(key);
    if (!p)
        return QStringLiteral("<no row>");
    if (panel()->enumManager->ownsProperty(p)) {
        const int i = panel()->enumManager->value(p);
        const bool byName = key == QLatin1String("fontSize") || key == QLatin1String("qrcodeSize") || key == QLatin1String("vga");
        return byName ? panel()->enumManager->enumNames(p).value(i) : QString::number(i);
    }
    return p->valueText();
}

QString TestPropertyPanel::stored(const QString &target, const QString &field) const
{
    return EditCases::valueIn(m_window->projectData(), target, field);
}

QStringList TestPropertyPanel::labels() const
{
    QStringList l;
    for (QtBrowserItem *item : panel()->browser()->topLevelItems())
        l << item->property()->propertyName();
    return l;
}

QByteArray TestPropertyPanel::saved()
{
    if (!m_window->saveProject())
        return QByteArray();
    QFile f(m_path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// ---- one table for the panel and tavo-cli set ------------------------------------------------

void TestPropertyPanel::editsLikeTheCli_data()
{
    QTest::addColumn<int>("index");
    const QVector<EditCases::Case> cases = EditCases::cases();
    for (int i = 0; i < cases.size(); ++i) {
        if (!cases.at(i).cliOnly)
            QTest::newRow(cases.at(i).name) << i;
    }
}

void TestPropertyPanel::editsLikeTheCli()
{
    QFETCH(int, index);
    const EditCases::Case c = EditCases::cases().at(index);
    open();
    select(c.target);
    setRow(c.field, c.value);

    QCOMPARE(stored(c.target, c.field), c.stored);
    if (!c.alsoField.isEmpty())
        QCOMPARE(stored(c.target, c.alsoField), c.alsoValue);
    QMyMessageBox *box = m_window->questionBox();
    QString said = box->isVisible() ? box->message() : QString();
    // A page made smaller also brings the window's offer to move items inside; that is no
    // message of the edit itself.
    if (said.startsWith(QStringLiteral("页面变小后")))
        said.clear();
    QCOMPARE(said, c.message);
    // The panel shows what is stored, a refused text included.
    if (c.field != QLatin1String("vga") && !c.field.endsWith(QLatin1String("ImageNum")))
        QCOMPARE(shown(c.field), c.stored);

    // The same edit through tavo-cli on the same file ends in the same project.
    if (EditCases::refuses(c))
        return;
    QTemporaryDir cliDir;
    const QString cliPath = EditCases::writeProject(cliDir.path());
    QStringList args{QStringLiteral("set"), cliPath, QStringLiteral("--page"), QStringLiteral("0")};
    const QStringList parts = c.target.split(QLatin1Char(' '));
    if (parts.first() == QLatin1String("primitive"))
        args << QStringLiteral("--primitive") << parts.at(1);
    else if (parts.first() == QLatin1String("control"))
        args << QStringLiteral("--control") << (c.target == QLatin1String("control 5") ? QStringLiteral("qr0") : parts.at(1));
    const CliRun r = runTavoCli(args << c.field + QLatin1Char('=') + c.value);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    ProjectData cli;
    QVERIFY(ProjectFile::read(cliPath, 2, &cli).ok);
    const ProjectData window = m_window->projectData();
    QCOMPARE(window.pages.at(0), cli.pages.at(0));
    QCOMPARE(QSize(window.frameW, window.frameH), QSize(cli.frameW, cli.frameH));
    QCOMPARE(window.dpi, cli.dpi);
    QCOMPARE(window.screenType, cli.screenType);
}

// ---- rows -------------------------------------------------------------------------------------

void TestPropertyPanel::rowLists_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("typeText");
    const QStringList common{"名称", "类型", "ID", "x", "y", "宽度", "高度"};
    const QStringList font{"字体大小", "字体颜色", "水平对齐", "垂直对齐", "模式", "边框颜色"};
    QTest::newRow("page") << "page" << QStringList{"Name", "分辨率", "类型", "图片编号", "背景颜色", "辅助线"} << "屏幕";
    QTest::newRow("text") << "control 0" << common + QStringList{"文本"} + font + QStringList{"背景颜色"} << "文本";
    QTest::newRow("number") << "control 1" << common + QStringList{"数值"} + font + QStringList{"背景颜色"} << "数字";
    QTest::newRow("button") << "control 2"
                            << common + QStringList{"文本"} + font
                                   + QStringList{"按下背景颜色", "抬起背景颜色", "按下背景图片编号", "抬起背景图片编号",
                                                 "按下背景切图编号", "抬起背景切图编号"}
                            << "按键";
    QTest::newRow("progress") << "control 3"
                              << common + QStringList{"进度值", "边框模式", "模式", "前景图片编号", "背景图片编号",
                                                      "前景切图编号", "背景切图编号", "前景颜色", "背景颜色", "边框颜色"}
                              << "进度条";
    QTest::newRow("pointer") << "control 4"
                             << QStringList{"名称", "类型", "ID", "x", "y", "宽度", "长度", "角度(0-360)", "指针颜色"} << "指针";
    QTest::newRow("qr") << "control 5" << QStringList{"名称", "类型", "ID", "x", "y", "大小", "二维码内容", "二维码颜色"}
                        << "二维码";
    QTest::newRow("box") << "primitive 0" << QStringList{"类型", "x", "y", "宽度", "高度", "颜色"} << "线框";
    QTest::newRow("circle") << "primitive 1" << QStringList{"类型", "圆心x", "圆心y", "半径", "颜色"} << "线圆";
    QTest::newRow("point") << "primitive 2" << QStringList{"类型", "x", "y", "颜色"} << "点";
    QTest::newRow("line") << "primitive 3" << QStringList{"类型", "x1", "y1", "x2", "y2", "颜色"} << "直线";
}

void TestPropertyPanel::rowLists()
{
    QFETCH(QString, target);
    QFETCH(QStringList, labels);
    QFETCH(QString, typeText);
    open();
    // Coming from another selection: nothing of it survives.
    select(QStringLiteral("control 3"));
    select(target);
    QCOMPARE(this->labels(), labels);
    const int typeRow = labels.first() == QStringLiteral("名称") ? 1 : 0;
    QCOMPARE(panel()->browser()->topLevelItems().at(typeRow)->property()->valueText(), typeText);
    // Every row but the read-only ones has its key.
    const int readOnly = target.startsWith(QLatin1String("control")) ? 2 : 1;
    QCOMPARE(panel()->propertyKeys.size(), labels.size() - readOnly);
}

void TestPropertyPanel::qrSizesFollowThePage_data()
{
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QStringList>("sizes");
    QTest::newRow("128 x 128") << QSize(128, 128) << QStringList{"53", "106"};
    QTest::newRow("80 x 160") << QSize(80, 160) << QStringList{"53"};
    QTest::newRow("smaller side 53") << QSize(53, 200) << QStringList();
}

void TestPropertyPanel::qrSizesFollowThePage()
{
    QFETCH(QSize, page);
    QFETCH(QStringList, sizes);
    ProjectData d = EditCases::project();
    d.frameW = page.width();
    d.frameH = page.height();
    open(d);
    select(QStringLiteral("control 5"));
    QCOMPARE(panel()->enumManager->enumNames(panel()->property(QStringLiteral("qrcodeSize"))), sizes);
}

void TestPropertyPanel::fontSizesFollowTheResolution_data()
{
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("count");
    QTest::newRow("128*128") << "128*128(SQQVGA)" << 3;
    QTest::newRow("128*160") << "128*160(QQVGA)" << 3;
    QTest::newRow("80*160") << "80*160(QQVGA2)" << 5;
    QTest::newRow("240*320") << "240*320(QVGA-1)" << 6;
}

void TestPropertyPanel::fontSizesFollowTheResolution()
{
    QFETCH(QString, resolution);
    QFETCH(int, count);
    ProjectData d = EditCases::project();
    d.dpi = resolution;
    open(d);
    select(QStringLiteral("control 0"));
    const QStringList names = panel()->enumManager->enumNames(panel()->property(QStringLiteral("fontSize")));
    QCOMPARE(names, QStringList({"16", "24", "32", "48", "72", "96"}).mid(0, count));
}

// ---- building changes nothing ------------------------------------------------------------------

void TestPropertyPanel::showingNeverChangesTheProject()
{
    // Values the panel does not offer: size 48 at 128*160, a QR code 100 wide, both pictures of a
    // pair, a style beyond the list, a background picture of another size.
    ProjectData d = EditCases::project();
    d.dpi = QStringLiteral("128*160(QQVGA)");
    d.frameW = 128;
    d.frameH = 160;
    PageData &p = d.pages[0];
    p.controls[0].fontSize = 48;
    p.controls[0].x = p.controls[0].y = 0;
    p.controls[5].w = p.controls[5].h = 100;
    p.controls[5].x = p.controls[5].y = 0;
    p.controls[2].imageNum = 0;
    p.controls[2].cutImageNum = 1;
    p.controls[1].style = 9;
    p.imageNum = 1;
    p.helpLineNum = 2;
    open(d);
    const QByteArray before = saved();
    QVERIFY(!before.isEmpty());
    for (const char *t : {"control 0", "control 1", "control 2", "control 3", "control 4", "control 5", "page",
                          "primitive 0", "primitive 1", "page"}) {
        select(QString::fromUtf8(t));
        QCoreApplication::processEvents();
    }
    select(QStringLiteral("control 0"));
    QCOMPARE(shown(QStringLiteral("fontSize")), QStringLiteral("16"));
    select(QStringLiteral("control 5"));
    QCOMPARE(shown(QStringLiteral("qrcodeSize")), QStringLiteral("53"));
    m_window->slotRefleshUI(QString());
    QCoreApplication::processEvents();
    QVERIFY(!m_window->questionBox()->isVisible());
    QCOMPARE(saved(), before);
}

void TestPropertyPanel::helperLineOffsetRowsComeAndGo()
{
    open();
    select(QStringLiteral("page"));
    QCOMPARE(labels().size(), 6);
    setRow(QStringLiteral("pageHelpLineNum"), QStringLiteral("2"));
    QCOMPARE(labels().mid(6), QStringList({"左偏移", "右偏移", "上偏移", "下偏移"}));
    setRow(QStringLiteral("pageHelpLineLeft"), QStringLiteral("-7"));
    QCOMPARE(m_window->canvas()->helpLineLeft(), -7);
    // Shown again: the rows are there from the start, with the stored offset.
    select(QStringLiteral("control 0"));
    select(QStringLiteral("page"));
    QCOMPARE(labels().size(), 10);
    QCOMPARE(shown(QStringLiteral("pageHelpLineLeft")), QStringLiteral("-7"));
    setRow(QStringLiteral("pageHelpLineNum"), QStringLiteral("1"));
    QCOMPARE(labels().size(), 6);
    QCOMPARE(panel()->propertyKeys.size(), 5);
    QCOMPARE(m_window->projectData().pages.at(0).helpLineNum, 1);
}

void TestPropertyPanel::resolutionAndOrientationResizeTheCanvas()
{
    open();
    select(QStringLiteral("page"));
    setRow(QStringLiteral("vga"), QStringLiteral("320*480(HVGA)"));
    QCOMPARE(m_window->canvas()->size(), QSize(320, 480));
    QCOMPARE(m_window->screenSizeDlg()->resolutionText(), QStringLiteral("320*480(HVGA)"));
    setRow(QStringLiteral("screenType"), QStringLiteral("3"));
    QCOMPARE(m_window->canvas()->size(), QSize(480, 320));
    setRow(QStringLiteral("screenType"), QStringLiteral("2"));
    QCOMPARE(m_window->canvas()->size(), QSize(320, 480));
    QCOMPARE(m_window->projectData().screenType, 2);
    // The font sizes follow the new resolution.
    setRow(QStringLiteral("vga"), QStringLiteral("128*160(QQVGA)"));
    select(QStringLiteral("control 0"));
    QCOMPARE(panel()->enumManager->enumNames(panel()->property(QStringLiteral("fontSize"))).size(), 3);
}

void TestPropertyPanel::backgroundMessageOnlyWhenSetting()
{
    ProjectData d = EditCases::project();
    d.pages[0].imageNum = 1;  // 100 x 50 on a 240 x 320 page
    open(d);
    QMyMessageBox *box = m_window->questionBox();
    select(QStringLiteral("page"));
    QVERIFY(!box->isVisible());
    setRow(QStringLiteral("parentImageNum"), QString());
    QVERIFY(!box->isVisible());
    setRow(QStringLiteral("parentImageNum"), QStringLiteral("1"));
    QVERIFY(box->isVisible());
    QCOMPARE(box->message(), QStringLiteral("当前设置背景图片与画布分辨率不一致"));
    QCOMPARE(m_window->canvas()->pageImageNum(), 1);
    box->hide();
    select(QStringLiteral("control 0"));
    select(QStringLiteral("page"));
    QVERIFY(!box->isVisible());
}

// ---- canvas and panel in step ------------------------------------------------------------------

void TestPropertyPanel::canvasAndPanelInStep()
{
    open();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QMyWidget *label = m_window->pageTable()->pageControls(0).at(0);
    select(QStringLiteral("control 0"));
    // An edit moves the control at once.
    setRow(QStringLiteral("x"), QStringLiteral("40"));
    QCOMPARE(label->geometry().topLeft(), QPoint(40, 10));
    // A drag with the mouse: the rows show where it went once the button is released.
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15));
    QMouseEvent move(QEvent::MouseMove, QPoint(50, 35), label->mapToGlobal(QPoint(50, 35)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(label, &move);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(50, 35));
    QCoreApplication::processEvents();
    QCOMPARE(label->record().x, 60);
    QCOMPARE(shown(QStringLiteral("x")), QStringLiteral("60"));
    QCOMPARE(shown(QStringLiteral("y")), QStringLiteral("30"));
    // While the mouse holds the control, the rows it rebuilds change nothing.
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    setRow(QStringLiteral("x"), QStringLiteral("0"));
    QCOMPARE(label->record().x, 60);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

void TestPropertyPanel::languageSwitchRebuildsInEnglish()
{
    open();
    select(QStringLiteral("control 2"));
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/config/language/English.qm")));
    QCoreApplication::installTranslator(&english);
    m_window->slotRefleshUI(QString());
    const QStringList english1 = labels();
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(english1.mid(0, 7), QStringList({"Name", "Type", "ID", "x", "y", "Width", "Height"}));
    QCOMPARE(english1.size(), 20);
    QCOMPARE(panel()->curWidget(), m_window->pageTable()->pageControls(0).at(2));
}

// The real editors: a clamp or a padded value rebuilds the panel while the editor that reported
// it is still in its signal.
void TestPropertyPanel::typingInTheEditors()
{
    open();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QtTreePropertyBrowser *browser = panel()->browser();
    auto editorOf = [&](const QString &key) {
        browser->editItem(browser->topLevelItem(panel()->property(key)));
        return browser->currentEditor();
    };
    select(QStringLiteral("control 1"));
    QWidget *editor = editorOf(QStringLiteral("x"));
    auto *spin = editor ? editor->findChild<QSpinBox *>() : nullptr;
    if (!spin)
        spin = qobject_cast<QSpinBox *>(editor);
    QVERIFY(spin);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("-3"));
    QTest::keyClick(spin, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->pageTable()->pageControls(0).at(1)->record().x, 0);
    QCOMPARE(shown(QStringLiteral("x")), QStringLiteral("0"));

    editor = editorOf(QStringLiteral("text"));
    auto *line = editor ? editor->findChild<QLineEdit *>() : nullptr;
    if (!line)
        line = qobject_cast<QLineEdit *>(editor);
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("12.5"));
    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->pageTable()->pageControls(0).at(1)->record().text, QStringLiteral("12.5000"));
    QCOMPARE(shown(QStringLiteral("text")), QStringLiteral("12.5000"));
}

QTEST_MAIN(TestPropertyPanel)
#include "tst_propertypanel.moc"
