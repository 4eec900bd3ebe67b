#pragma once

#include "model/projectdata.h"

#include <QVector>
#include <algorithm>

// Projects and figures shared by the window benchmarks.
namespace BenchProject {

// A 480 x 272 project of `pages` pages, each with controlsPerPage controls of the first five
// kinds spread over the page.
inline ProjectData project(int pages, int controlsPerPage)
{
    ProjectData d;
    d.frameW = 480;
    d.frameH = 272;
    d.screenType = 1;
    d.dpi = QStringLiteral("480*272(HHVGA)");
    for (int p = 0; p < pages; ++p) {
        PageData page;
        for (int c = 0; c < controlsPerPage; ++c) {
            ControlRecord r = ControlRecord::make(ControlKind(c % 5), c);
            r.x = (c * 37) % 400;
            r.y = (c * 23) % 240;
            page.controls.append(r);
        }
        d.pages.append(page);
    }
    return d;
}

inline double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

}  // namespace BenchProject
