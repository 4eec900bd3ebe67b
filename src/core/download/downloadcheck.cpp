#include "download/downloadcheck.h"

#include "download/downloadblocks.h"
#include "script/instructions.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString trWindow(const char *s) { return QCoreApplication::translate("MainWindow", s); }
QString tr(const char *s) { return QCoreApplication::translate("DownloadCheck", s); }

// Characters of i written in decimal, summed over lo..hi (0 <= lo <= hi).
qint64 digitSum(qint64 lo, qint64 hi)
{
    qint64 sum = 0;
    qint64 bandLo = 0;
    qint64 bandHi = 9;
    for (int digits = 1; digits <= 19 && bandLo <= hi; ++digits) {
        const qint64 a = qMax(lo, bandLo);
        const qint64 b = qMin(hi, bandHi);
        if (a <= b)
            sum += (b - a + 1) * digits;
        bandLo = bandHi + 1;
        bandHi = bandHi > (std::numeric_limits<qint64>::max() - 9) / 10 ? std::numeric_limits<qint64>::max()
                                                                           : bandHi * 10 + 9;
    }
    return sum;
}

// The same over lo..hi with negative numbers carrying their minus sign.
qint64 numberTextSum(qint64 lo, qint64 hi)
{
    qint64 sum = 0;
    if (lo < 0) {
        const qint64 negHi = qMin<qint64>(hi, -1);
        sum += (negHi - lo + 1) + digitSum(-negHi, -lo);
    }
    if (hi >= 0)
        sum += digitSum(qMax<qint64>(lo, 0), hi);
    return sum;
}

bool isColor(int n) { return n >= 0 && n <= 63; }

bool usesPicture(const PageData &page, int n)
{
    if (page.imageNum == n)
        return true;
    for (const ControlRecord &c : page.controls) {
        if (c.imageNum == n || c.cutImageNum == n || c.backgroundImageNum == n || c.backgroundCutImageNum == n ||
            c.pressImageNum == n || c.pressCutImageNum == n)
            return true;
    }
    return false;
}

}  // namespace

namespace DownloadCheck {

QString pageSizeMessage(const QVector<PageData> &pages, const PictureLibrary &pictures, qint64 maxBytes)
{
    QString collected;
    for (int p = 0; p < pages.size(); ++p) {
        const PageData &page = pages.at(p);
        qint64 bytes = ModuleText::byteCount(pageBackgroundText(page, pictures)) + 2;
        for (const ControlRecord &c : page.controls)
            bytes += ModuleText::byteCount(instructionText(c));
        for (const QMyDrawType &d : page.primitives)
            bytes += ModuleText::byteCount(d.instructionTextFor());
        if (bytes > maxBytes)
            collected += QStringLiteral("%1、").arg(p);
    }
    if (collected.isEmpty())
        return QString();
    collected.chop(1);
    return trWindow("第%1页指令字节数超过了%2字节，请您重新调整！").arg(collected).arg(maxBytes);
}

QString bootAnimationMessage(const DownloadJob &job)
{
    if (job.gifFirst == -1 || job.gifLast == -1)
        return QString();
    // A negative end other than -1 names no picture either.
    if (job.pictures.contains(job.gifFirst) && job.pictures.contains(job.gifLast))
        return QString();
    return trWindow("开机动画设置的ID已超过总图片的数目，请您重新设置！");
}

qint64 bootScriptBytes(const DownloadJob &job)
{
    qint64 bytes = QStringLiteral("DIR(%1);BL(%2);JUMP(%3);\r\n")
                       .arg(job.direction)
                       .arg(job.backlight)
                       .arg(job.bootPage)
                       .size();
    if (job.gifFirst != -1 && job.gifLast != -1 && job.gifFirst <= job.gifLast) {
        const qint64 frames = qint64(job.gifLast) - job.gifFirst + 1;
        // One frame without its picture number.
        const qint64 frame = QStringLiteral("GIF(,%1,%2,%3,%4);DELAYMS(%5);")
                                 .arg(job.gifX)
                                 .arg(job.gifY)
                                 .arg(job.gifW)
                                 .arg(job.gifH)
                                 .arg(job.gifIntervalMs)
                                 .size();
        bytes += frames * frame + numberTextSum(job.gifFirst, job.gifLast);
    }
    return bytes;
}

QString bootSizeMessage(const DownloadJob &job, qint64 maxBytes)
{
    if (bootScriptBytes(job) <= maxBytes)
        return QString();
    return trWindow("BOOT指令字节数超过了%1字节，请您重新调整！").arg(maxBytes);
}

QString bootValuesMessage(const BootSettings &boot)
{
    QStringList found;
    if (boot.direction < 0 || boot.direction > MaxDirection)
        found << tr("屏幕方向%1超出了0到%2的范围").arg(boot.direction).arg(MaxDirection);
    if (boot.backlight < 0 || boot.backlight > MaxBacklight)
        found << tr("背光值%1超出了0到%2的范围").arg(boot.backlight).arg(MaxBacklight);
    if (found.isEmpty())
        return QString();
    return tr("%1，请您重新设置！").arg(found.join(tr("，")));
}

QString unsafeTextMessage(const QVector<PageData> &pages)
{
    for (int p = 0; p < pages.size(); ++p) {
        TextProblem problem;
        if (findUnsafeText(pages.at(p), p, &problem))
            return problem.message;
    }
    return QString();
}

QString colorNumberMessage(const QVector<PageData> &pages)
{
    QStringList found;
    for (int p = 0; p < pages.size(); ++p) {
        const PageData &page = pages.at(p);
        if (page.imageNum == -1 && !isColor(page.backgroundNum))
            found << tr("第%1页背景颜色%2").arg(p).arg(page.backgroundNum);
        for (const ControlRecord &c : page.controls) {
            QVector<int> sent = {c.fontColorNum};
            switch (c.kind) {
            case ControlKind::Text:
            case ControlKind::Number:
            case ControlKind::Progress:
                sent << c.backgroundColorNum << c.styleColorNum;
                break;
            case ControlKind::Button:
                sent << c.backgroundColorNum << c.pressColorNum << c.styleColorNum;
                break;
            case ControlKind::Pointer:
            case ControlKind::QRCode:
                break;
            }
            for (int n : sent) {
                if (!isColor(n)) {
                    found << tr("第%1页%2控件%3的颜色%4").arg(p).arg(c.className()).arg(c.id).arg(n);
                    break;
                }
            }
        }
        for (int i = 0; i < page.primitives.size(); ++i) {
            const int n = page.primitives.at(i).colorNum();
            if (!isColor(n))
                found << tr("第%1页第%2个图形的颜色%3").arg(p).arg(i).arg(n);
        }
    }
    if (found.isEmpty())
        return QString();
    return tr("%1超出了颜色编号0到63的范围，请您重新设置！").arg(found.join(tr("、")));
}

bool sendsPictures(DownloadMode mode)
{
    return mode == DownloadMode::Pictures || mode == DownloadMode::PicturesAndPages;
}

QStringList pictureMessages(const DownloadJob &job, bool usedOnly)
{
    QStringList messages;
    for (int n : job.pictures.problemPictures()) {
        const PictureInfo &info = job.pictures.at(n);
        QStringList pages;
        for (int p = 0; p < job.pages.size(); ++p) {
            if (usesPicture(job.pages.at(p), n))
                pages << QString::number(p);
        }
        if (usedOnly && pages.isEmpty())
            continue;
        const QString name = QFileInfo(info.path).fileName();
        const QString number = QString::number(n);
        const QSize size = info.size;
        QString m;
        if (info.state == PictureState::Unreadable) {
            m = tr("图片%1（编号%2）无法读取").arg(name, number);
        } else if (size.width() > PictureReader::MaxSide || size.height() > PictureReader::MaxSide) {
            m = tr("图片%1（编号%2）的尺寸%3x%4过大，每边不能超过%5像素")
                    .arg(name, number, QString::number(size.width()), QString::number(size.height()),
                         QString::number(PictureReader::MaxSide));
        } else {
            m = tr("图片%1（编号%2）的尺寸%3x%4过大，像素总数不能超过%5")
                    .arg(name, number, QString::number(size.width()), QString::number(size.height()),
                         QString::number(PictureReader::MaxPixels));
        }
        if (!pages.isEmpty())
            m += tr("，第%1页使用了该图片").arg(pages.join(tr("、")));
        m += info.state == PictureState::Unreadable ? tr("，请您删除或重新导入该图片！") : tr("，请您删除或缩小该图片！");
        messages << m;
    }
    return messages;
}

QString flashMessage(const DownloadJob &job)
{
    // Pictures refused on their own are not counted twice.
    if (!sendsPictures(job.mode) || job.pictures.readableBytes() <= DownloadBlocks::MaxFlashBytes)
        return QString();
    // The largest module's own answer to such a library.
    return QCoreApplication::translate("SerialPortDlg", "下载失败，下载图片的bin文件总大小超过11M！");
}

QStringList allMessages(const DownloadJob &job)
{
    QStringList messages;
    auto add = [&](const QString &m) {
        if (!m.isEmpty())
            messages << m;
    };
    if (job.mode == DownloadMode::Pictures) {
        messages = pictureMessages(job);
        add(flashMessage(job));
        return messages;
    }
    messages << pictureMessages(job, !sendsPictures(job.mode));
    add(flashMessage(job));
    add(pageSizeMessage(job.pages, job.pictures));
    const QString range = bootAnimationMessage(job);
    add(range);
    if (range.isEmpty())
        add(bootSizeMessage(job));
    add(bootValuesMessage(job));
    add(unsafeTextMessage(job.pages));
    add(colorNumberMessage(job.pages));
    return messages;
}

QString firstMessage(const DownloadJob &job) { return allMessages(job).value(0); }

}  // namespace DownloadCheck
