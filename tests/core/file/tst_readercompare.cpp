#include "file/projectfile.h"
#include "previous/previousreader.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QtTest>

// The streaming reader against the reader it replaced (a list of every event, then the walk), on
// a generated corpus of sound, odd and broken project files: same verdict, same message, same
// records, for the fast and the full parser alike.
namespace {

ProjectData generated(QRandomGenerator &rng, int pages)
{
    ProjectData p;
    p.frameW = 480;
    p.frameH = 272;
    p.screenType = int(rng.bounded(4));
    p.dpi = QStringLiteral("272*480(WQVGA)");
    p.baud = QStringLiteral("115200");
    p.blValue = int(rng.bounded(256));
    p.logo1 = int(rng.bounded(-1, 6));
    p.logo2 = int(rng.bounded(-1, 6));
    p.currentPage = int(rng.bounded(pages));
    const QStringList texts = {QStringLiteral("温度 23.5"), QStringLiteral("a<b & c>d"), QStringLiteral("\"quoted\" 'x'"),
                               QStringLiteral("line\nbreak"), QStringLiteral("  spaced  "), QString(),
                               QStringLiteral("emoji \U0001F600"), QStringLiteral("-12")};
    for (int n = 0; n < pages; ++n) {
        PageData page;
        page.imageNum = int(rng.bounded(-1, 6));
        page.backgroundNum = int(rng.bounded(64));
        page.helpLineNum = int(rng.bounded(3));
        page.helpLineLeft = int(rng.bounded(-50, 50));
        const int controls = int(rng.bounded(12));
        for (int k = 0; k < controls; ++k) {
            const auto kind = static_cast<ControlKind>(rng.bounded(ControlKindCount));
            ControlRecord c = ControlRecord::make(kind, page.nextControlId(kind));
            c.x = int(rng.bounded(-20, 500));
            c.y = int(rng.bounded(-20, 300));
            c.w = int(rng.bounded(1, 200));
            c.h = int(rng.bounded(1, 200));
            c.text = texts.at(int(rng.bounded(texts.size())));
            c.imageNum = int(rng.bounded(-1, 6));
            c.fontColorNum = int(rng.bounded(64));
            c.hAlign = int(rng.bounded(3));
            page.controls.append(c);
        }
        const int primitives = int(rng.bounded(6));
        for (int k = 0; k < primitives; ++k) {
            QMyDrawType d;
            d.setDrawType(int(rng.bounded(1, 7)));
            d.setX(int(rng.bounded(300)));
            d.setY(int(rng.bounded(200)));
            d.setWidth(int(rng.bounded(1, 100)));
            d.setHeight(int(rng.bounded(1, 100)));
            d.setColorNum(int(rng.bounded(64)));
            page.primitives.append(d);
        }
        p.pages.append(page);
    }
    return p;
}

// Pieces that push a document off the fast way or break it.
const QVector<QByteArray> &snippets()
{
    static const QVector<QByteArray> s = {
        "<!DOCTYPE ui>", "&foo;", "<![CDATA[7]]>", "\xC3\x28", "\x01", "<a>", "</b>", " x='1'", "&#0;", "&#x41;", "&#51;",
        "  ", "\r\n", "\r", "<!-- c -->", "<?pi x?>", "]]>", "\xEF\xBB\xBF", "<page>", "</page>", "<ClassName ClassName=\"QMyButton\">",
        "<DrawClassName DrawClassName=\"9\"/>", " +5 ", "99999999999", "-0", "1e3", "0x10", "\xD9\xA3", "\xE3\x80\x80",
        "<x/>", "&amp;", "&lt;", "\t", "\xF0\x9F\x98\x80", "\xED\xA0\x80", "\xC0\xAF", "<页/>", "'", "\"", ">", "=",
        "<ui>", "</ui>", "<frame>", "</frame>", "<frameW>9000</frameW>", "<currentPage>77</currentPage>",
    };
    return s;
}

QByteArray mutated(const QByteArray &doc, QRandomGenerator &rng)
{
    QByteArray out = doc;
    const int edits = 1 + int(rng.bounded(3));
    for (int e = 0; e < edits && !out.isEmpty(); ++e) {
        const int at = int(rng.bounded(out.size()));
        switch (rng.bounded(5)) {
        case 0: out.truncate(at); break;
        case 1: out[at] = char(rng.bounded(256)); break;
        case 2: out.insert(at, snippets().at(int(rng.bounded(snippets().size())))); break;
        case 3: out.remove(at, int(rng.bounded(1, 12))); break;
        default: {
            // A number field's text replaced.
            const int open = out.indexOf('>', at);
            const int close = open < 0 ? -1 : out.indexOf('<', open);
            if (close > open + 1)
                out.replace(open + 1, close - open - 1, snippets().at(int(rng.bounded(snippets().size()))));
            break;
        }
        }
    }
    return out;
}

}  // namespace

class TestReaderCompare : public QObject {
    Q_OBJECT
private slots:
    void sameAsThePreviousReader();
};

void TestReaderCompare::sameAsThePreviousReader()
{
    QRandomGenerator rng(20241208);
    QVector<QByteArray> corpus;
    QDirIterator files(QStringLiteral(TAVO_TEST_DATA), {QStringLiteral("*.Tavo")}, QDir::Files);
    while (files.hasNext()) {
        QFile f(files.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        corpus << f.readAll();
    }
    QFile demo(QStringLiteral(TAVO_EXAMPLES "/demo/demo.Tavo"));
    QVERIFY(demo.open(QIODevice::ReadOnly));
    corpus << demo.readAll();
    for (int i = 0; i < 12; ++i)
        corpus << ProjectFile::toXml(generated(rng, 1 + i % 4));
    const int sound = corpus.size();
    for (int i = 0; i < 3000; ++i)
        corpus << mutated(corpus.at(int(rng.bounded(sound))), rng);

    int refused = 0;
    for (int i = 0; i < corpus.size(); ++i) {
        const QByteArray &doc = corpus.at(i);
        for (const bool fast : {true, false}) {
            const int pictures = i % 3 == 0 ? 0 : 5;
            ProjectData before;
            before.screenType = 2;
            before.dpi = QStringLiteral("kept");
            before.pages.resize(3);
            ProjectData a = before, b = before;
            const ProjectFile::ReadResult ra = ProjectFile::readFromBytesWith(doc, pictures, &a, QStringLiteral("p.Tavo"), fast);
            const ProjectFile::ReadResult rb = PreviousReader::readFromBytesWith(doc, pictures, &b, QStringLiteral("p.Tavo"), fast);
            const QByteArray what = "document " + QByteArray::number(i) + (fast ? " fast" : " full") + ": " + doc.left(300).toPercentEncoding(" <>/=\"'");
            QVERIFY2(ra.ok == rb.ok, what.constData());
            QVERIFY2(ra.reason == rb.reason, qPrintable(ra.reason + QStringLiteral(" / ") + rb.reason + QLatin1Char('\n') + QString::fromLatin1(what)));
            QVERIFY2(ra.hasFrameSize == rb.hasFrameSize, what.constData());
            QVERIFY2(a == b, what.constData());
            refused += ra.ok ? 0 : 1;
        }
    }
    // The corpus exercises both verdicts.
    QVERIFY(refused > 500);
    QVERIFY(refused < 2 * corpus.size() - 500);
}

QTEST_GUILESS_MAIN(TestReaderCompare)
#include "tst_readercompare.moc"
