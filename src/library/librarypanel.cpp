#include "library/librarypanel.h"

#include "canvas/pagetable.h"
#include "library/fontlibrary.h"
#include "library/picturefiles.h"
#include "library/qmyimageitemmodel.h"
#include "library/thumbnailloader.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

namespace {

const QSize ThumbSize(40, 26);

QString kbText(qint64 bytes)
{
    return QString::number(double(bytes) * 0.0009765625, 'f', 2) + QStringLiteral("KB");
}

QStandardItem *cell(const QString &text = QString())
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QPixmap placeholder()
{
    QPixmap pm(ThumbSize);
    pm.fill(QColor(236, 236, 236));
    return pm;
}

QStringList localFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << url.toLocalFile();
    }
    return files;
}

}  // namespace

LibraryPanel::LibraryPanel(const LibraryWidgets &widgets, PageTable *table, QObject *parent)
    : QObject(parent)
    , m_w(widgets)
    , m_table(table)
    , m_pictureModel(new QMyImageItemModel(this))
    , m_fontModel(new QMyImageItemModel(this))
    , m_thumbnails(new ThumbnailLoader(ThumbSize, this))
{
    setUpView(m_w.tvImage, m_pictureModel, ThumbSize.height() + 8);
    setUpView(m_w.tvFont, m_fontModel, 26);
    m_w.tvImage->setIconSize(ThumbSize);
    m_w.tvImage->viewport()->setAcceptDrops(true);
    m_w.tvImage->viewport()->installEventFilter(this);
    m_w.btnAll->hide();
    m_w.btnCancel->hide();
    m_w.labImageSize->hide();
    connect(m_thumbnails, &ThumbnailLoader::ready, this, &LibraryPanel::showThumbnail);
    connect(m_thumbnails, &ThumbnailLoader::failed, this, &LibraryPanel::showThumbnail);
    connect(m_thumbnails, &ThumbnailLoader::idle, this, [this] {
        if (thumbnailsComplete())
            emit thumbnailsDone();
    });
    retranslate();
}

void LibraryPanel::setUpView(QTableView *view, QMyImageItemModel *model, int rowHeight)
{
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    view->horizontalHeader()->setDefaultSectionSize(56);
    view->horizontalHeader()->setSectionResizeMode(QMyImageItemModel::ColumnCount - 1, QHeaderView::Stretch);
    view->setWordWrap(false);
    // A size set in pixels (the stylesheet's) has no point size to scale.
    QFont small = view->font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.9);
    else if (small.pixelSize() > 0)
        small.setPixelSize(qMax(1, qRound(small.pixelSize() * 0.9)));
    view->setFont(small);
    view->horizontalHeader()->setMinimumSectionSize(24);
    view->setColumnHidden(0, true);
}

void LibraryPanel::retranslate()
{
    // The headers belong to the window's texts.
    const QString number = QCoreApplication::translate("MainWindow", "序号");
    const QString size = QCoreApplication::translate("MainWindow", "大小");
    m_pictureModel->setHorizontalHeaderLabels({QString(), number, QCoreApplication::translate("MainWindow", "缩略图"),
                                               QCoreApplication::translate("MainWindow", "地址"),
                                               QCoreApplication::translate("MainWindow", "分辨率"), size});
    m_fontModel->setHorizontalHeaderLabels({QString(), number, QCoreApplication::translate("MainWindow", "字体"),
                                            QCoreApplication::translate("MainWindow", "尺寸"),
                                            QCoreApplication::translate("MainWindow", "类型"), size});
    // Each column as wide as its header in the language shown or its widest likely value
    // (seven-digit addresses, four-digit resolutions), so neither is cut off.
    const QFontMetrics cells(m_w.tvImage->font());
    const QFontMetrics header(m_w.tvImage->horizontalHeader()->font());
    auto fit = [&](const QString &title, const QString &sample) {
        return qMax(header.horizontalAdvance(title) + 16, cells.horizontalAdvance(sample) + 12);
    };
    const int widths[] = {24, fit(number, QStringLiteral("000")), qMax(ThumbSize.width() + 6,
                          fit(m_pictureModel->horizontalHeaderItem(2)->text(), QString())),
                          fit(m_pictureModel->horizontalHeaderItem(3)->text(), QStringLiteral("2097152")),
                          fit(m_pictureModel->horizontalHeaderItem(4)->text(), QStringLiteral("1500x1500")),
                          fit(size, QStringLiteral("9999.99KB"))};
    int total = 0;
    for (int c = 0; c < QMyImageItemModel::ColumnCount; ++c) {
        if (c < QMyImageItemModel::ColumnCount - 1)
            m_w.tvImage->setColumnWidth(c, widths[c]);
        total += widths[c];
    }
    // Delete mode adds the tick column: the table stays wide enough for it and a scroll bar, so
    // no horizontal scroll bar appears.
    const int chrome = 2 * m_w.tvImage->frameWidth() +
                       m_w.tvImage->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_w.tvImage) + 2;
    m_w.tvImage->setMinimumWidth(total + chrome);
    m_w.tvImage->horizontalHeader()->setMinimumSectionSize(24);
    m_w.tvFont->setColumnWidth(0, 24);
    m_w.tvFont->setColumnWidth(1, fit(number, QStringLiteral("000")));
    m_w.tvFont->setColumnWidth(2, fit(m_fontModel->horizontalHeaderItem(2)->text(), QStringLiteral("ASC16.bin")));
    m_w.tvFont->setColumnWidth(3, fit(m_fontModel->horizontalHeaderItem(3)->text(), QStringLiteral("48")));
    m_w.tvFont->setColumnWidth(4, fit(m_fontModel->horizontalHeaderItem(4)->text(), QStringLiteral("Chinese")));
    for (int r = 0; r < m_pictureModel->rowCount(); ++r)
        fillPictureRow(r);
    for (int r = 0; r < m_fontModel->rowCount(); ++r)
        fillFontRow(r);
    updateTotalLabel();
    if (m_w.labDeleteHint)
        m_w.labDeleteHint->setText(deleteHint(currentTab()));
}

// ---- filling --------------------------------------------------------------------------------

void LibraryPanel::load(const QString &projectFolder)
{
    m_pictureDeleteMode = false;
    m_fontDeleteMode = false;
    // Sizes from the headers before the first paint; the pixels are decoded for the thumbnails on
    // the thread pool, and a picture that fails there is marked then.
    m_table->setPictures(PictureLibrary::fromProjectFolder(projectFolder, PictureLibrary::HeadersOnly));
    m_pictureModel->removeRows(0, m_pictureModel->rowCount());
    refreshPictures();
    reloadFonts(projectFolder);
    showDeleteModeOfCurrentTab();
}

void LibraryPanel::refreshPictures()
{
    QSet<QString> ticked;
    for (int r : m_pictureModel->tickedRows())
        ticked.insert(m_pictureModel->item(r, 2)->data(PathRole).toString());
    const int count = m_table->pictures().count();
    if (m_pictureModel->rowCount() > count)
        m_pictureModel->removeRows(count, m_pictureModel->rowCount() - count);
    for (int r = m_pictureModel->rowCount(); r < count; ++r) {
        QList<QStandardItem *> items;
        for (int c = 0; c < QMyImageItemModel::ColumnCount; ++c)
            items << cell();
        m_pictureModel->appendRow(items);
    }
    fillPictureRows([this, &ticked](int r) {
        fillPictureRow(r);
        m_pictureModel->setTicked(r, ticked.contains(m_table->pictures().at(r).path));
    });
    if (count == 0 && m_pictureDeleteMode)
        setDeleteMode(Pictures, false);
    updateTotalLabel();
}

void LibraryPanel::fillPictureRow(int row)
{
    const PictureLibrary &lib = m_table->pictures();
    if (!lib.contains(row))
        return;
    const PictureInfo &info = lib.at(row);
    int mark = NoMark;
    if (PictureFiles::isUnreadable(info) || m_thumbnails->isFailed(info.path))
        mark = Unreadable;
    else if (PictureFiles::isOversized(info.size, m_pageSize))
        mark = Oversized;

    QStandardItem *thumb = m_pictureModel->item(row, 2);
    const bool samePicture = thumb->data(PathRole).toString() == info.path;
    thumb->setData(info.path, PathRole);
    thumb->setData(mark, MarkRole);
    m_pictureModel->item(row, 1)->setText(QString::number(row));
    m_pictureModel->item(row, 3)->setText(QString::number(lib.address(row)));
    m_pictureModel->item(row, 4)->setText(QStringLiteral("%1x%2").arg(info.size.width()).arg(info.size.height()));
    m_pictureModel->item(row, 5)->setText(kbText(info.fileSize));

    if (mark == Unreadable) {
        thumb->setData(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning), Qt::DecorationRole);
    } else {
        const QPixmap pm = m_thumbnails->thumbnail(info.path);
        if (!pm.isNull())
            thumb->setData(pm, Qt::DecorationRole);
        else if (!samePicture || thumb->data(Qt::DecorationRole).isNull())
            thumb->setData(placeholder(), Qt::DecorationRole);
    }
    const QString tip = markText(row);
    const QBrush background = mark == Unreadable ? QBrush(QColor(255, 214, 214))
        : mark == Oversized                      ? QBrush(QColor(255, 240, 200))
                                                 : QBrush();
    for (int c = 0; c < QMyImageItemModel::ColumnCount; ++c) {
        QStandardItem *item = m_pictureModel->item(row, c);
        item->setToolTip(tip);
        item->setBackground(background);
    }
}

QString LibraryPanel::markText(int row) const
{
    const PictureLibrary &lib = m_table->pictures();
    if (!lib.contains(row))
        return QString();
    const PictureInfo &info = lib.at(row);
    if (info.state == PictureState::TooLarge)
        return tr("图片尺寸过大（%1x%2），无法下载到显示屏，下载前请删除：%3")
            .arg(info.size.width())
            .arg(info.size.height())
            .arg(QFileInfo(info.path).fileName());
    if (PictureFiles::isUnreadable(info) || m_thumbnails->isFailed(info.path))
        return tr("无法读取该图片（文件已损坏或为空），下载前请删除或重新导入：%1").arg(QFileInfo(info.path).fileName());
    if (PictureFiles::isOversized(info.size, m_pageSize))
        return tr("图片（%1x%2）大于页面（%3x%4），显示屏上超出页面的部分不会显示")
            .arg(info.size.width())
            .arg(info.size.height())
            .arg(m_pageSize.width())
            .arg(m_pageSize.height());
    return QString();
}

void LibraryPanel::showThumbnail(const QString &path)
{
    const QPixmap pm = m_thumbnails->thumbnail(path);
    // Rows may have been renumbered or deleted since the decoding started: look the path up.
    for (int r = 0; r < m_pictureModel->rowCount(); ++r) {
        QStandardItem *thumb = m_pictureModel->item(r, 2);
        if (thumb->data(PathRole).toString() != path || thumb->data(MarkRole).toInt() == Unreadable)
            continue;
        if (pm.isNull())
            fillPictureRow(r);  // its header promised pixels the file does not hold: marked as unreadable
        else
            thumb->setData(pm, Qt::DecorationRole);
    }
}

bool LibraryPanel::thumbnailsComplete() const
{
    for (int r = 0; r < m_pictureModel->rowCount(); ++r) {
        const QString path = m_pictureModel->item(r, 2)->data(PathRole).toString();
        if (m_pictureModel->item(r, 2)->data(MarkRole).toInt() == Unreadable)
            continue;
        if (m_thumbnails->isFailed(path))
            continue;
        if (m_thumbnails->thumbnail(path).isNull())
            return false;
    }
    return true;
}

void LibraryPanel::reloadFonts(const QString &projectFolder)
{
    m_fontPaths = FontLibrary::fontListOfProject(projectFolder);
    m_fontModel->removeRows(0, m_fontModel->rowCount());
    for (int r = 0; r < m_fontPaths.size(); ++r) {
        QList<QStandardItem *> items;
        for (int c = 0; c < QMyImageItemModel::ColumnCount; ++c)
            items << cell();
        m_fontModel->appendRow(items);
        fillFontRow(r);
    }
    if (m_fontPaths.isEmpty() && m_fontDeleteMode)
        setDeleteMode(Fonts, false);
}

void LibraryPanel::fillFontRow(int row)
{
    if (row < 0 || row >= m_fontPaths.size())
        return;
    const QFileInfo info(m_fontPaths.at(row));
    const FontLibrary::FontName name = FontLibrary::parseFontName(info.fileName());
    m_fontModel->item(row, 1)->setText(QString::number(row + 1));
    m_fontModel->item(row, 2)->setText(info.fileName());
    m_fontModel->item(row, 3)->setText(QString::number(name.size));
    m_fontModel->item(row, 4)->setText(name.chinese ? QCoreApplication::translate("MainWindow", "中文")
                                                        : QCoreApplication::translate("MainWindow", "英文"));
    m_fontModel->item(row, 5)->setText(kbText(info.size()));
}

void LibraryPanel::updateTotalLabel()
{
    const PictureLibrary &lib = m_table->pictures();
    m_w.labImageSize->setText(QCoreApplication::translate("MainWindow", "bin文件总大小：")
                              + QString::number(lib.totalBytes()));
    m_w.labImageSize->setVisible(!lib.isEmpty());
}

void LibraryPanel::setPageSize(const QSize &size)
{
    if (size == m_pageSize)
        return;
    m_pageSize = size;
    fillPictureRows([this](int r) { fillPictureRow(r); });
}

void LibraryPanel::fillPictureRows(const std::function<void(int)> &fill)
{
    // One change for the view instead of one per cell and role: hundreds of rows filled one
    // signal at a time cost more than the filling.
    const int rows = m_pictureModel->rowCount();
    const bool blocked = m_pictureModel->blockSignals(true);
    for (int r = 0; r < rows; ++r)
        fill(r);
    m_pictureModel->blockSignals(blocked);
    if (rows > 0)
        emit m_pictureModel->dataChanged(m_pictureModel->index(0, 0),
                                         m_pictureModel->index(rows - 1, QMyImageItemModel::ColumnCount - 1));
}

// ---- ticking and delete mode ----------------------------------------------------------------

LibraryPanel::Tab LibraryPanel::currentTab() const
{
    return m_w.tabs->currentWidget() == m_w.fontTab ? Fonts : Pictures;
}

QMyImageItemModel *LibraryPanel::model(Tab tab) const
{
    return tab == Pictures ? m_pictureModel : m_fontModel;
}

void LibraryPanel::setDeleteMode(Tab tab, bool on)
{
    (tab == Pictures ? m_pictureDeleteMode : m_fontDeleteMode) = on;
    showDeleteModeOfCurrentTab();
}

void LibraryPanel::showDeleteModeOfCurrentTab()
{
    const Tab tab = currentTab();
    const bool on = deleteMode(tab);
    (tab == Pictures ? m_w.tvImage : m_w.tvFont)->setColumnHidden(0, !on);
    m_w.btnAll->setVisible(on);
    m_w.btnCancel->setVisible(on);
    if (m_w.labDeleteHint) {
        m_w.labDeleteHint->setText(deleteHint(tab));
        m_w.labDeleteHint->setVisible(on);
    }
}

QString LibraryPanel::deleteHint(Tab tab)
{
    return tab == Pictures ? QCoreApplication::translate("MainWindow", "选择要删除的图片，再按“-”删除")
                           : QCoreApplication::translate("MainWindow", "选择要删除的字库，再按“-”删除");
}

void LibraryPanel::clickRow(Tab tab, int row)
{
    QMyImageItemModel *m = model(tab);
    if (row < 0 || row >= m->rowCount())
        return;
    if (deleteMode(tab)) {
        m->setTicked(row, !m->isTicked(row));
    } else {
        m->setAllTicked(false);
        m->setTicked(row, true);
    }
    QTableView *view = tab == Pictures ? m_w.tvImage : m_w.tvFont;
    view->selectRow(row);
}

void LibraryPanel::selectAll()
{
    QMyImageItemModel *m = model(currentTab());
    m->setAllTicked(m->tickedRows().size() != m->rowCount());
}

void LibraryPanel::cancel()
{
    model(currentTab())->setAllTicked(false);
    setDeleteMode(currentTab(), false);
}

// ---- drops from the file manager ------------------------------------------------------------

bool LibraryPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Only the picture table's viewport is watched. Asking the table for it is not safe here: the
    // viewport still gets events while the table is being destroyed.
    if (watched->parent() != m_w.tvImage)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *e = static_cast<QDropEvent *>(event);
        if (localFiles(e->mimeData()).isEmpty())
            return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *e = static_cast<QDropEvent *>(event);
        const QStringList files = localFiles(e->mimeData());
        if (files.isEmpty())
            return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        emit filesDropped(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
