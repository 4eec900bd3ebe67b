#include "moduleinstruction.h"

#include <QCoreApplication>

namespace ModuleInstructions {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("ModuleRuntime", text); }

bool isNameChar(QChar c, bool first)
{
    const ushort u = c.unicode();
    const bool letter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_';
    return letter || (!first && u >= '0' && u <= '9');
}

}  // namespace

QVector<ModuleInstruction> parse(const QString &line, QString *error)
{
    QVector<ModuleInstruction> out;
    error->clear();
    const int n = line.size();
    int i = 0;
    while (true) {
        while (i < n && (line.at(i).isSpace() || line.at(i) == QLatin1Char(';')))
            ++i;
        if (i >= n)
            return out;
        const int start = i;
        while (i < n && isNameChar(line.at(i), i == start))
            ++i;
        if (i == start || i - start > MaxNameLength || i >= n || line.at(i) != QLatin1Char('(')) {
            *error = tr("无法识别的指令：%1").arg(line.mid(start, 40));
            return out;
        }
        ModuleInstruction ins;
        ins.name = line.mid(start, i - start);
        QString current;
        bool quoted = false;
        bool closed = false;
        // A QR code text is bare and may hold quotes and brackets: only a ")" before the ";"
        // (or the line's end) closes it.
        const bool bare = ins.name == QLatin1String("QRCODE") || ins.name == QLatin1String("QBAR");
        for (++i; i < n; ++i) {
            const QChar c = line.at(i);
            if (bare && c == QLatin1Char(')')) {
                int j = i + 1;
                while (j < n && line.at(j).isSpace())
                    ++j;
                if (j >= n || line.at(j) == QLatin1Char(';')) {
                    closed = true;
                    break;
                }
            } else if (!bare && c == QLatin1Char('\'')) {
                quoted = !quoted;
            } else if (!quoted && c == QLatin1Char(',')) {
                ins.args << current;
                current.clear();
                if (ins.args.size() >= MaxArgs)
                    break;
                continue;
            } else if (!quoted && c == QLatin1Char(')')) {
                closed = true;
                break;
            }
            current += c;
        }
        if (!closed) {
            *error = ins.args.size() >= MaxArgs ? tr("参数过多：%1").arg(ins.name)
                                                : tr("指令不完整：%1").arg(line.mid(start, 40));
            return out;
        }
        if (!current.isEmpty() || !ins.args.isEmpty())
            ins.args << current;
        ++i;
        ins.text = line.mid(start, i - start);
        // An instruction ends with ";", or with the line.
        int j = i;
        while (j < n && line.at(j).isSpace())
            ++j;
        if (j < n && line.at(j) != QLatin1Char(';')) {
            *error = tr("指令后缺少分号：%1").arg(ins.text.left(40));
            return out;
        }
        ins.text += QLatin1Char(';');
        out << ins;
        i = j;
    }
}

bool toInt(const QString &arg, int *value)
{
    bool ok = false;
    const int v = arg.trimmed().toInt(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

bool toQuoted(const QString &arg, QString *text)
{
    const QString t = arg.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('\'')) || !t.endsWith(QLatin1Char('\'')))
        return false;
    *text = t.mid(1, t.size() - 2);
    return !text->contains(QLatin1Char('\''));
}

}  // namespace ModuleInstructions
