#pragma once

#include <QString>

struct ControlRecord;

// Module instruction of one control ("TXT(...);", "NUM(...);", ...). Pure: the widget stores the
// result as its last instruction if it wants to.
QString instructionText(const ControlRecord &r);

// Style codes sent to the module: 4 no background, 2 border, 1 pressed-in look, added together.
int textStyleCode(int style);
int buttonStyleCode(int style);

// The number text as sent and its integer width (digits before the point).
struct NumberArgs {
    QString text;
    int width = 0;
};
NumberArgs numberArgs(const QString &text);

// Progress value as sent: the text read as an integer (0 when it is not one), at most 100.
int progressValue(const QString &text);
