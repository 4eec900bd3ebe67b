#pragma once

#include "library/picturelibrary.h"
#include "model/bootsettings.h"
#include "model/projectdata.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// What a device operation does.
enum class DownloadMode {
    PagesOnly = 0,
    Pictures = 1,
    PicturesAndPages = 2,
    Fonts = 3,
    Backlight = 4,
    BaudRate = 5,
    BusAddress = 6,
    Command = 7,
};

// The request record of every device operation. It carries a snapshot of the project taken when
// the job is made (pages, pictures, fonts), so the worker never reads live editor objects and
// edits made during a download do not change what is sent.
// Its boot settings are those of the project, for the boot script.
struct DownloadJob : BootSettings {
    DownloadMode mode = DownloadMode::PagesOnly;
    QString command;
    // RS-485 address of a BusAddress job: enable flag (0 or 1) and the decimal address text.
    int busAddressEnabled = 0;
    QString busAddress;

    // Snapshot (implicitly shared, cheap to copy).
    QVector<PageData> pages;
    PictureLibrary pictures;
    QStringList fonts;
    QString baud;  // added by the serial link when it starts the worker
    // The pictures' pixel block, made once when the pictures were decoded for their verdicts (or
    // once for many modules, in a batch), so that no picture is decoded twice; when it is not
    // ready, the pictures are decoded when they are sent.
    QByteArray pixelBlock;
    bool pixelsReady = false;
};

// How much of the pictures a job made for a project reads.
enum class JobPictures {
    ForMode,   // each picture decoded once: verdicts, and the pixel block when the mode sends pictures
    Verdicts,  // each picture decoded once for its verdict, no pixel block
    // Verdicts and the pixel block whatever the mode: a page download whose question may still
    // add the pictures.
    VerdictsAndPixels,
    Headers,  // sizes from the headers only (scripts, counts)
    None,     // the library is not read (the caller brings one judged before)
};

namespace DownloadBlocks {
struct DecodeControl;
}

// A job for a project: its boot settings as the editor reads them (bootSettingsOf), with the
// snapshot of its pages, pictures (of "<folder>/tempImages") and fonts. With control, another
// thread may follow and stop the decoding; a stopped job is incomplete and is to be dropped.
DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode,
                           JobPictures reading = JobPictures::ForMode,
                           DownloadBlocks::DecodeControl *control = nullptr);

// Names, sizes and times of the files of the project's picture folder: equal stamps mean that a
// library judged from the folder may be used again without reading a picture.
QByteArray pictureFolderStamp(const QString &projectFolder);

Q_DECLARE_METATYPE(DownloadJob)
