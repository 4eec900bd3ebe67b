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

}  // namespace

bool findUnsafeText(const PageData &page, int pageIndex, TextProblem *problem)
{
    for (const ControlRecord &c : page.controls) {
        // Only the text that goes into the instruction matters: progress bars send a number,
        // pointers nothing, and a button with a picture an empty text.
        if (c.kind == ControlKind::Progress || c.kind == ControlKind::Pointer)
            continue;
        if (c.kind == ControlKind::Button && (c.imageNum != -1 || c.cutImageNum != -1))
            continue;
        QString message;
        const bool quotedText = c.kind == ControlKind::Text || c.kind == ControlKind::Button;
        if (c.text.contains(QLatin1Char('\r')) || c.text.contains(QLatin1Char('\n')))
            message = tr("第%1页%2控件%3的文本含有换行符，请您修改！");
        else if (quotedText && c.text.contains(QLatin1Char('\'')))
            message = tr("第%1页%2控件%3的文本含有单引号，请您修改！");
        else if (c.kind == ControlKind::Number && !isNumberText(c.text))
            // Sent bare: a comma, bracket or semicolon would end the instruction early.
            message = tr("第%1页%2控件%3的数值格式不对，请您修改！");
        else if (!ModuleText::canEncode(c.text))
            message = tr("第%1页%2控件%3的文本含有显示屏不支持的字符，请您修改！");
        if (message.isEmpty())
            continue;
        if (problem) {
            problem->pageIndex = pageIndex;
            problem->controlId = c.id;
            problem->className = c.className();
            problem->message = message.arg(pageIndex).arg(c.className()).arg(c.id);
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
