#include "download/moduleanswer.h"

#include "download/limitcheck.h"
#include "download/transferestimate.h"

#include <QCoreApplication>

#include <algorithm>

namespace ModuleAnswer {

namespace {

// Test order: the first token found decides.
const TokenText kTokens[] = {
    {Token::Ok, "OK", 0, 0},
    {Token::GetAddr, "GETADDR_", 3, 0},
    {Token::Info, "INFO_", 6, 0},
    {Token::Firmware, "FW", 0, 0},
    {Token::Flash2, "FLASH_2", 0, 2097152},
    {Token::Flash3, "FLASH_3", 0, 3145728},
    {Token::Flash11, "FLASH_11", 0, 11534336},
    {Token::Erase, "e", 0, 0},
    {Token::Write, "o", 0, 0},
};

const TokenText &entry(Token token)
{
    for (const TokenText &t : kTokens)
        if (t.token == token)
            return t;
    return kTokens[0];
}

QString receivedPrefix() { return QCoreApplication::translate("SerialPortDlg", "--接收:"); }

bool hasLineEnd(const QByteArray &text, int from)
{
    return text.indexOf('\n', from) >= 0 || text.indexOf('\r', from) >= 0;
}

}  // namespace

const TokenText *tokenTable(int *count)
{
    *count = int(sizeof kTokens / sizeof kTokens[0]);
    return kTokens;
}

int quietGapMs(int baud)
{
    if (baud <= 0)
        return MinQuietGapMs;
    return int(qMax<qint64>(MinQuietGapMs, Transfer::wireMs(QuietGapBytes, baud)));
}

bool lacksFields(Token token, const QByteArray &fromToken)
{
    const int needed = token == Token::None ? 0 : entry(token).fields;
    if (needed == 0 || hasLineEnd(fromToken, 0))
        return false;
    const QList<QByteArray> fields = fromToken.split('_');
    return fields.size() < needed || (fields.size() == needed && fields.last().trimmed().isEmpty());
}

Token findToken(const QByteArray &text, int *position)
{
    for (const TokenText &t : kTokens) {
        const int at = text.indexOf(t.text);
        if (at >= 0) {
            if (position)
                *position = at;
            return t.token;
        }
    }
    if (position)
        *position = -1;
    return Token::None;
}

bool looksCutOff(const QByteArray &text)
{
    for (const TokenText &t : kTokens) {
        const int len = int(qstrlen(t.text));
        for (int n = qMin(len - 1, text.size()); n >= 1; --n) {
            if (text.endsWith(QByteArray::fromRawData(t.text, n)))
                return true;
        }
    }
    int at = -1;
    const Token token = findToken(text, &at);
    if (token == Token::Info || token == Token::GetAddr || token == Token::Firmware)
        return !hasLineEnd(text, at);
    return false;
}

}  // namespace ModuleAnswer

using ModuleAnswer::Token;

void AnswerHandler::begin(const DownloadJob &job)
{
    m_pages = job.pages;
    m_pictureBytes = job.pictures.totalBytes();
    m_text.clear();
    m_progressActive = false;
    m_pictureTotal = m_pictureDone = 0;
}

void AnswerHandler::setPictureProgress(qint64 total, qint64 value)
{
    m_progressActive = true;
    m_pictureTotal = total;
    m_pictureDone = value;
}

AnswerOutcome AnswerHandler::feed(const QByteArray &bytes)
{
    m_text += bytes;
    return decide(false);
}

AnswerOutcome AnswerHandler::flush() { return decide(true); }

AnswerOutcome AnswerHandler::decide(bool final)
{
    AnswerOutcome out;
    int at = -1;
    const Token token = ModuleAnswer::findToken(m_text, &at);
    if (token != Token::Ok && !final && ModuleAnswer::looksCutOff(m_text)) {
        out.action = AnswerOutcome::Wait;
        return out;
    }
    // The line went quiet in the middle of an information or address answer: the rest may still
    // come, and judging the first part would fail the job or lose the address. The step's
    // time-out ends the wait; a text that never ends is judged as it stands.
    if (final && at >= 0 && m_text.size() <= ModuleAnswer::KeepBytes &&
        ModuleAnswer::lacksFields(token, m_text.mid(at))) {
        out.action = AnswerOutcome::Nothing;
        return out;
    }
    const QString whole = QString::fromUtf8(m_text);
    // Answers with values are read from their token on, so stray bytes before them do not count
    // as fields.
    const QString fromToken = at >= 0 ? QString::fromUtf8(m_text.mid(at)) : QString();
    auto flashCheck = [&](const char *text) {
        if (m_pictureBytes <= ModuleAnswer::entry(token).flashBytes) {
            out.action = AnswerOutcome::Advance;
        } else {
            out.action = AnswerOutcome::Fail;
            out.message = QCoreApplication::translate("SerialPortDlg", text);
        }
    };
    auto tick = [&](qint64 step, const char *text) {
        if (!m_progressActive)
            return;
        m_pictureDone += step;
        out.logLines << QCoreApplication::translate("SerialPortDlg", text).arg(m_pictureTotal).arg(m_pictureDone);
        out.hasProgress = true;
        out.progressTotal = m_pictureTotal;
        out.progressValue = qMin(m_pictureTotal, m_pictureDone);
    };

    switch (token) {
    case Token::None:
        out.action = AnswerOutcome::Nothing;
        if (m_text.size() > ModuleAnswer::KeepBytes)
            m_text = m_text.right(ModuleAnswer::KeepBytes);
        return out;
    case Token::Ok:
        out.logLines << ModuleAnswer::receivedPrefix() + QStringLiteral("OK");
        out.action = AnswerOutcome::Advance;
        break;
    case Token::GetAddr: {
        out.logLines << ModuleAnswer::receivedPrefix() + whole;
        const QStringList parts = fromToken.split(QLatin1Char('_'));
        if (parts.size() == 3) {
            bool ok1 = false, ok2 = false;
            const int enabled = parts.at(1).trimmed().toInt(&ok1);
            const int address = parts.at(2).trimmed().toInt(&ok2);
            if (ok1 && ok2) {
                out.hasAddress = true;
                out.addressEnabled = enabled;
                out.address = address;
            }
        }
        out.action = AnswerOutcome::Advance;
        break;
    }
    case Token::Info: {
        out.logLines << ModuleAnswer::receivedPrefix() + whole;
        ModuleLimits limits;
        if (!parseModuleLimits(fromToken, &limits)) {
            out.action = AnswerOutcome::ResetQuiet;
            break;
        }
        out.message = moduleLimitMessage(m_pages, limits);
        out.action = out.message.isEmpty() ? AnswerOutcome::Advance : AnswerOutcome::Fail;
        break;
    }
    case Token::Firmware:
        out.logLines << ModuleAnswer::receivedPrefix() + whole;
        out.action = AnswerOutcome::Advance;
        break;
    case Token::Flash2: flashCheck("下载失败，下载图片的bin文件总大小超过2M！"); break;
    case Token::Flash3: flashCheck("下载失败，下载图片的bin文件总大小超过3M！"); break;
    case Token::Flash11: flashCheck("下载失败，下载图片的bin文件总大小超过11M！"); break;
    case Token::Erase:
    case Token::Write: {
        out.action = AnswerOutcome::Nothing;
        // Ticks sent close together arrive together. Counting such an arrival as one tick would
        // hold the bar near half way and then jump; anything else in the text makes it one tick.
        const bool onlyTicks = std::all_of(m_text.cbegin(), m_text.cend(), [](char c) {
            return c == 'e' || c == 'o' || c == '\r' || c == '\n';
        });
        const QByteArray ticks = onlyTicks ? m_text : QByteArray(token == Token::Erase ? "e" : "o");
        for (const char c : ticks) {
            if (c == 'e')
                tick(4096, "--下载图片进度总大小:%1 擦除进度:%2");
            else if (c == 'o')
                tick(8192, "--下载图片进度总大小:%1 配置进度:%2");
        }
        break;
    }
    }
    m_text.clear();
    return out;
}
