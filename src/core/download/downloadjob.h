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
    // Pixel data of the pictures made once for many modules (a batch); empty: each job decodes
    // the pictures when it sends them.
    QByteArray pixelBlock;
};

// A job for a project: its boot settings as the editor reads them (bootSettingsOf), with the
// snapshot of its pages, pictures (of "<folder>/tempImages") and fonts.
DownloadJob jobFromProject(const ProjectData &project, const QString &projectFolder, DownloadMode mode);

Q_DECLARE_METATYPE(DownloadJob)
