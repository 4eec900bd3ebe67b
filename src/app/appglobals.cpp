#include "appglobals.h"

#include "support/uilanguage.h"

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

QTranslator &qtTranslator()
{
    static QTranslator t;
    return t;
}

void switchTranslator(const QString &path)
{
    UiLanguage::install(translator(), qtTranslator(), path);
}

}  // namespace App
