#include "file/projectxml.h"

#include "file/projectxmldetail.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

// The stream tokenizer: any XML, through QXmlStreamReader, saying where a broken document breaks.
namespace ProjectXml {

using Detail::placeOffset;

namespace {

// Whether the document is to be read as UTF-8: no UTF-16 byte order mark, and no declaration of
// another encoding.
bool isUtf8Document(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    const int start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bytes.mid(start, 5) != "<?xml")
        return true;
    const int end = bytes.indexOf("?>", start);
    if (end < 0)
        return true;
    const QByteArray decl = bytes.mid(start, end - start);
    const int at = decl.indexOf("encoding");
    if (at < 0)
        return true;
    int q = at + 8;
    while (q < decl.size() && (decl[q] == ' ' || decl[q] == '=' || decl[q] == '\t'))
        ++q;
    if (q >= decl.size() || (decl[q] != '"' && decl[q] != '\''))
        return true;
    const int close = decl.indexOf(decl[q], q + 1);
    const QByteArray name = decl.mid(q + 1, close < 0 ? -1 : close - q - 1).toLower();
    return name == "utf-8" || name == "utf8";
}

// The offset of the first byte that does not start or continue a well-formed UTF-8 sequence
// (overlong forms, surrogates and values past U+10FFFF included), or -1.
int firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const int n = bytes.size();
    int i = 0;
    while (i < n) {
        const uchar c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        uchar lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return i;
        }
        for (int k = 1; k < len; ++k) {
            if (i + k >= n)
                return i;
            const uchar b = p[i + k];
            if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF))
                return i;
        }
        i += len;
    }
    return -1;
}

}  // namespace

class StreamSource::Private {
public:
    Private(const QByteArray &bytes, int maxDepth) : bytes(bytes), xml(this->bytes), maxDepth(maxDepth)
    {
        // The stream parser reads ahead before it decodes, so it places a bad byte far from
        // where it is. Such a byte is found and placed here first.
        if (isUtf8Document(bytes)) {
            const int bad = firstInvalidUtf8(bytes);
            if (bad >= 0) {
                placeOffset(bytes, bad, &line, &column);
                ++column;  // the bad byte's own column, counted from 1
                reason = QCoreApplication::translate("ProjectFile", "第%1字节不是有效的UTF-8编码").arg(bad);
                failed = true;
            }
        }
    }
    const QByteArray bytes;
    QXmlStreamReader xml;
    const int maxDepth;
    int depth = 0;
    bool rootStarted = false;
    bool dtdSeen = false;
    bool failed = false;
    bool tooDeep = false;
    int line = 0;
    int column = 0;
    QString reason;
};

StreamSource::StreamSource(const QByteArray &bytes, int maxDepth) : d(new Private(bytes, maxDepth)) {}
StreamSource::~StreamSource() { delete d; }
bool StreamSource::failed() const { return d->failed; }
QString StreamSource::text(const Event &e) const { return e.value; }

void StreamSource::position(const Event &e, int *line, int *column) const
{
    *line = e.line;
    *column = e.column;
}

void StreamSource::error(int *line, int *column, QString *reason, bool *tooDeep) const
{
    *line = d->line;
    *column = d->column;
    *reason = d->reason;
    *tooDeep = d->tooDeep;
}

bool StreamSource::next(Event *out)
{
    QXmlStreamReader &xml = d->xml;
    while (!d->failed && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            d->rootStarted = true;
            if (++d->depth > d->maxDepth) {
                d->line = int(xml.lineNumber());
                d->column = int(xml.columnNumber());
                d->tooDeep = true;
                d->failed = true;
                return false;
            }
            Event e;
            e.type = Event::Start;
            const QString name = xml.name().toString();
            e.tag = tagOf(name);
            if (xml.attributes().hasAttribute(name))
                e.value = xml.attributes().value(name).toString();
            e.line = int(xml.lineNumber());
            e.column = int(xml.columnNumber());
            *out = e;
            return true;
        }
        case QXmlStreamReader::EndElement:
            --d->depth;
            *out = Event();
            out->type = Event::End;
            return true;
        case QXmlStreamReader::DTD: {
            d->reason = misplacedDtd(d->rootStarted, d->dtdSeen);
            d->dtdSeen = true;
            if (!d->reason.isEmpty()) {
                d->line = int(xml.lineNumber());
                d->column = int(xml.columnNumber());
                d->failed = true;
                return false;
            }
            // The parser drops references to an external entity without a word, so the file would
            // load with a hole in its text. Such a file is refused, as one naming an undeclared
            // entity is; the entity's text is never fetched.
            const QXmlStreamEntityDeclarations entities = xml.entityDeclarations();
            for (const QXmlStreamEntityDeclaration &e : entities) {
                if (e.systemId().isEmpty() && e.publicId().isEmpty())
                    continue;
                d->line = int(xml.lineNumber());
                d->column = int(xml.columnNumber());
                d->reason = QCoreApplication::translate("ProjectFile", "外部实体“%1”不予读取").arg(e.name().toString());
                d->failed = true;
                return false;
            }
            break;
        }
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            *out = Event();
            out->type = Event::Text;
            out->value = xml.text().toString();
            return true;
        default:
            break;
        }
    }
    if (!d->failed && xml.hasError()) {
        d->line = int(xml.lineNumber());
        d->column = int(xml.columnNumber());
        d->reason = xml.errorString();
        d->failed = true;
    }
    return false;
}

bool tokenizeStream(const QByteArray &bytes, int maxDepth, Document *doc, int *line, int *column, QString *reason,
                    bool *tooDeep)
{
    doc->events.clear();
    doc->bytes.clear();
    doc->fast = false;
    StreamSource source(bytes, maxDepth);
    Event e;
    while (source.next(&e))
        doc->events.append(e);
    if (source.failed()) {
        source.error(line, column, reason, tooDeep);
        doc->events.clear();
        return false;
    }
    *tooDeep = false;
    return true;
}

}  // namespace ProjectXml
