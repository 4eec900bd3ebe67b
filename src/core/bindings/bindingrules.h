#pragma once

#include "model/controlrecord.h"

#include <QVector>

// What firmware may do to each kind of control at run time, and the limits each value must keep.
// The C and Python generators take their functions and checks from this one table, whose limits
// come from the rules the property panel applies, so a value the firmware may send is one the
// panel would accept.
namespace BindingRules {

enum class Arg {
    Text,      // SET_TXT(n,'text'): quoted, no quote or line break
    QrText,    // QBAR(n,text): bare, no ';' or line break
    Number,    // SET_NUM(n,value,digits): value with 0..MaxDecimals decimals, digits the control's
    Integer,   // one integer in min..max
    Picture,   // SET_BTN_IMG(n,state,picture): state fixed by the action
};

struct Action {
    const char *suffix;       // of the function's name: "set_text"
    const char *instruction;  // "SET_TXT"
    Arg arg;
    int min = 0;
    int max = 0;
    int fixed = 0;            // Picture: the state, 0 released or 1 pressed
    const char *what = "";    // one line for the generated comment
};

// Everything a control of that kind accepts, in the order the functions are generated.
QVector<Action> actionsFor(ControlKind kind);

// Text bytes the module takes in one text (in its code page).
int textByteLimit();
// Decimals a number value may carry.
int maxDecimals();
// Integer digits a number control shows: its designed value's, at least 1.
int numberDigits(const ControlRecord &r);
// True when the control's texts are limited to printable ASCII (its large font has no CJK).
bool asciiOnly(const ControlRecord &r);
// The checks a text function makes beyond the character set and length, as bit flags the
// generated code shares: quoted (no '), QR (no ;), printable ASCII only.
enum TextFlag { FlagQuoted = 1, FlagQr = 2, FlagAscii = 4 };
int textFlags(const Action &action, const ControlRecord &r);
// Largest picture number a button may be given.
constexpr int MaxPicture = 32767;

// The kind named by its word in default names ("text", "qrcode"...); false for no kind.
bool kindFromWord(const QString &word, ControlKind *kind);

}  // namespace BindingRules
