#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The XML of a project file as a flat list of start, end and text events, for the reader to walk.
// Two tokenizers fill it: a fast one for the plain UTF-8 XML that project files are, which gives
// up on anything else (DTDs, CDATA, other encodings, any doubt about well-formedness), and one
// built on QXmlStreamReader that handles everything and says where a document is broken.
namespace PreviousXml {

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

}  // namespace PreviousXml
