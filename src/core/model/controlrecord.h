#pragma once

#include <QString>
#include <QStringList>

// The six control kinds. The value is the index into ClassNameList, which the palette, the
// factories and the project file use.
enum class ControlKind { Text = 0, Number = 1, Button = 2, Progress = 3, Pointer = 4, QRCode = 5 };

constexpr int ControlKindCount = 6;

// "QLabel", "QLabelNum", "QPushButton", "QProgressBar", "QPointer", "QRcode", in kind order.
const QStringList &ClassNameList();
QString classNameOf(ControlKind kind);
// The kind for a class name; false when the name is none of the six.
bool kindFromClassName(const QString &className, ControlKind *kind);

// Alignment codes as exchanged with the module and the project file.
enum AlignCode { AlignCentre = 0, AlignStart = 1, AlignEnd = 2 };

// Every field of a control, exactly as the project file names them. Plain data: the canvas
// widgets own one and delegate to it; the file reader, the scripts and the renderer use it alone.
struct ControlRecord {
    ControlKind kind = ControlKind::Text;
    int id = 0;
    int x = 0;
    int y = 0;
    int w = 60;
    int h = 30;
    QString text;
    int fontSize = 16;
    int hAlign = AlignCentre;  // 0 centre, 1 left, 2 right
    int vAlign = AlignCentre;  // 0 centre, 1 top, 2 bottom
    int fontColorNum = 0;
    int backgroundColorNum = 7;
    int pressColorNum = 0;
    int imageNum = -1;
    int cutImageNum = -1;
    int backgroundImageNum = -1;
    int backgroundCutImageNum = -1;
    int pressImageNum = -1;
    int pressCutImageNum = -1;
    int progType = 0;
    int style = 0;
    int styleColorNum = 0;
    int pointerX = 0;
    int pointerY = 0;
    int pointerW = 0;
    int pointerL = 0;
    int pointerAngle = 0;
    // The firmware's name for the control (an identifier, unique on its page); empty: none.
    // Never sent to the module: numbers stay what the module addresses.
    QString name;

    // A new control of the given kind with that kind's defaults (default texts translated).
    static ControlRecord make(ControlKind kind, int id);

    QString className() const { return classNameOf(kind); }
    bool isQRCode() const { return kind == ControlKind::QRCode; }

    // A pointer gauge is the square of side 2 * pointerL around its centre: sets w, h and the
    // centre from the top-left corner, as every paint of a pointer does.
    void settlePointer();
    // What a control of its kind makes of the record as soon as it holds it: a pointer's square
    // from its (bounded) length, a QR code as high as wide. Records kept without a control get
    // the same, so that a page saves alike whether or not it was ever shown.
    void settle();
    // Moving the centre or changing the length keeps the other fixed, as the pointer setters do.
    void setPointerX(int v);
    void setPointerY(int v);
    void setPointerL(int v);

    bool operator==(const ControlRecord &o) const;
    bool operator!=(const ControlRecord &o) const { return !(*this == o); }
};

// Default content of a new QR code.
QString defaultQRCodeText();

// Permitted font sizes in module pixels.
const QList<int> &fontSizeList();
