#include "file/projectfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <algorithm>

// The project reader on a corpus of sound, odd and broken project files, against results
// recorded in tests/data/readercompare/recorded.txt (first recorded from the reader the streaming
// one replaced): same verdict, same message, same page-size flag and same records, for the fast
// and the full parser alike.
//
// The corpus is the same on every machine and toolkit: the sound files of tests/data/readercompare
// (fixed bytes, so a change of the writer does not move it) and mutations of them made with the
// test's own generator.
//
// TAVO_RECORD_READER=<path> writes the recording of the reader as it is now to <path> instead of
// comparing. Re-record ONLY when a change of what the reader accepts, says or reads is intended:
// otherwise a difference is a fault in the reader, and re-recording would hide it.
// TAVO_READER_DUMPS=<path> writes every case's records as text, to diff the records of two builds
// where only a digest is recorded.
namespace {

const int Mutations = 3000;

// splitmix64: a library generator's algorithm may change between versions, and the corpus must not.
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int bounded(int n) { return int(next() % quint64(n)); }
    int bounded(int lo, int hi) { return lo + bounded(hi - lo); }

private:
    quint64 m_state;
};

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

QByteArray mutated(const QByteArray &doc, Rng &rng)
{
    QByteArray out = doc;
    const int edits = 1 + rng.bounded(3);
    for (int e = 0; e < edits && !out.isEmpty(); ++e) {
        const int at = rng.bounded(int(out.size()));
        switch (rng.bounded(5)) {
        case 0: out.truncate(at); break;
        case 1: out[at] = char(rng.bounded(256)); break;
        case 2: out.insert(at, snippets().at(rng.bounded(int(snippets().size())))); break;
        case 3: out.remove(at, rng.bounded(1, 12)); break;
        default: {
            // A number field's text replaced.
            const int open = int(out.indexOf('>', at));
            const int close = open < 0 ? -1 : int(out.indexOf('<', open));
            if (close > open + 1)
                out.replace(open + 1, close - open - 1, snippets().at(rng.bounded(int(snippets().size()))));
            break;
        }
        }
    }
    return out;
}

struct Document {
    QString origin;  // base file name, with "mutation of" for the mutated ones
    QByteArray bytes;
};

QVector<Document> corpus()
{
    QVector<Document> docs;
    const QDir dir(QStringLiteral(TAVO_TEST_DATA "/readercompare"));
    const QStringList names = dir.entryList({QStringLiteral("*.Tavo")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        docs.append({name, f.readAll()});
    }
    const int sound = int(docs.size());
    Rng rng(20241208);
    for (int i = 0; i < Mutations && sound > 0; ++i) {
        const Document &base = docs.at(rng.bounded(sound));
        docs.append({QStringLiteral("mutation of ") + base.origin, mutated(base.bytes, rng)});
    }
    return docs;
}

// Any string on one line of the recording: backslash, quote, control characters and every UTF-16
// surrogate (lone ones included) escaped, so the encoding is the same on every toolkit.
QByteArray escaped(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        const ushort u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\') + c;
        else if (u < 0x20 || u == 0x7F || c.isSurrogate())
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out.toUtf8();
}

// Every field of the records as text; written here, not by the project writer, so that a change of
// the writer cannot hide a change of what was read.
QByteArray dumped(const ProjectData &p)
{
    QByteArray t;
    auto num = [&t](const char *name, int v) {
        t += ' ';
        t += name;
        t += '=';
        t += QByteArray::number(v);
    };
    auto str = [&t](const char *name, const QString &v) {
        t += ' ';
        t += name;
        t += "=\"" + escaped(v) + '"';
    };
    t += "project";
    num("frameW", p.frameW);
    num("frameH", p.frameH);
    num("parentImageNum", p.parentImageNum);
    num("parentBackgroundNum", p.parentBackgroundNum);
    num("screenType", p.screenType);
    str("dpi", p.dpi);
    str("baud", p.baud);
    num("blValue", p.blValue);
    num("logo1", p.logo1);
    num("logo2", p.logo2);
    num("logoX", p.logoX);
    num("logoY", p.logoY);
    num("logoW", p.logoW);
    num("logoH", p.logoH);
    num("logoTime", p.logoTime);
    num("currentPage", p.currentPage);
    num("bootPage", p.bootPage);
    num("pages", int(p.pages.size()));
    for (const PageData &page : p.pages) {
        t += "\n page";
        num("imageNum", page.imageNum);
        num("backgroundNum", page.backgroundNum);
        num("helpLineNum", page.helpLineNum);
        num("helpLineLeft", page.helpLineLeft);
        num("helpLineRight", page.helpLineRight);
        num("helpLineTop", page.helpLineTop);
        num("helpLineBottom", page.helpLineBottom);
        num("controls", int(page.controls.size()));
        num("primitives", int(page.primitives.size()));
        // Names only when given: the recording predates them.
        if (!page.name.isEmpty())
            str("name", page.name);
        for (const ControlRecord &c : page.controls) {
            t += "\n  control";
            num("kind", int(c.kind));
            num("id", c.id);
            num("x", c.x);
            num("y", c.y);
            num("w", c.w);
            num("h", c.h);
            str("text", c.text);
            num("fontSize", c.fontSize);
            num("hAlign", c.hAlign);
            num("vAlign", c.vAlign);
            num("fontColorNum", c.fontColorNum);
            num("backgroundColorNum", c.backgroundColorNum);
            num("pressColorNum", c.pressColorNum);
            num("imageNum", c.imageNum);
            num("cutImageNum", c.cutImageNum);
            num("backgroundImageNum", c.backgroundImageNum);
            num("backgroundCutImageNum", c.backgroundCutImageNum);
            num("pressImageNum", c.pressImageNum);
            num("pressCutImageNum", c.pressCutImageNum);
            num("progType", c.progType);
            num("style", c.style);
            num("styleColorNum", c.styleColorNum);
            num("pointerX", c.pointerX);
            num("pointerY", c.pointerY);
            num("pointerW", c.pointerW);
            num("pointerL", c.pointerL);
            num("pointerAngle", c.pointerAngle);
            if (!c.name.isEmpty())
                str("name", c.name);
        }
        for (const QMyDrawType &d : page.primitives) {
            t += "\n  primitive";
            num("drawType", d.drawType());
            num("x", d.x());
            num("y", d.y());
            num("width", d.width());
            num("height", d.height());
            num("x1", d.x1());
            num("y1", d.y1());
            num("x2", d.x2());
            num("y2", d.y2());
            num("radius", d.radius());
            num("colorNum", d.colorNum());
            num("selected", d.selected() ? 1 : 0);
            str("instruction", d.instruction());
        }
    }
    t += '\n';
    return t;
}

// Eight hex digits of SHA-1: enough to tell a changed result from the recorded one.
QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8);
}

// One read's result as recorded.
struct Outcome {
    bool ok = false;
    bool hasFrameSize = false;
    QByteArray reason;  // escaped
    QByteArray data;    // digest of dumped()
    QByteArray dump;    // not recorded; for TAVO_READER_DUMPS and messages

    bool operator==(const Outcome &o) const
    {
        return ok == o.ok && hasFrameSize == o.hasFrameSize && reason == o.reason && data == o.data;
    }
};

struct Case {
    QByteArray document;  // digest of the bytes
    Outcome fast, full;
};

Outcome outcome(const QByteArray &doc, int index, bool fast)
{
    // Picture counts of none and some, and caller data that differ from the defaults.
    const int pictures = index % 3 == 0 ? 0 : 5;
    ProjectData data;
    data.screenType = 2;
    data.dpi = QStringLiteral("kept");
    data.pages.resize(3);
    const ProjectFile::ReadResult r = ProjectFile::readFromBytesWith(doc, pictures, &data, QStringLiteral("p.Tavo"), fast);
    Outcome o;
    o.ok = r.ok;
    o.hasFrameSize = r.hasFrameSize;
    o.reason = escaped(r.reason);
    o.dump = dumped(data);
    o.data = digest(o.dump);
    return o;
}

// Writes a file the developer named; a symbolic link there is not followed.
bool writtenTo(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo(path).isSymLink())
        return false;
    QFile out(path);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

QByteArray recordingPath()
{
    return QByteArray(TAVO_TEST_DATA "/readercompare/recorded.txt");
}

// The recording: a header, the table of distinct messages (number, message), then one line per
// document: its number, its bytes' digest, then for the fast and the full parser (the full one
// "=" when the same as the fast) verdict and page-size flag as two digits, message number and
// records' digest.
QByteArray recording(const QVector<Case> &cases)
{
    QVector<QByteArray> reasons;
    QHash<QByteArray, int> numbers;
    auto numberOf = [&](const QByteArray &reason) {
        auto it = numbers.constFind(reason);
        if (it != numbers.constEnd())
            return *it;
        numbers.insert(reason, int(reasons.size()));
        reasons.append(reason);
        return int(reasons.size()) - 1;
    };
    auto outcomeText = [&](const Outcome &o) {
        return QByteArray(o.ok ? "1" : "0") + (o.hasFrameSize ? "1" : "0") + ' ' + QByteArray::number(numberOf(o.reason)) +
               ' ' + o.data;
    };
    QByteArray lines;
    for (int i = 0; i < cases.size(); ++i) {
        const Case &c = cases.at(i);
        lines += QByteArray::number(i) + ' ' + c.document + ' ' + outcomeText(c.fast) + ' ' +
                 (c.full == c.fast ? QByteArray("=") : outcomeText(c.full)) + '\n';
    }
    QByteArray out = "# The project reader's results on the corpus of tst_readercompare (see there). Re-record only\n"
                     "# when a change of the reader's results is intended.\n";
    out += "reasons " + QByteArray::number(reasons.size()) + '\n';
    for (int i = 0; i < reasons.size(); ++i)
        out += QByteArray::number(i) + ' ' + reasons.at(i) + '\n';
    out += "documents " + QByteArray::number(cases.size()) + '\n';
    out += lines;
    return out;
}

// Reads the recording back; an empty list with error set when it cannot.
QVector<Case> parsedRecording(const QByteArray &text, QString *error)
{
    const QList<QByteArray> lines = text.split('\n');
    QVector<QByteArray> reasons;
    QVector<Case> cases;
    int at = 0;
    auto fail = [&](const QString &why) {
        *error = QStringLiteral("recording line %1: %2").arg(at + 1).arg(why);
        return QVector<Case>();
    };
    while (at < lines.size() && lines.at(at).startsWith('#'))
        ++at;
    if (at >= lines.size() || !lines.at(at).startsWith("reasons "))
        return fail(QStringLiteral("no reason table"));
    const int reasonCount = lines.at(at).mid(8).toInt();
    for (++at; int(reasons.size()) < reasonCount; ++at) {
        if (at >= lines.size())
            return fail(QStringLiteral("reason table cut short"));
        const QByteArray &line = lines.at(at);
        const int space = int(line.indexOf(' '));
        if ((space < 0 ? line : line.left(space)).toInt() != reasons.size())
            return fail(QStringLiteral("reason out of order"));
        reasons.append(space < 0 ? QByteArray() : line.mid(space + 1));
    }
    if (at >= lines.size() || !lines.at(at).startsWith("documents "))
        return fail(QStringLiteral("no document count"));
    const int documentCount = lines.at(at).mid(10).toInt();
    for (++at; at < lines.size() && !lines.at(at).isEmpty(); ++at) {
        const QList<QByteArray> f = lines.at(at).split(' ');
        if (f.size() != 6 && f.size() != 9)
            return fail(QStringLiteral("not a document line"));
        if (f.at(0).toInt() != cases.size())
            return fail(QStringLiteral("document out of order"));
        auto parsed = [&](int from, Outcome *o) {
            bool ok = false;
            const int reason = f.at(from + 1).toInt(&ok);
            if (f.at(from).size() != 2 || !ok || reason < 0 || reason >= reasons.size())
                return false;
            o->ok = f.at(from).at(0) == '1';
            o->hasFrameSize = f.at(from).at(1) == '1';
            o->reason = reasons.at(reason);
            o->data = f.at(from + 2);
            return true;
        };
        Case c;
        c.document = f.at(1);
        if (!parsed(2, &c.fast))
            return fail(QStringLiteral("bad fast result"));
        if (f.size() == 6) {
            if (f.at(5) != "=")
                return fail(QStringLiteral("bad full result"));
            c.full = c.fast;
        } else if (!parsed(5, &c.full)) {
            return fail(QStringLiteral("bad full result"));
        }
        cases.append(c);
    }
    if (cases.size() != documentCount)
        return fail(QStringLiteral("%1 documents announced, %2 found").arg(documentCount).arg(cases.size()));
    return cases;
}

// What differs between the recorded and the present outcome, for a failure message.
QString difference(const Outcome &recorded, const Outcome &now)
{
    QStringList parts;
    auto verdict = [](bool ok) { return ok ? QStringLiteral("accepted") : QStringLiteral("refused"); };
    if (recorded.ok != now.ok)
        parts << QStringLiteral("verdict recorded %1, now %2").arg(verdict(recorded.ok), verdict(now.ok));
    if (recorded.reason != now.reason)
        parts << QStringLiteral("message recorded \"%1\", now \"%2\"")
                     .arg(QString::fromUtf8(recorded.reason), QString::fromUtf8(now.reason));
    if (recorded.hasFrameSize != now.hasFrameSize)
        parts << QStringLiteral("hasFrameSize recorded %1, now %2").arg(int(recorded.hasFrameSize)).arg(int(now.hasFrameSize));
    if (recorded.data != now.data)
        parts << QStringLiteral("records' digest recorded %1, now %2 (TAVO_READER_DUMPS gives them all); now:\n%3")
                     .arg(QString::fromLatin1(recorded.data), QString::fromLatin1(now.data),
                          QString::fromUtf8(now.dump.left(1500)));
    return parts.join(QStringLiteral("; "));
}

}  // namespace

class TestReaderCompare : public QObject {
    Q_OBJECT
private slots:
    void sameAsRecorded();
};

void TestReaderCompare::sameAsRecorded()
{
    const QVector<Document> docs = corpus();
    QVERIFY2(docs.size() > Mutations, "the sound documents of tests/data/readercompare are missing");

    QVector<Case> now;
    int refused = 0;
    QByteArray dumps;
    for (int i = 0; i < docs.size(); ++i) {
        Case c;
        c.document = digest(docs.at(i).bytes);
        c.fast = outcome(docs.at(i).bytes, i, true);
        c.full = outcome(docs.at(i).bytes, i, false);
        refused += (c.fast.ok ? 0 : 1) + (c.full.ok ? 0 : 1);
        if (qEnvironmentVariableIsSet("TAVO_READER_DUMPS"))
            dumps += "document " + QByteArray::number(i) + " fast " + c.fast.dump + "document " + QByteArray::number(i) +
                     " full " + c.full.dump;
        now.append(c);
    }
    // The corpus exercises both verdicts.
    QVERIFY(refused > 500);
    QVERIFY(refused < 2 * docs.size() - 500);

    if (qEnvironmentVariableIsSet("TAVO_READER_DUMPS")) {
        QVERIFY2(writtenTo(qEnvironmentVariable("TAVO_READER_DUMPS"), dumps), "TAVO_READER_DUMPS not written");
    }
    if (qEnvironmentVariableIsSet("TAVO_RECORD_READER")) {
        const QString path = qEnvironmentVariable("TAVO_RECORD_READER");
        const QByteArray text = recording(now);
        QVERIFY2(writtenTo(path, text), "TAVO_RECORD_READER not written");
        qInfo("recorded %d documents (%d refusals of %d reads), %d bytes, to %s", int(docs.size()), refused,
              int(2 * docs.size()), int(text.size()), qPrintable(path));
        return;
    }

    QFile file(QString::fromUtf8(recordingPath()));
    QVERIFY2(file.open(QIODevice::ReadOnly), recordingPath().constData());
    QString error;
    const QVector<Case> recorded = parsedRecording(file.readAll(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY2(recorded.size() == now.size(),
             qPrintable(QStringLiteral("the recording has %1 documents, the corpus %2").arg(recorded.size()).arg(now.size())));

    QVector<QPair<int, bool>> differing;  // document, fast
    for (int i = 0; i < now.size(); ++i) {
        const QString which = QStringLiteral("document %1 (%2)").arg(i).arg(docs.at(i).origin);
        // A changed corpus makes every later comparison meaningless: say so once and stop.
        QVERIFY2(recorded.at(i).document == now.at(i).document,
                 qPrintable(which + QStringLiteral(": its bytes differ from the recorded ones (digest %1, now %2): the "
                                                   "sound files or the mutations changed")
                                        .arg(QString::fromLatin1(recorded.at(i).document),
                                             QString::fromLatin1(now.at(i).document))));
        for (const bool fast : {true, false}) {
            const Outcome &r = fast ? recorded.at(i).fast : recorded.at(i).full;
            const Outcome &n = fast ? now.at(i).fast : now.at(i).full;
            if (r == n)
                continue;
            differing.append({i, fast});
        }
    }
    // The smallest documents first: their records are the easiest to read.
    std::stable_sort(differing.begin(), differing.end(), [&docs](const QPair<int, bool> &a, const QPair<int, bool> &b) {
        return docs.at(a.first).bytes.size() < docs.at(b.first).bytes.size();
    });
    for (int k = 0; k < differing.size() && k < 10; ++k) {
        const int i = differing.at(k).first;
        const bool fast = differing.at(k).second;
        qWarning("document %d (%s), %s parser: %s\n  document begins: %s", i, qPrintable(docs.at(i).origin),
                 fast ? "fast" : "full",
                 qPrintable(difference(fast ? recorded.at(i).fast : recorded.at(i).full, fast ? now.at(i).fast : now.at(i).full)),
                 docs.at(i).bytes.left(300).toPercentEncoding(" <>/=\"'").constData());
    }
    QVERIFY2(differing.isEmpty(),
             qPrintable(QStringLiteral("%1 of %2 reads differ from the recording (the smallest documents above)")
                            .arg(differing.size())
                            .arg(2 * now.size())));
}

QTEST_GUILESS_MAIN(TestReaderCompare)
#include "tst_readercompare.moc"
