// The user guide as the build makes it: every part of the program has its section, in both
// languages, and the command line has a chapter of its own.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestHelpDoc : public QObject {
    Q_OBJECT
private slots:
    void guideListsEverySection_data();
    void guideListsEverySection();
    void chapterStartsANewPage();
    void headingsStayWithTheirText();
};

namespace {

QStringList sectionsOf(const QString &source, const QString &pdf, QString *err)
{
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tools/helpdocs/helpdoc"),
            {QStringLiteral(TAVO_SOURCE_DIR "/resources/help/") + source, pdf, QStringLiteral("--images"),
             QStringLiteral(TAVO_BIN_DIR "/resources/help"), QStringLiteral("--sections")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        *err = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

void TestHelpDoc::guideListsEverySection_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("Chinese") << "zh/usage.md"
                             << QStringList{QStringLiteral("## 2 主窗口"),
                                            QStringLiteral("## 6 选择、复制与排列"),
                                            QStringLiteral("## 7 撤销与历史记录"),
                                            QStringLiteral("## 8 缩放"),
                                            QStringLiteral("## 11 连接模块与下载"),
                                            QStringLiteral("## 12 模拟运行与模拟器窗口"),
                                            QStringLiteral("## 13 命令控制台"),
                                            QStringLiteral("## 16 快捷键"),
                                            QStringLiteral("# tavo-cli 命令行程序")};
    QTest::newRow("English") << "en/usage.md"
                             << QStringList{QStringLiteral("## 2 The main window"),
                                            QStringLiteral("## 6 Selecting, copying and arranging"),
                                            QStringLiteral("## 7 Undo and history"),
                                            QStringLiteral("## 8 Zoom"),
                                            QStringLiteral("## 11 Connecting and downloading"),
                                            QStringLiteral("## 12 Simulate and the simulator window"),
                                            QStringLiteral("## 13 Command console"),
                                            QStringLiteral("## 16 Keys"),
                                            QStringLiteral("# The tavo-cli command line")};
}

void TestHelpDoc::guideListsEverySection()
{
    QFETCH(QString, source);
    QFETCH(QStringList, sections);
    QTemporaryDir dir;
    QString err;
    const QString pdf = dir.filePath(QStringLiteral("guide.pdf"));
    const QStringList listed = sectionsOf(source, pdf, &err);
    QVERIFY2(!listed.isEmpty(), qPrintable(err));
    QVERIFY(QFileInfo(pdf).size() > 0);
    for (const QString &s : sections)
        QVERIFY2(listed.contains(s), qPrintable(s + QStringLiteral(" not in:\n") + listed.join(QLatin1Char('\n'))));
    // Sections come in order and the command line is the last chapter.
    QCOMPARE(listed.last(), sections.last());
}

void TestHelpDoc::chapterStartsANewPage()
{
    // A one-line chapter after a one-line title still gets a page of its own.
    QTemporaryDir dir;
    const QString md = dir.filePath(QStringLiteral("two.md"));
    QFile f(md);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# Title\n\nFirst page.\n\n# Chapter\n\nSecond page.\n");
    f.close();
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tools/helpdocs/helpdoc"),
            {md, dir.filePath(QStringLiteral("two.pdf")), QStringLiteral("--preview"), dir.filePath(QStringLiteral("pages"))});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("pages"))).entryList(QDir::Files).size(), 2);
}

void TestHelpDoc::headingsStayWithTheirText()
{
    // Sections of one to four lines, so that headings fall at every height of the page.
    QTemporaryDir dir;
    const QString md = dir.filePath(QStringLiteral("many.md"));
    QFile f(md);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# Title\n\n");
    for (int i = 1; i <= 120; ++i) {
        f.write(QStringLiteral("## Section %1\n\n").arg(i).toUtf8());
        f.write(QString(QStringLiteral("Words of the section that fill a line of the page. ")).repeated(1 + i % 7).toUtf8() + "\n\n");
    }
    f.close();
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tools/helpdocs/helpdoc"),
            {md, dir.filePath(QStringLiteral("many.pdf")), QStringLiteral("--heading-pages")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 121);
    QSet<QString> pages;
    for (const QString &line : lines.mid(1)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        QVERIFY2(parts.at(0) == parts.at(1), qPrintable(line));
        pages.insert(parts.at(0));
    }
    QVERIFY(pages.size() >= 5);
}

QTEST_MAIN(TestHelpDoc)
#include "tst_helpdoc.moc"
