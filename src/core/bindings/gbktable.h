#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QVector>

// The characters generated code can turn from UTF-8 into the module's GBK, with their bytes.
// ASCII is never listed: it is the same in both.
namespace GbkTable {

struct Entry {
    ushort unicode = 0;
    ushort gbk = 0;  // lead byte * 256 + trail byte
};

// Every non-ASCII character of the texts that go to the module: texts, buttons and QR codes.
QString projectCharacters(const ProjectData &project);
// The entries for these characters, sorted by code point, each once. Characters without a
// two-byte GBK form are left out (and listed in *missing when asked).
QVector<Entry> forCharacters(const QString &characters, QString *missing = nullptr);
// Every character GBK has a two-byte form for.
QVector<Entry> whole();

}  // namespace GbkTable
