#pragma once

#include "library/picturelibrary.h"
#include "library/picturerecovery.h"
#include "model/projectdata.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

QTextStream &out();
QTextStream &err();

// Prints "tavo-cli: <message>" on standard error and returns the code.
int fail(int code, const QString &message);

// A project named on the command line, with the picture list of its folder.
struct CliProject {
    // How a command uses the project: reading it (from the saved pictures while another program
    // holds unsaved picture changes), reading the picture folder itself, or changing it.
    enum Use { Read, ReadFolder, Change };
    QString path;
    QString folder;
    ProjectData data;
    PictureLibrary pictures;
    int loadStatus = ExitOk;  // the exit status when loading failed
};

// Prints a warning on standard error for each library entry left out (not a regular file).
void warnSkipped(const QStringList &paths);

// Why another program keeps this one from the project's pictures, in a sentence.
QString refusalText(PictureFiles::PictureClaim::Refusal refusal);

// Takes the project's picture lock for the use, then reads the project file and its picture list,
// warning about library entries left out (pictures and fonts); on failure prints the reason and
// returns false (the caller exits with project->loadStatus).
bool loadCliProject(const QString &path, CliProject *project, CliProject::Use use = CliProject::Read);

// Writes bytes unchanged to standard output.
void writeRaw(const QByteArray &bytes);

// Takes "--name VALUE" out of args; false when the option is there without a value.
bool takeOption(QStringList &args, const QString &name, QString *value, bool *present);
// Takes "--name" out of args and says whether it was there.
bool takeFlag(QStringList &args, const QString &name);
