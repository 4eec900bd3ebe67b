#pragma once

#include "model/projectdata.h"

#include <QString>
#include <QStringList>

// Names the firmware uses for pages and controls. A name is an identifier (an ASCII letter or
// underscore, then letters, digits and underscores, at most MaxLength), unique among the pages or
// among the controls of its page. Empty means none: the bindings then use the default name made
// from the kind and the number the module knows the object by.
namespace Names {

constexpr int MaxLength = 32;

// True for an identifier of at most MaxLength characters (empty is not one).
bool isIdentifier(const QString &name);

// Why a name cannot be given, as a message (empty when it can). The empty name can always be
// given; a name is compared with the others' names, not with their default names.
QString problem(const QString &name, const QStringList &others);
// The page's name as page pageIndex of the project, or the control's as control controlIndex of
// the page, against every other page's or control's name.
QString pageNameProblem(const ProjectData &project, int pageIndex, const QString &name);
QString pageNameProblem(const QStringList &pageNames, int pageIndex, const QString &name);
QString controlNameProblem(const PageData &page, int controlIndex, const QString &name);

// A name for a copy: the name itself when none of taken has it, otherwise base_2, base_3, ...
// (base: the name without a "_N" copy suffix), shortened to stay within MaxLength. Empty stays empty.
QString freshName(const QString &name, const QStringList &taken);

// The names of the pages or of the controls of a page (empty ones included, in order).
QStringList pageNames(const ProjectData &project);
QStringList controlNames(const PageData &page);

// "page0", from the page number the module shows it by (its index).
QString defaultPageName(int page);
// "page0_text3": the page number, the kind and the control's number ("qrcode" numbers count the
// QR codes of the page, as the module does).
QString defaultControlName(int page, const ControlRecord &control);
// The kind's word in default names: text, number, button, progress, pointer, qrcode.
QString kindWord(ControlKind kind);

}  // namespace Names
