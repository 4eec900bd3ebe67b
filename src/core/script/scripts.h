#pragma once

#include "library/picturelibrary.h"
#include "model/bootsettings.h"
#include "model/projectdata.h"

#include <QString>

// A text the module would misread: a line break, a quote in a quoted text, a ";" in a QR code
// text, a number text that is not one or sends nothing, or a character outside the module's
// character set.
struct TextProblem {
    int pageIndex = 0;
    int controlId = 0;
    QString className;
    QString message;  // translated, ready to show
};

// Why a control's text cannot be sent as it stands.
enum class TextFault { None, LineBreak, Quote, Semicolon, EmptyNumber, NumberFormat, Charset };
TextFault textFault(ControlKind kind, const QString &text);
// The same as a message without page or control (for an editor checking one text), empty when
// the text can be sent.
QString controlTextProblem(ControlKind kind, const QString &text);

// The first control text of the page that cannot be sent safely, if any.
bool findUnsafeText(const PageData &page, int pageIndex, TextProblem *problem);

// "CLR(n);" or "PIC(n,0,0,w,h);".
QString pageBackgroundText(const PageData &page, const PictureLibrary &pictures);

// The page script: background, primitives in list order, non-QR controls by number, QR codes in
// list order, "\r\n". Returns false (and no script) when a text of the page is unsafe.
bool buildPageScript(const PageData &page, int pageIndex, const PictureLibrary &pictures, QString *script,
                     TextProblem *problem = nullptr);

// "DIR(d);BL(b);" + animation frames when both ends are set + "JUMP(p);\r\n".
QString buildBootScript(const BootSettings &boot);
