#include "helpdocuments.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace HelpDocuments {

namespace {

struct Entry {
    const char *chinese;
    const char *english;  // nullptr: the same file in both languages
};

// Indexed by Document.
const Entry Table[] = {
    {"Tavo软件使用文档.pdf", "Tavo sotfware usage document.pdf"},
    {"LXP应用文档.pdf", "LXP Application document.pdf"},
    {"LXP指令集.pdf", nullptr},
    {"LXP编程实例.pdf", nullptr},
    {"LXP使用注意事项文档.pdf", nullptr},
    {"图片脱机上传流程.pdf", nullptr},
    {"产品使用视频参考", nullptr},
    {"技术支持窗口.txt", "Technical Support Window.txt"},
};

Opener &injected()
{
    static Opener o;
    return o;
}

// Openers still running (a launcher that waits for its viewer): kept until they end, and left
// running when the program exits rather than killed with it.
QSet<QProcess *> &running()
{
    static QSet<QProcess *> set;
    return set;
}

}  // namespace

QString tablePath(Document document, int languageId)
{
    if (document < UseDocument || document > Support || (languageId != 1 && languageId != 2))
        return QString();
    const Entry &e = Table[document];
    const char *name = languageId == 2 && e.english ? e.english : e.chinese;
    return QStringLiteral("./help/") + QString::fromUtf8(name);
}

QStringList searchFolders(const QString &programDir)
{
    QStringList folders{QStringLiteral("./help")};
    if (!programDir.isEmpty()) {
        folders << programDir + QStringLiteral("/help");
        folders << QDir::cleanPath(programDir + QStringLiteral("/../share/tavo/help"));
    }
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/tavo/help");
    folders.removeDuplicates();
    return folders;
}

QString locate(const QString &tablePath, const QStringList &folders)
{
    if (tablePath.isEmpty())
        return QString();
    const QString name = QFileInfo(tablePath).fileName();
    for (const QString &folder : folders) {
        const QFileInfo candidate(folder + QLatin1Char('/') + name);
        if (candidate.exists())
            return candidate.absoluteFilePath();
    }
    return QString();
}

void setOpener(Opener o)
{
    injected() = std::move(o);
}

void resetOpener() { injected() = nullptr; }

bool openWithDesktop(const QUrl &url, const std::function<void()> &failed)
{
    // The desktop services start the launcher and report only that it started, whether or not
    // anything can open the file: run it here and read how it ended.
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty() || !url.isLocalFile())
        return QDesktopServices::openUrl(url);
    auto *process = new QProcess;
    running().insert(process);
    process->setProgram(launcher);
    // An absolute path as one argument: no shell sees it, and it cannot be taken for an option.
    process->setArguments({url.toLocalFile()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto clock = std::make_shared<QElapsedTimer>();
    auto ended = [process, clock, failed](bool ok) {
        if (!ok && failed && clock->elapsed() < OpenerFailureWindowMs)
            failed();
        running().remove(process);
        process->deleteLater();
    };
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process, [ended](int code, QProcess::ExitStatus status) {
        ended(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [ended](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(false);
    });
    clock->start();
    process->start();
    return true;
}

bool open(Document document, int languageId, const QString &programDir, const std::function<void()> &failed)
{
    const QString path = locate(tablePath(document, languageId), searchFolders(programDir));
    if (path.isEmpty())
        return false;
    // A file URL only: the desktop picks the handler for the type.
    const QUrl url = QUrl::fromLocalFile(path);
    if (injected())
        return injected()(url);
    return openWithDesktop(url, failed);
}

}  // namespace HelpDocuments
