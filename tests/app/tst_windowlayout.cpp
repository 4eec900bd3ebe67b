// The window's room: splitters with sensible first sizes, the layout kept between runs, the
// library readable in both languages.
#include "app/appglobals.h"
#include "app/mainform.h"
#include "app/mainwindow.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "canvas/zoombox.h"
#include "support/zoomlevels.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "picturereferencesproject.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstRunLayout_data();
    void firstRunLayout();
    void layoutKeptBetweenRuns();
    void maximizedKept();
    void positionOnAScreenThatHasGone();
    void partlyOffScreenIsPulledIn_data();
    void partlyOffScreenIsPulledIn();
    void smallScreenStartsMaximized();
    void unreadableSettingsGiveTheFirstLayout();
    void fitShowsALargePageWhole();
    void canvasStaysPutWhenThePositionShows();

private:
    QString makeProject();
    QSettings *settings() { return m_settings.get(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_settings;
    QString m_oldCwd;
};

void TestWindowLayout::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_settings = std::make_unique<QSettings>(m_dir->filePath(QStringLiteral("system.ini")), QSettings::IniFormat);
    App::projectPath().clear();
}

void TestWindowLayout::cleanup()
{
    App::switchTranslator(QString());
    App::projectPath().clear();
    m_settings.reset();
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

QString TestWindowLayout::makeProject()
{
    const QString folder = m_dir->filePath(QStringLiteral("p"));
    QDir().mkpath(folder + QStringLiteral("/tempImages"));
    QDir().mkpath(folder + QStringLiteral("/tempFonts"));
    for (int n = 0; n < 6; ++n) {
        QImage img(QSize(12 + n, 10), QImage::Format_RGB32);
        img.fill(QColor(40 * n, 100, 200));
        img.save(folder + QStringLiteral("/tempImages/%1_pic%2.bmp").arg(100001 + n).arg(n));
    }
    const QString file = folder + QStringLiteral("/p.Tavo");
    if (!ProjectFile::write(file, projectNamingEachPicture(6)))
        qFatal("cannot write project");
    return file;
}

void TestWindowLayout::firstRunLayout_data()
{
    QTest::addColumn<bool>("english");
    QTest::newRow("Chinese") << false;
    QTest::newRow("English") << true;
}

void TestWindowLayout::firstRunLayout()
{
    QFETCH(bool, english);
    if (english)
        App::switchTranslator(QLatin1String(App::EnglishTranslationPath));
    App::projectPath() = makeProject();
    MainWindow w;
    QVERIFY(!w.restoreLayout(*settings(), QSize(1600, 1000)));
    QCOMPARE(w.size(), QSize(1303, 853));
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    MainForm &ui = w.form();

    // The property panel has most of its column; the library and the console keep some room.
    const QList<int> right = ui.splitterRight->sizes();
    QCOMPARE(right.size(), 3);
    QVERIFY2(right.at(0) > right.at(1) && right.at(0) > right.at(2), qPrintable(QStringLiteral("%1 %2 %3").arg(right.at(0)).arg(right.at(1)).arg(right.at(2))));
    const QString sizes = QStringLiteral("panel %1, library table %2, examples %3")
                              .arg(ui.frameDesignParent->height()).arg(ui.tvImage->height()).arg(ui.listViewCmd->width());
    QVERIFY2(ui.frameDesignParent->height() >= 260, qPrintable(sizes));
    QVERIFY2(ui.tvImage->height() >= 110, qPrintable(sizes));
    QVERIFY2(ui.listViewCmd->width() >= 300, qPrintable(sizes));

    // Every example is readable whole: a comment longer than the list wraps onto more lines.
    QListView *examples = ui.listViewCmd;
    const int textWidth = examples->viewport()->width() - 2 * (examples->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, examples) + 1);
    int wrappedRows = 0;
    for (int r = 0; r < examples->model()->rowCount(); ++r) {
        const QModelIndex index = examples->model()->index(r, 0);
        const QString text = index.data().toString();
        const QRect needed = examples->fontMetrics().boundingRect(QRect(0, 0, textWidth, 0), Qt::TextWordWrap, text);
        const QRect row = examples->visualRect(index);
        QVERIFY2(row.height() >= needed.height() && row.width() <= examples->viewport()->width(),
                 qPrintable(QStringLiteral("%1: %2x%3 shown, %4 high needed").arg(text).arg(row.width()).arg(row.height()).arg(needed.height())));
        if (needed.height() > examples->fontMetrics().height())
            ++wrappedRows;
    }
    QVERIFY(wrappedRows > 0);

    // No header of the library is cut off, in either language.
    QHeaderView *header = ui.tvImage->horizontalHeader();
    const QFontMetrics fm(header->font());
    for (int c = 1; c < header->count(); ++c) {
        const QString title = ui.tvImage->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(header->sectionSize(c) >= fm.horizontalAdvance(title) + 8, qPrintable(title));
    }
    const QFontMetrics cells(ui.tvImage->font());
    QVERIFY(header->sectionSize(4) >= cells.horizontalAdvance(QStringLiteral("1500x1500")) + 8);

    // Delete mode adds the tick column and says what it is, without a horizontal scroll bar.
    QTest::mouseClick(ui.btnImageFontSub, Qt::LeftButton);
    QVERIFY(w.library()->deleteMode(LibraryPanel::Pictures));
    QVERIFY(ui.labDeleteHint->isVisible());
    QCoreApplication::processEvents();
    QVERIFY2(!ui.tvImage->horizontalScrollBar()->isVisible(),
             qPrintable(QStringLiteral("table %1 (min %2), viewport %3, sections %4")
                            .arg(ui.tvImage->width()).arg(ui.tvImage->minimumWidth())
                            .arg(ui.tvImage->viewport()->width()).arg(ui.tvImage->horizontalHeader()->length())
                        + QStringLiteral(" %1 %2 %3 %4 %5 %6").arg(header->sectionSize(0)).arg(header->sectionSize(1)).arg(header->sectionSize(2)).arg(header->sectionSize(3)).arg(header->sectionSize(4)).arg(header->sectionSize(5))));
    QCOMPARE(ui.labDeleteHint->text(), english ? QStringLiteral("Tick the pictures to delete, then press \"-\"")
                                               : QStringLiteral("选择要删除的图片，再按“-”删除"));
}

void TestWindowLayout::layoutKeptBetweenRuns()
{
    QList<QList<int>> sizes;
    {
        MainWindow w;
        w.restoreLayout(*settings(), QSize(1600, 1000));
        // The test screen is 800 x 800, smaller than the window's own minimum; the frame stays on it.
        w.setMinimumSize(200, 200);
        w.setGeometry(40, 50, 740, 540);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.form().splitterBody->setSizes({190, 250, 300});
        w.form().splitterCentre->setSizes({260, 200});
        w.canvas()->setZoom(3);
        QCoreApplication::processEvents();
        for (QSplitter *s : w.form().splitters())
            sizes << s->sizes();
        w.saveLayout(*settings());
    }
    MainWindow again;
    again.setMinimumSize(200, 200);
    QVERIFY(again.restoreLayout(*settings()));
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.geometry(), QRect(40, 50, 740, 540));
    QCOMPARE(again.canvas()->zoom(), 3);
    for (int i = 0; i < sizes.size(); ++i)
        QCOMPARE(again.form().splitters().at(i)->sizes(), sizes.at(i));
}

void TestWindowLayout::maximizedKept()
{
    {
        MainWindow w;
        w.restoreLayout(*settings(), QSize(1600, 1000));
        w.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.saveLayout(*settings());
    }
    MainWindow again;
    QVERIFY(again.restoreLayout(*settings()));
    again.show();
    QVERIFY(again.isMaximized());
}

void TestWindowLayout::positionOnAScreenThatHasGone()
{
    {
        MainWindow w;
        w.restoreLayout(*settings(), QSize(1600, 1000));
        // Where a second monitor to the right used to be.
        w.setGeometry(5000, 3000, 700, 500);
        w.saveLayout(*settings());
    }
    MainWindow again;
    QVERIFY(again.restoreLayout(*settings()));
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.intersects(again.geometry()), qPrintable(QStringLiteral("%1,%2").arg(again.x()).arg(again.y())));
}

void TestWindowLayout::partlyOffScreenIsPulledIn_data()
{
    // The test screen is 800 x 800 (Qt 6) or 800 x 600 (Qt 5): every row means the same on both.
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("inside") << QRect(40, 50, 700, 500) << true << false;
    QTest::newRow("status bar below the screen") << QRect(40, 320, 700, 540) << true << false;
    QTest::newRow("over the right edge") << QRect(300, 10, 700, 500) << true << false;
    QTest::newRow("above and left") << QRect(-50, -30, 600, 400) << true << false;
    QTest::newRow("larger than the screen") << QRect(20, 20, 1000, 900) << false << false;
    // Without a window manager a maximized window shows at its normal place.
    QTest::newRow("maximized, normal place below") << QRect(0, 320, 700, 540) << true << true;
}

void TestWindowLayout::partlyOffScreenIsPulledIn()
{
    QFETCH(QRect, saved);
    QFETCH(bool, fits);
    QFETCH(bool, maximized);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.width() == 800 && screen.height() >= 600);
    {
        MainWindow w;
        w.restoreLayout(*settings(), QSize(1600, 1000));
        w.setMinimumSize(200, 200);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setGeometry(saved);
        if (maximized)
            w.setWindowState(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        w.saveLayout(*settings());
    }
    MainWindow again;
    again.setMinimumSize(200, 200);
    QVERIFY(again.restoreLayout(*settings()));
    if (maximized) {
        QVERIFY(again.windowState() & Qt::WindowMaximized);
        QVERIFY(screen.contains(again.normalGeometry()));
        QCOMPARE(again.normalGeometry().size(), saved.size());
        return;
    }
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    // Frame and all on the screen, at the size it had when that fits.
    QVERIFY2(screen.contains(again.frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(again.x()).arg(again.y()).arg(again.width()).arg(again.height())));
    if (fits)
        QCOMPARE(again.size(), saved.size());
    if (screen.contains(saved.marginsAdded(QMargins(10, 10, 10, 10))))
        QCOMPARE(again.geometry(), saved);
}

void TestWindowLayout::smallScreenStartsMaximized()
{
    MainWindow w;
    QVERIFY(!w.restoreLayout(*settings(), QSize(1280, 770)));
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    QCOMPARE(w.size(), QSize(1280, 770));
}

void TestWindowLayout::unreadableSettingsGiveTheFirstLayout()
{
    settings()->setValue(QStringLiteral("Window/geometry"), QByteArray("not a geometry"));
    settings()->setValue(QStringLiteral("Window/zoom"), QStringLiteral("x"));
    MainWindow w;
    QVERIFY(!w.restoreLayout(*settings(), QSize(1920, 1080)));
    QCOMPARE(w.size(), QSize(1303, 853));
    QCOMPARE(w.canvas()->zoom(), 1);
}

// An 800 x 480 page in a 1280 x 800 window: fitting goes below 1x, to the largest level that
// shows the page whole, and a level kept in percent comes back.
void TestWindowLayout::fitShowsALargePageWhole()
{
    {
        MainWindow w;
        w.restoreLayout(*settings(), QSize(1280, 800));
        w.resize(1280, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.canvas()->setFrameSize(800, 480);
        auto *box = w.findChild<ZoomBox *>();
        QVERIFY(box);
        box->fit();
        QCoreApplication::processEvents();
        const int fitted = w.canvas()->zoomPercent();
        QVERIFY2(fitted < 100, qPrintable(QString::number(fitted)));
        QScrollArea *area = w.canvas()->scrollArea();
        QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());
        const QPoint at = w.canvas()->mapTo(area->viewport(), QPoint());
        const QSize room = area->viewport()->size() - QSize(at.x(), at.y());
        QVERIFY(QRect(QPoint(), room).contains(QRect(QPoint(), w.canvas()->size())));
        const QSize next = QSize(800, 480) * (ZoomLevels::step(fitted, 1) / 100.0);
        QVERIFY(next.width() > room.width() || next.height() > room.height());
        QCOMPARE(box->combo()->currentText(), QStringLiteral("%1%").arg(fitted));
        w.saveLayout(*settings());
    }
    MainWindow again;
    again.restoreLayout(*settings(), QSize(1280, 800));
    QVERIFY(again.canvas()->zoomPercent() < 100);
}

void TestWindowLayout::canvasStaysPutWhenThePositionShows()
{
    MainWindow w;
    w.restoreLayout(*settings(), QSize(1280, 800));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint before = w.canvas()->mapTo(&w, QPoint());
    emit w.canvas()->s_sendPressPos(QPoint(60, 60));
    auto *label = w.findChild<QLabel *>(QStringLiteral("labFramePressPos"));
    QCOMPARE(label->text(), QStringLiteral("Pos(60,60)"));
    QCoreApplication::processEvents();
    QCOMPARE(w.canvas()->mapTo(&w, QPoint()), before);
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
