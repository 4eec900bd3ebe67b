#include "modulepage.h"

#include "download/downloadblocks.h"
#include "moduleruntime.h"
#include "script/instructions.h"
#include "script/moduletext.h"
#include "script/scripts.h"

#include <algorithm>

QString ModulePageRenderer::pageScript(const PageData &page, const PictureLibrary &pictures)
{
    QString out = pageBackgroundText(page, pictures);
    for (const QMyDrawType &d : page.primitives)
        out += d.instructionTextFor();
    QVector<const ControlRecord *> others;
    QVector<const ControlRecord *> qrCodes;
    for (const ControlRecord &c : page.controls)
        (c.isQRCode() ? qrCodes : others).append(&c);
    std::stable_sort(others.begin(), others.end(),
                     [](const ControlRecord *a, const ControlRecord *b) { return a->id < b->id; });
    for (const ControlRecord *c : others + qrCodes)
        out += instructionText(*c);
    return out + QLatin1String("\r\n");
}

QImage ModulePageRenderer::render(const PageData &page, const PictureLibrary &pictures, const QSize &pageSize)
{
    if (pageSize.isEmpty() || pageSize.width() > 8192 || pageSize.height() > 8192)
        return QImage();
    QVector<QSize> sizes;
    for (const PictureInfo &info : pictures.pictures())
        sizes.append(info.size);
    if (!m_haveLibrary || m_paths != pictures.paths() || m_sizes != sizes) {
        m_pictures = ModulePictures(DownloadBlocks::pictureHeader(pictures), DownloadBlocks::pixelData(pictures));
        m_paths = pictures.paths();
        m_sizes = sizes;
        m_haveLibrary = true;
    }
    ModuleRuntime module(pageSize);
    module.setPictures(m_pictures);
    module.setPage(0, ModuleText::encode(pageScript(page, pictures)));
    if (pageSize.width() > pageSize.height())
        module.submit(QStringLiteral("DIR(1);"), 0);
    module.showPage(0);
    // A page script may hold DELAYMS: the page as it stands once everything has run.
    module.run(qint64(ModuleRuntime::MaxDelayMs) * ModuleRuntime::MaxPending);
    return module.frame();
}
