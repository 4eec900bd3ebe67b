// The C99 form of the bindings: a header of constants and prototypes, and one source file with
// the checks, the UTF-8 to GBK table and one small function per control and action.
#include "bindings/bindingrules.h"
#include "bindings/bindings.h"
#include "bindings/generatedfile.h"
#include "model/names.h"

namespace Bindings {

namespace {

using BindingLayout::Control;
using BindingLayout::Layout;
using BindingLayout::Page;
using BindingRules::Action;
using BindingRules::Arg;

QString hex4(int v) { return QStringLiteral("0x%1").arg(v, 4, 16, QLatin1Char('0')).toUpper().replace(QLatin1String("0X"), QLatin1String("0x")); }

QString parameters(const Action &a)
{
    switch (a.arg) {
    case Arg::Text:
    case Arg::QrText: return QStringLiteral("const char *utf8");
    case Arg::Number: return QStringLiteral("int32_t value, int decimals");
    case Arg::Integer:
    case Arg::Picture: return QStringLiteral("int value");
    }
    return QString();
}

struct CNames {
    QString p;  // prefix
    QString P;  // prefix in capitals
    QString fn(const QString &rest) const { return p + QLatin1Char('_') + rest; }
    QString cn(const QString &rest) const { return P + QLatin1Char('_') + rest.toUpper(); }
};

QString header(const Layout &layout, const QVector<GbkTable::Entry> &table, const Options &o, const CNames &n,
               const QString &stamp)
{
    QString h = GeneratedFile::openingComment(GeneratedFile::CommentStyle::C, o.command,
                                              commentLines(layout, stamp, table.size()));
    const QString guard = n.cn(QStringLiteral("H"));
    h += QStringLiteral("#ifndef %1\n#define %1\n\n#include <stddef.h>\n#include <stdint.h>\n\n"
                        "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n")
             .arg(guard);
    h += QStringLiteral("#define %1 \"%2\"\n\n").arg(n.cn(QStringLiteral("LAYOUT_STAMP")), stamp);
    h += QStringLiteral("/* What every function returns: OK once the instruction is written, otherwise why nothing was. */\n");
    const char *const results[][2] = {{"OK", "0"},
                                      {"ERR_NO_WRITER", "1 /* init was not called */"},
                                      {"ERR_RANGE", "2 /* a number outside what the control takes */"},
                                      {"ERR_CHARACTER", "3 /* a character the control cannot show or the module would misread */"},
                                      {"ERR_LENGTH", "4 /* a text longer than the module takes */"},
                                      {"ERR_ENCODING", "5 /* bytes that are not UTF-8 (or GBK for the _gbk functions) */"}};
    for (const auto &r : results)
        h += QStringLiteral("#define %1 %2\n").arg(n.cn(QLatin1String(r[0])), QLatin1String(r[1]));
    h += QStringLiteral("\n/* Longest text in bytes of GBK. */\n#define %1 %2\n\n")
             .arg(n.cn(QStringLiteral("TEXT_BYTES")))
             .arg(BindingRules::textByteLimit());
    h += QStringLiteral("/* Pages: what the module's JUMP takes. */\n");
    for (const Page &p : layout)
        h += QStringLiteral("#define %1 %2\n").arg(n.cn(QLatin1String("PAGE_") + p.name)).arg(p.index);
    for (const Page &p : layout) {
        if (p.controls.isEmpty())
            continue;
        h += QStringLiteral("\n/* Controls of page %1. */\n").arg(p.name);
        for (const Control &c : p.controls)
            h += QStringLiteral("#define %1 %2\n").arg(n.cn(p.name + QLatin1Char('_') + c.name)).arg(c.id);
    }
    h += QStringLiteral("\n/* Receives every instruction whole, bytes ready for the serial line. */\n"
                        "typedef void (*%1)(const uint8_t *bytes, size_t n, void *ctx);\n\n"
                        "/* Call once before anything else; ctx is handed back to write. */\n"
                        "void %2(%1 write, void *ctx);\n")
             .arg(n.fn(QStringLiteral("write_fn")), n.fn(QStringLiteral("init")));
    for (const Page &p : layout) {
        h += QStringLiteral("\n/* Page %1 (%2). */\nint %3(void);\n").arg(p.name).arg(p.index).arg(n.fn(QLatin1String("show_") + p.name));
        for (const Control &c : p.controls) {
            h += QStringLiteral("/* %1 %2 */\n").arg(Names::kindWord(c.kind)).arg(c.id);
            for (const Action &a : BindingRules::actionsFor(c.kind)) {
                const QString fn = n.fn(p.name + QLatin1Char('_') + c.name + QLatin1Char('_') + QLatin1String(a.suffix));
                QString what = QLatin1String(a.what);
                if (a.arg == Arg::Integer || a.arg == Arg::Picture)
                    what += QStringLiteral(", %1..%2").arg(a.min).arg(a.max);
                if (a.arg == Arg::Number)
                    what += QStringLiteral(": value / 10^decimals, decimals 0..%1, at most %2 integer digits")
                                .arg(BindingRules::maxDecimals())
                                .arg(BindingRules::numberDigits(*c.record));
                if (a.arg == Arg::Text || a.arg == Arg::QrText) {
                    if (BindingRules::asciiOnly(*c.record))
                        what += QStringLiteral(" (printable ASCII only at this font size)");
                    h += QStringLiteral("int %1(%2); /* %3 */\n").arg(fn, parameters(a), what);
                    h += QStringLiteral("int %1_gbk(const uint8_t *gbk, size_t n); /* the same, bytes already in GBK */\n").arg(fn);
                } else {
                    h += QStringLiteral("int %1(%2); /* %3 */\n").arg(fn, parameters(a), what);
                }
            }
        }
    }
    h += QStringLiteral("\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n");
    return h;
}

// The part of the source file that is the same for every project but for the prefix.
const char *const kSupport = R"(
static $p_write_fn $p__writer;
static void *$p__context;

void $p_init($p_write_fn write, void *ctx)
{
    $p__writer = write;
    $p__context = ctx;
}

/* An instruction is built here whole and written in one call. */
#define $p__LINE_MAX ($P_TEXT_BYTES + 64)
typedef struct {
    uint8_t b[$p__LINE_MAX];
    size_t n;
} $p__line;

static void $p__put($p__line *l, const char *s)
{
    while (*s != '\0')
        l->b[l->n++] = (uint8_t)*s++;
}

static void $p__int($p__line *l, long v)
{
    char d[24];
    int k = 0;
    unsigned long u = v < 0 ? 0UL - (unsigned long)v : (unsigned long)v;
    if (v < 0)
        l->b[l->n++] = '-';
    do {
        d[k++] = (char)('0' + (int)(u % 10UL));
        u /= 10UL;
    } while (u != 0UL);
    while (k > 0)
        l->b[l->n++] = (uint8_t)d[--k];
}

static void $p__start($p__line *l, const char *name, int id)
{
    l->n = 0;
    $p__put(l, name);
    $p__put(l, "(");
    $p__int(l, id);
}

static int $p__send($p__line *l)
{
    $p__put(l, ");\r\n");
    $p__writer(l->b, l->n, $p__context);
    return $P_OK;
}

/* NAME(id[,a[,b]]); with each value checked against its range. */
static int $p__ints(const char *name, int id, int count, int a, int lo, int hi, int b)
{
    $p__line l;
    if ($p__writer == NULL)
        return $P_ERR_NO_WRITER;
    if (count > 0 && (a < lo || a > hi))
        return $P_ERR_RANGE;
    $p__start(&l, name, id);
    if (count > 0) {
        $p__put(&l, ",");
        $p__int(&l, a);
    }
    if (count > 1) {
        $p__put(&l, ",");
        $p__int(&l, b);
    }
    return $p__send(&l);
}

/* SET_NUM(id,value,digits); value / 10^decimals with at most digits integer digits. */
static int $p__number(int id, int digits, int32_t value, int decimals)
{
    $p__line l;
    long whole = value;
    long scale = 1;
    long part;
    int i;
    int used = 1;
    if ($p__writer == NULL)
        return $P_ERR_NO_WRITER;
    if (decimals < 0 || decimals > $p__MAX_DECIMALS)
        return $P_ERR_RANGE;
    for (i = 0; i < decimals; ++i)
        scale *= 10L;
    part = whole % scale;
    whole /= scale;
    if (part < 0)
        part = -part;
    /* Integer digits of the value, counted on what is left of scale. */
    for (scale = whole < 0 ? -whole : whole; scale >= 10L; scale /= 10L)
        ++used;
    if (used > digits)
        return $P_ERR_RANGE;
    $p__start(&l, "SET_NUM", id);
    $p__put(&l, ",");
    if (value < 0 && whole == 0)
        $p__put(&l, "-");
    $p__int(&l, whole);
    if (decimals > 0) {
        char d[8];
        $p__put(&l, ".");
        for (i = decimals - 1; i >= 0; --i) {
            d[i] = (char)('0' + (int)(part % 10L));
            part /= 10L;
        }
        for (i = 0; i < decimals; ++i)
            l.b[l.n++] = (uint8_t)d[i];
    }
    $p__put(&l, ",");
    $p__int(&l, digits);
    return $p__send(&l);
}

/* GBK bytes as a text of the control: the characters it can show, at most $P_TEXT_BYTES bytes. */
static int $p__text(const char *name, int id, const uint8_t *s, size_t n, int flags)
{
    $p__line l;
    size_t i;
    if ($p__writer == NULL)
        return $P_ERR_NO_WRITER;
    if (s == NULL && n > 0)
        return $P_ERR_RANGE;
    for (i = 0; i < n; ++i) {
        const uint8_t c = s[i];
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F || ((flags & $p__QUOTED) && c == '\'') || ((flags & $p__QR) && c == ';'))
                return $P_ERR_CHARACTER;
            if ((flags & $p__ASCII) && (c == ' ' || c == '"' || c == '\'' || c == '{' || c == '|' || c == '}'))
                return $P_ERR_CHARACTER;
        } else if (c < 0x81 || c == 0xFF || i + 1 >= n || s[i + 1] < 0x40 || s[i + 1] == 0x7F || s[i + 1] == 0xFF) {
            return $P_ERR_ENCODING;
        } else if (flags & $p__ASCII) {
            return $P_ERR_CHARACTER;
        } else {
            ++i;
        }
    }
    if (n > $P_TEXT_BYTES)
        return $P_ERR_LENGTH;
    $p__start(&l, name, id);
    $p__put(&l, (flags & $p__QUOTED) ? ",'" : ",");
    for (i = 0; i < n; ++i)
        l.b[l.n++] = s[i];
    if (flags & $p__QUOTED)
        $p__put(&l, "'");
    return $p__send(&l);
}

/* The GBK bytes of one character from the table, 0 when it has none. */
static unsigned $p__gbk(unsigned long cp)
{
    size_t lo = 0;
    size_t hi = $p__CHAR_COUNT;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if ($p__unicode[mid] == cp)
            return $p__bytes[mid];
        if ($p__unicode[mid] < cp)
            lo = mid + 1;
        else
            hi = mid;
    }
    return 0;
}

/* UTF-8 to GBK through the table, then the checks of $p__text. */
static int $p__utf8(const char *name, int id, const char *utf8, int flags)
{
    uint8_t out[$P_TEXT_BYTES + 2];
    size_t n = 0;
    const unsigned char *s = (const unsigned char *)utf8;
    if (utf8 == NULL)
        return $P_ERR_RANGE;
    while (*s != 0) {
        unsigned long cp = *s;
        unsigned long lowest = 0;
        int more = 0;
        unsigned g;
        if (cp >= 0xF0 && cp <= 0xF4) {
            cp &= 0x07;
            more = 3;
            lowest = 0x10000ul;
        } else if (cp >= 0xE0 && cp <= 0xEF) {
            cp &= 0x0F;
            more = 2;
            lowest = 0x800;
        } else if (cp >= 0xC2 && cp <= 0xDF) {
            cp &= 0x1F;
            more = 1;
        } else if (cp >= 0x80) {
            return $P_ERR_ENCODING;
        }
        ++s;
        for (; more > 0; --more, ++s) {
            if ((*s & 0xC0) != 0x80)
                return $P_ERR_ENCODING;
            cp = (cp << 6) | (*s & 0x3Ful);
        }
        if (cp < lowest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFFul)
            return $P_ERR_ENCODING;
        if (n > $P_TEXT_BYTES)
            return $P_ERR_LENGTH;
        if (cp < 0x80) {
            out[n++] = (uint8_t)cp;
            continue;
        }
        g = $p__gbk(cp);
        if (g == 0)
            return $P_ERR_CHARACTER;
        out[n++] = (uint8_t)(g >> 8);
        out[n++] = (uint8_t)(g & 0xFF);
    }
    return $p__text(name, id, out, n, flags);
}
)";

QString source(const Layout &layout, const QVector<GbkTable::Entry> &table, const Options &o, const CNames &n,
               const QString &stamp)
{
    QString c = GeneratedFile::openingComment(GeneratedFile::CommentStyle::C, o.command,
                                              {QString(), QStringLiteral("Layout stamp %1.").arg(stamp)});
    c += QStringLiteral("#include \"%1.h\"\n\n").arg(n.p);
    c += QStringLiteral("#define %1__QUOTED %2\n#define %1__QR %3\n#define %1__ASCII %4\n#define %1__MAX_DECIMALS %5\n")
             .arg(n.p)
             .arg(int(BindingRules::FlagQuoted))
             .arg(int(BindingRules::FlagQr))
             .arg(int(BindingRules::FlagAscii))
             .arg(BindingRules::maxDecimals());
    c += QStringLiteral("\n/* Characters beyond ASCII, by code point, and their GBK bytes. */\n#define %1__CHAR_COUNT %2\n")
             .arg(n.p)
             .arg(table.size());
    // One entry more than the table, so that an empty table is still an array.
    QString uni, gbk;
    for (int i = 0; i < table.size(); ++i) {
        const QString sep = (i % 8 == 7) ? QStringLiteral(",\n    ") : QStringLiteral(", ");
        uni += hex4(table.at(i).unicode) + sep;
        gbk += hex4(table.at(i).gbk) + sep;
    }
    c += QStringLiteral("static const uint16_t %1__unicode[%1__CHAR_COUNT + 1] = {\n    %20};\n").arg(n.p, uni);
    c += QStringLiteral("static const uint16_t %1__bytes[%1__CHAR_COUNT + 1] = {\n    %20};\n").arg(n.p, gbk);
    QString support = QString::fromLatin1(kSupport);
    support.replace(QLatin1String("$P_"), n.P + QLatin1Char('_'));
    support.replace(QLatin1String("$p_"), n.p + QLatin1Char('_'));
    c += support;

    for (const Page &p : layout) {
        c += QStringLiteral("\nint %1(void)\n{\n    return %2__ints(\"JUMP\", %3, 0, 0, 0, 0, 0);\n}\n")
                 .arg(n.fn(QLatin1String("show_") + p.name), n.p, n.cn(QLatin1String("PAGE_") + p.name));
        for (const Control &ctl : p.controls) {
            const QString number = n.cn(p.name + QLatin1Char('_') + ctl.name);
            for (const Action &a : BindingRules::actionsFor(ctl.kind)) {
                const QString fn = n.fn(p.name + QLatin1Char('_') + ctl.name + QLatin1Char('_') + QLatin1String(a.suffix));
                const QString ins = QLatin1Char('"') + QLatin1String(a.instruction) + QLatin1Char('"');
                switch (a.arg) {
                case Arg::Text:
                case Arg::QrText: {
                    const int flags = BindingRules::textFlags(a, *ctl.record);
                    c += QStringLiteral("\nint %1(const char *utf8)\n{\n    return %2__utf8(%3, %4, utf8, %5);\n}\n")
                             .arg(fn, n.p, ins, number)
                             .arg(flags);
                    c += QStringLiteral("\nint %1_gbk(const uint8_t *gbk, size_t n)\n{\n    return %2__text(%3, %4, gbk, n, %5);\n}\n")
                             .arg(fn, n.p, ins, number)
                             .arg(flags);
                    break;
                }
                case Arg::Number:
                    c += QStringLiteral("\nint %1(int32_t value, int decimals)\n{\n    return %2__number(%3, %4, value, decimals);\n}\n")
                             .arg(fn, n.p, number)
                             .arg(BindingRules::numberDigits(*ctl.record));
                    break;
                case Arg::Integer:
                    c += QStringLiteral("\nint %1(int value)\n{\n    return %2__ints(%3, %4, 1, value, %5, %6, 0);\n}\n")
                             .arg(fn, n.p, ins, number)
                             .arg(a.min)
                             .arg(a.max);
                    break;
                case Arg::Picture:
                    // SET_BTN_IMG(n,state,picture): the state first, then the checked picture.
                    c += QStringLiteral("\nint %1(int value)\n{\n    if (value < %5 || value > %6)\n        return %7;\n"
                                        "    return %2__ints(%3, %4, 2, %8, 0, 1, value);\n}\n")
                             .arg(fn, n.p, ins, number)
                             .arg(a.min)
                             .arg(a.max)
                             .arg(n.cn(QStringLiteral("ERR_RANGE")))
                             .arg(a.fixed);
                    break;
                }
            }
        }
    }
    return c;
}

}  // namespace

QVector<File> cFiles(const Layout &layout, const QVector<GbkTable::Entry> &table, const Options &options)
{
    const CNames n{options.prefix, options.prefix.toUpper()};
    const QString stamp = BindingLayout::stamp(layout);
    return {{options.prefix + QLatin1String(".h"), header(layout, table, options, n, stamp).toUtf8()},
            {options.prefix + QLatin1String(".c"), source(layout, table, options, n, stamp).toUtf8()}};
}

}  // namespace Bindings
