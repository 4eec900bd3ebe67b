#include "virtualmodule.h"

#include "script/moduletext.h"
#include "pagereader.h"
#include "library/picturelibrary.h"
#include "render/renderer.h"

#include <QDir>
#include <QIODevice>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Anything larger than the module's flash is not a block the module would take.
constexpr qint64 kMaxBlock = qint64(16) * 1024 * 1024;
constexpr int kMaxLine = 64 * 1024;
constexpr qint64 kAddressFlash = 2002944;

quint32 be16(const QByteArray &b, int at)
{
    return at + 1 < b.size() ? (quint32(uchar(b.at(at))) << 8) | uchar(b.at(at + 1)) : 0;
}

// "NAME(a,b)" in the line, as integers.
bool call(const QString &line, const QString &name, QList<qint64> *args)
{
    const QRegularExpression re(QStringLiteral("(?:^|[^A-Za-z_])") + QRegularExpression::escape(name) +
                                QStringLiteral("\\(([^)]*)\\)"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return false;
    args->clear();
    const QStringList parts = m.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &p : parts)
        args->append(p.trimmed().toLongLong());
    return true;
}

}  // namespace

VirtualModule::VirtualModule(QObject *parent) : QObject(parent), m_outTimer(this), m_blockTimer(this)
{
    m_outTimer.setSingleShot(true);
    connect(&m_outTimer, &QTimer::timeout, this, &VirtualModule::pump);
    m_blockTimer.setSingleShot(true);
    connect(&m_blockTimer, &QTimer::timeout, this, [this] {
        m_block = Block::None;
        m_blockData.clear();
    });
}

VirtualModule::~VirtualModule() = default;

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
    if (!bytes.isEmpty())
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
            if (m_block == Block::Pixels) {
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

bool VirtualModule::expectBlock(Block block, qint64 size)
{
    if (size < 0 || size > kMaxBlock)
        return false;  // no answer: the host runs into its time-out
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
    } else if (line.contains(QLatin1String("GET_ADDR("))) {
        acknowledge(QStringLiteral("GETADDR_%1_%2\r\n").arg(m_addressEnabled).arg(m_address).toLatin1());
    } else if (line.contains(QLatin1String("VER("))) {
        acknowledge(m_settings.firmware.toLatin1() + "\r\n");
    } else if (line.contains(QLatin1String("RESET("))) {
        ++m_resets;
        if (!m_renderFolder.isEmpty())
            renderPages(m_renderFolder);
        emit resetDone();
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
        if (call(line, QStringLiteral("BL"), &a))
            m_backlight = int(a.value(0, m_backlight));
        if (call(line, QStringLiteral("BPS"), &a))
            m_baud = int(a.value(0, m_baud));
        if (call(line, QStringLiteral("DIR"), &a))
            m_direction = int(a.value(0, m_direction));
        acknowledge("OK");
    }
}

void VirtualModule::finishBlock()
{
    const Block block = m_block;
    m_block = Block::None;
    const QByteArray data = m_blockData;
    m_blockData.clear();
    switch (block) {
    case Block::Boot: {
        m_boot = data;
        QList<qint64> a;
        const QString text = ModuleText::decode(data);
        if (call(text, QStringLiteral("BL"), &a))
            m_backlight = int(a.value(0, m_backlight));
        if (call(text, QStringLiteral("DIR"), &a))
            m_direction = int(a.value(0, m_direction));
        break;
    }
    case Block::Page: m_pages.insert(m_blockPage, data); break;
    case Block::Header:
        m_header = data;
        m_pictureDir.reset();
        break;
    case Block::Pixels:
        m_pixels = data;
        m_pictureDir.reset();
        break;
    case Block::SmallFont: m_smallFont = data.size(); break;
    case Block::LargeFont: m_largeFont = data.size(); break;
    case Block::Flash:
        if (m_flashAddress == kAddressFlash && data.size() == 2) {
            m_addressEnabled = uchar(data.at(0));
            m_address = uchar(data.at(1));
        }
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
    QVector<QImage> out;
    const int n = int(be16(m_header, 4));
    qint64 offset = 0;
    for (int i = 0; i < n && 6 + 4 * i + 3 < m_header.size(); ++i) {
        const int w = int(be16(m_header, 6 + 4 * i));
        const int h = int(be16(m_header, 8 + 4 * i));
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::black);
        for (int y = 0; y < h; ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const qint64 at = offset + (qint64(y) * w + x) * 2;
                if (at + 1 >= m_pixels.size())
                    break;
                const quint32 v = (quint32(uchar(m_pixels.at(int(at)))) << 8) | uchar(m_pixels.at(int(at + 1)));
                const int r = int((v >> 11) & 0x1F), g = int((v >> 5) & 0x3F), b = int(v & 0x1F);
                row[x] = qRgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
            }
        }
        offset += qint64(w) * h * 2;
        out << img;
    }
    return out;
}

std::shared_ptr<QTemporaryDir> VirtualModule::pictureFolder(QStringList *paths) const
{
    if (!m_pictureDir) {
        m_pictureDir = std::make_shared<QTemporaryDir>();
        m_picturePaths.clear();
        const QVector<QImage> images = pictures();
        for (int i = 0; i < images.size(); ++i) {
            const QString path = m_pictureDir->filePath(QStringLiteral("%1.png").arg(i));
            images.at(i).save(path);
            m_picturePaths << path;
        }
    }
    *paths = m_picturePaths;
    return m_pictureDir;
}

QImage VirtualModule::renderPage(int n) const
{
    if (!m_pages.contains(n))
        return QImage();
    const PageData page = PageReader::read(ModuleText::decode(m_pages.value(n)));
    QStringList paths;
    const auto keep = pictureFolder(&paths);
    const PictureLibrary library = PictureLibrary::fromPaths(paths);
    RenderContext ctx;
    ctx.pictures = &library;
    ctx.pageSize = m_settings.screen;
    ctx.pageBackgroundNum = page.backgroundNum;
    return Renderer::renderPage(page, ctx);
}

bool VirtualModule::renderPages(const QString &folder, QString *error) const
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder;
        return false;
    }
    for (auto it = m_pages.constBegin(); it != m_pages.constEnd(); ++it) {
        const QString path = QDir(folder).filePath(QStringLiteral("page%1.png").arg(it.key()));
        if (!renderPage(it.key()).save(path)) {
            if (error)
                *error = path;
            return false;
        }
    }
    return true;
}
