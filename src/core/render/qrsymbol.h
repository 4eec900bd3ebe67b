#pragma once

#include <QString>
#include <QVector>

// A QR symbol as the module draws it: text encoded as UTF-8 bytes, version 2 at least, error
// correction level H, 8-bit mode, case-sensitive.
class QrSymbol {
public:
    // The symbol for a text; an empty symbol for an empty text or one too long to encode.
    // Recently used texts are remembered, so repainting does not encode again. Thread-safe.
    static QrSymbol encode(const QString &text);
    // Forgets the remembered symbols (benchmarks measure a cold start with it).
    static void forgetRemembered();

    bool isEmpty() const { return m_size <= 0; }
    // Modules per side.
    int size() const { return m_size; }
    int version() const { return m_version; }
    bool isDark(int row, int col) const
    {
        return row >= 0 && col >= 0 && row < m_size && col < m_size && m_dark.at(row * m_size + col);
    }

private:
    static QrSymbol encodeUncached(const QByteArray &utf8);

    int m_size = 0;
    int m_version = 0;
    QVector<bool> m_dark;
};
