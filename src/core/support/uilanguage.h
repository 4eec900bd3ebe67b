#pragma once

#include <QString>

class QTranslator;

// The language of the user interface, shared by the window and lxp-sim's window: where the
// settings file is, which language it names, and the translators that make it so.
namespace UiLanguage {

// "./config/system.ini" when it exists in the working folder (a portable copy carries its
// settings along), otherwise "tavo/system.ini" in the user's XDG config folder.
QString settingsFileName();
QString portableSettingsFileName();

// The translation the settings file names ("Language/Path"): empty for the Chinese source texts.
QString translationPathFromSettings();

inline constexpr const char *EnglishTranslationPath = ":/config/language/English.qm";

// Loads `own` from path (empty or unreadable: Chinese source texts) and, for Chinese, `qt` with
// Qt's own Chinese texts from the running Qt's translations folder when they are installed;
// installs whichever hold texts.
void install(QTranslator &own, QTranslator &qt, const QString &path);
QString qtTranslationsPath();

}  // namespace UiLanguage
