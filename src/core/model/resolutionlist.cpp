#include "model/resolutionlist.h"

const QStringList &ResolutionList()
{
    static const QStringList list = {
        QStringLiteral("128*128(SQQVGA)"),  QStringLiteral("128*160(QQVGA)"),  QStringLiteral("80*160(QQVGA2)"),
        QStringLiteral("176*220(QCIF)"),    QStringLiteral("170*320(QCIF2)"),  QStringLiteral("172*320(QCIF3)"),
        QStringLiteral("76*284(QCIF-4)"),   QStringLiteral("240*320(QVGA-1)"), QStringLiteral("240*240(QVGA-2)"),
        QStringLiteral("240*204(QVGA-4)"),  QStringLiteral("212*318(QVGA-5)"), QStringLiteral("240*280(QVGA-6)"),
        QStringLiteral("240*376(WQVGA-1)"), QStringLiteral("240*400(WQVGA-2)"), QStringLiteral("240*480(WQVGA-3)"),
        QStringLiteral("142*428(WQVGA-4)"), QStringLiteral("320*240(QVGA-3)"), QStringLiteral("320*480(HVGA)"),
        QStringLiteral("480*272(HHVGA)"),   QStringLiteral("800*480(WVGA-1)"), QStringLiteral("480*800(WVGA-2)"),
        QStringLiteral("480*854(WVGA-3)"),  QStringLiteral("640*480(VGA)"),    QStringLiteral("180*640(VGA2)"),
        QStringLiteral("1024*600(WSVGA)"),
    };
    return list;
}

bool isLandscapeOnlyResolution(const QString &text)
{
    const QStringList &l = ResolutionList();
    return text == l.at(18) || text == l.at(19) || text == l.at(20) || text == l.at(24);
}

QSize pageSizeFor(const QString &resolutionText, int screenType)
{
    const QStringList parts = resolutionText.split(QLatin1Char('*'));
    if (parts.size() != 2)
        return QSize();
    bool okW = false, okH = false;
    const int w = parts.at(0).toInt(&okW);
    const int h = parts.at(1).section(QLatin1Char('('), 0, 0).toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0)
        return QSize();
    const bool portrait = screenType == 0 || screenType == 2;
    return portrait ? QSize(qMin(w, h), qMax(w, h)) : QSize(qMax(w, h), qMin(w, h));
}
