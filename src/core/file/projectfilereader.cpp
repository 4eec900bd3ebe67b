#include "file/projectfile.h"

#include "file/projectxml.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <sys/mman.h>

namespace {

QString tr(const char *s) { return QCoreApplication::translate("ProjectFile", s); }

QString where(const QString &name, const QXmlStreamReader &xml)
{
    return tr("%1 第%2行第%3列").arg(name, QString::number(xml.lineNumber()), QString::number(xml.columnNumber()));
}

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
int alignCode(int v, int current)
{
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

// Walks the events of a document the way the editor reads a project, pulling them one at a time.
class Reader {
public:
    Reader(ProjectXml::EventSource &source, int pictureCount, ProjectData *data, const QString &name)
        : m_source(source), m_pictureCount(pictureCount), m_data(data), m_name(name)
    {
    }

    ProjectFile::ReadResult run();

private:
    using Tag = ProjectXml::Tag;

    const ProjectXml::Event &current() const { return m_current; }
    Tag tag() const { return m_current.tag; }
    bool pull() { return m_source.next(&m_current); }
    // Like QXmlStreamReader: the next child start element, false at the end of the parent.
    bool readNextStartElement()
    {
        return m_source.nextTag(&m_current) && m_current.type == ProjectXml::Event::Start;
    }
    // All text inside the current element, child elements included; ends on its end. An element
    // holding one text alone leaves it in *only (and returns nothing), so that a number can be
    // read from its bytes.
    QString elementText(ProjectXml::Event *only = nullptr, bool *single = nullptr)
    {
        QString out;
        int depth = 1;
        int texts = 0;
        bool children = false;
        ProjectXml::Event first;
        while (depth > 0 && pull()) {
            if (m_current.type == ProjectXml::Event::Start) {
                ++depth;
                children = true;
            } else if (m_current.type == ProjectXml::Event::End) {
                --depth;
            } else {
                if (texts == 0)
                    std::swap(first, m_current);  // the next pull sets every field of m_current
                else if (texts == 1)
                    out = m_source.text(first) + m_source.text(m_current);
                else
                    out += m_source.text(m_current);
                ++texts;
            }
        }
        if (single)
            *single = false;
        if (texts == 1) {
            if (only && !children) {
                std::swap(*only, first);
                *single = true;
                return QString();
            }
            out = m_source.text(first);
        }
        return out;
    }
    // An element's number: from the bytes of its one text, as toNumber reads it otherwise.
    int elementNumber()
    {
        int plain = 0;
        if (m_source.numberElement(&plain))
            return plain;
        ProjectXml::Event only;
        bool single = false;
        const QString text = elementText(&only, &single);
        if (!single)
            return toNumber(text);
        bool ok = false;
        const int v = m_source.number(only, &ok);
        return ok ? v : 0;
    }
    void skipCurrentElement()
    {
        int depth = 1;
        while (depth > 0 && pull()) {
            const ProjectXml::Event::Type t = m_current.type;
            depth += t == ProjectXml::Event::Start ? 1 : (t == ProjectXml::Event::End ? -1 : 0);
        }
    }
    QString where() const
    {
        int line = 0, column = 0;
        m_source.position(current(), &line, &column);
        return tr("%1 第%2行第%3列").arg(m_name, QString::number(line), QString::number(column));
    }
    int picture(const QString &text) const { return pictureNumber(text, m_pictureCount); }
    // A picture number read from the bytes when it is a plain number; as text otherwise.
    int pictureElement()
    {
        int plain = 0;
        if (m_source.numberElement(&plain))
            return plain < 0 || plain >= m_pictureCount ? -1 : plain;
        ProjectXml::Event only;
        bool single = false;
        const QString text = elementText(&only, &single);
        if (!single)
            return picture(text);
        bool ok = false;
        const int v = m_source.number(only, &ok);
        return ok ? (v < 0 || v >= m_pictureCount ? -1 : v) : picture(m_source.text(only));
    }
    // A name as written; whether it is a usable one is judged where names are used.
    QString nameText() { return ProjectXml::savableText(elementText().trimmed()); }
    void readFrame();
    bool readControl(int pageIndex);
    bool readPrimitive(PageData &page);
    bool refuse(const QString &reason)
    {
        m_reason = reason;
        return false;
    }

    ProjectXml::EventSource &m_source;
    ProjectXml::Event m_current;
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
        switch (tag()) {
        case Tag::FrameW: m_frameW = elementNumber(); break;
        case Tag::FrameH: m_frameH = elementNumber(); break;
        case Tag::ParentImageNum: d.parentImageNum = picture(elementText()); break;
        case Tag::ParentBackgroundNum: d.parentBackgroundNum = elementNumber(); break;
        case Tag::ScreenType: m_screenType = elementNumber(); break;
        case Tag::Dpi: d.dpi = ProjectXml::savableText(elementText().trimmed()); break;
        case Tag::Baud: d.baud = ProjectXml::savableText(elementText().trimmed()); break;
        case Tag::BlValue: d.blValue = elementNumber(); break;
        case Tag::Logo1: d.logo1 = picture(elementText()); break;
        case Tag::Logo2: d.logo2 = picture(elementText()); break;
        case Tag::LogoX: d.logoX = elementNumber(); break;
        case Tag::LogoY: d.logoY = elementNumber(); break;
        case Tag::LogoW: d.logoW = elementNumber(); break;
        case Tag::LogoH: d.logoH = elementNumber(); break;
        case Tag::LogoTime: d.logoTime = elementNumber(); break;
        case Tag::CurrentPage: d.currentPage = elementNumber(); break;
        default: skipCurrentElement(); break;
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
        switch (tag()) {
        case Tag::Text: c.text = ProjectXml::savableText(elementText()); break;
        case Tag::Id: c.id = elementNumber(); break;
        case Tag::X: c.x = elementNumber(); break;
        case Tag::Y: c.y = elementNumber(); break;
        case Tag::W: c.w = elementNumber(); break;
        case Tag::H: c.h = elementNumber(); break;
        case Tag::FontSize: c.fontSize = elementNumber(); break;
        case Tag::HAlign: c.hAlign = alignCode(elementNumber(), c.hAlign); break;
        case Tag::VAlign: c.vAlign = alignCode(elementNumber(), c.vAlign); break;
        case Tag::FontColorNum: c.fontColorNum = elementNumber(); break;
        case Tag::BackgroundColorNum: c.backgroundColorNum = elementNumber(); break;
        case Tag::PressColorNum: c.pressColorNum = elementNumber(); break;
        case Tag::ImageNum: c.imageNum = pictureElement(); break;
        case Tag::CutImageNum: c.cutImageNum = pictureElement(); break;
        case Tag::BackgroundImageNum: c.backgroundImageNum = pictureElement(); break;
        case Tag::BackgroundCutImageNum: c.backgroundCutImageNum = pictureElement(); break;
        case Tag::PressImageNum: c.pressImageNum = pictureElement(); break;
        case Tag::PressCutImageNum: c.pressCutImageNum = pictureElement(); break;
        case Tag::ProgType: c.progType = elementNumber(); break;
        case Tag::Style: c.style = elementNumber(); break;
        case Tag::StyleColorNum: c.styleColorNum = elementNumber(); break;
        case Tag::PointerX: c.pointerX = elementNumber(); break;
        case Tag::PointerY: c.pointerY = elementNumber(); break;
        case Tag::PointerW: c.pointerW = elementNumber(); break;
        case Tag::PointerL: c.pointerL = elementNumber(); break;
        case Tag::PointerAngle: c.pointerAngle = elementNumber(); break;
        case Tag::Name: c.name = nameText(); break;
        default: skipCurrentElement(); break;
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
        const int v = elementNumber();
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
    int bootPage = -1;
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
                if (t == Tag::Name) {
                    page.name = nameText();
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
        case Tag::BootPage: {
            // Anything but a whole number is no choice; a number naming no page is dropped below.
            bool isNumber = false;
            const int n = elementText().trimmed().toInt(&isNumber);
            bootPage = isNumber ? n : -1;
            break;
        }
        case Tag::ClassName:
        case Tag::DrawClassName:
            // Outside a page a control belongs to the page read last; before any page it is refused.
            if (m_data->pages.isEmpty())
                ok = refuse(tr("%1：元素“%2”出现在任何页面之前").arg(where(), ProjectXml::tagName(tag())));
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
    m_data->bootPage = bootPage >= 0 && bootPage < m_data->pages.size() ? bootPage : -1;
    if (!ok) {
        result.reason = m_reason;
        return result;
    }
    result.ok = true;
    return result;
}

// The bytes of a file, read into memory of its own. A large file goes into huge pages where the
// system offers them: a fresh buffer of small pages costs a fault and a cleared page for every
// 4 KiB, a tenth of the reading time of a big project.
class ReadBuffer {
public:
    ReadBuffer(QFile &file, qint64 maxBytes)
    {
#ifdef MADV_HUGEPAGE
        constexpr qint64 Huge = 2 * 1024 * 1024;
        if (maxBytes >= 4 * Huge) {
            m_mapped = size_t((maxBytes + Huge - 1) / Huge * Huge);
            void *at = mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (at == MAP_FAILED) {
                m_mapped = 0;
            } else {
                m_memory = static_cast<char *>(at);
                madvise(at, m_mapped, MADV_HUGEPAGE);
                const qint64 got = file.read(m_memory, maxBytes);
                m_bytes = QByteArray::fromRawData(m_memory, int(qMax<qint64>(got, 0)));
                return;
            }
        }
#endif
        m_bytes = file.read(maxBytes);
    }
    ~ReadBuffer()
    {
        m_bytes = QByteArray();
#ifdef MADV_HUGEPAGE
        if (m_memory)
            munmap(m_memory, m_mapped);
#endif
    }
    ReadBuffer(const ReadBuffer &) = delete;
    ReadBuffer &operator=(const ReadBuffer &) = delete;
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    char *m_memory = nullptr;
    size_t m_mapped = 0;
};

}  // namespace

namespace ProjectFile {

bool checkWellFormed(const QByteArray &bytes, const QString &name, QString *reason)
{
    if (bytes.size() > MaxFileBytes) {
        if (reason)
            *reason = tooLarge(name, bytes.size());
        return false;
    }
    QXmlStreamReader xml(bytes);
    int depth = 0;
    bool rootStarted = false;
    bool dtdSeen = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD: {
            const QString misplaced = ProjectXml::misplacedDtd(rootStarted, dtdSeen);
            dtdSeen = true;
            if (!misplaced.isEmpty()) {
                if (reason)
                    *reason = tr("%1：%2").arg(where(name, xml), misplaced);
                return false;
            }
            break;
        }
        case QXmlStreamReader::StartElement:
            rootStarted = true;
            if (++depth > MaxDepth) {
                if (reason)
                    *reason = tr("%1：元素嵌套超过%2层").arg(where(name, xml), QString::number(MaxDepth));
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
    return readFromBytesWith(bytes, pictureCount, data, nameForMessages, true);
}

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
    // The records are built as the document is read, into a copy: the caller's data changes only
    // when the document turns out sound. Project files as the editor writes them take the fast
    // way; anything unusual, including every broken file, is read again by the full parser, which
    // also says where a file is broken.
    const ProjectData start = data ? *data : ProjectData();
    auto walk = [&](ProjectXml::EventSource &source, ReadResult *out) {
        ProjectData built = start;
        *out = Reader(source, pictureCount, &built, name).run();
        // A refusal ends the walk early; the rest of the document must still be sound XML.
        ProjectXml::Event rest;
        while (source.next(&rest)) {
        }
        if (source.failed())
            return false;
        if (data)
            *data = std::move(built);
        return true;
    };
    if (allowFast) {
        ProjectXml::FastSource fast(bytes, MaxDepth);
        if (walk(fast, &result))
            return result;
    }
    ProjectXml::StreamSource stream(bytes, MaxDepth);
    if (walk(stream, &result))
        return result;
    int line = 0, column = 0;
    QString error;
    bool tooDeep = false;
    stream.error(&line, &column, &error, &tooDeep);
    const QString at = tr("%1 第%2行第%3列").arg(name, QString::number(line), QString::number(column));
    result = ReadResult();
    result.reason = tooDeep ? tr("%1：元素嵌套超过%2层").arg(at, QString::number(MaxDepth)) : tr("%1：%2").arg(at, error);
    return result;
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
        result.reason = tooLarge(path, file.size());
        return result;
    }
    // As many bytes as the file has (one more shows a file that grew past the limit meanwhile).
    const ReadBuffer buffer(file, qMin<qint64>(file.size(), MaxFileBytes) + 1);
    return readFromBytes(buffer.bytes(), pictureCount, data, path);
}

}  // namespace ProjectFile
