#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One instruction of the module's language as it arrived: "NAME(arg,arg,...);".
struct ModuleInstruction {
    QString name;
    QStringList args;  // as written, quotes kept
    QString text;      // the whole instruction, for the log
};

namespace ModuleInstructions {

// More arguments than any instruction takes; a longer list is not read.
constexpr int MaxArgs = 32;
constexpr int MaxNameLength = 32;

// Splits a line into instructions. Reading stops at the first piece that is not an instruction;
// what was read before it is returned, and error says why the rest was not.
QVector<ModuleInstruction> parse(const QString &line, QString *error);

// A whole decimal number, spaces around it allowed.
bool toInt(const QString &arg, int *value);
// A text in single quotes.
bool toQuoted(const QString &arg, QString *text);

}  // namespace ModuleInstructions
