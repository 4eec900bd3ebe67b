#include "qrsymbol.h"

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

QrSymbol QrSymbol::encode(const QString &text)
{
    if (text.isEmpty())
        return QrSymbol();
    static QMutex mutex;
    static QHash<QString, QrSymbol> remembered;
    QMutexLocker lock(&mutex);
    const auto it = remembered.constFind(text);
    if (it != remembered.constEnd())
        return *it;
    // Encoding under the lock also serialises calls into the library.
    const QrSymbol s = encodeUncached(text.toUtf8());
    if (remembered.size() >= kRemembered)
        remembered.clear();
    remembered.insert(text, s);
    return s;
}
