#include "model/colortable.h"
#include "library/picturelibrary.h"
#include "file/projectfile.h"
#include "render/renderer.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "tavocli.h"

// tavo-cli render against a real project folder: the file it writes is the page the renderer
// draws, and every failure has its exit status.
class TestRenderCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_project;
    ProjectData m_data;

    int run(const QStringList &args, QString *stderrText = nullptr)
    {
        const CliRun r = runTavoCli(QStringList{QStringLiteral("render")} + args, 60000);
        if (stderrText)
            *stderrText = r.err;
        return r.code;
    }

private slots:
    void initTestCase();
    void writesThePage_data();
    void writesThePage();
    void failures_data();
    void failures();
    void rendersTheDemo();
};

void TestRenderCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("tempImages")));
    QImage bg(160, 100, QImage::Format_RGB32);
    bg.fill(QColor(0, 128, 64));
    QVERIFY(bg.save(m_dir.filePath(QStringLiteral("tempImages/100001_bg.bmp"))));

    m_data.frameW = 160;
    m_data.frameH = 100;
    PageData plain;
    plain.backgroundNum = 3;
    ControlRecord text = ControlRecord::make(ControlKind::Text, 0);
    text.x = 10;
    text.y = 10;
    plain.controls << text;
    PageData pictured;
    pictured.imageNum = 0;
    ControlRecord bar = ControlRecord::make(ControlKind::Progress, 0);
    bar.x = 20;
    bar.y = 60;
    bar.text = QStringLiteral("40");
    pictured.controls << bar << ControlRecord::make(ControlKind::QRCode, 0);
    m_data.pages << plain << pictured;
    m_project = m_dir.filePath(QStringLiteral("demo.Tavo"));
    QString error;
    QVERIFY2(ProjectFile::write(m_project, m_data, &error), qPrintable(error));
}

void TestRenderCli::writesThePage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("design");
    QTest::newRow("page 0") << 0 << false;
    QTest::newRow("page 1 with picture") << 1 << false;
    QTest::newRow("page 1 design") << 1 << true;
}

void TestRenderCli::writesThePage()
{
    QFETCH(int, page);
    QFETCH(bool, design);
    const QString png = m_dir.filePath(QStringLiteral("out%1%2.png").arg(page).arg(design));
    QStringList args{m_project, QStringLiteral("--page"), QString::number(page), QStringLiteral("-o"), png};
    if (design)
        args << QStringLiteral("--design");
    QString errors;
    QCOMPARE(run(args, &errors), 0);
    QImage written(png);
    QVERIFY2(!written.isNull(), qPrintable(errors));
    QCOMPARE(written.size(), QSize(160, 100));

    const PictureLibrary pics = PictureLibrary::fromProjectFolder(m_dir.path());
    RenderContext ctx;
    ctx.pictures = &pics;
    ctx.pageSize = QSize(160, 100);
    const QImage expected = Renderer::renderPage(m_data.pages.at(page), ctx, design);
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32), expected);
    if (page == 1)
        QCOMPARE(written.pixelColor(150, 5), QColor(0, 128, 64));  // the page picture is there
}

void TestRenderCli::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    const QString out = QDir::temp().filePath(QStringLiteral("tavo-render-never.png"));
    const QString project = QStringLiteral("@project");
    QTest::newRow("no arguments") << QStringList() << 2;
    QTest::newRow("no page") << QStringList{project, QStringLiteral("-o"), out} << 2;
    QTest::newRow("no output") << QStringList{project, QStringLiteral("--page"), QStringLiteral("0")} << 2;
    QTest::newRow("page not a number") << QStringList{project, QStringLiteral("--page"), QStringLiteral("x"),
                                                      QStringLiteral("-o"), out}
                                       << 2;
    QTest::newRow("page past the end") << QStringList{project, QStringLiteral("--page"), QStringLiteral("2"),
                                                      QStringLiteral("-o"), out}
                                       << 2;
    QTest::newRow("unknown option") << QStringList{project, QStringLiteral("--page"), QStringLiteral("0"),
                                                   QStringLiteral("-o"), out, QStringLiteral("--colour")}
                                    << 2;
    QTest::newRow("design and module look") << QStringList{project, QStringLiteral("--page"), QStringLiteral("0"),
                                                           QStringLiteral("-o"), out, QStringLiteral("--design"),
                                                           QStringLiteral("--module")}
                                            << 2;
    QTest::newRow("missing project") << QStringList{QStringLiteral("/nonexistent/x.Tavo"), QStringLiteral("--page"),
                                                    QStringLiteral("0"), QStringLiteral("-o"), out}
                                     << 2;
    QTest::newRow("not a project") << QStringList{QStringLiteral(TAVO_TEST_DATA "/not_xml.Tavo"),
                                                  QStringLiteral("--page"), QStringLiteral("0"), QStringLiteral("-o"),
                                                  out}
                                   << 2;
    QTest::newRow("output not writable") << QStringList{project, QStringLiteral("--page"), QStringLiteral("0"),
                                                        QStringLiteral("-o"), QStringLiteral("/nonexistent/dir/x.png")}
                                         << 1;
}

void TestRenderCli::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    args.replaceInStrings(QStringLiteral("@project"), m_project);
    QString errors;
    QCOMPARE(run(args, &errors), status);
    QVERIFY2(errors.contains(QLatin1String("tavo-cli: ")), qPrintable(errors));
}

void TestRenderCli::rendersTheDemo()
{
    const QString demo = QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo");
    QVERIFY(QFile::exists(demo));
    const QString png = m_dir.filePath(QStringLiteral("demo0.png"));
    QCOMPARE(run({demo, QStringLiteral("--page"), QStringLiteral("0"), QStringLiteral("-o"), png}), 0);
    const QImage page(png);
    const PictureLibrary pics = PictureLibrary::fromProjectFolder(QStringLiteral(TAVO_EXAMPLES "/demo"));
    ProjectData data;
    QVERIFY(ProjectFile::read(demo, pics.count(), &data).ok);
    QCOMPARE(page.size(), QSize(data.frameW, data.frameH));
    // The first button with a whole picture shows that picture's middle pixel.
    for (const ControlRecord &r : data.pages.at(0).controls) {
        if (r.kind == ControlKind::Button && r.imageNum >= 0 && r.style == 0) {
            const QImage pic(pics.at(r.imageNum).path);
            const QPoint mid(qMin(pic.width(), r.w) / 2, qMin(pic.height(), r.h) / 2);
            QCOMPARE(page.pixelColor(r.x + mid.x(), r.y + mid.y()), pic.pixelColor(mid));
            return;
        }
    }
    QFAIL("the demo's first page has no picture button");
}

QTEST_MAIN(TestRenderCli)
#include "tst_rendercli.moc"
