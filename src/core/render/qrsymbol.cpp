#include "render/qrsymbol.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <qrencode.h>

namespace {

constexpr int kMinVersion = 2;
constexpr int kRemembered = 64;

}  // namespace

QrSymbol QrSymbol::encodeUncached(const QByteArray &utf8)
{
    QrSymbol s;
    if (utf8.isEmpty())
        return s;
    QRcode *code = QRcode_encodeString(utf8.constData(), kMinVersion, QR_ECLEVEL_H, QR_MODE_8, 1);
    if (!code)
        return s;  // too long for any symbol, or out of memory
    if (code->width > 0 && code->data) {
        s.m_size = code->width;
        s.m_version = code->version;
        s.m_dark.resize(code->width * code->width);
        for (int i = 0; i < s.m_dark.size(); ++i)
            s.m_dark[i] = (code->data[i] & 1) != 0;
    }
    QRcode_free(code);
    return s;
}

namespace {

QMutex &rememberedMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, QrSymbol> &remembered()
{
    static QHash<QString, QrSymbol> symbols;
    return symbols;
}

}  // namespace

void QrSymbol::forgetRemembered()
{
    QMutexLocker lock(&rememberedMutex());
    remembered().clear();
}

QrSymbol QrSymbol::encode(const QString &text)
{
    if (text.isEmpty())
        return QrSymbol();
    QMutexLocker lock(&rememberedMutex());
    auto &symbols = remembered();
    const auto it = symbols.constFind(text);
    if (it != symbols.constEnd())
        return *it;
    // Encoding under the lock also serialises calls into the library.
    const QrSymbol s = encodeUncached(text.toUtf8());
    if (symbols.size() >= kRemembered)
        symbols.clear();
    symbols.insert(text, s);
    return s;
}
