// How long the interface thread is held by the project download's picture checks: 200 pictures of
// 800 x 480. "Decoded here" is the click as it was (every picture decoded on the interface thread,
// once for the click and once more for the answer); "judging thread" is the click now, measured as
// the longest the interface thread went without running a 1 ms timer from the click to the
// question, and the answer (reusing the judged pictures) timed on its own.
#include "app/appglobals.h"
#include "app/mainwindow.h"
#include "benchdata.h"
#include "dialogs/qmymessagebox.h"
#include "download/downloadjob.h"
#include "file/projectfile.h"
#include "library/librarypanel.h"
#include "library/picturereader.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

QString makeProject(const QString &folder, int pictures)
{
    makePictures(folder + QStringLiteral("/tempImages"), pictures, QSize(800, 480));
    QDir().mkpath(folder + QStringLiteral("/tempFonts"));
    ProjectData d;
    d.frameW = 800;
    d.frameH = 480;
    d.dpi = QStringLiteral("800*480(WVGA)");
    d.pages = hundredPages(4);
    const QString path = folder + QStringLiteral("/judging.Tavo");
    QString error;
    if (!ProjectFile::write(path, d, &error))
        std::printf("cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    return path;
}

void waitFor(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

struct Click {
    double longestStallMs = 0;
    double toQuestionMs = 0;
    double answerMs = 0;
    int decodes = 0;
    int mainDecodes = 0;
};

Click clickNow(MainWindow &w)
{
    Click c;
    w.questionBox()->hide();
    const int decodes = PictureReader::decodeCount();
    const int onMain = PictureReader::mainThreadDecodeCount();
    QEventLoop loop;
    QElapsedTimer tick, clock;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        longest = qMax(longest, tick.nsecsElapsed());
        tick.start();
        if (w.questionBox()->isVisible() && !w.judgingPictures())
            loop.quit();
    });
    QTimer::singleShot(0, &w, [&] {
        // The click itself, up to the moment it waits for the verdict, counts as held.
        longest = qMax(longest, tick.nsecsElapsed());
        w.on_btnInstrDownLoad_clicked();
        tick.start();
    });
    heartbeat.start();
    tick.start();
    clock.start();
    loop.exec();
    heartbeat.stop();
    c.toQuestionMs = double(clock.nsecsElapsed()) / 1e6;
    c.longestStallMs = double(longest) / 1e6;
    // The answer with the pictures: the judged ones are used again (the port is closed, so the
    // link refuses at once; what is timed is the window's own work).
    w.questionBox()->findChild<QCheckBox *>(QStringLiteral("checkBoxDown"))->setChecked(true);
    QElapsedTimer answer;
    answer.start();
    w.questionBox()->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    c.answerMs = double(answer.nsecsElapsed()) / 1e6;
    c.decodes = PictureReader::decodeCount() - decodes;
    c.mainDecodes = PictureReader::mainThreadDecodeCount() - onMain;
    return c;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pictures = argc > 1 ? QByteArray(argv[1]).toInt() : 200;
    const int rounds = 3;
    QTemporaryDir dir;
    App::projectPath() = makeProject(dir.filePath(QStringLiteral("judging")), pictures);
    MainWindow w;
    // The thumbnails are made first, so that they do not share the figures.
    waitFor([&] { return w.library()->thumbnailsComplete(); });

    QVector<double> beforeClick, beforeAnswer, stall, toQuestion, answer;
    int decodes = 0, mainDecodes = 0;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        // The click as it was: the job made here, every picture decoded for its verdict...
        DownloadJob job = jobFromProject(w.projectData(), MainWindow::projectFolder(), DownloadMode::PagesOnly);
        beforeClick << double(t.nsecsElapsed()) / 1e6;
        // ...and made again for the answer.
        t.restart();
        job = jobFromProject(w.projectData(), MainWindow::projectFolder(), DownloadMode::PagesOnly);
        beforeAnswer << double(t.nsecsElapsed()) / 1e6;

        const Click c = clickNow(w);
        stall << c.longestStallMs;
        toQuestion << c.toQuestionMs;
        answer << c.answerMs;
        decodes = c.decodes;
        mainDecodes = c.mainDecodes;
    }
    std::printf("%d pictures of 800 x 480, 100 pages, medians of %d rounds\n", pictures, rounds);
    std::printf("decoded here:    click holds the interface thread %.1f ms, answer %.1f ms\n", median(beforeClick),
                median(beforeAnswer));
    std::printf("judging thread:  longest hold from click to question %.1f ms (question after %.1f ms), answer %.1f ms\n",
                median(stall), median(toQuestion), median(answer));
    std::printf("judging thread:  %d decodes from click to answer, %d on the interface thread\n", decodes, mainDecodes);
    return 0;
}
