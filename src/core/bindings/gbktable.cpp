#include "bindings/gbktable.h"

#include "script/moduletext.h"

#include <QSet>

#include <algorithm>

namespace GbkTable {

namespace {

// The module's two bytes for one character, false when it has none (ASCII has one byte and is
// handled apart; a few code pages give the euro sign one byte, which the module does not read).
bool twoBytes(ushort u, ushort *gbk)
{
    const QChar c(u);
    // The private use area stands for GBK's user-defined codes, which the module has no glyphs for.
    if (u < 0x80 || c.isSurrogate() || (u >= 0xE000 && u <= 0xF8FF) || !ModuleText::canEncode(QString(c)))
        return false;
    const QByteArray b = ModuleText::encode(QString(c));
    if (b.size() != 2 || uchar(b.at(0)) < 0x81)
        return false;
    *gbk = ushort(uchar(b.at(0)) << 8 | uchar(b.at(1)));
    return true;
}

}  // namespace

QString projectCharacters(const ProjectData &project)
{
    QSet<ushort> seen;
    QString out;
    for (const PageData &p : project.pages) {
        for (const ControlRecord &r : p.controls) {
            if (r.kind != ControlKind::Text && r.kind != ControlKind::Button && r.kind != ControlKind::QRCode)
                continue;
            for (const QChar c : r.text) {
                if (c.unicode() >= 0x80 && !seen.contains(c.unicode())) {
                    seen.insert(c.unicode());
                    out += c;
                }
            }
        }
    }
    return out;
}

QVector<Entry> forCharacters(const QString &characters, QString *missing)
{
    QSet<ushort> seen;
    QVector<Entry> out;
    for (const QChar c : characters) {
        const ushort u = c.unicode();
        if (u < 0x80 || seen.contains(u))
            continue;
        seen.insert(u);
        Entry e;
        e.unicode = u;
        if (twoBytes(u, &e.gbk))
            out.append(e);
        else if (missing && !c.isSpace())
            *missing += c;
    }
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.unicode < b.unicode; });
    return out;
}

QVector<Entry> whole()
{
    QVector<Entry> out;
    for (uint u = 0x80; u <= 0xFFFF; ++u) {
        Entry e;
        e.unicode = ushort(u);
        if (twoBytes(e.unicode, &e.gbk))
            out.append(e);
    }
    return out;
}

}  // namespace GbkTable
