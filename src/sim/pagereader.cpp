#include "pagereader.h"

namespace PageReader {

namespace {

int num(const QStringList &a, int i)
{
    return i < a.size() ? a.at(i).trimmed().toInt() : 0;
}

QString unquoted(const QString &s)
{
    const QString t = s.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('\'')) && t.endsWith(QLatin1Char('\'')))
        return t.mid(1, t.size() - 2);
    return t;
}

int textStyleFromCode(int code)
{
    switch (code) {
    case 4: return 0;
    case 6: return 1;
    case 0: return 2;
    case 2: return 3;
    default: return 2;
    }
}

int buttonStyleFromCode(int code)
{
    switch (code) {
    case 4: return 0;
    case 6: return 1;
    case 1: return 2;
    case 0: return 3;
    case 2: return 4;
    default: return 3;
    }
}

}  // namespace

QVector<Instruction> split(const QString &script)
{
    QVector<Instruction> out;
    int i = 0;
    const int n = script.size();
    while (i < n) {
        while (i < n && (script.at(i).isSpace() || script.at(i) == QLatin1Char(';')))
            ++i;
        const int open = script.indexOf(QLatin1Char('('), i);
        if (open < 0)
            break;
        Instruction ins;
        ins.name = script.mid(i, open - i).trimmed();
        QString current;
        bool quoted = false;
        // A QR code's text is bare and may hold quotes and brackets: only ");" ends it.
        const bool bare = ins.name == QLatin1String("QRCODE");
        int j = open + 1;
        for (; j < n; ++j) {
            const QChar c = script.at(j);
            if (bare && c == QLatin1Char(')') && (j + 1 >= n || script.at(j + 1) == QLatin1Char(';'))) {
                break;
            } else if (bare && c != QLatin1Char(',')) {
                current += c;
            } else if (c == QLatin1Char('\'')) {
                quoted = !quoted;
                current += c;
            } else if (!quoted && c == QLatin1Char(',')) {
                ins.args << current;
                current.clear();
            } else if (!quoted && c == QLatin1Char(')')) {
                break;
            } else {
                current += c;
            }
        }
        if (!current.isEmpty() || !ins.args.isEmpty())
            ins.args << current;
        out << ins;
        i = j + 1;
    }
    return out;
}

PageData read(const QString &script, QStringList *skipped)
{
    PageData page;
    for (const Instruction &ins : split(script)) {
        const QStringList &a = ins.args;
        const QString &name = ins.name;
        if (name == QLatin1String("TXT") || name == QLatin1String("NUM")) {
            const bool text = name == QLatin1String("TXT");
            ControlRecord r = ControlRecord::make(text ? ControlKind::Text : ControlKind::Number, 0);
            r.x = num(a, 0);
            r.y = num(a, 1);
            r.w = num(a, 2);
            r.h = num(a, 3);
            r.fontSize = num(a, 4);
            r.text = unquoted(a.value(5));
            const int k = text ? 6 : 7;  // NUM carries the integer width before the style
            r.style = textStyleFromCode(num(a, k));
            r.hAlign = num(a, k + 1);
            r.vAlign = num(a, k + 2);
            r.fontColorNum = num(a, k + 3);
            r.backgroundColorNum = num(a, k + 4);
            r.styleColorNum = num(a, k + 5);
            page.controls << r;
        } else if (name == QLatin1String("BUTTON")) {
            ControlRecord r = ControlRecord::make(ControlKind::Button, 0);
            r.x = num(a, 0);
            r.y = num(a, 1);
            r.w = num(a, 2);
            r.h = num(a, 3);
            r.fontSize = num(a, 4);
            r.text = unquoted(a.value(5));
            const int released = num(a, 6), pressed = num(a, 7), mode = num(a, 8);
            r.imageNum = r.cutImageNum = r.pressImageNum = r.pressCutImageNum = -1;
            // A text is only sent when there is no released picture; the number is 0 then.
            const bool releasedPicture = r.text.isEmpty();
            if (mode / 16 * 16 == 16) {
                r.imageNum = releasedPicture ? released : -1;
                r.pressImageNum = pressed;
            } else if (mode / 16 * 16 == 64) {
                r.cutImageNum = releasedPicture ? released : -1;
                r.pressCutImageNum = pressed;
            }
            r.style = buttonStyleFromCode(mode % 16);
            r.hAlign = num(a, 9);
            r.vAlign = num(a, 10);
            r.fontColorNum = num(a, 11);
            r.backgroundColorNum = num(a, 12);
            r.pressColorNum = num(a, 13);
            r.styleColorNum = num(a, 14);
            page.controls << r;
        } else if (name == QLatin1String("PROG")) {
            ControlRecord r = ControlRecord::make(ControlKind::Progress, 0);
            r.x = num(a, 0);
            r.y = num(a, 1);
            r.w = num(a, 2);
            r.h = num(a, 3);
            r.text = QString::number(num(a, 4));
            const int fore = num(a, 5), back = num(a, 6), mode = num(a, 7), direction = num(a, 8);
            r.imageNum = r.cutImageNum = r.backgroundImageNum = r.backgroundCutImageNum = -1;
            if (mode == 2) {
                r.imageNum = fore;
                r.backgroundImageNum = back;
            } else if (mode == 3) {
                r.cutImageNum = fore;
                r.backgroundCutImageNum = back;
            }
            r.progType = direction & 7;
            r.style = (direction & 8) ? 1 : 0;
            r.fontColorNum = num(a, 9);
            r.backgroundColorNum = num(a, 10);
            r.styleColorNum = num(a, 11);
            page.controls << r;
        } else if (name == QLatin1String("POINT")) {
            ControlRecord r = ControlRecord::make(ControlKind::Pointer, 0);
            r.pointerAngle = num(a, 2);
            r.pointerL = num(a, 3);
            r.pointerW = num(a, 4);
            r.fontColorNum = num(a, 5);
            r.x = num(a, 0) - r.pointerL;
            r.y = num(a, 1) - r.pointerL;
            r.settlePointer();
            page.controls << r;
        } else if (name == QLatin1String("QRCODE") && a.size() >= 5) {
            // The text is not quoted and may hold commas: it is everything between the position
            // and the last two numbers.
            ControlRecord r = ControlRecord::make(ControlKind::QRCode, 0);
            r.x = num(a, 0);
            r.y = num(a, 1);
            r.text = a.mid(2, a.size() - 4).join(QLatin1Char(','));
            r.w = r.h = num(a, a.size() - 2);
            r.fontColorNum = num(a, a.size() - 1);
            page.controls << r;
        } else if (skipped) {
            *skipped << name;
        }
    }
    return page;
}

}  // namespace PageReader
