// The page both canvas benchmarks drag on: 800 x 480 with a full-page picture behind 64 controls
// of every kind, buttons and bars showing pictures and cut pictures of it.
#pragma once

#include "canvas/pagetable.h"
#include "canvas/qmyframe.h"
#include "canvas/qmywidget.h"
#include "library/picturelibrary.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace BenchPage {

inline QString makePicture(const QString &dir, int n, const QSize &size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor::fromHsv((n * 47) % 360, 200, 230));
    g.setColorAt(1, QColor::fromHsv((n * 47 + 120) % 360, 200, 120));
    p.fillRect(img.rect(), g);
    p.end();
    const QString path = QStringLiteral("%1/%2_pic%3.bmp").arg(dir).arg(100001 + n).arg(n);
    img.save(path);
    return path;
}

// Fills page 0 of the canvas; returns the number of QR codes, -1 when a control was refused.
inline int fill(QMyFrame &frame, const QString &dir)
{
    QStringList paths;
    paths << makePicture(dir, 0, QSize(800, 480));
    for (int i = 1; i < 8; ++i)
        paths << makePicture(dir, i, QSize(120 + 10 * i, 60 + 5 * i));
    frame.setFrameSize(800, 480);
    PageTable *table = frame.pageTable();
    table->setPictures(PictureLibrary::fromPaths(paths));
    table->addPage();
    frame.showPage(0);
    frame.setPageImageNum(0);

    const QStringList kinds{QStringLiteral("QPushButton"), QStringLiteral("QProgressBar"), QStringLiteral("QLabel"),
                            QStringLiteral("QPushButton"), QStringLiteral("QLabelNum"),    QStringLiteral("QPointer")};
    int qr = 0;
    for (int i = 0; i < 64; ++i) {
        const QPoint at(10 + (i % 8) * 98, 10 + (i / 8) * 58);
        QString kind = kinds.at(i % kinds.size());
        if (i == 20 || i == 41) {
            kind = QStringLiteral("QRcode");
            ++qr;
        }
        QMyWidget *w = frame.addControl(kind, at);
        if (!w)
            return -1;
        w->setW(kind == QStringLiteral("QPointer") ? 50 : 90);
        w->setH(kind == QStringLiteral("QRcode") || kind == QStringLiteral("QPointer") ? 50 : 48);
        if (kind == QStringLiteral("QPushButton"))
            (i % 2) ? w->setImageNum(1 + i % 7) : w->setCutImageNum(0);
        if (kind == QStringLiteral("QProgressBar")) {
            w->setImageNum(1 + i % 7);
            w->setBackgroundCutImageNum(0);
            w->setText(QString::number(i % 100));
        }
        if (kind == QStringLiteral("QLabel"))
            w->setText(QStringLiteral("文本%1").arg(i));
    }
    if (table->pageControls(0).size() != 64) {
        std::fprintf(stderr, "expected 64 controls, got %d\n", int(table->pageControls(0).size()));
        return -1;
    }
    return qr;
}

inline double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

inline double percentile(QVector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(qMin(v.size() - 1, int(v.size() * q)));
}

}  // namespace BenchPage
