// A virtual LXP module on a pseudo-terminal: prints the device path to open, then answers
// whatever is sent there until it is stopped.
#include "screenfile.h"
#include "screenrun.h"
#include "simulatorwindow.h"
#include "library/regularfile.h"
#include "script/moduletext.h"
#include "support/headless.h"
#include "support/uilanguage.h"
#include "virtualport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int usageError(const QString &text)
{
    QTextStream(stderr) << "lxp-sim: " << text << Qt::endl;
    return 2;
}

// The window needs a real display; everything else only fonts.
bool wantsWindow(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char **argv)
{
    const bool window = wantsWindow(argc, argv);
    if (window)
        ensureRuntimeFolder();
    else
        prepareHeadlessEnvironment();
    std::unique_ptr<QGuiApplication> appHolder(window ? new QApplication(argc, argv) : new QGuiApplication(argc, argv));
    QGuiApplication &app = *appHolder;
    QGuiApplication::setApplicationName(QStringLiteral("lxp-sim"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption limits(QStringLiteral("limits"),
                                    QStringLiteral("Limits reported: controls per page, bytes per page, text bytes."),
                                    QStringLiteral("C,B,T"));
    const QCommandLineOption flash(QStringLiteral("flash"), QStringLiteral("Picture flash in MiB: 2, 3 or 11."),
                                   QStringLiteral("N"), QStringLiteral("11"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Read no faster than a line of this baud rate."),
                                  QStringLiteral("N"));
    const QCommandLineOption render(QStringLiteral("render"),
                                    QStringLiteral("Write the stored pages as PNG files here after every reset."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Screen size."), QStringLiteral("WxH"),
                                  QStringLiteral("320x240"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Fault: never send the N-th acknowledgement."),
                                    QStringLiteral("N"));
    const QCommandLineOption split(QStringLiteral("split"), QStringLiteral("Fault: send answers one byte at a time."));
    const QCommandLineOption junk(QStringLiteral("junk"), QStringLiteral("Fault: send these bytes before every answer."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption closeAfter(QStringLiteral("close-after"),
                                       QStringLiteral("Fault: close the line after N received bytes."), QStringLiteral("N"));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("Print every command received."));
    const QCommandLineOption windowOption(QStringLiteral("window"), QStringLiteral("Show the module's screen in a window."));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Language of the window: zh or en (default: the one set in Tavo)."),
                                      QStringLiteral("zh|en"));
    const QCommandLineOption screen(QStringLiteral("screen"),
                                    QStringLiteral("Keep the module's screen in this PNG file (rewritten at most ten times a second; "
                                                   "with --run, the final screen). It holds the framebuffer: the backlight "
                                                   "dims only the window's view."),
                                    QStringLiteral("FILE.png"));
    const QCommandLineOption screenDimmed(QStringLiteral("screen-dimmed"),
                                          QStringLiteral("The screen file and --expect take the screen as seen, with the backlight."));
    const QCommandLineOption run(QStringLiteral("run"),
                                 QStringLiteral("Screen test without a pty: run the instruction lines of FILE (plain lines, or a "
                                                "--record file), write --screen, exit 1 at the first line the module refuses."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption project(QStringLiteral("project"),
                                     QStringLiteral("With --run: download this project first, so its pages are stored."),
                                     QStringLiteral("P.Tavo"));
    const QCommandLineOption fast(QStringLiteral("fast"),
                                  QStringLiteral("With --run: DELAYMS and recorded gaps pass at once instead of in real time."));
    const QCommandLineOption expect(QStringLiteral("expect"),
                                    QStringLiteral("With --run: compare the final screen with this picture; exit 1 with the count "
                                                   "and area of differing pixels and a difference image NAME.diff.png beside it."),
                                    QStringLiteral("GOLDEN.png"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Keep every line that arrives, with its time in milliseconds, for --run."),
                                    QStringLiteral("FILE"));
    parser.addOptions({limits, flash, baud, render, size, silent, split, junk, closeAfter, verbose, windowOption, screen,
                       screenDimmed, run, project, fast, expect, record, language});
    parser.setApplicationDescription(QStringLiteral(
        "Virtual LXP display module on a pseudo-terminal. A fresh module has full backlight (BL 0) until its boot "
        "script or a host sets another."));
    parser.process(app);

    QString translation = UiLanguage::translationPathFromSettings();
    if (parser.isSet(language)) {
        const QString chosen = parser.value(language);
        if (chosen == QLatin1String("en"))
            translation = QLatin1String(UiLanguage::EnglishTranslationPath);
        else if (chosen == QLatin1String("zh"))
            translation.clear();
        else
            return usageError(QStringLiteral("--language takes zh or en"));
    }
    static QTranslator own, qt;
    if (window)
        UiLanguage::install(own, qt, translation);

    ModuleSettings settings;
    bool ok = true;
    if (parser.isSet(limits)) {
        const QStringList parts = parser.value(limits).split(QLatin1Char(','));
        bool a = false, b = false, c = false;
        if (parts.size() == 3) {
            settings.maxControls = parts.at(0).toInt(&a);
            settings.maxBytes = parts.at(1).toInt(&b);
            settings.maxTextBytes = parts.at(2).toInt(&c);
        }
        if (!(a && b && c))
            return usageError(QStringLiteral("--limits takes three numbers: C,B,T"));
    }
    settings.flashMiB = parser.value(flash).toInt(&ok);
    if (!ok || (settings.flashMiB != 2 && settings.flashMiB != 3 && settings.flashMiB != 11))
        return usageError(QStringLiteral("--flash takes 2, 3 or 11"));
    const QStringList wh = parser.value(size).split(QLatin1Char('x'));
    bool okW = false, okH = false;
    if (wh.size() == 2)
        settings.screen = QSize(wh.at(0).toInt(&okW), wh.at(1).toInt(&okH));
    if (!okW || !okH || settings.screen.isEmpty() || settings.screen.width() > 4096 || settings.screen.height() > 4096)
        return usageError(QStringLiteral("--size takes WxH, e.g. 240x320"));

    if (parser.isSet(run)) {
        // Given paths are refused when they are links, FIFOs or devices, before anything runs.
        for (const QCommandLineOption *o : {&screen, &expect, &record}) {
            const QString why = parser.isSet(*o) ? RegularFile::writeRefusal(parser.value(*o)) : QString();
            if (!why.isEmpty())
                return usageError(why);
        }
        ScreenRun r;
        r.file = parser.value(run);
        r.project = parser.value(project);
        if (parser.isSet(size) || r.project.isEmpty())
            r.size = settings.screen;
        r.fast = parser.isSet(fast);
        r.dimmed = parser.isSet(screenDimmed);
        r.screen = parser.value(screen);
        r.expect = parser.value(expect);
        r.maxTextBytes = settings.maxTextBytes;
        return runScreen(r);
    }
    for (const QCommandLineOption *o : {&project, &fast, &expect})
        if (parser.isSet(*o))
            return usageError(QStringLiteral("--%1 goes with --run").arg(o->names().first()));
    if (parser.isSet(silent)) {
        settings.silentAnswer = parser.value(silent).toInt(&ok);
        if (!ok || settings.silentAnswer < 1)
            return usageError(QStringLiteral("--silent takes a number from 1"));
    }
    settings.splitAnswers = parser.isSet(split);
    settings.junk = parser.value(junk).toUtf8();
    if (parser.isSet(closeAfter)) {
        settings.closeAfterBytes = parser.value(closeAfter).toLongLong(&ok);
        if (!ok || settings.closeAfterBytes < 0)
            return usageError(QStringLiteral("--close-after takes a byte count"));
    }
    qint64 lineBaud = 0;
    if (parser.isSet(baud)) {
        lineBaud = parser.value(baud).toLongLong(&ok);
        if (!ok || lineBaud <= 0)
            return usageError(QStringLiteral("--baud takes a positive number"));
    }

    // With --baud the module also insists on that rate, as a real one does.
    settings.baud = int(lineBaud);
    VirtualPort port;
    QString error;
    if (!port.start(settings, lineBaud, &error)) {
        QTextStream(stderr) << "lxp-sim: cannot create a pseudo-terminal: " << error << Qt::endl;
        return 1;
    }
    VirtualModule &module = *port.module();
    if (parser.isSet(render)) {
        const QString dir = parser.value(render);
        if (!QDir().mkpath(dir))
            return usageError(QStringLiteral("cannot create %1").arg(dir));
        module.setRenderFolder(dir);
    }
    if (parser.isSet(verbose)) {
        QObject::connect(&module, &VirtualModule::commandReceived, [](const QString &command) {
            QTextStream err(stderr);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
            err.setCodec("UTF-8");
#endif
            err << "lxp-sim: " << command << Qt::endl;
        });
    }
    QObject::connect(&module, &VirtualModule::lineClosed, &app, [] {
        QTextStream(stderr) << "lxp-sim: line closed" << Qt::endl;
        QCoreApplication::exit(0);
    });

    std::unique_ptr<QFile> recordFile;
    if (parser.isSet(record)) {
        const QString path = parser.value(record);
        recordFile = std::make_unique<QFile>();
        QString why;
        if (!RegularFile::openForWriting(path, recordFile.get(), QIODevice::WriteOnly | QIODevice::Truncate, &why))
            return usageError(why);
        recordFile->write("# lxp-sim --record: milliseconds since start, a tab, the line; replay with lxp-sim --run\n");
        recordFile->flush();
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        QObject::connect(&module, &VirtualModule::commandReceived, [file = recordFile.get(), started](const QString &line) {
            // Download commands are kept as comments: they carry blocks a replay cannot have.
            static const char *download[] = {"ICHECK(", "FCHECK(", "BOOT_START", "PG_DLOAD", "FS_HEAD", "SR_DLOAD", "ZIKU", "write_flash"};
            bool isDownload = false;
            for (const char *d : download)
                isDownload = isDownload || line.startsWith(QLatin1String(d));
            const QString text = recordLine(started->elapsed(), line);
            file->write(ModuleText::encode(isDownload ? QStringLiteral("# ") + text : text));
            file->flush();
        });
    }

    std::unique_ptr<ScreenFile> screenFile;
    if (parser.isSet(screen)) {
        const QString why = RegularFile::writeRefusal(parser.value(screen));
        if (!why.isEmpty())
            return usageError(why);
        screenFile = std::make_unique<ScreenFile>(&module, parser.value(screen), parser.isSet(screenDimmed));
        if (!screenFile->write())
            return usageError(QStringLiteral("cannot write %1").arg(parser.value(screen)));
    }
    std::unique_ptr<SimulatorWindow> simulator;
    if (window) {
        simulator = std::make_unique<SimulatorWindow>(&module);
        simulator->setWindowTitle(simulator->windowTitle() + QStringLiteral(" - ") + port.devicePath());
        simulator->show();
    }

    std::printf("%s\n", qPrintable(port.devicePath()));
    std::fflush(stdout);
    return app.exec();
}
