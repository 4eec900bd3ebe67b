#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QStringList>

// Reads the controls of a page script as the module does: one instruction after the other, each
// "NAME(args);". Control instructions become the page's controls, in script order; others (the
// background and drawings, which the module runtime draws itself) are listed as skipped.
// Untrusted input: never fails, only skips what it cannot read.
namespace PageReader {

struct Instruction {
    QString name;
    QStringList args;
};

// Splits "A(1,2);B('x,y',3);" into instructions. Texts in single quotes keep their commas.
// A QR code text, sent bare, keeps its quotes and brackets up to the ");" that ends it.
QVector<Instruction> split(const QString &script);

PageData read(const QString &script, QStringList *skipped = nullptr);

}  // namespace PageReader
