#pragma once

// Figures and generated data that several benchmarks share.
#include "model/projectdata.h"

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QVector>

#include <algorithm>

inline double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

// count BMP pictures of the size in folder, numbered from 100001 like a project's library.
inline QStringList makePictures(const QString &folder, int count, QSize size)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QImage img(size, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb((x + i) & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
        const QString path = folder + QStringLiteral("/%1_p.bmp").arg(100001 + i);
        img.save(path);
        paths << path;
    }
    return paths;
}

// 100 pages of texts, numbers and boxes, each over one of the first `pictures` pictures.
inline QVector<PageData> hundredPages(int pictures)
{
    QVector<PageData> pages;
    for (int p = 0; p < 100; ++p) {
        PageData page;
        page.imageNum = p % pictures;
        for (int i = 0; i < 12; ++i) {
            ControlRecord r = ControlRecord::make(i % 3 == 0 ? ControlKind::Number : ControlKind::Text, i);
            r.x = 10 * i;
            r.y = 12 * i;
            r.text = i % 3 == 0 ? QStringLiteral("123.4") : QStringLiteral("页面%1 控件%2").arg(p).arg(i);
            page.controls << r;
        }
        for (int i = 0; i < 6; ++i) {
            QMyDrawType d;
            d.setDrawType(QMyDrawType::Box);
            d.setRect(i * 5, i * 7, 40, 30);
            page.primitives << d;
        }
        pages << page;
    }
    return pages;
}
