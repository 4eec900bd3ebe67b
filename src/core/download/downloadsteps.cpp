#include "download/downloadsteps.h"

#include "download/downloadblocks.h"
#include "download/downloadcheck.h"
#include "download/transferestimate.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// A module answers the first question of a job (FCHECK, ICHECK) at once; only the steps that
// erase or write flash need the long waits. A port with no module behind it fails after this.
constexpr int FirstQuestionMs = 10000;

}  // namespace

DownloadSteps::DownloadSteps(Clock clock) : m_clock(std::move(clock)) {}

QString DownloadSteps::tr(const char *text) { return QCoreApplication::translate("InstructSerialPort", text); }

void DownloadSteps::start(const DownloadJob &job)
{
    m_job = job;
    m_step = 0;
    m_lastStep = -1;
    m_pageIndex = 0;
    m_progressTotal = 0;
    m_currentText.clear();
    m_fontData.clear();
    m_active = true;
    run();
}

void DownloadSteps::acknowledge()
{
    if (!m_active)
        return;
    ++m_step;
    run();
}

void DownloadSteps::reset()
{
    m_active = false;
    m_step = m_lastStep = m_pageIndex = 0;
    m_heldBytes = 0;
    m_job.gifFirst = m_job.gifLast = -1;
    m_job.gifX = m_job.gifY = m_job.gifW = m_job.gifH = m_job.gifIntervalMs = 0;
    m_fontData.clear();
    m_currentText.clear();
}

void DownloadSteps::run()
{
    // An action may move the step itself (the page loop); keep going until a step waits.
    while (m_active && m_step != m_lastStep) {
        m_lastStep = m_step;
        m_stepStartMs = m_clock();
        m_heldBytes = 0;
        perform();
    }
}

int DownloadSteps::timeoutMs() const
{
    switch (m_job.mode) {
    case DownloadMode::PagesOnly: return 10000;
    case DownloadMode::Pictures: return m_step == 0 ? FirstQuestionMs : 1200000;
    case DownloadMode::PicturesAndPages:
        return m_step == 0 ? FirstQuestionMs : m_step < PageStepsOffset ? 1200000 : 10000;
    case DownloadMode::Fonts: return 300000;
    case DownloadMode::Backlight:
    case DownloadMode::BaudRate: return 5000;
    case DownloadMode::BusAddress:
    case DownloadMode::Command: return 10000;
    }
    return 10000;
}

QString DownloadSteps::timeoutMessage() const
{
    switch (m_job.mode) {
    case DownloadMode::PagesOnly:
    case DownloadMode::Pictures:
    case DownloadMode::Fonts: return tr("通信超时，下载失败！");
    default: return tr("通信超时！");
    }
}

qint64 DownloadSteps::allowedMs() const
{
    if (m_heldBytes <= 0)
        return timeoutMs();
    // A line that never reports the block sent must not keep the job waiting for ever: allow
    // twice the wire time at the job's rate (the slowest rate when unknown) on top.
    bool ok = false;
    qint64 baud = m_job.baud.toLongLong(&ok);
    if (!ok || baud <= 0)
        baud = FallbackBaud;
    return timeoutMs() + BlockLineFactor * qint64(Transfer::lineMs(m_heldBytes, baud)) + BlockSlackMs;
}

qint64 DownloadSteps::msUntilTimeout() const
{
    if (!m_active)
        return -1;
    const qint64 elapsed = m_clock() - m_stepStartMs;
    return qMax<qint64>(0, allowedMs() - elapsed + 1);
}

void DownloadSteps::lineDrained()
{
    if (!m_active || m_heldBytes == 0)
        return;
    m_heldBytes = 0;
    m_stepStartMs = m_clock();
}

void DownloadSteps::progressTick()
{
    if (m_active)
        m_stepStartMs = m_clock();
}

void DownloadSteps::checkTimeout()
{
    if (!m_active || m_step != m_lastStep)
        return;
    const qint64 elapsed = m_clock() - m_stepStartMs;
    if (elapsed <= allowedMs())
        return;
    const QString text = timeoutMessage();
    message(Log, text);
    message(Warning, text);
    finish(false, text);
}

QVector<StepOutput> DownloadSteps::takeOutput()
{
    QVector<StepOutput> out;
    out.swap(m_out);
    return out;
}

void DownloadSteps::message(int code, const QString &text)
{
    StepOutput o;
    o.kind = StepOutput::Message;
    o.code = code;
    o.text = text;
    m_out.append(o);
}

void DownloadSteps::write(const QByteArray &bytes)
{
    StepOutput o;
    o.kind = StepOutput::Write;
    o.bytes = bytes;
    m_out.append(o);
}

void DownloadSteps::writeBlock(const QByteArray &bytes)
{
    m_heldBytes += bytes.size();
    write(bytes);
}

void DownloadSteps::sendText(const QString &text)
{
    message(Log, text);
    write(ModuleText::encode(text));
}

void DownloadSteps::progress(qint64 total, qint64 value)
{
    StepOutput o;
    o.kind = StepOutput::Progress;
    o.code = 1;
    o.total = total;
    o.value = value;
    m_out.append(o);
}

void DownloadSteps::finish(bool ok, const QString &text)
{
    StepOutput o;
    o.kind = StepOutput::Finished;
    o.ok = ok;
    o.text = text;
    m_out.append(o);
    reset();
}

void DownloadSteps::perform()
{
    switch (m_job.mode) {
    case DownloadMode::PagesOnly: performPages(m_step); break;
    case DownloadMode::Pictures:
    case DownloadMode::PicturesAndPages:
        if (m_step < PageStepsOffset || m_job.mode == DownloadMode::Pictures)
            performPictures(m_step);
        else
            performPages(m_step - PageStepsOffset);
        break;
    case DownloadMode::Fonts: performFonts(m_step); break;
    case DownloadMode::Backlight:
    case DownloadMode::BaudRate:
    case DownloadMode::BusAddress:
    case DownloadMode::Command: performCommand(m_step); break;
    }
}

void DownloadSteps::performPages(int s)
{
    const int offset = m_job.mode == DownloadMode::PicturesAndPages ? PageStepsOffset : 0;
    switch (s) {
    case 0: sendText(QStringLiteral("ICHECK();\r\n")); break;
    case 1:
        m_currentText = buildBootScript(m_job);
        sendText(QStringLiteral("BOOT_START(%1);\r\n").arg(ModuleText::byteCount(m_currentText)));
        message(Hint, tr("页面下载中，请稍后......"));
        break;
    case 2:
        message(Log, m_currentText);
        message(BootScriptSent, QString());
        write(ModuleText::encode(m_currentText));
        break;
    case 3:
        // With no page left nothing is sent and the step runs into its time-out.
        if (m_pageIndex < m_job.pages.size()) {
            TextProblem problem;
            if (!buildPageScript(m_job.pages.at(m_pageIndex), m_pageIndex, m_job.pictures, &m_currentText,
                                 &problem)) {
                message(Warning, problem.message);
                finish(false, problem.message);
                return;
            }
            sendText(QStringLiteral("PG_DLOAD(%1,%2);\r\n").arg(m_pageIndex).arg(ModuleText::byteCount(m_currentText)));
        }
        break;
    case 4: sendText(m_currentText); break;
    case 5:
        if (m_pageIndex + 1 >= m_job.pages.size()) {
            ++m_step;
        } else {
            ++m_pageIndex;
            m_step = offset + 3;
        }
        break;
    case 6: {
        sendText(QStringLiteral("RESET();\r\n"));
        const QString done = tr("页面下载成功！");
        message(Log, done);
        message(Hint, done);
        finish(true, done);
        break;
    }
    default: break;
    }
}

void DownloadSteps::performPictures(int s)
{
    switch (s) {
    case 0: {
        // Callers check before starting; this stops any job that skipped it before a byte is sent.
        QStringList problems = DownloadCheck::pictureMessages(m_job);
        problems << DownloadCheck::flashMessage(m_job);
        problems.removeAll(QString());
        if (!problems.isEmpty()) {
            message(Warning, problems.first());
            finish(false, problems.first());
            break;
        }
        sendText(QStringLiteral("FCHECK();\r\n"));
        break;
    }
    case 1: {
        const qint64 h = DownloadBlocks::pictureHeaderLength(m_job.pictures.count());
        const qint64 p = m_job.pictures.totalBytes();
        m_progressTotal = 2 * (h + p);
        progress(m_progressTotal, 0);
        sendText(QStringLiteral("FS_HEAD(%1);\r\n").arg(h));
        break;
    }
    case 2: writeBlock(DownloadBlocks::pictureHeader(m_job.pictures)); break;
    case 3:
        // No pixel data: announcing an empty block would leave the module's two answers to merge.
        if (m_job.pictures.totalBytes() == 0) {
            m_step = 5;
            break;
        }
        sendText(QStringLiteral("SR_DLOAD(2,%1);\r\n").arg(m_job.pictures.totalBytes()));
        break;
    case 4:
        writeBlock(m_job.pixelsReady || !m_job.pixelBlock.isEmpty() ? m_job.pixelBlock
                                                                     : DownloadBlocks::pixelData(m_job.pictures));
        break;
    case 5: {
        const QString done = tr("图片下载成功！");
        if (m_job.mode == DownloadMode::Pictures) {
            sendText(QStringLiteral("RESET();\r\n"));
            progress(m_progressTotal, m_progressTotal);
            message(Log, done);
            finish(true, done);
        } else {
            progress(m_progressTotal, m_progressTotal);
            message(Log, done);
            ++m_step;
        }
        break;
    }
    default: break;
    }
}

void DownloadSteps::performFonts(int s)
{
    switch (s) {
    case 0:
    case 2: {
        const bool small = s == 0;
        QString unreadable;
        m_fontData = small ? DownloadBlocks::smallFontImage(m_job.fonts, &unreadable)
                           : DownloadBlocks::largeFontImage(m_job.fonts, &unreadable);
        const int limit = small ? DownloadBlocks::SmallFontLimit : DownloadBlocks::LargeFontLimit;
        if (!unreadable.isEmpty()) {
            const QString text = tr("字库文件%1无法读取，下载失败！").arg(QFileInfo(unreadable).fileName());
            message(Warning, text);
            finish(false, text);
        } else if (m_fontData.size() <= limit) {
            sendText(QStringLiteral("%1(%2);\r\n")
                         .arg(small ? QLatin1String("ZIKU") : QLatin1String("ZIKU48"))
                         .arg(m_fontData.size()));
        } else {
            const QString text = small ? tr("小字库不能超过2M！") : tr("大字库不能超过3M！");
            message(Warning, text);
            finish(false, text);
        }
        break;
    }
    case 1:
    case 3:
        message(Log, s == 1 ? tr("小字库下载中，请稍后......") : tr("大字库下载中，请稍后......"));
        writeBlock(m_fontData);
        break;
    case 4: {
        const QString done = tr("字库下载成功！");
        message(Log, done);
        message(Hint, done);
        finish(true, done);
        break;
    }
    default: break;
    }
}

void DownloadSteps::performCommand(int s)
{
    const DownloadMode mode = m_job.mode;
    if (s == 0) {
        sendText(m_job.command);
        return;
    }
    if (mode == DownloadMode::BusAddress) {
        if (s == 1) {
            const int flag = m_job.busAddressEnabled ? 1 : 0;
            // The address field holds 0..255; anything else is taken modulo 256 as the module would.
            const int address = flag ? (m_job.busAddress.trimmed().toInt() & 0xFF) : 0;
            QByteArray bytes;
            bytes.append(char(flag));
            bytes.append(char(address));
            write(bytes);
        } else if (s == 2) {
            sendText(QStringLiteral("RESET();\r\n"));
            const QString done = tr("写入485地址成功！");
            message(CommandDone, done);
            finish(true, done);
        }
        return;
    }
    if (s != 1)
        return;
    QString done;
    int code = CommandDone;
    if (mode == DownloadMode::Backlight) {
        done = tr("背光度设置成功！");
        code = BacklightSet;
    } else if (mode == DownloadMode::BaudRate) {
        done = tr("波特率设置成功！");
        code = BaudSet;
    } else {
        done = tr("指令集发送成功！");
    }
    message(code, done);
    finish(true, done);
}

qint64 wireByteCount(const DownloadJob &job)
{
    qint64 fakeNow = 0;
    DownloadSteps steps([&fakeNow] { return fakeNow; });
    qint64 total = 0;
    auto count = [&] {
        for (const StepOutput &o : steps.takeOutput()) {
            if (o.kind == StepOutput::Write)
                total += o.bytes.size();
        }
    };
    steps.start(job);
    // Bounded: a job never has more steps than pages and pictures allow.
    for (int i = 0; i < 1000000 && steps.isActive(); ++i) {
        count();
        steps.acknowledge();
    }
    count();
    return total;
}
