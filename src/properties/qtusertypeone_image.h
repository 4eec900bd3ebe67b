#pragma once

#include "qttextvaluefactory.h"
#include "qttextvaluemanager.h"

#include <QListWidget>
#include <QPointer>
#include <QPixmap>
#include <QVector>
#include <QWidget>

#include <functional>

class QLabel;
class QMyMessageBox;
class QPushButton;
class QToolButton;

// A picture of the library as the row's list offers it.
struct PictureChoice {
    int number = -1;
    QString name;
    QPixmap thumbnail;  // null while not made yet
};
using PictureChoices = std::function<QVector<PictureChoice>()>;

// Picture numbers of the library; the empty text is "no picture".
class QtUserTypeOne_ImageManager : public QtTextValueManager {
    Q_OBJECT
public:
    using QtTextValueManager::QtTextValueManager;
};

// Shows a picture number with a list of the library's pictures to pick from, "设置" (take the
// picture selected in the library) and "移除".
class QtUserTypeOne_ImageWidget : public QWidget {
    Q_OBJECT
public:
    explicit QtUserTypeOne_ImageWidget(QWidget *parent = nullptr);
    ~QtUserTypeOne_ImageWidget() override;

    // Shows text without reporting it.
    void setValue(const QString &text);
    QString value() const { return m_value; }
    // Where "设置" reads the library's selected picture (-1 for none).
    void setSelectedImageNumProvider(std::function<int()> provider) { m_selectedImageNum = std::move(provider); }
    // What the list offers, asked each time it opens.
    void setPictureChoices(PictureChoices choices) { m_choices = std::move(choices); }

    QLabel *label() const { return m_label; }
    QToolButton *listButton() const { return m_btnList; }
    // The open list, null when closed.
    QListWidget *pictureList() const { return m_list; }
    void openPictureList();
    QPushButton *addButton() const { return m_btnAdd; }
    QPushButton *removeButton() const { return m_btnRemove; }
    QMyMessageBox *messageBox() const { return m_messageBox; }

signals:
    void valueChanged(const QString &value);

public slots:
    void btnAddClicked();
    void btnRemoveClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void take(const QString &value);

    QLabel *m_label = nullptr;
    QToolButton *m_btnList = nullptr;
    // The open picture list, a child of this row; null once it is closed or gone.
    QPointer<QListWidget> m_list;
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnRemove = nullptr;
    PictureChoices m_choices;
    QMyMessageBox *m_messageBox = nullptr;
    QString m_value;
    std::function<int()> m_selectedImageNum;
};

class QtUserTypeOne_ImageFactory
    : public QtTextValueFactory<QtUserTypeOne_ImageManager, QtUserTypeOne_ImageWidget> {
    Q_OBJECT
public:
    using QtTextValueFactory::QtTextValueFactory;

    // Given to every editor made from now on; the main window passes its selectedImageNum.
    void setSelectedImageNumProvider(std::function<int()> provider) { m_selectedImageNum = std::move(provider); }
    void setPictureChoices(PictureChoices choices) { m_choices = std::move(choices); }

protected:
    QtUserTypeOne_ImageWidget *makeEditor(QWidget *parent) override;

private:
    std::function<int()> m_selectedImageNum;
    PictureChoices m_choices;
};
