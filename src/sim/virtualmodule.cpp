#include "virtualmodule.h"

#include "script/moduletext.h"

#include <QDir>
#include <QIODevice>
#include <QRegularExpression>

namespace {

// Anything larger than the module's flash is not a block the module would take.
constexpr qint64 kMaxBlock = qint64(16) * 1024 * 1024;
constexpr int kMaxLine = 64 * 1024;
constexpr qint64 kAddressFlash = 2002944;

// "NAME(a,b)" in the line, as integers.
bool call(const QString &line, const QString &name, QList<qint64> *args)
{
    // Most lines are instructions for the runtime: look for the name before building a pattern.
    if (!line.contains(name))
        return false;
    static thread_local QHash<QString, QRegularExpression> patterns;
    auto it = patterns.find(name);
    if (it == patterns.end())
        it = patterns.insert(name, QRegularExpression(QStringLiteral("(?:^|[^A-Za-z_])") + QRegularExpression::escape(name) +
                                                      QStringLiteral("\\(([^)]*)\\)")));
    const QRegularExpressionMatch m = it->match(line);
    if (!m.hasMatch())
        return false;
    args->clear();
    const QStringList parts = m.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &p : parts)
        args->append(p.trimmed().toLongLong());
    return true;
}

}  // namespace

VirtualModule::VirtualModule(QObject *parent)
    : QObject(parent), m_runTimer(this), m_outTimer(this), m_blockTimer(this)
{
    m_clock.start();
    m_outTimer.setSingleShot(true);
    connect(&m_outTimer, &QTimer::timeout, this, &VirtualModule::pump);
    m_blockTimer.setSingleShot(true);
    connect(&m_blockTimer, &QTimer::timeout, this, [this] {
        m_block = Block::None;
        m_blockData.clear();
    });
    m_runTimer.setSingleShot(true);
    connect(&m_runTimer, &QTimer::timeout, this, [this] {
        m_runtime.run(m_clock.elapsed());
        afterRun();
    });
    m_runtime.answer = [this](const QByteArray &answer) { acknowledge(answer); };
    m_runtime.log = [this](const QString &note) { emit noted(note); };
    m_runtime.restarted = [this] { m_restarted = true; };
    setSettings(m_settings);
}

VirtualModule::~VirtualModule()
{
    // The runtime outlives nothing it calls back into.
    m_runtime.answer = nullptr;
    m_runtime.log = nullptr;
    m_runtime.restarted = nullptr;
}

void VirtualModule::setSettings(const ModuleSettings &settings)
{
    m_settings = settings;
    m_runtime.setPanelSize(settings.screen);
    m_runtime.setFirmware(settings.firmware);
    m_runtime.setMaxTextBytes(settings.maxTextBytes);
    if (settings.baud > 0)
        m_runtime.setBaud(settings.baud);
}

void VirtualModule::inject(const QByteArray &bytes)
{
    consume(bytes);
}

void VirtualModule::powerOn()
{
    m_runtime.restart(m_clock.elapsed());
    m_restarted = false;
    afterRun();
}

void VirtualModule::press(const QPoint &point)
{
    releasePress();
    m_pressedButton = m_runtime.screen().buttonAt(point);
    if (m_pressedButton >= 0) {
        m_runtime.screen().setPressed(m_pressedButton, true);
        afterRun();
    }
}

void VirtualModule::releasePress()
{
    if (m_pressedButton < 0)
        return;
    m_runtime.screen().setPressed(m_pressedButton, false);
    m_pressedButton = -1;
    afterRun();
}

quint64 VirtualModule::stateStamp() const
{
    const ModuleRuntime &r = m_runtime;
    return r.screen().serial() * 1000003u + quint64(r.backlight()) * 4099u + quint64(r.direction()) * 17u +
           quint64(r.currentPage() + 1) * 131u + (r.lcdOn() ? 1u : 0u);
}

void VirtualModule::afterRun()
{
    if (m_restarted) {
        m_restarted = false;
        ++m_resets;
        if (!m_renderFolder.isEmpty())
            renderPages(m_renderFolder);
        emit resetDone();
    }
    schedule();
    const quint64 stamp = stateStamp();
    if (stamp != m_lastStamp) {
        m_lastStamp = stamp;
        emit stateChanged();
    }
}

void VirtualModule::schedule()
{
    const qint64 due = m_runtime.nextDue();
    if (due < 0)
        m_runTimer.stop();
    else
        m_runTimer.start(int(qBound(qint64(0), due - m_clock.elapsed(), qint64(ModuleRuntime::MaxDelayMs))));
}

void VirtualModule::attach(QIODevice *device)
{
    m_device = device;
    connect(device, &QIODevice::readyRead, this, &VirtualModule::onReadyRead);
}

void VirtualModule::onReadyRead()
{
    if (!m_device)
        return;
    const QByteArray bytes = m_device->readAll();
    if (bytes.isEmpty())
        return;
    // Bytes sent at the wrong rate arrive garbled: nothing in them is a command.
    if (m_settings.baud > 0 && m_lineRate && m_lineRate() != m_runtime.baud()) {
        m_line.clear();
        return;
    }
    consume(bytes);
}

void VirtualModule::consume(const QByteArray &input)
{
    QByteArray bytes = input;
    bool closeAfter = false;
    if (m_settings.closeAfterBytes >= 0 && m_received + bytes.size() >= m_settings.closeAfterBytes) {
        bytes.truncate(int(qMax<qint64>(0, m_settings.closeAfterBytes - m_received)));
        closeAfter = true;
    }
    m_received += bytes.size();
    int i = 0;
    while (i < bytes.size()) {
        if (m_block != Block::None) {
            const int n = int(qMin<qint64>(m_blockSize - m_blockData.size(), bytes.size() - i));
            const qint64 before = m_blockData.size();
            m_blockData.append(bytes.constData() + i, n);
            i += n;
            if (m_block == Block::Pixels && !m_settings.noTicks) {
                // Erase and write progress while the pixel data is stored, each its own write.
                for (qint64 at = (before / 4096 + 1) * 4096; at <= m_blockData.size(); at += 4096) {
                    send("e");
                    if (at % 8192 == 0)
                        send("o");
                }
            }
            if (m_blockData.size() >= m_blockSize)
                finishBlock();
            continue;
        }
        const int nl = bytes.indexOf('\n', i);
        if (nl < 0) {
            m_line.append(bytes.constData() + i, bytes.size() - i);
            if (m_line.size() > kMaxLine)
                m_line = m_line.right(kMaxLine);
            break;
        }
        m_line.append(bytes.constData() + i, nl - i);
        i = nl + 1;
        const QByteArray line = m_line;
        m_line.clear();
        handleLine(line);
        if (!m_device)
            return;
    }
    if (m_block != Block::None)
        m_blockTimer.start(m_settings.blockIdleMs);
    else
        m_blockTimer.stop();
    if (closeAfter)
        closeLine();
}

qint64 VirtualModule::storedBytes(Block replaced, int page) const
{
    qint64 total = 0;
    if (replaced != Block::SmallFont)
        total += m_smallFont;
    if (replaced != Block::LargeFont)
        total += m_largeFont;
    if (replaced != Block::Boot)
        total += m_runtime.bootScript().size();
    if (replaced != Block::Header)
        total += m_header.size();
    if (replaced != Block::Pixels)
        total += m_pixels.size();
    const QMap<int, QByteArray> pages = m_runtime.pages();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        if (replaced != Block::Page || it.key() != page)
            total += it.value().size();
    }
    return total;
}

bool VirtualModule::expectBlock(Block block, qint64 size)
{
    if (size < 0 || size > kMaxBlock)
        return false;  // no answer: the host runs into its time-out
    // Everything stored shares the flash: a block that would not fit beside the rest is refused
    // as a full module refuses it, by not answering.
    const qint64 flash = qint64(m_settings.flashMiB) * 1024 * 1024;
    if (block != Block::Flash && storedBytes(block, m_blockPage) + size > flash) {
        emit noted(tr("闪存已满：%1字节的数据块放不下（闪存%2 MiB）").arg(size).arg(m_settings.flashMiB));
        return false;
    }
    acknowledge("OK");
    m_block = block;
    m_blockSize = size;
    m_blockData.clear();
    if (size == 0)
        finishBlock();
    return true;
}

void VirtualModule::handleLine(const QByteArray &raw)
{
    QByteArray bytes = raw;
    while (bytes.endsWith('\r'))
        bytes.chop(1);
    const QString line = ModuleText::decode(bytes).trimmed();
    if (line.isEmpty())
        return;
    m_commands << line;
    if (m_commands.size() > MaxCommands)
        m_commands.removeFirst();
    emit commandReceived(line);

    QList<qint64> a;
    if (line.contains(QLatin1String("ICHECK("))) {
        acknowledge(QStringLiteral("INFO_%1x%2_%3_%4_%5_%6\r\n")
                        .arg(m_settings.screen.width())
                        .arg(m_settings.screen.height())
                        .arg(m_settings.maxControls)
                        .arg(m_settings.maxBytes)
                        .arg(m_settings.flashMiB)
                        .arg(m_settings.maxTextBytes)
                        .toLatin1());
    } else if (line.contains(QLatin1String("FCHECK("))) {
        acknowledge(QStringLiteral("FLASH_%1\r\n").arg(m_settings.flashMiB).toLatin1());
    } else if (call(line, QStringLiteral("BOOT_START"), &a)) {
        expectBlock(Block::Boot, a.value(0, -1));
    } else if (call(line, QStringLiteral("PG_DLOAD"), &a)) {
        m_blockPage = int(a.value(0, 0));
        if (m_blockPage < 0 || m_blockPage > 9999 || !expectBlock(Block::Page, a.value(1, -1)))
            return;
    } else if (call(line, QStringLiteral("FS_HEAD"), &a)) {
        expectBlock(Block::Header, a.value(0, -1));
    } else if (call(line, QStringLiteral("SR_DLOAD"), &a)) {
        expectBlock(Block::Pixels, a.value(1, -1));
    } else if (call(line, QStringLiteral("ZIKU48"), &a)) {
        expectBlock(Block::LargeFont, a.value(0, -1));
    } else if (call(line, QStringLiteral("ZIKU"), &a)) {
        expectBlock(Block::SmallFont, a.value(0, -1));
    } else if (call(line, QStringLiteral("write_flash"), &a)) {
        m_flashAddress = a.value(0, 0);
        expectBlock(Block::Flash, a.value(1, -1));
    } else {
        // Everything else is the instruction language. "BPS(n)" answers at the old rate; the new
        // one holds from the next command.
        const int oldBaud = m_runtime.baud();
        m_runtime.submit(line, m_clock.elapsed());
        afterRun();
        if (m_runtime.baud() != oldBaud)
            emit baudChanged(m_runtime.baud());
    }
}

void VirtualModule::finishBlock()
{
    const Block block = m_block;
    m_block = Block::None;
    const QByteArray data = m_blockData;
    m_blockData.clear();
    switch (block) {
    case Block::Boot: m_runtime.setBootScript(data); break;
    case Block::Page: m_runtime.setPage(m_blockPage, data); break;
    case Block::Header:
        m_header = data;
        m_runtime.setPictures(ModulePictures(m_header, m_pixels));
        break;
    case Block::Pixels:
        m_pixels = data;
        m_runtime.setPictures(ModulePictures(m_header, m_pixels));
        break;
    case Block::SmallFont: m_smallFont = data.size(); break;
    case Block::LargeFont: m_largeFont = data.size(); break;
    case Block::Flash:
        if (m_flashAddress == kAddressFlash && data.size() == 2)
            m_runtime.setAddress(uchar(data.at(0)), uchar(data.at(1)));
        break;
    case Block::None: return;
    }
    acknowledge("OK");
}

void VirtualModule::acknowledge(const QByteArray &answer)
{
    ++m_answers;
    if (m_answers == m_settings.silentAnswer)
        return;
    emit answered(answer);
    send(m_settings.junk + answer);
}

void VirtualModule::send(const QByteArray &bytes)
{
    if (m_settings.splitAnswers) {
        for (char c : bytes)
            m_outQueue.append(QByteArray(1, c));
    } else {
        m_outQueue.append(bytes);
    }
    pump();
}

void VirtualModule::pump()
{
    if (m_outTimer.isActive())
        return;
    while (!m_outQueue.isEmpty()) {
        const QByteArray chunk = m_outQueue.takeFirst();
        if (m_device && m_device->isOpen())
            m_device->write(chunk);
        if (m_settings.splitAnswers && !m_outQueue.isEmpty()) {
            m_outTimer.start(m_settings.splitGapMs);
            return;
        }
    }
}

void VirtualModule::closeLine()
{
    m_outQueue.clear();
    m_outTimer.stop();
    if (m_device) {
        disconnect(m_device, nullptr, this, nullptr);
        m_device->close();
        m_device = nullptr;
    }
    emit lineClosed();
}

QVector<QImage> VirtualModule::pictures() const
{
    return m_runtime.pictures().images();
}

QImage VirtualModule::renderPage(int n) const
{
    if (!m_runtime.pages().contains(n))
        return QImage();
    // A module of its own, in the orientation the boot script chose, shows just that page.
    ModuleRuntime scratch(m_runtime.panelSize());
    scratch.setPictures(m_runtime.pictures());
    scratch.setPage(n, m_runtime.pages().value(n));
    scratch.submit(QStringLiteral("DIR(%1);").arg(m_runtime.direction()), 0);
    scratch.showPage(n);
    return scratch.frame();
}

bool VirtualModule::renderPages(const QString &folder, QString *error) const
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder;
        return false;
    }
    const QMap<int, QByteArray> pages = m_runtime.pages();
    for (auto it = pages.constBegin(); it != pages.constEnd(); ++it) {
        const QString path = QDir(folder).filePath(QStringLiteral("page%1.png").arg(it.key()));
        if (!renderPage(it.key()).save(path)) {
            if (error)
                *error = path;
            return false;
        }
    }
    return true;
}
