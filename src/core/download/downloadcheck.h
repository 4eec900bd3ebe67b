#pragma once

#include "download/downloadjob.h"

#include <QString>
#include <QStringList>

// The checks made before a project download, on the job's snapshot. Each returns the warning to
// show, or an empty string when the project passes.
namespace DownloadCheck {

// Longest page or boot text the download accepts, in module bytes.
constexpr qint64 MaxScriptBytes = 2040000000;
// Orientation codes and backlight values the module takes.
constexpr int MaxDirection = 3;
constexpr int MaxBacklight = 255;

// Pages whose text (background, controls in list order, primitives, "\r\n") is longer than maxBytes.
QString pageSizeMessage(const QVector<PageData> &pages, const PictureLibrary &pictures,
                        qint64 maxBytes = MaxScriptBytes);
// Both animation ends set and one of them names no picture.
QString bootAnimationMessage(const DownloadJob &job);
// The boot text longer than maxBytes. Counted without building it, so a wild range costs nothing.
QString bootSizeMessage(const DownloadJob &job, qint64 maxBytes = MaxScriptBytes);
// Module bytes of the boot script of the job, counted without building it.
qint64 bootScriptBytes(const DownloadJob &job);
// Orientation outside 0..3 or backlight outside 0..255: the module cannot take them.
QString bootValuesMessage(const BootSettings &boot);
// A control text the module would misread (quote, line break, character outside GBK).
QString unsafeTextMessage(const QVector<PageData> &pages);
// Colour numbers outside the 64-colour table in what is sent to the module.
QString colorNumberMessage(const QVector<PageData> &pages);

// Pictures that may not be downloaded (unreadable, or too large for the picture header), one
// message each, naming the file and the pages that use it. With usedOnly, only pictures that a
// page uses: a page download sends no picture, only the sizes of those it names.
QStringList pictureMessages(const DownloadJob &job, bool usedOnly = false);
// Readable pictures whose pixel bytes together pass what any module stores (the largest flash),
// judged from their header sizes.
QString flashMessage(const DownloadJob &job);
// True when the job's mode sends the picture library.
bool sendsPictures(DownloadMode mode);

// Every failed check for the job's mode, in the order above (the boot size only when the
// animation range is sound); a picture-only job is checked for its pictures alone.
QStringList allMessages(const DownloadJob &job);
// The first failed check, empty when the job may be downloaded.
QString firstMessage(const DownloadJob &job);

}  // namespace DownloadCheck
