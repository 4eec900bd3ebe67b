#include "script/instructions.h"

#include "model/controlrecord.h"

#include <QStringList>

namespace {

// Joins integer and text arguments into "NAME(a,b,...);" without treating '%' inside a text as
// a placeholder.
class Args {
public:
    Args &operator<<(int v)
    {
        m_parts << QString::number(v);
        return *this;
    }
    Args &operator<<(const QString &s)
    {
        m_parts << s;
        return *this;
    }
    QString call(const char *name) const
    {
        return QLatin1String(name) + QLatin1Char('(') + m_parts.join(QLatin1Char(',')) + QLatin1String(");");
    }

private:
    QStringList m_parts;
};

QString quoted(const QString &s) { return QLatin1Char('\'') + s + QLatin1Char('\''); }

int firstSet(int a, int b) { return a != -1 ? a : (b != -1 ? b : 0); }

QString textInstruction(const ControlRecord &r)
{
    return (Args() << r.x << r.y << r.w << r.h << r.fontSize << quoted(r.text) << textStyleCode(r.style)
                   << r.hAlign << r.vAlign << r.fontColorNum << r.backgroundColorNum << r.styleColorNum)
        .call("TXT");
}

QString numberInstruction(const ControlRecord &r)
{
    const NumberArgs n = numberArgs(r.text);
    return (Args() << r.x << r.y << r.w << r.h << r.fontSize << n.text << n.width << textStyleCode(r.style)
                   << r.hAlign << r.vAlign << r.fontColorNum << r.backgroundColorNum << r.styleColorNum)
        .call("NUM");
}

QString buttonInstruction(const ControlRecord &r)
{
    const int released = firstSet(r.imageNum, r.cutImageNum);
    const int pressed = firstSet(r.pressImageNum, r.pressCutImageNum);
    const bool hasPicture = r.imageNum != -1 || r.cutImageNum != -1;
    const QString text = hasPicture ? QString() : r.text;
    int mode = 64;
    if (r.imageNum != -1 || r.pressImageNum != -1)
        mode = 16;
    else if (r.cutImageNum == -1 && r.pressCutImageNum == -1)
        mode = 32;
    return (Args() << r.x << r.y << r.w << r.h << r.fontSize << quoted(text) << released << pressed
                   << mode + buttonStyleCode(r.style) << r.hAlign << r.vAlign << r.fontColorNum
                   << r.backgroundColorNum << r.pressColorNum << r.styleColorNum)
        .call("BUTTON");
}

QString progressInstruction(const ControlRecord &r)
{
    const int fore = firstSet(r.imageNum, r.cutImageNum);
    const int back = firstSet(r.backgroundImageNum, r.backgroundCutImageNum);
    int mode = 3;
    if (r.imageNum != -1 || r.backgroundImageNum != -1)
        mode = 2;
    else if (r.cutImageNum == -1 && r.backgroundCutImageNum == -1)
        mode = 0;
    const int direction = r.progType + (r.style == 1 ? 8 : 0);
    return (Args() << r.x << r.y << r.w << r.h << progressValue(r.text) << fore << back << mode << direction
                   << r.fontColorNum << r.backgroundColorNum << r.styleColorNum)
        .call("PROG");
}

QString pointerInstruction(ControlRecord r)
{
    r.settlePointer();
    return (Args() << r.pointerX << r.pointerY << r.pointerAngle << r.pointerL << r.pointerW << r.fontColorNum)
        .call("POINT");
}

QString qrInstruction(const ControlRecord &r)
{
    return (Args() << r.x << r.y << r.text << r.w << r.fontColorNum).call("QRCODE");
}

}  // namespace

int textStyleCode(int style)
{
    switch (style) {
    case 0: return 4;
    case 1: return 6;
    case 2: return 0;
    case 3: return 2;
    default: return 0;
    }
}

int buttonStyleCode(int style)
{
    switch (style) {
    case 0: return 4;
    case 1: return 6;
    case 2: return 1;
    case 3: return 0;
    case 4: return 2;
    default: return 0;
    }
}

NumberArgs numberArgs(const QString &text)
{
    NumberArgs n{text, 0};
    if (text.contains(QLatin1Char('.'))) {
        const QStringList parts = text.split(QLatin1Char('.'));
        if (parts.size() == 2) {
            n.width = parts.at(0).size();
            if (parts.at(1).isEmpty())
                n.text.chop(1);
        }
    } else {
        n.width = text.size() - (text.contains(QLatin1Char('-')) ? 1 : 0);
    }
    return n;
}

int progressValue(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok)
        return 0;
    return v > 100 ? 100 : v;
}

QString instructionText(const ControlRecord &r)
{
    switch (r.kind) {
    case ControlKind::Text: return textInstruction(r);
    case ControlKind::Number: return numberInstruction(r);
    case ControlKind::Button: return buttonInstruction(r);
    case ControlKind::Progress: return progressInstruction(r);
    case ControlKind::Pointer: return pointerInstruction(r);
    case ControlKind::QRCode: return qrInstruction(r);
    }
    return QString();
}
