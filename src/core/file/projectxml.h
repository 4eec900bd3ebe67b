#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The XML of a project file as start, end and text events, pulled one at a time by the reader so
// that no list of them is ever held. Two tokenizers give them: a fast one for the plain UTF-8 XML
// that project files are, which gives up on anything else (DTDs, CDATA, other encodings, any
// doubt about well-formedness), and one built on QXmlStreamReader that handles everything and
// says where a document is broken.
namespace ProjectXml {

// Tag names the reader knows; anything else is Unknown.
enum Tag : qint16 {
    Unknown = -1,
    Frame,
    Page,
    ClassName,
    DrawClassName,
    // frame
    FrameW, FrameH, ParentImageNum, ParentBackgroundNum, ScreenType, Dpi, Baud, BlValue, Logo1, Logo2,
    LogoX, LogoY, LogoW, LogoH, LogoTime, CurrentPage,
    // page fields
    PageImageNum, PageBackgroundNum, PageHelpLineNum, PageHelpLineLeft, PageHelpLineRight, PageHelpLineTop,
    PageHelpLineBottom,
    // control
    Id, X, Y, W, H, Text, FontSize, HAlign, VAlign, FontColorNum, BackgroundColorNum, PressColorNum, ImageNum,
    CutImageNum, BackgroundImageNum, BackgroundCutImageNum, PressImageNum, PressCutImageNum, ProgType, Style,
    StyleColorNum, PointerX, PointerY, PointerW, PointerL, PointerAngle,
    // primitive
    DrawX, DrawY, DrawW, DrawH, DrawX1, DrawY1, DrawX2, DrawY2, DrawR, DrawColorNum,
    // root, after "frame"
    BootPage,
    // page and control: the firmware's name
    Name,
};

Tag tagOf(const QString &name);
QString tagName(Tag tag);

struct Event {
    enum Type : quint8 { Start, End, Text };
    Type type = Start;
    Tag tag = Unknown;
    // Start: the value of the attribute named like the element (null when there is none).
    // Text: the characters (for the fast tokenizer only once decoded, see Document::text).
    QString value;
    // Fast tokenizer: byte range of a text, or the offset just past a start tag.
    int begin = 0;
    int length = 0;
    // Stream tokenizer: where a start tag ended.
    int line = 0;
    int column = 0;
};

// Events of one document, one at a time. next() is false at the end of the document and where
// it cannot go on (failed() then says so).
class EventSource {
public:
    virtual ~EventSource() = default;
    virtual bool next(Event *e) = 0;
    // The next start or end event, passing over texts.
    virtual bool nextTag(Event *e);
    // Right after a start event: when the element holds one plain number and nothing else
    // ("480", " -12 "), its value, the element's end passed; false, nothing passed, otherwise.
    virtual bool numberElement(int *value);
    virtual bool failed() const = 0;
    // The characters of a text event.
    virtual QString text(const Event &e) const = 0;
    // The number a text event holds, read as the reader reads numbers: a whole number in int
    // range, space around it allowed; *ok false otherwise.
    virtual int number(const Event &e, bool *ok) const;
    // Line and column (1-based) just past a start tag.
    virtual void position(const Event &e, int *line, int *column) const = 0;
};

// The fast tokenizer as a source: fails on anything but plain, well-formed UTF-8 XML within
// maxDepth (the caller then starts again with the stream source). The bytes must outlive it.
class FastSource : public EventSource {
public:
    FastSource(const QByteArray &bytes, int maxDepth);
    ~FastSource() override;
    bool next(Event *e) override;
    bool numberElement(int *value) override;
    bool failed() const override;
    QString text(const Event &e) const override;
    int number(const Event &e, bool *ok) const override;
    void position(const Event &e, int *line, int *column) const override;

private:
    class Private;
    Private *d;
};

// The stream tokenizer as a source: when it fails, error() says where and why (a document that
// nests deeper than maxDepth sets tooDeep).
class StreamSource : public EventSource {
public:
    StreamSource(const QByteArray &bytes, int maxDepth);
    ~StreamSource() override;
    bool next(Event *e) override;
    bool failed() const override;
    QString text(const Event &e) const override;
    void position(const Event &e, int *line, int *column) const override;
    void error(int *line, int *column, QString *reason, bool *tooDeep) const;

private:
    class Private;
    Private *d;
};

// Every event of a document in a list (for tools that rewrite a small file in place).
struct Document {
    QVector<Event> events;
    QByteArray bytes;  // kept for the fast tokenizer's lazy texts and positions
    bool fast = false;

    // The characters of a text event.
    QString text(const Event &e) const;
    // Line and column (1-based) just past a start tag.
    void position(const Event &e, int *line, int *column) const;
};

// The fast tokenizer: false when the document is anything but plain, well-formed UTF-8 XML within
// maxDepth; the caller then uses the stream tokenizer.
bool tokenizeFast(const QByteArray &bytes, int maxDepth, Document *doc);
// The stream tokenizer: false when the document is not well-formed (reason holds the parser's
// message) or nests deeper than maxDepth (tooDeep set); line and column say where.
bool tokenizeStream(const QByteArray &bytes, int maxDepth, Document *doc, int *line, int *column,
                    QString *reason, bool *tooDeep);

// Where a document type declaration may not stand: after the root element has started, or as a
// second one. Qt 5's stream parser refuses these with its own words, Qt 6's passes them on; the
// same words are given with both, so a file reads alike whichever the program was built with.
// Empty where the declaration may stand.
QString misplacedDtd(bool rootStarted, bool dtdBefore);

// True for the characters an XML 1.0 document can carry.
inline bool isXmlChar(uint c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

// The text without the characters a project file cannot carry (kept surrogate pairs aside).
QString savableText(const QString &text);

}  // namespace ProjectXml
