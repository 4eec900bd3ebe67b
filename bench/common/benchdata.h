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

// The reading benchmarks' project: 800 x 480, `pages` pages, each with `controls` controls of the
// first five kinds and `primitives` boxes.
inline ProjectData readingProject(int pages, int controls, int primitives = 0, int pictures = 0)
{
    ProjectData d;
    d.frameW = 800;
    d.frameH = 480;
    d.dpi = QStringLiteral("800*480(WVGA)");
    for (int p = 0; p < pages; ++p) {
        PageData page;
        page.imageNum = pictures > 0 ? p % pictures : -1;
        for (int c = 0; c < controls; ++c) {
            ControlRecord r = ControlRecord::make(ControlKind(c % 5), c);
            r.x = (c * 37) % 700;
            r.y = (c * 23) % 400;
            r.text = QStringLiteral("页面%1 控件%2").arg(p).arg(c);
            page.controls.append(r);
        }
        for (int i = 0; i < primitives; ++i) {
            QMyDrawType b;
            b.setDrawType(QMyDrawType::Box);
            b.setRect(i * 5, i * 7, 40, 30);
            page.primitives.append(b);
        }
        d.pages.append(page);
    }
    return d;
}
