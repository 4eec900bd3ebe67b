#include "file/projectfile.h"

#include "file/projectxml.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

// Element text escaped the way the DOM writer does it, so that a file written here and a file
// rewritten through the DOM (baud and backlight updates) look alike.
void appendText(QString &out, const QString &text)
{
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        const ushort u = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += ch;
            out += text.at(++i);
            continue;
        }
        switch (u) {
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '>':
            if (out.endsWith(QLatin1String("]]")))
                out += QLatin1String("&gt;");
            else
                out += ch;
            break;
        case '\r':
            // A raw carriage return would come back as a line feed.
            out += QLatin1String("&#xd;");
            break;
        default:
            // XML 1.0 cannot carry most control characters, not even as references; writing one
            // would make the whole file unreadable, so such characters are left out.
            if (ProjectXml::isXmlChar(u))
                out += ch;
            break;
        }
    }
}

void indent(QString &out, int level) { out += QString(level * 4, QLatin1Char(' ')); }

void textElement(QString &out, int level, QLatin1String name, const QString &value)
{
    indent(out, level);
    out += QLatin1Char('<');
    out += name;
    out += QLatin1Char('>');
    appendText(out, value);
    out += QLatin1String("</");
    out += name;
    out += QLatin1String(">\n");
}

void intElement(QString &out, int level, QLatin1String name, int value)
{
    textElement(out, level, name, QString::number(value));
}

void attributeElement(QString &out, int level, QLatin1String name, int value)
{
    indent(out, level);
    out += QLatin1Char('<');
    out += name;
    out += QLatin1Char(' ');
    out += name;
    out += QLatin1String("=\"");
    out += QString::number(value);
    out += QLatin1String("\"/>\n");
}

void writeControl(QString &out, const ControlRecord &c)
{
    indent(out, 2);
    out += QLatin1String("<ClassName ClassName=\"");
    out += c.className();
    out += QLatin1String("\">\n");
    // Only a given name is written, so a project without names keeps its old bytes.
    if (!c.name.isEmpty())
        textElement(out, 3, QLatin1String("name"), c.name);
    intElement(out, 3, QLatin1String("id"), c.id);
    intElement(out, 3, QLatin1String("x"), c.x);
    intElement(out, 3, QLatin1String("y"), c.y);
    intElement(out, 3, QLatin1String("w"), c.w);
    intElement(out, 3, QLatin1String("h"), c.h);
    textElement(out, 3, QLatin1String("text"), c.text);
    intElement(out, 3, QLatin1String("fontSize"), c.fontSize);
    intElement(out, 3, QLatin1String("hAlign"), c.hAlign);
    intElement(out, 3, QLatin1String("vAlign"), c.vAlign);
    intElement(out, 3, QLatin1String("fontColorNum"), c.fontColorNum);
    intElement(out, 3, QLatin1String("backgroundColorNum"), c.backgroundColorNum);
    intElement(out, 3, QLatin1String("pressColorNum"), c.pressColorNum);
    intElement(out, 3, QLatin1String("imageNum"), c.imageNum);
    intElement(out, 3, QLatin1String("cutImageNum"), c.cutImageNum);
    intElement(out, 3, QLatin1String("backgroundImageNum"), c.backgroundImageNum);
    intElement(out, 3, QLatin1String("backgroundCutImageNum"), c.backgroundCutImageNum);
    intElement(out, 3, QLatin1String("pressImageNum"), c.pressImageNum);
    intElement(out, 3, QLatin1String("pressCutImageNum"), c.pressCutImageNum);
    intElement(out, 3, QLatin1String("progType"), c.progType);
    intElement(out, 3, QLatin1String("style"), c.style);
    intElement(out, 3, QLatin1String("styleColorNum"), c.styleColorNum);
    intElement(out, 3, QLatin1String("pointerX"), c.pointerX);
    intElement(out, 3, QLatin1String("pointerY"), c.pointerY);
    intElement(out, 3, QLatin1String("pointerW"), c.pointerW);
    intElement(out, 3, QLatin1String("pointerL"), c.pointerL);
    intElement(out, 3, QLatin1String("pointerAngle"), c.pointerAngle);
    indent(out, 2);
    out += QLatin1String("</ClassName>\n");
}

void writePrimitive(QString &out, const QMyDrawType &d)
{
    indent(out, 2);
    out += QLatin1String("<DrawClassName DrawClassName=\"");
    out += QString::number(d.drawType());
    out += QLatin1String("\">\n");
    intElement(out, 3, QLatin1String("drawX"), d.x());
    intElement(out, 3, QLatin1String("drawY"), d.y());
    intElement(out, 3, QLatin1String("drawW"), d.width());
    intElement(out, 3, QLatin1String("drawH"), d.height());
    intElement(out, 3, QLatin1String("drawX1"), d.x1());
    intElement(out, 3, QLatin1String("drawY1"), d.y1());
    intElement(out, 3, QLatin1String("drawX2"), d.x2());
    intElement(out, 3, QLatin1String("drawY2"), d.y2());
    intElement(out, 3, QLatin1String("drawR"), d.radius());
    intElement(out, 3, QLatin1String("drawColorNum"), d.colorNum());
    indent(out, 2);
    out += QLatin1String("</DrawClassName>\n");
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

// The file with the first text of frame/<name> replaced, in every "frame", and every other byte
// kept. Only for files in the plain form the fast tokenizer takes; false otherwise.
bool spliceFrameValue(const QByteArray &bytes, const QString &name, const QString &value, QByteArray *out)
{
    using ProjectXml::Event;
    ProjectXml::FastSource source(bytes, ProjectFile::MaxDepth);
    const ProjectXml::Tag tag = ProjectXml::tagOf(name);
    QVector<QPair<int, int>> ranges;
    int depth = 0;
    bool inFrame = false;
    bool found = false;
    Event e;
    bool pending = false;  // e was pulled to look past a start tag and is still to be walked
    while (pending || source.next(&e)) {
        pending = false;
        if (e.type == Event::End) {
            --depth;
            continue;
        }
        if (e.type != Event::Start)
            continue;
        ++depth;
        if (depth == 2) {
            inFrame = e.tag == ProjectXml::Frame;
            found = false;
        } else if (depth == 3 && inFrame && !found && e.tag == tag) {
            found = true;
            if (source.next(&e)) {
                if (e.type == Event::Text)
                    ranges.append(qMakePair(e.begin, e.length));
                else
                    pending = true;
            }
        }
    }
    if (source.failed())
        return false;
    QString escaped;
    appendText(escaped, value);
    const QByteArray replacement = escaped.toUtf8();
    *out = bytes;
    for (int i = ranges.size() - 1; i >= 0; --i)
        out->replace(ranges.at(i).first, ranges.at(i).second, replacement);
    return true;
}

// Sets the text of frame/<name> in every "frame" of the file, keeping everything else.
bool updateFrameValue(const QString &path, const QString &name, const QString &value)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > ProjectFile::MaxFileBytes)
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    // Files as the editor writes them are changed in place; the DOM would also drop texts made
    // only of spaces from the controls.
    QByteArray spliced;
    if (spliceFrameValue(bytes, name, value, &spliced))
        return writeAtomically(path, spliced, nullptr);
    // The same guard as the reader: the DOM must never see deep nesting.
    if (!ProjectFile::checkWellFormed(bytes, path, nullptr))
        return false;
    QDomDocument doc;
    if (!doc.setContent(bytes))
        return false;
    ProjectFile::normalizeDeclaration(doc);
    const QDomElement root = doc.documentElement();
    for (QDomElement frame = root.firstChildElement(QStringLiteral("frame")); !frame.isNull();
         frame = frame.nextSiblingElement(QStringLiteral("frame"))) {
        const QDomElement e = frame.firstChildElement(name);
        const QDomNode first = e.firstChild();
        if (first.isText())
            first.toText().setData(value);
    }
    QByteArray out;
    {
        QTextStream stream(&out);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        // Qt 6 streams are UTF-8 already.
        stream.setCodec("UTF-8");
#endif
        doc.save(stream, 4, QDomNode::EncodingFromDocument);
    }
    return writeAtomically(path, out, nullptr);
}

}  // namespace

namespace ProjectFile {

void normalizeDeclaration(QDomDocument &doc)
{
    // The parser hands the declaration back with single quotes; keep the file's usual form.
    QDomNode first = doc.firstChild();
    if (first.isProcessingInstruction() && first.nodeName() == QLatin1String("xml"))
        first.toProcessingInstruction().setData(QStringLiteral("version=\"1.0\" encoding=\"UTF-8\""));
}

QByteArray toXml(const ProjectData &data)
{
    QString out;
    out.reserve(512 + data.pages.size() * 4096);
    out += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui>\n");
    indent(out, 1);
    out += QLatin1String("<frame frame=\"frame\">\n");
    intElement(out, 2, QLatin1String("frameW"), data.frameW);
    intElement(out, 2, QLatin1String("frameH"), data.frameH);
    intElement(out, 2, QLatin1String("parentImageNum"), data.parentImageNum);
    intElement(out, 2, QLatin1String("parentBackgroundNum"), data.parentBackgroundNum);
    intElement(out, 2, QLatin1String("screenType"), data.screenType);
    textElement(out, 2, QLatin1String("dpi"), data.dpi);
    textElement(out, 2, QLatin1String("baud"), data.baud);
    intElement(out, 2, QLatin1String("blValue"), data.blValue);
    intElement(out, 2, QLatin1String("logo1"), data.logo1);
    intElement(out, 2, QLatin1String("logo2"), data.logo2);
    intElement(out, 2, QLatin1String("logox"), data.logoX);
    intElement(out, 2, QLatin1String("logoy"), data.logoY);
    intElement(out, 2, QLatin1String("logow"), data.logoW);
    intElement(out, 2, QLatin1String("logoh"), data.logoH);
    intElement(out, 2, QLatin1String("logotime"), data.logoTime);
    intElement(out, 2, QLatin1String("currentPage"), data.currentPage);
    indent(out, 1);
    out += QLatin1String("</frame>\n");
    // Only a picked page is written, so a project that never picked one keeps its old bytes.
    if (data.bootPage >= 0)
        intElement(out, 1, QLatin1String("bootPage"), data.bootPage);
    for (int i = 0; i < data.pages.size(); ++i) {
        const PageData &page = data.pages.at(i);
        indent(out, 1);
        out += QLatin1String("<page id=\"");
        out += QString::number(i + 1);
        out += QLatin1String("\">\n");
        if (!page.name.isEmpty())
            textElement(out, 2, QLatin1String("name"), page.name);
        attributeElement(out, 2, QLatin1String("pageImageNum"), page.imageNum);
        attributeElement(out, 2, QLatin1String("pageBackgroundNum"), page.backgroundNum);
        attributeElement(out, 2, QLatin1String("pageHelpLineNum"), page.helpLineNum);
        attributeElement(out, 2, QLatin1String("pageHelpLineLeft"), page.helpLineLeft);
        attributeElement(out, 2, QLatin1String("pageHelpLineRight"), page.helpLineRight);
        attributeElement(out, 2, QLatin1String("pageHelpLineTop"), page.helpLineTop);
        attributeElement(out, 2, QLatin1String("pageHelpLineBottom"), page.helpLineBottom);
        for (const ControlRecord &c : page.controls)
            writeControl(out, c);
        for (const QMyDrawType &d : page.primitives)
            writePrimitive(out, d);
        indent(out, 1);
        out += QLatin1String("</page>\n");
    }
    out += QLatin1String("</ui>\n");
    return out.toUtf8();
}

bool write(const QString &path, const ProjectData &data, QString *error)
{
    if (data.pages.isEmpty())
        return true;
    return writeAtomically(path, toXml(data), error);
}

bool updateBaud(const QString &path, const QString &baud) { return updateFrameValue(path, QStringLiteral("baud"), baud); }

bool updateBlValue(const QString &path, int blValue)
{
    return updateFrameValue(path, QStringLiteral("blValue"), QString::number(blValue));
}

}  // namespace ProjectFile
