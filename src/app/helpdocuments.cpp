#include "helpdocuments.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

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

Opener &opener()
{
    static Opener o = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return o;
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
    opener() = std::move(o);
}

bool open(Document document, int languageId, const QString &programDir)
{
    const QString path = locate(tablePath(document, languageId), searchFolders(programDir));
    if (path.isEmpty())
        return false;
    // A file URL only: the desktop picks the handler for the type, and no shell sees the path.
    return opener()(QUrl::fromLocalFile(path));
}

}  // namespace HelpDocuments
