#include "script/scripts.h"

#include "script/instructions.h"
#include "script/moduletext.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

QString tr(const char *s) { return QCoreApplication::translate("Script", s); }

// Digits, points and minus signs only, as the number editor accepts.
bool isNumberText(const QString &text)
{
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (!(u >= '0' && u <= '9') && u != '.' && u != '-')
            return false;
    }
    return true;
}

// The message of a fault, with the page, class and number of the control or without them.
struct FaultText {
    const char *onPage;
    const char *alone;
};

FaultText faultText(TextFault fault)
{
    switch (fault) {
    case TextFault::LineBreak:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的文本含有换行符，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "文本含有换行符，请您修改！")};
    case TextFault::Quote:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的文本含有单引号，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "文本含有单引号，请您修改！")};
    case TextFault::Semicolon:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的文本含有分号，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "文本含有分号，请您修改！")};
    case TextFault::EmptyNumber:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的数值为空，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "数值不能为空，请您修改！")};
    case TextFault::NumberFormat:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的数值格式不对，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "数值格式不对，请您修改！")};
    case TextFault::Charset:
        return {QT_TRANSLATE_NOOP("Script", "第%1页%2控件%3的文本含有显示屏不支持的字符，请您修改！"),
                QT_TRANSLATE_NOOP("Script", "文本含有显示屏不支持的字符，请您修改！")};
    case TextFault::None: break;
    }
    return {"", ""};
}

}  // namespace

TextFault textFault(ControlKind kind, const QString &text)
{
    // Only the text that goes into the instruction matters: progress bars send a number and
    // pointers nothing.
    if (kind == ControlKind::Progress || kind == ControlKind::Pointer)
        return TextFault::None;
    // Texts go between single quotes (text, button) or bare (number, QR code), never escaped. A
    // line break ends the script line and ";" the instruction wherever they stand; a quote ends a
    // quoted text. Commas, brackets and quotes in a bare QR text stay inside the instruction,
    // whose text the module takes as everything between the position and the last two numbers.
    const bool quoted = kind == ControlKind::Text || kind == ControlKind::Button;
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return TextFault::LineBreak;
    if (quoted && text.contains(QLatin1Char('\'')))
        return TextFault::Quote;
    if (kind == ControlKind::QRCode && text.contains(QLatin1Char(';')))
        return TextFault::Semicolon;
    if (kind == ControlKind::Number) {
        // Sent bare: a comma, bracket or semicolon would end the instruction early, and a text
        // that leaves nothing to send ("" or ".") an empty field the module cannot read.
        if (!isNumberText(text))
            return TextFault::NumberFormat;
        if (numberArgs(text).text.isEmpty())
            return TextFault::EmptyNumber;
    }
    if (!ModuleText::canEncode(text))
        return TextFault::Charset;
    return TextFault::None;
}

QString controlTextProblem(ControlKind kind, const QString &text)
{
    const TextFault fault = textFault(kind, text);
    return fault == TextFault::None ? QString() : tr(faultText(fault).alone);
}

bool findUnsafeText(const PageData &page, int pageIndex, TextProblem *problem)
{
    for (const ControlRecord &c : page.controls) {
        // A button with a picture sends an empty text.
        if (c.kind == ControlKind::Button && (c.imageNum != -1 || c.cutImageNum != -1))
            continue;
        const TextFault fault = textFault(c.kind, c.text);
        if (fault == TextFault::None)
            continue;
        if (problem) {
            problem->pageIndex = pageIndex;
            problem->controlId = c.id;
            problem->className = c.className();
            problem->message = tr(faultText(fault).onPage).arg(pageIndex).arg(c.className()).arg(c.id);
        }
        return true;
    }
    return false;
}

QString pageBackgroundText(const PageData &page, const PictureLibrary &pictures)
{
    if (page.imageNum == -1)
        return QStringLiteral("CLR(%1);").arg(page.backgroundNum);
    const QSize s = pictures.sizeOf(page.imageNum);
    return QStringLiteral("PIC(%1,0,0,%2,%3);").arg(page.imageNum).arg(qMax(0, s.width())).arg(qMax(0, s.height()));
}

bool buildPageScript(const PageData &page, int pageIndex, const PictureLibrary &pictures, QString *script,
                     TextProblem *problem)
{
    if (findUnsafeText(page, pageIndex, problem))
        return false;
    QString out = pageBackgroundText(page, pictures);
    for (const QMyDrawType &d : page.primitives)
        out += d.instructionTextFor();

    QVector<const ControlRecord *> others;
    QVector<const ControlRecord *> qrCodes;
    for (const ControlRecord &c : page.controls)
        (c.isQRCode() ? qrCodes : others).append(&c);
    std::stable_sort(others.begin(), others.end(),
                     [](const ControlRecord *a, const ControlRecord *b) { return a->id < b->id; });
    for (const ControlRecord *c : others)
        out += instructionText(*c);
    for (const ControlRecord *c : qrCodes)
        out += instructionText(*c);
    out += QLatin1String("\r\n");
    if (script)
        *script = out;
    return true;
}

QString buildBootScript(const BootSettings &boot)
{
    QString out = QStringLiteral("DIR(%1);BL(%2);").arg(boot.direction).arg(boot.backlight);
    if (boot.gifFirst != -1 && boot.gifLast != -1) {
        for (qint64 i = boot.gifFirst; i <= boot.gifLast; ++i) {
            out += QStringLiteral("GIF(%1,%2,%3,%4,%5);DELAYMS(%6);")
                       .arg(i)
                       .arg(boot.gifX)
                       .arg(boot.gifY)
                       .arg(boot.gifW)
                       .arg(boot.gifH)
                       .arg(boot.gifIntervalMs);
        }
    }
    out += QStringLiteral("JUMP(%1);\r\n").arg(boot.bootPage);
    return out;
}
