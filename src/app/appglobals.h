#pragma once

#include <QString>

class QTranslator;

// Values the whole program shares from start-up to exit.
namespace App {

// The program's own path (first argument).
QString &programPath();
// The open project's file; a project is open exactly when it contains ".Tavo".
QString &projectPath();
bool isProjectOpen();
// The one translator of the process, installed at start and reloaded by the language dialog.
QTranslator &translator();
// Loads the translator from path (empty: Chinese source texts) and installs it again. With the
// Chinese texts, Qt's own texts (file dialogs, standard buttons, text field menus) are Chinese
// too when Qt's translations are installed.
void switchTranslator(const QString &path);
// Qt's own translation for the language in use; empty when it is English or not installed.
QTranslator &qtTranslator();

inline constexpr const char *EnglishTranslationPath = ":/config/language/English.qm";

}  // namespace App
