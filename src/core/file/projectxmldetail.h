#pragma once

#include "file/projectxml.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the tokenizers of the project XML share among their files; nothing for other users.
namespace ProjectXml::Detail {

// The line (from 1) of a byte offset and the number of characters before it on that line.
void placeOffset(const QByteArray &bytes, int offset, int *line, int *charsBefore);
// The tag names, in the order of the Tag values.
const QStringList &tagNames();
// The characters of a text the fast tokenizer passed: line ends become "\n", references were
// checked by the tokenizer.
QString fastText(const char *base, const Event &e);

}  // namespace ProjectXml::Detail
