#include "projectfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QString tr(const char *s) { return QCoreApplication::translate("ProjectFile", s); }

QString where(const QString &name, const QXmlStreamReader &xml)
{
    return tr("%1 第%2行第%3列").arg(name).arg(xml.lineNumber()).arg(xml.columnNumber());
}

// A number as the file holds it; anything that is not a whole number in int range reads as 0.
int toNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

// A picture number: numbers that name no picture, including ones too large for an int, are -1.
int pictureNumber(const QString &text, int pictureCount)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok) {
        static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
        return digits.match(t).hasMatch() ? -1 : 0;
    }
    return n < 0 || n >= pictureCount ? -1 : int(n);
}

class Reader {
public:
    Reader(const QByteArray &bytes, int pictureCount, ProjectData *data, const QString &name)
        : m_xml(bytes), m_pictureCount(pictureCount), m_data(data), m_name(name)
    {
    }

    ProjectFile::ReadResult run();

private:
    int picture(const QString &text) const { return pictureNumber(text, m_pictureCount); }
    QString elementText() { return m_xml.readElementText(QXmlStreamReader::IncludeChildElements); }
    void readFrame();
    void readPage();
    bool readControl(PageData &page);
    bool readPrimitive(PageData &page);
    bool refuse(const QString &reason)
    {
        m_reason = reason;
        return false;
    }

    QXmlStreamReader m_xml;
    const int m_pictureCount;
    ProjectData *m_data;
    const QString m_name;
    QString m_reason;
    int m_frameW = 0;
    int m_frameH = 0;
    int m_screenType = 0;
    bool m_sawFrameSize = false;
};

void Reader::readFrame()
{
    while (m_xml.readNextStartElement()) {
        const QString tag = m_xml.name().toString();
        const QString text = elementText();
        ProjectData &d = *m_data;
        if (tag == QLatin1String("frameW")) {
            m_frameW = toNumber(text);
        } else if (tag == QLatin1String("frameH")) {
            m_frameH = toNumber(text);
        } else if (tag == QLatin1String("parentImageNum")) {
            d.parentImageNum = picture(text);
        } else if (tag == QLatin1String("parentBackgroundNum")) {
            d.parentBackgroundNum = toNumber(text);
        } else if (tag == QLatin1String("screenType")) {
            m_screenType = toNumber(text);
        } else if (tag == QLatin1String("dpi")) {
            d.dpi = text.trimmed();
        } else if (tag == QLatin1String("baud")) {
            d.baud = text.trimmed();
        } else if (tag == QLatin1String("blValue")) {
            d.blValue = toNumber(text);
        } else if (tag == QLatin1String("logo1")) {
            d.logo1 = picture(text);
        } else if (tag == QLatin1String("logo2")) {
            d.logo2 = picture(text);
        } else if (tag == QLatin1String("logox")) {
            d.logoX = toNumber(text);
        } else if (tag == QLatin1String("logoy")) {
            d.logoY = toNumber(text);
        } else if (tag == QLatin1String("logow")) {
            d.logoW = toNumber(text);
        } else if (tag == QLatin1String("logoh")) {
            d.logoH = toNumber(text);
        } else if (tag == QLatin1String("logotime")) {
            d.logoTime = toNumber(text);
        } else if (tag == QLatin1String("currentPage")) {
            d.currentPage = toNumber(text);
        }
    }
    // The page size, and with it the orientation, count only when both are usable; otherwise
    // the caller keeps its own.
    if (m_frameW > 0 && m_frameH > 0 && m_frameW <= ProjectFile::MaxFrameSide && m_frameH <= ProjectFile::MaxFrameSide) {
        m_data->frameW = m_frameW;
        m_data->frameH = m_frameH;
        m_data->screenType = m_screenType;
        m_sawFrameSize = true;
    } else {
        m_sawFrameSize = false;
    }
}

bool Reader::readControl(PageData &page)
{
    const QString className = m_xml.attributes().value(QLatin1String("ClassName")).toString();
    ControlKind kind;
    if (!kindFromClassName(className, &kind))
        return refuse(tr("%1：元素“ClassName”的控件类名“%2”未知").arg(where(m_name, m_xml), className));
    ControlRecord c = ControlRecord::make(kind, page.nextControlId(kind));
    while (m_xml.readNextStartElement()) {
        const QString tag = m_xml.name().toString();
        const QString text = elementText();
        if (tag == QLatin1String("text")) {
            c.text = text;
            continue;
        }
        const int v = toNumber(text);
        if (tag == QLatin1String("id"))
            c.id = v;
        else if (tag == QLatin1String("x"))
            c.x = v;
        else if (tag == QLatin1String("y"))
            c.y = v;
        else if (tag == QLatin1String("w"))
            c.w = v;
        else if (tag == QLatin1String("h"))
            c.h = v;
        else if (tag == QLatin1String("fontSize"))
            c.fontSize = v;
        else if (tag == QLatin1String("hAlign"))
            c.hAlign = v;
        else if (tag == QLatin1String("vAlign"))
            c.vAlign = v;
        else if (tag == QLatin1String("fontColorNum"))
            c.fontColorNum = v;
        else if (tag == QLatin1String("backgroundColorNum"))
            c.backgroundColorNum = v;
        else if (tag == QLatin1String("pressColorNum"))
            c.pressColorNum = v;
        else if (tag == QLatin1String("imageNum"))
            c.imageNum = picture(text);
        else if (tag == QLatin1String("cutImageNum"))
            c.cutImageNum = picture(text);
        else if (tag == QLatin1String("backgroundImageNum"))
            c.backgroundImageNum = picture(text);
        else if (tag == QLatin1String("backgroundCutImageNum"))
            c.backgroundCutImageNum = picture(text);
        else if (tag == QLatin1String("pressImageNum"))
            c.pressImageNum = picture(text);
        else if (tag == QLatin1String("pressCutImageNum"))
            c.pressCutImageNum = picture(text);
        else if (tag == QLatin1String("progType"))
            c.progType = v;
        else if (tag == QLatin1String("style"))
            c.style = v;
        else if (tag == QLatin1String("styleColorNum"))
            c.styleColorNum = v;
        else if (tag == QLatin1String("pointerX"))
            c.pointerX = v;
        else if (tag == QLatin1String("pointerY"))
            c.pointerY = v;
        else if (tag == QLatin1String("pointerW"))
            c.pointerW = v;
        else if (tag == QLatin1String("pointerL"))
            c.pointerL = v;
        else if (tag == QLatin1String("pointerAngle"))
            c.pointerAngle = v;
    }
    page.controls.append(c);
    return true;
}

bool Reader::readPrimitive(PageData &page)
{
    const QString kindText = m_xml.attributes().value(QLatin1String("DrawClassName")).toString();
    const int kind = toNumber(kindText);
    if (!QMyDrawType::isValidKind(kind))
        return refuse(tr("%1：元素“DrawClassName”的图形类型“%2”不在1到6之间").arg(where(m_name, m_xml), kindText));
    QMyDrawType d;
    d.setDrawType(kind);
    while (m_xml.readNextStartElement()) {
        const QString tag = m_xml.name().toString();
        const int v = toNumber(elementText());
        if (tag == QLatin1String("drawX"))
            d.setX(v);
        else if (tag == QLatin1String("drawY"))
            d.setY(v);
        else if (tag == QLatin1String("drawW"))
            d.setWidth(v);
        else if (tag == QLatin1String("drawH"))
            d.setHeight(v);
        else if (tag == QLatin1String("drawX1"))
            d.setX1(v);
        else if (tag == QLatin1String("drawY1"))
            d.setY1(v);
        else if (tag == QLatin1String("drawX2"))
            d.setX2(v);
        else if (tag == QLatin1String("drawY2"))
            d.setY2(v);
        else if (tag == QLatin1String("drawR") && QMyDrawType::isCircleKind(kind))
            d.setStoredRadius(v);
        else if (tag == QLatin1String("drawColorNum"))
            d.setColorNum(v);
    }
    page.primitives.append(d);
    return true;
}

ProjectFile::ReadResult Reader::run()
{
    ProjectFile::ReadResult result;
    m_data->pages.clear();
    // Until a usable size is read, the caller's page size and orientation stand.
    m_screenType = m_data->screenType;
    int currentPage = 0;
    bool ok = m_xml.readNextStartElement();  // the root
    while (ok && m_xml.readNextStartElement()) {
        const QStringRef tag = m_xml.name();
        if (tag == QLatin1String("frame")) {
            readFrame();
            result.hasFrameSize = m_sawFrameSize;
            currentPage = m_data->currentPage;
        } else if (tag == QLatin1String("page")) {
            m_data->pages.append(PageData());
            PageData &page = m_data->pages.last();
            while (ok && m_xml.readNextStartElement()) {
                const QStringRef child = m_xml.name();
                if (child == QLatin1String("ClassName")) {
                    ok = readControl(page);
                } else if (child == QLatin1String("DrawClassName")) {
                    ok = readPrimitive(page);
                } else {
                    const int v = toNumber(m_xml.attributes().value(child.toString()).toString());
                    if (child == QLatin1String("pageImageNum"))
                        page.imageNum = pictureNumber(m_xml.attributes().value(child.toString()).toString(),
                                                      m_pictureCount);
                    else if (child == QLatin1String("pageBackgroundNum"))
                        page.backgroundNum = v;
                    else if (child == QLatin1String("pageHelpLineNum"))
                        page.helpLineNum = v;
                    else if (child == QLatin1String("pageHelpLineLeft"))
                        page.helpLineLeft = v;
                    else if (child == QLatin1String("pageHelpLineRight"))
                        page.helpLineRight = v;
                    else if (child == QLatin1String("pageHelpLineTop"))
                        page.helpLineTop = v;
                    else if (child == QLatin1String("pageHelpLineBottom"))
                        page.helpLineBottom = v;
                    m_xml.skipCurrentElement();
                }
            }
        } else if (tag == QLatin1String("ClassName") || tag == QLatin1String("DrawClassName")) {
            // Outside a page a control belongs to the page read last; before any page it is refused.
            if (m_data->pages.isEmpty()) {
                ok = refuse(tr("%1：元素“%2”出现在任何页面之前").arg(where(m_name, m_xml), tag.toString()));
            } else if (tag == QLatin1String("ClassName")) {
                ok = readControl(m_data->pages.last());
            } else {
                ok = readPrimitive(m_data->pages.last());
            }
        } else {
            m_xml.skipCurrentElement();
        }
    }
    // A current page that names no page would leave the editor and the boot jump pointing nowhere.
    m_data->currentPage = currentPage >= 0 && currentPage < m_data->pages.size() ? currentPage : 0;
    if (!ok) {
        result.reason = m_reason;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace

namespace ProjectFile {

bool checkWellFormed(const QByteArray &bytes, const QString &name, QString *reason)
{
    if (bytes.size() > MaxFileBytes) {
        if (reason)
            *reason = tr("%1：文件过大（%2字节，最多%3字节）").arg(name).arg(bytes.size()).arg(MaxFileBytes);
        return false;
    }
    QXmlStreamReader xml(bytes);
    int depth = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth) {
                if (reason)
                    *reason = tr("%1：元素嵌套超过%2层").arg(where(name, xml)).arg(MaxDepth);
                return false;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        if (reason)
            *reason = tr("%1：%2").arg(where(name, xml), xml.errorString());
        return false;
    }
    return true;
}

ReadResult readFromBytes(const QByteArray &bytes, int pictureCount, ProjectData *data, const QString &nameForMessages)
{
    ReadResult result;
    if (data)
        data->pages.clear();
    const QString name = nameForMessages.isEmpty() ? tr("项目文件") : nameForMessages;
    if (!checkWellFormed(bytes, name, &result.reason))
        return result;
    ProjectData scratch;
    return Reader(bytes, pictureCount, data ? data : &scratch, name).run();
}

ReadResult read(const QString &path, int pictureCount, ProjectData *data)
{
    ReadResult result;
    if (data)
        data->pages.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = tr("%1：无法打开文件（%2）").arg(path, file.errorString());
        return result;
    }
    if (file.size() > MaxFileBytes) {
        result.reason = tr("%1：文件过大（%2字节，最多%3字节）").arg(path).arg(file.size()).arg(MaxFileBytes);
        return result;
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    return readFromBytes(bytes, pictureCount, data, path);
}

}  // namespace ProjectFile
