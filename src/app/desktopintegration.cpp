#include "desktopintegration.h"

#include "appglobals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTranslator>
#include <QtDebug>

static void initDesktopResources()
{
    Q_INIT_RESOURCE(app);
    Q_INIT_RESOURCE(translations);
}

namespace DesktopIntegration {

namespace {

const char *const Context = "DesktopIntegration";
const char *const FileTypeName = QT_TRANSLATE_NOOP("DesktopIntegration", "Tavo文件");
const char *const EntryComment = QT_TRANSLATE_NOOP("DesktopIntegration", "设计LXP串口屏的页面并下载到显示模块");
const char *const EntryGenericName = QT_TRANSLATE_NOOP("DesktopIntegration", "串口屏页面设计");

// Chinese is the source language; the English of the same texts comes from the embedded
// translation, so a desktop in either language shows the program's own wording.
QString english(const char *source)
{
    static QTranslator translator;
    static const bool loaded = translator.load(QString::fromLatin1(App::EnglishTranslationPath));
    const QString text = loaded ? translator.translate(Context, source) : QString();
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

QString xmlEscaped(const QString &s)
{
    return s.toHtmlEscaped();
}

enum class WriteOutcome { Unchanged, Written, Failed };

WriteOutcome writeIfChanged(const QString &path, const QByteArray &content, QString *error)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return WriteOutcome::Unchanged;
    current.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("cannot create the folder of %1").arg(path);
        return WriteOutcome::Failed;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

bool runTool(const QString &tool, const QString &folder, QString *error)
{
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty())
        return true;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, {folder});
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("%1 %2 failed: %3").arg(tool, folder, QString::fromLocal8Bit(p.readAll()).trimmed());
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return true;
}

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QFileInfo(path).absoluteFilePath() : c;
}

// True when an installed desktop entry of ours starts this very program and the installed MIME
// type is there too: the package already does everything the per-user files would.
bool installedEntryNames(const QString &program, const QStringList &systemData)
{
    for (const QString &dir : systemData) {
        QFile entry(dir + QStringLiteral("/applications/") + QLatin1String(DesktopId));
        if (!entry.open(QIODevice::ReadOnly))
            continue;
        const QString exec = execProgram(QString::fromUtf8(entry.readAll()));
        if (!exec.isEmpty() && canonical(exec) == canonical(program)
            && QFile::exists(dir + QStringLiteral("/mime/packages/tavo.xml")))
            return true;
    }
    return false;
}

// Splits an Exec value (already string-unescaped) into arguments by the desktop entry rules.
QStringList execArguments(const QString &exec)
{
    QStringList args;
    QString cur;
    bool inQuotes = false, any = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                cur += exec.at(++i);
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = any = true;
        } else if (c == QLatin1Char(' ')) {
            if (any)
                args << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        args << cur;
    return args;
}

QString unescapeString(const QString &value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        switch (n.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        default: out += n; break;
        }
    }
    return out;
}

}  // namespace

Folders Folders::fromEnvironment()
{
    Folders f;
    f.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    f.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    f.systemData = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    f.systemData.removeAll(f.dataHome);
    return f;
}

QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    for (const QChar c : argument)
        quote = quote || reserved.contains(c);
    QString arg;
    if (quote) {
        arg = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                arg += QLatin1Char('\\');
            arg += c;
        }
        arg += QLatin1Char('"');
    } else {
        arg = argument;
    }
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // The Exec value is itself a string value, whose own escape doubles every backslash.
    arg.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return arg;
}

QString execProgram(const QString &desktopEntryText)
{
    bool inEntry = false;
    for (const QString &raw : desktopEntryText.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            const QStringList args = execArguments(unescapeString(line.mid(5)));
            if (args.isEmpty())
                return QString();
            QString program = args.first();
            program.replace(QStringLiteral("%%"), QStringLiteral("%"));
            return program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
        }
    }
    return QString();
}

QString desktopEntry(const QString &programPath)
{
    QString e;
    e += QStringLiteral("[Desktop Entry]\n");
    e += QStringLiteral("Type=Application\n");
    e += QStringLiteral("Version=1.0\n");
    e += QStringLiteral("Name=Tavo\n");
    e += QStringLiteral("GenericName=") + english(EntryGenericName) + QLatin1Char('\n');
    e += QStringLiteral("GenericName[zh_CN]=") + QString::fromUtf8(EntryGenericName) + QLatin1Char('\n');
    e += QStringLiteral("Comment=") + english(EntryComment) + QLatin1Char('\n');
    e += QStringLiteral("Comment[zh_CN]=") + QString::fromUtf8(EntryComment) + QLatin1Char('\n');
    e += QStringLiteral("Exec=") + execArgument(programPath) + QStringLiteral(" %f\n");
    e += QStringLiteral("Icon=") + QLatin1String(IconName) + QLatin1Char('\n');
    e += QStringLiteral("Terminal=false\n");
    e += QStringLiteral("MimeType=") + QLatin1String(MimeType) + QStringLiteral(";\n");
    e += QStringLiteral("Categories=Development;Electronics;\n");
    return e;
}

QString mimeTypeXml()
{
    // Case-sensitive like the program's own test for a project path, so "x.tavo" is not claimed.
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <comment xml:lang=\"zh_CN\">%3</comment>\n"
                          "    <sub-class-of type=\"application/xml\"/>\n"
                          "    <icon name=\"%4\"/>\n"
                          "    <glob pattern=\"*.Tavo\" case-sensitive=\"true\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QLatin1String(MimeType), xmlEscaped(english(FileTypeName)),
             xmlEscaped(QString::fromUtf8(FileTypeName)), QLatin1String(IconName));
}

QString withDefaultApplication(const QString &mimeApps)
{
    const QString key = QLatin1String(MimeType) + QLatin1Char('=');
    const QString wanted = key + QLatin1String(DesktopId);
    QStringList lines = mimeApps.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    int section = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() == QLatin1String("[Default Applications]")) {
            section = i;
            break;
        }
    }
    if (section < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QStringLiteral("[Default Applications]") << wanted;
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    int end = section + 1;
    bool set = false;
    while (end < lines.size() && !lines.at(end).trimmed().startsWith(QLatin1Char('['))) {
        if (lines.at(end).trimmed().startsWith(key)) {
            if (set) {
                lines.removeAt(end);
                continue;
            }
            lines[end] = wanted;
            set = true;
        }
        ++end;
    }
    if (!set) {
        // After the section's last non-empty line, so a blank separator line stays in place.
        int at = end;
        while (at > section + 1 && lines.at(at - 1).trimmed().isEmpty())
            --at;
        lines.insert(at, wanted);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Result registerProgram(const QString &programPath, const Folders &folders, bool runTools)
{
    initDesktopResources();
    Result r;
    const QString applications = folders.dataHome + QStringLiteral("/applications");
    const QString mime = folders.dataHome + QStringLiteral("/mime");
    const QString entryPath = applications + QLatin1Char('/') + QLatin1String(DesktopId);
    const QString mimePath = mime + QStringLiteral("/packages/tavo.xml");
    const QString iconPath = folders.dataHome + QStringLiteral("/icons/hicolor/scalable/apps/tavo.svg");

    if (folders.dataHome.isEmpty() || folders.configHome.isEmpty()) {
        r.error = QStringLiteral("no XDG data or config folder");
        return r;
    }

    if (installedEntryNames(programPath, folders.systemData)) {
        // Per-user files of an earlier copy would hide the installed ones; let those show again.
        r.systemWide = true;
        for (const QString &path : {entryPath, mimePath}) {
            if (QFile::exists(path)) {
                if (QFile::remove(path))
                    r.removed << path;
                else if (r.error.isEmpty())
                    r.error = QStringLiteral("cannot remove %1").arg(path);
            }
        }
        runTools = runTools && r.error.isEmpty();
        if (runTools && r.removed.contains(mimePath))
            runTool(QStringLiteral("update-mime-database"), mime, &r.error);
        if (runTools && r.removed.contains(entryPath))
            runTool(QStringLiteral("update-desktop-database"), applications, &r.error);
        return r;
    }

    for (const QChar c : programPath) {
        if (c.category() == QChar::Other_Control) {
            r.error = QStringLiteral("the program path %1 holds a control character").arg(programPath);
            return r;
        }
    }

    QFile icon(QStringLiteral(":/images/tavo.svg"));
    const QByteArray iconData = icon.open(QIODevice::ReadOnly) ? icon.readAll() : QByteArray();
    QFile apps(folders.configHome + QStringLiteral("/mimeapps.list"));
    const QString appsText = apps.open(QIODevice::ReadOnly) ? QString::fromUtf8(apps.readAll()) : QString();
    apps.close();

    const struct {
        QString path;
        QByteArray content;
    } files[] = {
        {mimePath, mimeTypeXml().toUtf8()},
        {iconPath, iconData},
        {entryPath, desktopEntry(programPath).toUtf8()},
        {apps.fileName(), withDefaultApplication(appsText).toUtf8()},
    };
    for (const auto &f : files) {
        QString error;
        if (f.content.isEmpty()) {
            error = QStringLiteral("nothing to write to %1").arg(f.path);
        } else if (writeIfChanged(f.path, f.content, &error) == WriteOutcome::Written) {
            r.written << f.path;
            continue;
        }
        if (r.error.isEmpty())
            r.error = error;
    }
    QString toolError;
    if (runTools && r.written.contains(mimePath))
        runTool(QStringLiteral("update-mime-database"), mime, &toolError);
    if (runTools && r.written.contains(entryPath))
        runTool(QStringLiteral("update-desktop-database"), applications, &toolError);
    if (r.error.isEmpty())
        r.error = toolError;
    return r;
}

void registerAtStart()
{
    const Result r = registerProgram(QCoreApplication::applicationFilePath(), Folders::fromEnvironment());
    if (!r.error.isEmpty())
        qWarning().noquote() << "Tavo: the .Tavo file association was not registered:" << r.error;
}

}  // namespace DesktopIntegration
