#pragma once

#include "library/picturelibrary.h"
#include "model/projectdata.h"
#include "modulepictures.h"

#include <QImage>
#include <QSize>
#include <QStringList>
#include <QVector>

// A page of a project as the module shows it after a download: the page's script, run by a
// module of its own that holds the project's pictures as a download stores them. The canvas's
// module look and `tavo-cli render --module` use it, so both equal the simulator's screen.
class ModulePageRenderer {
public:
    // The page drawn at the project's page size (portrait pages in orientation 0, landscape ones
    // in 1). Pictures are converted once and kept until the library's files or sizes change.
    QImage render(const PageData &page, const PictureLibrary &pictures, const QSize &pageSize);

    // The script the module receives for the page; unlike a download, texts that the module would
    // misread are sent anyway, so the look shows what would happen.
    static QString pageScript(const PageData &page, const PictureLibrary &pictures);

private:
    QStringList m_paths;
    QVector<QSize> m_sizes;
    bool m_haveLibrary = false;
    ModulePictures m_pictures;
};
