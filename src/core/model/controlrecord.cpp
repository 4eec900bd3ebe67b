#include "model/controlrecord.h"

#include <QCoreApplication>

#include <limits>

const QStringList &ClassNameList()
{
    static const QStringList names = {
        QStringLiteral("QLabel"),       QStringLiteral("QLabelNum"), QStringLiteral("QPushButton"),
        QStringLiteral("QProgressBar"), QStringLiteral("QPointer"),  QStringLiteral("QRcode"),
    };
    return names;
}

QString classNameOf(ControlKind kind) { return ClassNameList().value(static_cast<int>(kind)); }

bool kindFromClassName(const QString &className, ControlKind *kind)
{
    const int i = ClassNameList().indexOf(className);
    if (i < 0)
        return false;
    if (kind)
        *kind = static_cast<ControlKind>(i);
    return true;
}

QString defaultQRCodeText() { return QStringLiteral("https://www.example.com"); }

const QList<int> &fontSizeList()
{
    static const QList<int> sizes = {16, 24, 32, 48, 72, 96};
    return sizes;
}

ControlRecord ControlRecord::make(ControlKind kind, int id)
{
    ControlRecord r;
    r.kind = kind;
    r.id = id;
    switch (kind) {
    case ControlKind::Text:
        r.text = QCoreApplication::translate("QMyLabel", "文本");
        r.style = 2;
        break;
    case ControlKind::Number:
        r.text = QStringLiteral("0");
        r.style = 2;
        break;
    case ControlKind::Button:
        r.text = QCoreApplication::translate("QMyPushButton", "按键");
        r.style = 2;
        break;
    case ControlKind::Progress:
        r.w = 100;
        r.h = 20;
        r.text = QStringLiteral("10");
        r.progType = 0;
        break;
    case ControlKind::Pointer:
        r.w = 50;
        r.h = 50;
        r.fontColorNum = 1;
        r.pointerW = 2;
        r.pointerL = 25;
        r.pointerAngle = 0;
        break;
    case ControlKind::QRCode:
        r.w = 53;
        r.h = 53;
        r.text = defaultQRCodeText();
        break;
    }
    return r;
}

namespace {

// Values from a damaged file can be anywhere in int range; sums must not overflow.
int clampToInt(qint64 v)
{
    return int(qBound(qint64(std::numeric_limits<int>::min()), v, qint64(std::numeric_limits<int>::max())));
}

}  // namespace

void ControlRecord::settlePointer()
{
    w = h = clampToInt(2 * qint64(pointerL));
    pointerX = clampToInt(qint64(x) + w / 2);
    pointerY = clampToInt(qint64(y) + h / 2);
}

void ControlRecord::settle()
{
    if (kind == ControlKind::Pointer) {
        // A damaged length must not overflow the doubled side.
        pointerL = qBound(0, pointerL, 4096);
        settlePointer();
    } else if (kind == ControlKind::QRCode) {
        h = w;
    }
}

void ControlRecord::setPointerX(int v)
{
    pointerX = v;
    x = clampToInt(qint64(v) - w / 2);
}

void ControlRecord::setPointerY(int v)
{
    pointerY = v;
    y = clampToInt(qint64(v) - h / 2);
}

void ControlRecord::setPointerL(int v)
{
    pointerL = v;
    x = clampToInt(qint64(pointerX) - v);
    y = clampToInt(qint64(pointerY) - v);
}

bool ControlRecord::operator==(const ControlRecord &o) const
{
    return kind == o.kind && id == o.id && x == o.x && y == o.y && w == o.w && h == o.h && text == o.text &&
           fontSize == o.fontSize && hAlign == o.hAlign && vAlign == o.vAlign && fontColorNum == o.fontColorNum &&
           backgroundColorNum == o.backgroundColorNum && pressColorNum == o.pressColorNum &&
           imageNum == o.imageNum && cutImageNum == o.cutImageNum && backgroundImageNum == o.backgroundImageNum &&
           backgroundCutImageNum == o.backgroundCutImageNum && pressImageNum == o.pressImageNum &&
           pressCutImageNum == o.pressCutImageNum && progType == o.progType && style == o.style &&
           styleColorNum == o.styleColorNum && pointerX == o.pointerX && pointerY == o.pointerY &&
           pointerW == o.pointerW && pointerL == o.pointerL && pointerAngle == o.pointerAngle && name == o.name;
}
