#pragma once

#include <QString>
#include <QStringList>

// Per-user registration of the program as the opener of ".Tavo" project files, in the XDG form
// desktops read: a MIME type, a desktop entry, an icon in the hicolor theme and the default
// application for the type. The registration names the program copy that ran last; files are
// rewritten only when their content changes.
namespace DesktopIntegration {

inline constexpr const char *MimeType = "application/x-tavo-project";
inline constexpr const char *DesktopId = "tavo.desktop";
inline constexpr const char *IconName = "tavo";

struct Folders {
    QString dataHome;        // XDG_DATA_HOME
    QString configHome;      // XDG_CONFIG_HOME
    QStringList systemData;  // XDG_DATA_DIRS: where an installed package put its files
    static Folders fromEnvironment();
};

struct Result {
    QStringList written;  // files whose content changed
    QStringList removed;  // per-user files dropped in favour of the installed ones
    bool systemWide = false;  // the installed files already name this program
    QString error;        // the first failure; empty when everything went through
};

// Registers programPath (absolute) under the folders. runTools runs update-mime-database and
// update-desktop-database when present and something changed.
Result registerProgram(const QString &programPath, const Folders &folders, bool runTools = true);

// The registration of the running program at start; a failure is logged once and the program
// runs on without the association.
void registerAtStart();

// One argument of a desktop entry's Exec key: quoted and escaped so that any path survives.
QString execArgument(const QString &argument);
QString desktopEntry(const QString &programPath);
QString mimeTypeXml();
// mimeapps.list text with the type's default application set; every other line is kept.
QString withDefaultApplication(const QString &mimeApps);
// The program an installed desktop entry's Exec starts, resolved against PATH; empty when none.
QString execProgram(const QString &desktopEntryText);

}  // namespace DesktopIntegration
