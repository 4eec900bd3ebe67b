#include "appglobals.h"

#include <QCoreApplication>
#include <QTranslator>

namespace App {

QString &programPath()
{
    static QString p;
    return p;
}

QString &projectPath()
{
    static QString p;
    return p;
}

bool isProjectOpen()
{
    return projectPath().contains(QLatin1String(".Tavo"));
}

QTranslator &translator()
{
    static QTranslator t;
    return t;
}

void switchTranslator(const QString &path)
{
    QCoreApplication::removeTranslator(&translator());
    // Loading clears the old texts first, so an empty or unreadable path leaves the Chinese
    // source texts.
    (void)translator().load(path);
    QCoreApplication::installTranslator(&translator());
}

}  // namespace App
