// The Python form of the bindings: one module, standard library only, one class whose methods
// write each instruction whole through any object with write(bytes). Nothing in it needs more
// than MicroPython has (no codecs, no f-strings, no struct).
#include "bindings/bindingrules.h"
#include "bindings/bindings.h"
#include "bindings/generatedfile.h"

namespace Bindings {

namespace {

using BindingLayout::Control;
using BindingLayout::Layout;
using BindingLayout::Page;
using BindingRules::Action;
using BindingRules::Arg;

// The part of the module that is the same for every project.
const char *const kSupport = R"(
OK = 0
ERR_NO_WRITER = 1  # no port to write to
ERR_RANGE = 2  # a number outside what the control takes
ERR_CHARACTER = 3  # a character the control cannot show or the module would misread
ERR_LENGTH = 4  # a text longer than the module takes
ERR_ENCODING = 5  # bytes that are not GBK (the _gbk methods)

_INDEX = None


def _gbk(ch):
    global _INDEX
    if _INDEX is None:
        _INDEX = {}
        for i in range(len(_CHARS)):
            _INDEX[_CHARS[i]] = i
    i = _INDEX.get(ch)
    if i is None:
        return None
    return _BYTES[2 * i:2 * i + 2]


def _check(data, flags):
    i = 0
    n = len(data)
    while i < n:
        c = data[i]
        if c < 0x80:
            if c < 0x20 or c == 0x7F or (flags & _QUOTED and c == 0x27) or (flags & _QR and c == 0x3B):
                return ERR_CHARACTER
            if flags & _ASCII and c in (0x20, 0x22, 0x27, 0x7B, 0x7C, 0x7D):
                return ERR_CHARACTER
        elif c < 0x81 or c == 0xFF or i + 1 >= n or data[i + 1] < 0x40 or data[i + 1] in (0x7F, 0xFF):
            return ERR_ENCODING
        elif flags & _ASCII:
            return ERR_CHARACTER
        else:
            i += 1
        i += 1
    if n > TEXT_BYTES:
        return ERR_LENGTH
    return OK


def _digits(v):
    n = 1
    while v >= 10:
        v //= 10
        n += 1
    return n

)";

const char *const kClassSupport = R"(
    def __init__(self, port):
        """port: anything with write(bytes), e.g. a serial port opened at the module's rate."""
        self._port = port

    def _send(self, name, args):
        line = name + b"(" + b",".join(args) + b");\r\n"
        self._port.write(line)
        return OK

    def _ints(self, name, n, values, lo, hi):
        if self._port is None:
            return ERR_NO_WRITER
        for v in values[:1]:
            if not isinstance(v, int) or v < lo or v > hi:
                return ERR_RANGE
        return self._send(name, [str(x).encode() for x in [n] + list(values)])

    def _picture(self, n, state, picture, lo, hi):
        if not isinstance(picture, int) or picture < lo or picture > hi:
            return ERR_RANGE
        return self._ints(b"SET_BTN_IMG", n, [state, picture], 0, 1)

    def _number(self, n, digits, value, decimals):
        if self._port is None:
            return ERR_NO_WRITER
        if not isinstance(value, int) or not isinstance(decimals, int) or decimals < 0 or decimals > _MAX_DECIMALS:
            return ERR_RANGE
        scale = 10 ** decimals
        whole = abs(value) // scale
        if _digits(whole) > digits:
            return ERR_RANGE
        text = str(whole)
        if decimals:
            part = str(abs(value) % scale)
            text += "." + "0" * (decimals - len(part)) + part
        if value < 0:
            text = "-" + text
        return self._send(b"SET_NUM", [str(n).encode(), text.encode(), str(digits).encode()])

    def _text_gbk(self, name, n, data, flags):
        if self._port is None:
            return ERR_NO_WRITER
        data = bytes(data)
        fault = _check(data, flags)
        if fault:
            return fault
        if flags & _QUOTED:
            data = b"'" + data + b"'"
        return self._send(name, [str(n).encode(), data])

    def _text(self, name, n, text, flags):
        if not isinstance(text, str):
            return ERR_RANGE
        out = bytearray()
        for ch in text:
            if len(out) > TEXT_BYTES:
                return ERR_LENGTH
            if ord(ch) < 0x80:
                out.append(ord(ch))
                continue
            b = _gbk(ch)
            if b is None:
                return ERR_CHARACTER
            out.extend(b)
        return self._text_gbk(name, n, out, flags)
)";

QString escapedCharacters(const QVector<GbkTable::Entry> &table)
{
    QString out = QStringLiteral("_CHARS = (\n    \"");
    for (int i = 0; i < table.size(); ++i) {
        if (i > 0 && i % 16 == 0)
            out += QStringLiteral("\"\n    \"");
        out += QStringLiteral("\\u%1").arg(table.at(i).unicode, 4, 16, QLatin1Char('0'));
    }
    out += QStringLiteral("\"\n)\n_BYTES = (\n    b\"");
    for (int i = 0; i < table.size(); ++i) {
        if (i > 0 && i % 16 == 0)
            out += QStringLiteral("\"\n    b\"");
        out += QStringLiteral("\\x%1\\x%2").arg(table.at(i).gbk >> 8, 2, 16, QLatin1Char('0')).arg(table.at(i).gbk & 0xFF, 2, 16, QLatin1Char('0'));
    }
    out += QStringLiteral("\"\n)\n");
    return out;
}

// The Python class name: the prefix in words, each capitalised ("my_panel" gives MyPanel).
QString className(const QString &prefix)
{
    QString out;
    for (const QString &w : prefix.split(QLatin1Char('_'), Qt::SkipEmptyParts))
        out += w.at(0).toUpper() + w.mid(1);
    return out.isEmpty() || out.at(0).isDigit() ? QLatin1String("Module") + out : out;
}

}  // namespace

QByteArray pythonModule(const Layout &layout, const QVector<GbkTable::Entry> &table, const Options &o)
{
    const QString stamp = BindingLayout::stamp(layout);
    QString py = GeneratedFile::openingComment(GeneratedFile::CommentStyle::Hash, o.command,
                                               commentLines(layout, stamp, table.size()));
    py += QStringLiteral("\nLAYOUT_STAMP = \"%1\"\nTEXT_BYTES = %2\n_MAX_DECIMALS = %3\n")
              .arg(stamp)
              .arg(BindingRules::textByteLimit())
              .arg(BindingRules::maxDecimals());
    py += QStringLiteral("_QUOTED = %1\n_QR = %2\n_ASCII = %3\n")
              .arg(int(BindingRules::FlagQuoted))
              .arg(int(BindingRules::FlagQr))
              .arg(int(BindingRules::FlagAscii));
    py += QLatin1String(kSupport);
    py += escapedCharacters(table);
    py += QStringLiteral("\n\nclass %1:\n    \"\"\"The module's pages and controls by name.\"\"\"\n\n").arg(className(o.prefix));
    for (const Page &p : layout)
        py += QStringLiteral("    PAGE_%1 = %2\n").arg(p.name.toUpper()).arg(p.index);
    for (const Page &p : layout)
        for (const Control &c : p.controls)
            py += QStringLiteral("    %1_%2 = %3\n").arg(p.name.toUpper(), c.name.toUpper()).arg(c.id);
    py += QLatin1String(kClassSupport);
    for (const Page &p : layout) {
        py += QStringLiteral("\n    def show_%1(self):\n        return self._ints(b\"JUMP\", %2, [], 0, 0)\n").arg(p.name).arg(p.index);
        for (const Control &c : p.controls) {
            for (const Action &a : BindingRules::actionsFor(c.kind)) {
                const QString fn = p.name + QLatin1Char('_') + c.name + QLatin1Char('_') + QLatin1String(a.suffix);
                const QString ins = QStringLiteral("b\"%1\"").arg(QLatin1String(a.instruction));
                switch (a.arg) {
                case Arg::Text:
                case Arg::QrText: {
                    const int flags = BindingRules::textFlags(a, *c.record);
                    py += QStringLiteral("\n    def %1(self, text):\n        return self._text(%2, %3, text, %4)\n")
                              .arg(fn, ins)
                              .arg(c.id)
                              .arg(flags);
                    py += QStringLiteral("\n    def %1_gbk(self, data):\n        return self._text_gbk(%2, %3, data, %4)\n")
                              .arg(fn, ins)
                              .arg(c.id)
                              .arg(flags);
                    break;
                }
                case Arg::Number:
                    py += QStringLiteral("\n    def %1(self, value, decimals=0):\n        return self._number(%2, %3, value, decimals)\n")
                              .arg(fn)
                              .arg(c.id)
                              .arg(BindingRules::numberDigits(*c.record));
                    break;
                case Arg::Integer:
                    py += QStringLiteral("\n    def %1(self, value):\n        return self._ints(%2, %3, [value], %4, %5)\n")
                              .arg(fn, ins)
                              .arg(c.id)
                              .arg(a.min)
                              .arg(a.max);
                    break;
                case Arg::Picture:
                    py += QStringLiteral("\n    def %1(self, picture):\n        return self._picture(%2, %3, picture, %4, %5)\n")
                              .arg(fn)
                              .arg(c.id)
                              .arg(a.fixed)
                              .arg(a.min)
                              .arg(a.max);
                    break;
                }
            }
        }
    }
    return py.toUtf8();
}

}  // namespace Bindings
