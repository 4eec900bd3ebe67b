#include "previousreader.h"

#include "previousxml.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QString tr(const char *s) { return QCoreApplication::translate("ProjectFile", s); }

// The names of files go in whole: a "%2" in a name is not a placeholder.
QString tooLarge(const QString &name, qint64 size)
{
    return tr("%1：文件过大（%2字节，最多%3字节）")
        .arg(name, QString::number(size), QString::number(ProjectFile::MaxFileBytes));
}

// A number as the file holds it; anything that is not a whole number in int range reads as 0.
int toNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

// An alignment code: only 0, 1 and 2 mean something; any other value leaves the control's own.
int alignCode(const QString &text, int current)
{
    const int v = toNumber(text);
    return v >= AlignCentre && v <= AlignEnd ? v : current;
}

// A picture number: numbers that name no picture, including ones too large for an int, are -1.
int pictureNumber(const QString &text, int pictureCount)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok) {
        static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
        if (digits.match(t).hasMatch())
            return -1;
    }
    // Anything else that is not a number reads as 0, which must still name a picture.
    return n < 0 || n >= pictureCount ? -1 : int(n);
}

// Walks the events of a document the way the editor reads a project.
class Reader {
public:
    Reader(const PreviousXml::Document &doc, int pictureCount, ProjectData *data, const QString &name)
        : m_doc(doc), m_events(doc.events), m_pictureCount(pictureCount), m_data(data), m_name(name)
    {
    }

    ProjectFile::ReadResult run();

private:
    using Tag = PreviousXml::Tag;

    const PreviousXml::Event &current() const { return m_events.at(m_i); }
    Tag tag() const { return current().tag; }
    // Like QXmlStreamReader: the next child start element, false at the end of the parent.
    bool readNextStartElement()
    {
        while (++m_i < m_events.size()) {
            const PreviousXml::Event::Type t = m_events.at(m_i).type;
            if (t == PreviousXml::Event::Start)
                return true;
            if (t == PreviousXml::Event::End)
                return false;
        }
        return false;
    }
    // All text inside the current element, child elements included; ends on its end.
    QString elementText()
    {
        QString out;
        int depth = 1;
        while (depth > 0 && ++m_i < m_events.size()) {
            const PreviousXml::Event &e = m_events.at(m_i);
            if (e.type == PreviousXml::Event::Start)
                ++depth;
            else if (e.type == PreviousXml::Event::End)
                --depth;
            else
                out += m_doc.text(e);
        }
        return out;
    }
    void skipCurrentElement()
    {
        int depth = 1;
        while (depth > 0 && ++m_i < m_events.size()) {
            const PreviousXml::Event::Type t = m_events.at(m_i).type;
            depth += t == PreviousXml::Event::Start ? 1 : (t == PreviousXml::Event::End ? -1 : 0);
        }
    }
    QString where() const
    {
        int line = 0, column = 0;
        m_doc.position(current(), &line, &column);
        return tr("%1 第%2行第%3列").arg(m_name, QString::number(line), QString::number(column));
    }
    int picture(const QString &text) const { return pictureNumber(text, m_pictureCount); }
    void readFrame();
    bool readControl(int pageIndex);
    bool readPrimitive(PageData &page);
    bool refuse(const QString &reason)
    {
        m_reason = reason;
        return false;
    }

    const PreviousXml::Document &m_doc;
    const QVector<PreviousXml::Event> &m_events;
    int m_i = -1;
    const int m_pictureCount;
    ProjectData *m_data;
    const QString m_name;
    QString m_reason;
    int m_frameW = 0;
    int m_frameH = 0;
    int m_screenType = 0;
    bool m_sawFrameSize = false;
    // QR codes on each page read so far: counting them afresh for every control would make a
    // page of many controls take quadratic time.
    QVector<int> m_qrCodes;
};

void Reader::readFrame()
{
    ProjectData &d = *m_data;
    while (readNextStartElement()) {
        const Tag t = tag();
        const QString text = elementText();
        switch (t) {
        case Tag::FrameW: m_frameW = toNumber(text); break;
        case Tag::FrameH: m_frameH = toNumber(text); break;
        case Tag::ParentImageNum: d.parentImageNum = picture(text); break;
        case Tag::ParentBackgroundNum: d.parentBackgroundNum = toNumber(text); break;
        case Tag::ScreenType: m_screenType = toNumber(text); break;
        case Tag::Dpi: d.dpi = PreviousXml::savableText(text.trimmed()); break;
        case Tag::Baud: d.baud = PreviousXml::savableText(text.trimmed()); break;
        case Tag::BlValue: d.blValue = toNumber(text); break;
        case Tag::Logo1: d.logo1 = picture(text); break;
        case Tag::Logo2: d.logo2 = picture(text); break;
        case Tag::LogoX: d.logoX = toNumber(text); break;
        case Tag::LogoY: d.logoY = toNumber(text); break;
        case Tag::LogoW: d.logoW = toNumber(text); break;
        case Tag::LogoH: d.logoH = toNumber(text); break;
        case Tag::LogoTime: d.logoTime = toNumber(text); break;
        case Tag::CurrentPage: d.currentPage = toNumber(text); break;
        default: break;
        }
    }
    // The page size, and with it the orientation, count only when both are usable; otherwise
    // the caller keeps its own.
    m_sawFrameSize = m_frameW > 0 && m_frameH > 0 && m_frameW <= ProjectFile::MaxFrameSide &&
                     m_frameH <= ProjectFile::MaxFrameSide;
    if (m_sawFrameSize) {
        d.frameW = m_frameW;
        d.frameH = m_frameH;
        d.screenType = m_screenType;
    }
}

bool Reader::readControl(int pageIndex)
{
    PageData &page = m_data->pages[pageIndex];
    int &qrCodes = m_qrCodes[pageIndex];
    const QString className = current().value;
    ControlKind kind;
    if (!kindFromClassName(className, &kind))
        return refuse(tr("%1：元素“ClassName”的控件类名“%2”未知").arg(where(), className));
    const int others = page.controls.size() - qrCodes;
    ControlRecord c = ControlRecord::make(kind, kind == ControlKind::QRCode ? qrCodes : others);
    while (readNextStartElement()) {
        const Tag t = tag();
        const QString text = elementText();
        switch (t) {
        case Tag::Text: c.text = PreviousXml::savableText(text); break;
        case Tag::Id: c.id = toNumber(text); break;
        case Tag::X: c.x = toNumber(text); break;
        case Tag::Y: c.y = toNumber(text); break;
        case Tag::W: c.w = toNumber(text); break;
        case Tag::H: c.h = toNumber(text); break;
        case Tag::FontSize: c.fontSize = toNumber(text); break;
        case Tag::HAlign: c.hAlign = alignCode(text, c.hAlign); break;
        case Tag::VAlign: c.vAlign = alignCode(text, c.vAlign); break;
        case Tag::FontColorNum: c.fontColorNum = toNumber(text); break;
        case Tag::BackgroundColorNum: c.backgroundColorNum = toNumber(text); break;
        case Tag::PressColorNum: c.pressColorNum = toNumber(text); break;
        case Tag::ImageNum: c.imageNum = picture(text); break;
        case Tag::CutImageNum: c.cutImageNum = picture(text); break;
        case Tag::BackgroundImageNum: c.backgroundImageNum = picture(text); break;
        case Tag::BackgroundCutImageNum: c.backgroundCutImageNum = picture(text); break;
        case Tag::PressImageNum: c.pressImageNum = picture(text); break;
        case Tag::PressCutImageNum: c.pressCutImageNum = picture(text); break;
        case Tag::ProgType: c.progType = toNumber(text); break;
        case Tag::Style: c.style = toNumber(text); break;
        case Tag::StyleColorNum: c.styleColorNum = toNumber(text); break;
        case Tag::PointerX: c.pointerX = toNumber(text); break;
        case Tag::PointerY: c.pointerY = toNumber(text); break;
        case Tag::PointerW: c.pointerW = toNumber(text); break;
        case Tag::PointerL: c.pointerL = toNumber(text); break;
        case Tag::PointerAngle: c.pointerAngle = toNumber(text); break;
        default: break;
        }
    }
    page.controls.append(c);
    qrCodes += c.isQRCode() ? 1 : 0;
    return true;
}

bool Reader::readPrimitive(PageData &page)
{
    const QString kindText = current().value;
    const int kind = toNumber(kindText);
    if (!QMyDrawType::isValidKind(kind))
        return refuse(tr("%1：元素“DrawClassName”的图形类型“%2”不在1到6之间").arg(where(), kindText));
    QMyDrawType d;
    d.setDrawType(kind);
    while (readNextStartElement()) {
        const Tag t = tag();
        const int v = toNumber(elementText());
        switch (t) {
        case Tag::DrawX: d.setX(v); break;
        case Tag::DrawY: d.setY(v); break;
        case Tag::DrawW: d.setWidth(v); break;
        case Tag::DrawH: d.setHeight(v); break;
        case Tag::DrawX1: d.setX1(v); break;
        case Tag::DrawY1: d.setY1(v); break;
        case Tag::DrawX2: d.setX2(v); break;
        case Tag::DrawY2: d.setY2(v); break;
        case Tag::DrawR:
            if (QMyDrawType::isCircleKind(kind))
                d.setStoredRadius(v);
            break;
        case Tag::DrawColorNum: d.setColorNum(v); break;
        default: break;
        }
    }
    page.primitives.append(d);
    return true;
}

ProjectFile::ReadResult Reader::run()
{
    ProjectFile::ReadResult result;
    m_data->pages.clear();
    m_screenType = m_data->screenType;
    int currentPage = 0;
    bool ok = readNextStartElement();  // the root
    while (ok && readNextStartElement()) {
        switch (tag()) {
        case Tag::Frame:
            readFrame();
            result.hasFrameSize = m_sawFrameSize;
            currentPage = m_data->currentPage;
            break;
        case Tag::Page: {
            m_data->pages.append(PageData());
            m_qrCodes.append(0);
            PageData &page = m_data->pages.last();
            while (ok && readNextStartElement()) {
                const Tag t = tag();
                if (t == Tag::ClassName) {
                    ok = readControl(m_data->pages.size() - 1);
                    continue;
                }
                if (t == Tag::DrawClassName) {
                    ok = readPrimitive(page);
                    continue;
                }
                const QString &value = current().value;
                switch (t) {
                case Tag::PageImageNum: page.imageNum = picture(value); break;
                case Tag::PageBackgroundNum: page.backgroundNum = toNumber(value); break;
                case Tag::PageHelpLineNum: page.helpLineNum = toNumber(value); break;
                case Tag::PageHelpLineLeft: page.helpLineLeft = toNumber(value); break;
                case Tag::PageHelpLineRight: page.helpLineRight = toNumber(value); break;
                case Tag::PageHelpLineTop: page.helpLineTop = toNumber(value); break;
                case Tag::PageHelpLineBottom: page.helpLineBottom = toNumber(value); break;
                default: break;
                }
                skipCurrentElement();
            }
            break;
        }
        case Tag::ClassName:
        case Tag::DrawClassName:
            // Outside a page a control belongs to the page read last; before any page it is refused.
            if (m_data->pages.isEmpty())
                ok = refuse(tr("%1：元素“%2”出现在任何页面之前").arg(where(), PreviousXml::tagName(tag())));
            else if (tag() == Tag::ClassName)
                ok = readControl(m_data->pages.size() - 1);
            else
                ok = readPrimitive(m_data->pages.last());
            break;
        default:
            skipCurrentElement();
            break;
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

namespace PreviousReader {

using ProjectFile::ReadResult;
using ProjectFile::MaxDepth;
using ProjectFile::MaxFileBytes;

ReadResult readFromBytesWith(const QByteArray &bytes, int pictureCount, ProjectData *data,
                             const QString &nameForMessages, bool allowFast)
{
    ReadResult result;
    if (data)
        data->pages.clear();
    const QString name = nameForMessages.isEmpty() ? tr("项目文件") : nameForMessages;
    if (bytes.size() > MaxFileBytes) {
        result.reason = tooLarge(name, bytes.size());
        return result;
    }
    PreviousXml::Document doc;
    if (!allowFast || !PreviousXml::tokenizeFast(bytes, MaxDepth, &doc)) {
        int line = 0, column = 0;
        QString error;
        bool tooDeep = false;
        if (!PreviousXml::tokenizeStream(bytes, MaxDepth, &doc, &line, &column, &error, &tooDeep)) {
            const QString at = tr("%1 第%2行第%3列").arg(name, QString::number(line), QString::number(column));
            result.reason = tooDeep ? tr("%1：元素嵌套超过%2层").arg(at, QString::number(MaxDepth)) : tr("%1：%2").arg(at, error);
            return result;
        }
    }
    ProjectData scratch;
    return Reader(doc, pictureCount, data ? data : &scratch, name).run();
}

}  // namespace PreviousReader
