#include "bindings/bindingrules.h"

#include "edit/editrules.h"
#include "model/colortable.h"
#include "model/names.h"
#include "script/instructions.h"

namespace BindingRules {

namespace {

constexpr int Colours = ColorTable::Count - 1;

Action colour(const char *suffix, const char *instruction, const char *what)
{
    return {suffix, instruction, Arg::Integer, 0, Colours, 0, what};
}

}  // namespace

QVector<Action> actionsFor(ControlKind kind)
{
    const Action fore = colour("set_fore_color", "SET_FCOLOR", "text, bar or needle colour");
    const Action back = colour("set_back_color", "SET_BCOLOR", "background colour");
    const Action frame = colour("set_frame_color", "SET_FRAME_COLOR", "frame colour");
    switch (kind) {
    case ControlKind::Text:
        return {{"set_text", "SET_TXT", Arg::Text, 0, 0, 0, "text"}, fore, back, frame};
    case ControlKind::Number:
        return {{"set_value", "SET_NUM", Arg::Number, 0, 0, 0, "value"}, fore, back, frame};
    case ControlKind::Button:
        return {{"set_text", "SET_TXT", Arg::Text, 0, 0, 0, "text"},
                {"set_pressed", "SET_BTN", Arg::Integer, 0, 1, 0, "1 pressed, 0 released"},
                {"set_picture", "SET_BTN_IMG", Arg::Picture, 0, MaxPicture, 0, "picture when released"},
                {"set_pressed_picture", "SET_BTN_IMG", Arg::Picture, 0, MaxPicture, 1, "picture when pressed"},
                fore,
                back,
                colour("set_pressed_color", "SET_BCOLOR2", "background colour when pressed"),
                frame};
    case ControlKind::Progress:
        return {{"set_value", "SET_PROG", Arg::Integer, 0, 100, 0, "percent"}, fore, back, frame};
    case ControlKind::Pointer:
        return {{"set_angle", "SET_POINT", Arg::Integer, 0, 360, 0, "degrees: 0 left, 90 up, 180 right"}, fore};
    case ControlKind::QRCode:
        // QR codes are numbered apart: the colour instructions would reach another control.
        return {{"set_text", "QBAR", Arg::QrText, 0, 0, 0, "content"}};
    }
    return {};
}

int textByteLimit() { return EditRules::TextByteLimit; }

int maxDecimals() { return EditRules::NumberDecimals; }

int numberDigits(const ControlRecord &r) { return qBound(1, numberArgs(r.text).width, 32); }

bool asciiOnly(const ControlRecord &r) { return EditRules::isLargeFontSize(r.fontSize); }

int textFlags(const Action &action, const ControlRecord &r)
{
    const int flags = action.arg == Arg::QrText ? FlagQr : FlagQuoted;
    return asciiOnly(r) ? flags | FlagAscii : flags;
}

bool kindFromWord(const QString &word, ControlKind *kind)
{
    for (int i = 0; i < ControlKindCount; ++i) {
        if (word == Names::kindWord(ControlKind(i))) {
            *kind = ControlKind(i);
            return true;
        }
    }
    return false;
}

}  // namespace BindingRules
