#include "screenrun.h"

#include "download/downloadblocks.h"
#include "file/projectfile.h"
#include "library/picturelibrary.h"
#include "library/regularfile.h"
#include "model/bootsettings.h"
#include "moduleruntime.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>

namespace {

// A firmware's screen test, not a disk image.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int fail(int status, const QString &text)
{
    err() << "lxp-sim: " << text << Qt::endl;
    return status;
}

// The virtual clock of the run; without --fast the wall clock is kept in step with it.
class Clock {
public:
    explicit Clock(bool fast) : m_fast(fast) { m_wall.start(); }
    qint64 now() const { return m_now; }
    void advanceTo(qint64 t)
    {
        if (t <= m_now)
            return;
        m_now = t;
        if (!m_fast) {
            const qint64 ahead = m_now - m_wall.elapsed();
            if (ahead > 0)
                QThread::msleep(quint64(ahead));
        }
    }

private:
    bool m_fast;
    qint64 m_now = 0;
    QElapsedTimer m_wall;
};

// Lets every held instruction run, the clock passing through the delays.
void drain(ModuleRuntime &rt, Clock &clock)
{
    while (rt.nextDue() >= 0) {
        clock.advanceTo(rt.nextDue());
        rt.run(clock.now());
    }
}

bool store(ModuleRuntime &rt, const QString &path, QSize *panel, QString *error)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        *error = QStringLiteral("cannot open '%1'").arg(path);
        return false;
    }
    const PictureLibrary pictures = PictureLibrary::fromProjectFolder(info.absolutePath());
    ProjectData data;
    const ProjectFile::ReadResult read = ProjectFile::read(path, pictures.count(), &data);
    if (!read.ok) {
        *error = read.reason.isEmpty() ? QStringLiteral("cannot read '%1'").arg(path) : read.reason;
        return false;
    }
    if (data.frameW > 0 && data.frameH > 0)
        *panel = QSize(data.frameW, data.frameH);
    rt.setPanelSize(*panel);
    for (int i = 0; i < data.pages.size(); ++i) {
        QString script;
        TextProblem problem;
        if (!buildPageScript(data.pages.at(i), i, pictures, &script, &problem)) {
            *error = QStringLiteral("page %1 cannot be downloaded: %2").arg(i).arg(problem.message);
            return false;
        }
        rt.setPage(i, ModuleText::encode(script));
    }
    rt.setBootScript(ModuleText::encode(buildBootScript(bootSettingsOf(data))));
    rt.setPictures(ModulePictures(DownloadBlocks::pictureHeader(pictures), DownloadBlocks::pixelData(pictures)));
    return true;
}

// A save replaces the name: never a link's target, a FIFO or a device.
bool writePng(const QImage &image, const QString &path)
{
    if (!RegularFile::writeRefusal(path).isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

// Where the difference image of a golden picture goes: beside it, "<name>.diff.png".
QString diffPathFor(const QString &golden)
{
    const QFileInfo info(golden);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".diff.png"));
}

int compare(const QImage &screen, const QString &goldenPath)
{
    QFile goldenFile;
    QImage golden;
    if (RegularFile::writeRefusal(goldenPath).isEmpty() && RegularFile::open(goldenPath, &goldenFile))
        golden.load(&goldenFile, nullptr);
    golden = golden.convertToFormat(QImage::Format_RGB32);
    if (golden.isNull())
        return fail(2, QStringLiteral("cannot read the golden picture '%1'").arg(goldenPath));
    if (golden.size() != screen.size())
        return fail(1, QStringLiteral("the screen is %1 x %2, the golden picture '%3' %4 x %5")
                           .arg(screen.width()).arg(screen.height()).arg(goldenPath)
                           .arg(golden.width()).arg(golden.height()));
    // The difference image: the golden picture faded to grey, differing pixels in magenta.
    QImage diff(golden.size(), QImage::Format_RGB32);
    qint64 count = 0;
    QRect box;
    for (int y = 0; y < golden.height(); ++y) {
        const QRgb *g = reinterpret_cast<const QRgb *>(golden.constScanLine(y));
        const QRgb *s = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        QRgb *d = reinterpret_cast<QRgb *>(diff.scanLine(y));
        for (int x = 0; x < golden.width(); ++x) {
            if ((g[x] & 0xFFFFFF) != (s[x] & 0xFFFFFF)) {
                ++count;
                box |= QRect(x, y, 1, 1);
                d[x] = qRgb(255, 0, 255);
            } else {
                const int v = 64 + qGray(g[x]) / 3;
                d[x] = qRgb(v, v, v);
            }
        }
    }
    if (count == 0) {
        QTextStream(stdout) << "lxp-sim: the screen matches " << goldenPath << Qt::endl;
        return 0;
    }
    const QString diffPath = diffPathFor(goldenPath);
    const bool written = writePng(diff, diffPath);
    return fail(1, QStringLiteral("%1 pixel(s) differ from '%2', within x %3..%4, y %5..%6 (%7 x %8)%9")
                       .arg(count).arg(goldenPath)
                       .arg(box.left()).arg(box.right()).arg(box.top()).arg(box.bottom())
                       .arg(box.width()).arg(box.height())
                       .arg(written ? QStringLiteral("; difference image: %1").arg(diffPath)
                                    : QStringLiteral("; cannot write the difference image %1").arg(diffPath)));
}

}  // namespace

QString recordLine(qint64 offsetMs, const QString &line)
{
    return QStringLiteral("%1\t%2\n").arg(offsetMs).arg(line);
}

int runScreen(const ScreenRun &run)
{
    QFile file(run.file);
    if (!QFileInfo(run.file).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(2, QStringLiteral("cannot open '%1'").arg(run.file));
    if (file.size() > kMaxFileBytes)
        return fail(2, QStringLiteral("'%1' is larger than %2 bytes").arg(run.file).arg(kMaxFileBytes));
    const QByteArray content = file.readAll();
    // A file written by hand is usually UTF-8; a recording holds the bytes the module got (GBK).
    const bool utf8 = QString::fromUtf8(content).toUtf8() == content;
    const QList<QByteArray> lines = content.split('\n');

    QSize panel = run.size.isValid() ? run.size : QSize(320, 240);
    ModuleRuntime rt(panel);
    rt.setMaxTextBytes(run.maxTextBytes);
    QStringList notes;
    rt.log = [&notes](const QString &note) { notes << note; };
    Clock clock(run.fast);
    if (!run.project.isEmpty()) {
        QString error;
        if (!store(rt, run.project, &panel, &error))
            return fail(2, error);
        if (run.size.isValid())
            rt.setPanelSize(run.size);
    }
    // Power on: the boot script, its animation and the boot page.
    rt.restart(clock.now());
    drain(rt, clock);
    for (const QString &note : notes)
        err() << "lxp-sim: start-up: " << note << Qt::endl;
    notes.clear();

    for (int i = 0; i < lines.size(); ++i) {
        QByteArray bytes = lines.at(i);
        while (bytes.endsWith('\r'))
            bytes.chop(1);
        if (bytes.trimmed().isEmpty() || bytes.startsWith('#'))
            continue;
        // A recorded line arrives at its time; a plain one once the line before it has run.
        const int tab = bytes.indexOf('\t');
        bool timed = false;
        if (tab > 0) {
            const qint64 at = bytes.left(tab).toLongLong(&timed);
            if (timed) {
                bytes = bytes.mid(tab + 1);
                rt.run(clock.now());
                while (rt.nextDue() >= 0 && rt.nextDue() <= at) {
                    clock.advanceTo(rt.nextDue());
                    rt.run(clock.now());
                }
                clock.advanceTo(at);
            }
        }
        const QString line = (utf8 ? QString::fromUtf8(bytes) : ModuleText::decode(bytes)).trimmed();
        rt.submit(line, clock.now());
        if (!timed)
            drain(rt, clock);
        if (!notes.isEmpty())
            return fail(1, QStringLiteral("%1:%2: the module refuses \"%3\": %4")
                               .arg(run.file).arg(i + 1).arg(line.left(80)).arg(notes.first()));
    }
    drain(rt, clock);
    if (!notes.isEmpty())
        return fail(1, QStringLiteral("%1: the module refuses a held instruction: %2").arg(run.file).arg(notes.first()));

    const QImage screen = run.dimmed ? rt.display() : rt.frame();
    if (!run.screen.isEmpty() && !writePng(screen, run.screen))
        return fail(2, QStringLiteral("cannot write '%1'").arg(run.screen));
    if (!run.expect.isEmpty())
        return compare(screen, run.expect);
    return 0;
}
