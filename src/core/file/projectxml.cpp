#include "file/projectxml.h"

#include "file/projectxmldetail.h"

#include <QHash>
#include <QStringList>

// What both tokenizers share: the tag names, the list of events, the sources' common answers,
// and the text rules of a project file.
namespace ProjectXml {

namespace Detail {

void placeOffset(const QByteArray &bytes, int offset, int *line, int *charsBefore)
{
    int l = 1;
    int lineStart = 0;
    const char *p = bytes.constData();
    for (int i = 0; i < offset; ++i) {
        if (p[i] == '\n' || (p[i] == '\r' && (i + 1 >= offset || p[i + 1] != '\n'))) {
            ++l;
            lineStart = i + 1;
        }
    }
    int chars = 0;
    for (int i = lineStart; i < offset; ++i)
        chars += (uchar(p[i]) & 0xC0) != 0x80 ? 1 : 0;
    *line = l;
    *charsBefore = chars;
}

const QStringList &tagNames()
{
    static const QStringList names = {
        QStringLiteral("frame"), QStringLiteral("page"), QStringLiteral("ClassName"), QStringLiteral("DrawClassName"),
        QStringLiteral("frameW"), QStringLiteral("frameH"), QStringLiteral("parentImageNum"),
        QStringLiteral("parentBackgroundNum"), QStringLiteral("screenType"), QStringLiteral("dpi"),
        QStringLiteral("baud"), QStringLiteral("blValue"), QStringLiteral("logo1"), QStringLiteral("logo2"),
        QStringLiteral("logox"), QStringLiteral("logoy"), QStringLiteral("logow"), QStringLiteral("logoh"),
        QStringLiteral("logotime"), QStringLiteral("currentPage"),
        QStringLiteral("pageImageNum"), QStringLiteral("pageBackgroundNum"), QStringLiteral("pageHelpLineNum"),
        QStringLiteral("pageHelpLineLeft"), QStringLiteral("pageHelpLineRight"), QStringLiteral("pageHelpLineTop"),
        QStringLiteral("pageHelpLineBottom"),
        QStringLiteral("id"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("w"), QStringLiteral("h"),
        QStringLiteral("text"), QStringLiteral("fontSize"), QStringLiteral("hAlign"), QStringLiteral("vAlign"),
        QStringLiteral("fontColorNum"), QStringLiteral("backgroundColorNum"), QStringLiteral("pressColorNum"),
        QStringLiteral("imageNum"), QStringLiteral("cutImageNum"), QStringLiteral("backgroundImageNum"),
        QStringLiteral("backgroundCutImageNum"), QStringLiteral("pressImageNum"), QStringLiteral("pressCutImageNum"),
        QStringLiteral("progType"), QStringLiteral("style"), QStringLiteral("styleColorNum"),
        QStringLiteral("pointerX"), QStringLiteral("pointerY"), QStringLiteral("pointerW"),
        QStringLiteral("pointerL"), QStringLiteral("pointerAngle"),
        QStringLiteral("drawX"), QStringLiteral("drawY"), QStringLiteral("drawW"), QStringLiteral("drawH"),
        QStringLiteral("drawX1"), QStringLiteral("drawY1"), QStringLiteral("drawX2"), QStringLiteral("drawY2"),
        QStringLiteral("drawR"), QStringLiteral("drawColorNum"),
        QStringLiteral("bootPage"),
        QStringLiteral("name"),
    };
    return names;
}

}  // namespace Detail

using Detail::tagNames;

Tag tagOf(const QString &name)
{
    static const QHash<QString, Tag> tags = [] {
        QHash<QString, Tag> h;
        const QStringList &names = tagNames();
        for (int i = 0; i < names.size(); ++i)
            h.insert(names.at(i), Tag(i));
        return h;
    }();
    return tags.value(name, Unknown);
}

QString tagName(Tag tag) { return tagNames().value(int(tag)); }

QString misplacedDtd(bool rootStarted, bool dtdBefore)
{
    if (rootStarted)
        return QStringLiteral("Unexpected token type DTD in Body.");
    if (dtdBefore)
        return QStringLiteral("Found second DTD token in Prolog.");
    return QString();
}

namespace {

// A number as the reader takes it (QString::trimmed().toInt()).
int numberOf(const QString &text, bool *ok)
{
    return text.trimmed().toInt(ok);
}

}  // namespace

QString Document::text(const Event &e) const
{
    return fast ? Detail::fastText(bytes.constData(), e) : e.value;
}

void Document::position(const Event &e, int *line, int *column) const
{
    if (!fast) {
        *line = e.line;
        *column = e.column;
        return;
    }
    Detail::placeOffset(bytes, e.begin, line, column);
}

bool EventSource::nextTag(Event *e)
{
    while (next(e)) {
        if (e->type != Event::Text)
            return true;
    }
    return false;
}

bool EventSource::numberElement(int *)
{
    return false;
}

int EventSource::number(const Event &e, bool *ok) const
{
    return numberOf(text(e), ok);
}

QString savableText(const QString &text)
{
    const int n = text.size();
    int i = 0;
    // Most texts need no change.
    for (; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!isXmlChar(ch.unicode()))
            break;
    }
    if (i == n)
        return text;
    QString out = text.left(i);
    for (; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += ch;
            out += text.at(++i);
        } else if (isXmlChar(ch.unicode())) {
            out += ch;
        }
    }
    return out;
}

}  // namespace ProjectXml
