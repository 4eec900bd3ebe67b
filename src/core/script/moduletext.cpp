#include "script/moduletext.h"

#include <QTextCodec>

namespace {

QTextCodec *codec()
{
    static QTextCodec *const c = QTextCodec::codecForName("GBK");
    return c;
}

}  // namespace

namespace ModuleText {

QByteArray encode(const QString &text)
{
    QTextCodec *c = codec();
    return c ? c->fromUnicode(text) : text.toLatin1();
}

QString decode(const QByteArray &bytes)
{
    QTextCodec *c = codec();
    return c ? c->toUnicode(bytes) : QString::fromLatin1(bytes);
}

int byteCount(const QString &text) { return encode(text).size(); }

bool canEncode(const QString &text)
{
    QTextCodec *c = codec();
    if (!c)
        return false;
    QTextCodec::ConverterState state;
    c->fromUnicode(text.constData(), text.size(), &state);
    return state.invalidChars == 0;
}

}  // namespace ModuleText
