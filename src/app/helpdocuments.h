#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QUrl;

// The help documents behind the help actions, per interface language, and where they are found.
namespace HelpDocuments {

enum Document { UseDocument, ApplicationNote, InstructionSet, Programming, Notice, OfflineUpload, Study, Support };

// The document's path as the help folder names it ("./help/LXP指令集.pdf"); empty for a language
// id other than 1 (Chinese) or 2 (English).
QString tablePath(Document document, int languageId);

// Folders searched in order: "./help" in the working folder, "help" beside the program, then the
// installed data folders ("share/tavo/help").
QStringList searchFolders(const QString &programDir);

// The first existing file or folder of that name in the folders; empty when there is none.
QString locate(const QString &tablePath, const QStringList &folders);

// Hands a local-file URL to the desktop's default handler; tests put a recorder in its place.
using Opener = std::function<bool(const QUrl &)>;
void setOpener(Opener opener);
// Back to the desktop's own opener.
void resetOpener();

// The desktop opener, run so that its outcome is known: false when it cannot be started at all;
// failed() is called later when it ends in failure soon after (no program for the file's type, a
// file it cannot open). Its exit after that, once a viewer has run, is the viewer's business.
constexpr int OpenerFailureWindowMs = 10000;
bool openWithDesktop(const QUrl &url, const std::function<void()> &failed);

// Opens the document for the language; a missing document opens nothing. Returns whether a
// document was handed to the desktop; failed() as for openWithDesktop().
bool open(Document document, int languageId, const QString &programDir, const std::function<void()> &failed = {});

}  // namespace HelpDocuments
