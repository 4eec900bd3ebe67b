#include "file/projectxml.h"

#include "file/projectxmldetail.h"

#include <QVarLengthArray>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The fast tokenizer: plain, well-formed UTF-8 XML as the writer makes it, read straight from the
// bytes; anything else makes it give up, and the stream tokenizer reads the document instead.
namespace ProjectXml {

using Detail::placeOffset;
using Detail::tagNames;

namespace {

// Byte classes of the fast tokenizer: one table look-up instead of a chain of comparisons.
enum : uchar { SpaceClass = 1, NameStartClass = 2, NameClass = 4 };

struct ByteClasses {
    uchar of[256] = {};
    constexpr ByteClasses()
    {
        of[uchar(' ')] = of[uchar('\t')] = of[uchar('\n')] = of[uchar('\r')] = SpaceClass;
        for (int c = 0; c < 256; ++c) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_')
                of[c] = NameStartClass | NameClass;
            else if ((c >= '0' && c <= '9') || c == '-' || c == '.')
                of[c] = NameClass;
        }
    }
};
constexpr ByteClasses byteClasses;

inline bool isSpace(char c) { return byteClasses.of[uchar(c)] & SpaceClass; }
inline bool isNameStart(char c) { return byteClasses.of[uchar(c)] & NameStartClass; }
inline bool isNameChar(char c) { return byteClasses.of[uchar(c)] & NameClass; }

// A plain number from k on: XML space, an optional minus, one to nine digits, XML space. The
// offset just past it, with its value, or -1 when the bytes hold anything else there (the
// reader then reads the text the long way, as QString::toInt would).
int plainNumber(const char *p, int k, int n, int *value)
{
    while (k < n && isSpace(p[k]))
        ++k;
    const bool negative = k < n && p[k] == '-';
    if (negative)
        ++k;
    const int digitsStart = k;
    int v = 0;
    while (k < n && p[k] >= '0' && p[k] <= '9' && k - digitsStart < 9)
        v = v * 10 + (p[k++] - '0');
    if (k == digitsStart || (k < n && p[k] >= '0' && p[k] <= '9'))
        return -1;
    while (k < n && isSpace(p[k]))
        ++k;
    *value = negative ? -v : v;
    return k;
}

// Short runs of bytes compared in place: names are a few bytes long, and a call to memcmp for
// each costs more than the comparison.
inline bool sameBytes(const char *a, const char *b, int n)
{
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        quint64 x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y)
            return false;
    }
    for (; n > 0; ++a, ++b, --n) {
        if (*a != *b)
            return false;
    }
    return true;
}

// Tag names in a small open hash table: a lookup hashes the name's length and three of its bytes
// and compares one or two names, and allocates nothing, once for every element of the file.
struct TagTable {
    static constexpr int Slots = 256;
    struct Entry {
        QByteArray name;
        Tag tag = Unknown;
    };
    Entry entries[Slots];
    static uint hash(const char *p, int n)
    {
        return (uint(n) * 131u + uchar(p[0]) * 31u + uchar(p[n - 1]) * 7u + uchar(p[n / 2])) % Slots;
    }
    TagTable()
    {
        const QStringList &names = tagNames();
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray name = names.at(i).toLatin1();
            uint h = hash(name.constData(), name.size());
            while (entries[h].tag != Unknown)
                h = (h + 1) % Slots;
            entries[h] = {name, Tag(i)};
        }
    }
    Tag find(const char *p, int n) const
    {
        for (uint h = hash(p, n);; h = (h + 1) % Slots) {
            const Entry &e = entries[h];
            if (e.tag == Unknown)
                return Unknown;
            if (e.name.size() == n && sameBytes(e.name.constData(), p, n))
                return e.tag;
        }
    }
};

Tag tagOfBytes(const char *p, int n)
{
    static const TagTable table;
    return n > 0 ? table.find(p, n) : Unknown;
}

// Well-formed UTF-8 of XML characters only, checked from offset i on for sequences that start
// before stop: the offset reached (a sequence boundary), or -1 at the first bad character.
int checkCharacters(const uchar *p, int i, int stop, int n)
{
    while (i < stop) {
#ifdef __SSE2__
        // Sixteen plain characters at a time (printable ASCII, tab and line ends): nearly all of
        // a project file.
        if (i + 16 <= stop) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            // Signed: bytes from 0x80 up count as below 0x20 too.
            const int low = _mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)));
            const __m128i spaces = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')),
                                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))),
                                                _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
            if ((low & ~_mm_movemask_epi8(spaces)) == 0) {
                i += 16;
                continue;
            }
        }
#endif
        const uchar b = p[i];
        if (b < 0x80) {
            if (b < 0x20 && b != '\t' && b != '\n' && b != '\r')
                return -1;
            ++i;
            continue;
        }
        int len;
        uint c;
        uint min;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            c = b & 0x1F;
            min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            c = b & 0x0F;
            min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            c = b & 0x07;
            min = 0x10000;
        } else {
            return -1;
        }
        if (i + len > n)
            return -1;
        for (int k = 1; k < len; ++k) {
            const uchar cb = p[i + k];
            if ((cb & 0xC0) != 0x80)
                return -1;
            c = (c << 6) | (cb & 0x3F);
        }
        if (c < min || !isXmlChar(c))
            return -1;
        i += len;
    }
    return i;
}

// QString::fromUtf8 drops a byte order mark at the start; inside a document it is a character.
QString utf8Text(const char *p, int n)
{
    QString marks;
    while (n >= 3 && uchar(p[0]) == 0xEF && uchar(p[1]) == 0xBB && uchar(p[2]) == 0xBF) {
        marks += QChar(0xFEFF);
        p += 3;
        n -= 3;
    }
    return marks.isEmpty() ? QString::fromUtf8(p, n) : marks + QString::fromUtf8(p, n);
}

class FastTokenizer {
public:
    FastTokenizer(const QByteArray &bytes, int maxDepth)
        : p(bytes.constData()), n(bytes.size()), m_maxDepth(maxDepth)
    {
    }

    // The next event; false at the end or on failure (failed set).
    bool next(Event *e);
    bool numberElement(int *value);
    bool failed = false;
    const char *const p;
    const int n;

private:
    bool at(const char *s) const
    {
        const int len = int(std::strlen(s));
        return i + len <= n && std::memcmp(p + i, s, size_t(len)) == 0;
    }
    // The loops run on a local index: the bytes are chars and may alias the member, so a loop on
    // it would store it back for every byte.
    int skipSpace()
    {
        const int start = i;
        int k = i;
        while (k < n && isSpace(p[k]))
            ++k;
        i = k;
        return k - start;
    }
    bool name(int *start, int *len)
    {
        int k = i;
        *start = k;
        if (k >= n || !isNameStart(p[k]))
            return false;
        while (k < n && isNameChar(p[k]))
            ++k;
        i = k;
        *len = k - *start;
        return true;
    }
    // Every field of an event is set: the caller reuses one event for all of them.
    static void setEvent(Event *e, Event::Type type, Tag tag, int begin, int length)
    {
        e->type = type;
        e->tag = tag;
        e->value.clear();
        e->begin = begin;
        e->length = length;
        e->line = 0;
        e->column = 0;
    }
    bool declaration();
    bool comment();
    bool reference();
    bool startTag(Event *e);
    bool endTag(Event *e);
    bool text(Event *e);
    bool start();
    bool step(Event *e);
    bool checkAhead();

    int i = 0;
    const int m_maxDepth;
    bool m_started = false;
    bool m_done = false;
    bool m_rootSeen = false;
    bool m_pendingEnd = false;  // an empty element's end comes next
    int m_checked = 0;          // the characters before this offset are known to be sound
    QVarLengthArray<QPair<int, int>, 16> m_open;  // names of the open elements
};

// Only the plain declaration: version 1.0, UTF-8 or no encoding, optional standalone.
bool FastTokenizer::declaration()
{
    i += 5;  // "<?xml"
    auto attribute = [&](const char *attrName, QByteArray *value) {
        if (skipSpace() == 0 || !at(attrName))
            return false;
        i += int(std::strlen(attrName));
        skipSpace();
        if (i >= n || p[i] != '=')
            return false;
        ++i;
        skipSpace();
        if (i >= n || (p[i] != '"' && p[i] != '\''))
            return false;
        const char q = p[i++];
        const int start = i;
        while (i < n && p[i] != q)
            ++i;
        if (i >= n)
            return false;
        *value = QByteArray(p + start, i - start);
        ++i;
        return true;
    };
    QByteArray value;
    if (!attribute("version", &value) || value != "1.0")
        return false;
    const int save = i;
    if (attribute("encoding", &value)) {
        if (value.toLower() != "utf-8")
            return false;
    } else {
        i = save;
    }
    const int save2 = i;
    if (attribute("standalone", &value)) {
        if (value != "yes" && value != "no")
            return false;
    } else {
        i = save2;
    }
    skipSpace();
    if (!at("?>"))
        return false;
    i += 2;
    return true;
}

bool FastTokenizer::comment()
{
    i += 4;  // "<!--"
    const char *end = nullptr;
    for (int k = i; k + 1 < n; ++k) {
        if (p[k] == '-' && p[k + 1] == '-') {
            end = p + k;
            break;
        }
    }
    if (!end || end + 2 >= p + n || end[2] != '>')
        return false;
    i = int(end - p) + 3;
    return true;
}

// A character or predefined entity reference at i; others make us give up.
bool FastTokenizer::reference()
{
    static const char *const predefined[] = {"&lt;", "&gt;", "&amp;", "&quot;", "&apos;"};
    for (const char *s : predefined) {
        if (at(s)) {
            i += int(std::strlen(s));
            return true;
        }
    }
    if (!at("&#"))
        return false;
    i += 2;
    const bool hex = i < n && p[i] == 'x';
    if (hex)
        ++i;
    qint64 c = 0;
    int digits = 0;
    for (; i < n && p[i] != ';'; ++i, ++digits) {
        const char d = p[i];
        int v;
        if (d >= '0' && d <= '9')
            v = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            v = d - 'A' + 10;
        else
            return false;
        c = c * (hex ? 16 : 10) + v;
        if (c > 0x10FFFF)
            return false;
    }
    if (i >= n || digits == 0 || c == 0 || !isXmlChar(uint(c)))
        return false;
    ++i;  // ';'
    return true;
}

bool FastTokenizer::startTag(Event *out)
{
    ++i;  // '<'
    int nameStart, nameLen;
    if (!name(&nameStart, &nameLen) || m_open.size() >= m_maxDepth)
        return false;
    QString self;
    QVarLengthArray<QPair<int, int>, 4> seen;
    bool empty = false;
    for (;;) {
        const int space = skipSpace();
        if (i >= n)
            return false;
        if (p[i] == '>') {
            ++i;
            break;
        }
        if (p[i] == '/') {
            if (i + 1 >= n || p[i + 1] != '>')
                return false;
            i += 2;
            empty = true;
            break;
        }
        int attrStart, attrLen;
        if (space == 0 || !name(&attrStart, &attrLen))
            return false;
        skipSpace();
        if (i >= n || p[i] != '=')
            return false;
        ++i;
        skipSpace();
        if (i >= n || (p[i] != '"' && p[i] != '\''))
            return false;
        const char q = p[i++];
        const int valueStart = i;
        // Values needing normalisation or references are left to the full reader.
        int k = i;
        while (k < n && p[k] != q) {
            const char c = p[k];
            if (c == '<' || c == '&' || c == '\t' || c == '\n' || c == '\r')
                return false;
            ++k;
        }
        i = k;
        if (i >= n)
            return false;
        const int valueLen = i - valueStart;
        ++i;
        for (const auto &s : seen) {
            if (s.second == attrLen && sameBytes(p + s.first, p + attrStart, attrLen))
                return false;
        }
        seen.append(qMakePair(attrStart, attrLen));
        if (attrLen == nameLen && sameBytes(p + attrStart, p + nameStart, nameLen))
            self = utf8Text(p + valueStart, valueLen);
    }
    setEvent(out, Event::Start, tagOfBytes(p + nameStart, nameLen), i, 0);
    out->value.swap(self);
    if (empty)
        m_pendingEnd = true;
    else
        m_open.append(qMakePair(nameStart, nameLen));
    return true;
}

bool FastTokenizer::endTag(Event *out)
{
    i += 2;  // "</"
    int nameStart, nameLen;
    if (m_open.isEmpty() || !name(&nameStart, &nameLen))
        return false;
    const QPair<int, int> open = m_open.last();
    if (open.second != nameLen || !sameBytes(p + open.first, p + nameStart, nameLen))
        return false;
    skipSpace();
    if (i >= n || p[i] != '>')
        return false;
    ++i;
    m_open.removeLast();
    setEvent(out, Event::End, Unknown, 0, 0);
    return true;
}

bool FastTokenizer::text(Event *out)
{
    const int start = i;
    for (;;) {
        int k = i;
#ifdef __SSE2__
        // Sixteen bytes at a time up to the first '<', '&' or '>'.
        while (k + 16 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + k));
            const int hit = _mm_movemask_epi8(_mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&'))),
                _mm_cmpeq_epi8(v, _mm_set1_epi8('>'))));
            if (hit) {
                k += __builtin_ctz(uint(hit));
                break;
            }
            k += 16;
        }
#endif
        while (k < n && p[k] != '<' && p[k] != '&' && p[k] != '>')
            ++k;
        i = k;
        if (i >= n)
            return false;
        if (p[i] == '<')
            break;
        if (p[i] == '&') {
            if (!reference())
                return false;
            continue;
        }
        // '>' ends a "]]>", which text may not hold.
        if (i - start >= 2 && p[i - 1] == ']' && p[i - 2] == ']')
            return false;
        ++i;
    }
    setEvent(out, Event::Text, Unknown, start, i - start);
    return true;
}

// Most fields of a project are one number between a start and an end tag: read in one go, they
// cost a third of the events. The bytes taken are the ones text(), number() and endTag() accept
// for such an element; anything else is left to them.
bool FastTokenizer::numberElement(int *value)
{
    if (failed || m_done || m_pendingEnd || m_open.isEmpty())
        return false;
    int v = 0;
    int k = plainNumber(p, i, n, &v);
    if (k < 0)
        return false;
    const QPair<int, int> open = m_open.last();
    if (k + 2 + open.second >= n || p[k] != '<' || p[k + 1] != '/' ||
        !sameBytes(p + k + 2, p + open.first, open.second))
        return false;
    k += 2 + open.second;
    while (k < n && isSpace(p[k]))
        ++k;
    if (k >= n || p[k] != '>')
        return false;
    i = k + 1;
    m_open.removeLast();
    *value = v;
    return true;
}

bool FastTokenizer::start()
{
    if (at("\xEF\xBB\xBF"))
        i = 3;
    if (at("<?xml") && i + 5 < n && isSpace(p[i + 5]) && !declaration())
        return false;
    return true;
}

// The characters are checked a stretch ahead of the tokenizer as it goes. A token reaching past
// the checked stretch is read before its tail is checked; that tail is checked before the
// document counts as read, and the caller keeps nothing of a document that fails.
bool FastTokenizer::checkAhead()
{
    constexpr int Stretch = 64 * 1024;
    if (m_checked >= n || m_checked - i > Stretch / 2)
        return true;
    const int stop = int(qMin<qint64>(n, qint64(qMax(i, m_checked)) + Stretch));
    m_checked = checkCharacters(reinterpret_cast<const uchar *>(p), m_checked, stop, n);
    return m_checked >= 0;
}

bool FastTokenizer::step(Event *e)
{
    if (m_pendingEnd) {
        m_pendingEnd = false;
        setEvent(e, Event::End, Unknown, 0, 0);
        return true;
    }
    for (;;) {
        if (!checkAhead())
            return false;
        if (m_open.isEmpty()) {
            // Outside the root only space and comments.
            skipSpace();
            if (i >= n) {
                m_done = true;
                return false;
            }
            if (at("<!--")) {
                if (!comment())
                    return false;
                continue;
            }
            if (m_rootSeen || p[i] != '<' || at("<!") || at("<?") || at("</"))
                return false;
            if (!startTag(e))
                return false;
            m_rootSeen = true;
            return true;
        }
        if (i >= n)
            return false;
        if (p[i] != '<')
            return text(e);
        if (at("</"))
            return endTag(e);
        if (at("<!--")) {
            if (!comment())
                return false;
            continue;
        }
        if (at("<!") || at("<?"))
            return false;
        return startTag(e);
    }
}

bool FastTokenizer::next(Event *e)
{
    if (failed || m_done)
        return false;
    if (!m_started) {
        m_started = true;
        // The start is checked whole before the declaration is looked at.
        m_checked = checkCharacters(reinterpret_cast<const uchar *>(p), 0, qMin(n, 64), n);
        if (m_checked < 0 || !start()) {
            failed = true;
            return false;
        }
    }
    if (step(e))
        return true;
    if (m_done) {
        // The rest of the document, checked before it counts as read.
        if (m_checked >= 0 && m_checked < n)
            m_checked = checkCharacters(reinterpret_cast<const uchar *>(p), m_checked, n, n);
        if (m_checked < 0 || !m_rootSeen)
            failed = true;
        return false;
    }
    failed = true;
    return false;
}

}  // namespace

QString Detail::fastText(const char *base, const Event &e)
{
    const char *p = base + e.begin;
    const int n = e.length;
    if (!std::memchr(p, '&', size_t(n)) && !std::memchr(p, '\r', size_t(n)))
        return utf8Text(p, n);
    QByteArray out;
    out.reserve(n);
    for (int i = 0; i < n;) {
        const char c = p[i];
        if (c == '\r') {
            out += '\n';
            i += (i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
        } else if (c == '&') {
            const int semi = int(static_cast<const char *>(std::memchr(p + i, ';', size_t(n - i))) - p);
            const QByteArray ref(p + i + 1, semi - i - 1);
            if (ref == "lt")
                out += '<';
            else if (ref == "gt")
                out += '>';
            else if (ref == "amp")
                out += '&';
            else if (ref == "quot")
                out += '"';
            else if (ref == "apos")
                out += '\'';
            else {
                const bool hex = ref.startsWith("#x");
                const char32_t c = ref.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
                out += QString::fromUcs4(&c, 1).toUtf8();
            }
            i = semi + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return utf8Text(out.constData(), out.size());
}

bool tokenizeFast(const QByteArray &bytes, int maxDepth, Document *doc)
{
    doc->events.clear();
    doc->bytes = bytes;
    doc->fast = false;
    FastTokenizer tokenizer(bytes, maxDepth);
    Event e;
    while (tokenizer.next(&e))
        doc->events.append(e);
    if (tokenizer.failed) {
        doc->events.clear();
        return false;
    }
    doc->fast = true;
    return true;
}

class FastSource::Private {
public:
    Private(const QByteArray &bytes, int maxDepth) : bytes(bytes), tokenizer(this->bytes, maxDepth) {}
    const QByteArray bytes;  // shared with the caller's, never copied
    FastTokenizer tokenizer;
};

FastSource::FastSource(const QByteArray &bytes, int maxDepth) : d(new Private(bytes, maxDepth)) {}
FastSource::~FastSource() { delete d; }
bool FastSource::next(Event *e) { return d->tokenizer.next(e); }
bool FastSource::numberElement(int *value) { return d->tokenizer.numberElement(value); }

bool FastSource::failed() const { return d->tokenizer.failed; }
QString FastSource::text(const Event &e) const { return Detail::fastText(d->tokenizer.p, e); }

int FastSource::number(const Event &e, bool *ok) const
{
    // The usual field, "-12" or "480", converted from its bytes; anything else as text.
    int v = 0;
    if (plainNumber(d->tokenizer.p + e.begin, 0, e.length, &v) == e.length) {
        *ok = true;
        return v;
    }
    return EventSource::number(e, ok);
}

void FastSource::position(const Event &e, int *line, int *column) const
{
    placeOffset(d->bytes, e.begin, line, column);
}

}  // namespace ProjectXml
