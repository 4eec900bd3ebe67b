#pragma once

#include <functional>

#include <QObject>
#include <QSize>
#include <QStringList>
#include <QVector>

class PageTable;
class QLabel;
class QMyImageItemModel;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;
class ThumbnailLoader;

// The widgets of the main window the library works on.
struct LibraryWidgets {
    QTabWidget *tabs = nullptr;
    QWidget *pictureTab = nullptr;
    QWidget *fontTab = nullptr;
    QTableView *tvImage = nullptr;
    QTableView *tvFont = nullptr;
    QLabel *labImageSize = nullptr;
    // Shown in delete mode: what to do next.
    QLabel *labDeleteHint = nullptr;
    QPushButton *btnAll = nullptr;
    QPushButton *btnCancel = nullptr;
};

// The picture and font tables of the main window: filling them from the project's folders,
// thumbnails, ticking, delete mode and the total size label. The picture list itself is the page
// table's, so the canvas paints from the same list the table shows.
class LibraryPanel : public QObject {
    Q_OBJECT
public:
    enum Tab { Pictures, Fonts };
    // Roles of column 2 of the picture table.
    static constexpr int PathRole = Qt::UserRole + 2;
    static constexpr int MarkRole = Qt::UserRole + 3;
    enum Mark { NoMark = 0, Unreadable = 1, Oversized = 2 };

    LibraryPanel(const LibraryWidgets &widgets, PageTable *table, QObject *parent = nullptr);

    QMyImageItemModel *pictureModel() const { return m_pictureModel; }
    QMyImageItemModel *fontModel() const { return m_fontModel; }
    ThumbnailLoader *thumbnails() const { return m_thumbnails; }
    QStringList fontPaths() const { return m_fontPaths; }

    // Reads both lists from the project folder's "/tempImages" and "/tempFonts".
    void load(const QString &projectFolder);
    // Reads the font list again from the folder.
    void reloadFonts(const QString &projectFolder);
    // Shows the page table's picture list again (after an import or a deletion); ticks stay with
    // their pictures.
    void refreshPictures();
    // Pictures larger than the page are marked.
    void setPageSize(const QSize &size);

    Tab currentTab() const;
    QMyImageItemModel *model(Tab tab) const;
    bool deleteMode(Tab tab) const { return tab == Pictures ? m_pictureDeleteMode : m_fontDeleteMode; }
    void setDeleteMode(Tab tab, bool on);
    // A click on row: in delete mode it toggles the tick, otherwise only that row is ticked.
    void clickRow(Tab tab, int row);
    // Ticks every row of the current tab, or unticks them all when all were ticked.
    void selectAll();
    // Unticks the current tab and leaves its delete mode.
    void cancel();
    // Shows the tick column and buttons as the shown tab's delete mode says.
    void showDeleteModeOfCurrentTab();
    // What the delete mode of a tab asks the user to do.
    static QString deleteHint(Tab tab);
    // Every thumbnail of the picture table is in (or known to be unreadable).
    bool thumbnailsComplete() const;

    void retranslate();

signals:
    // Files dropped on the picture table from outside.
    void filesDropped(const QStringList &files);
    void thumbnailsDone();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpView(QTableView *view, QMyImageItemModel *model, int rowHeight);
    void fillPictureRow(int row);
    // Fills every picture row with the view told once.
    void fillPictureRows(const std::function<void(int)> &fill);
    void fillFontRow(int row);
    void showThumbnail(const QString &path);
    void updateTotalLabel();
    QString markText(int row) const;

    LibraryWidgets m_w;
    PageTable *m_table;
    QMyImageItemModel *m_pictureModel;
    QMyImageItemModel *m_fontModel;
    ThumbnailLoader *m_thumbnails;
    QStringList m_fontPaths;
    QSize m_pageSize;
    bool m_pictureDeleteMode = false;
    bool m_fontDeleteMode = false;
};
