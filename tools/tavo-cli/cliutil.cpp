#include "cliutil.h"

#include <cstdio>

QTextStream &out()
{
    static QTextStream s(stdout);
    s.setCodec("UTF-8");
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    s.setCodec("UTF-8");
    return s;
}

int fail(int code, const QString &message)
{
    err() << "tavo-cli: " << message << Qt::endl;
    return code;
}
