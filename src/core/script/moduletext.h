#pragma once

#include <QByteArray>
#include <QString>

// Texts for the module travel in its character set, GBK, whatever the host's locale. Every byte
// count announced to the module counts these bytes.
namespace ModuleText {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
int byteCount(const QString &text);
// False when some character has no GBK form (it would reach the module as '?').
bool canEncode(const QString &text);

}  // namespace ModuleText
