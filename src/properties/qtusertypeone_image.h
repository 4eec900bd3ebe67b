#pragma once

#include "qttextvaluefactory.h"
#include "qttextvaluemanager.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMyMessageBox;
class QPushButton;

// Picture numbers of the library; the empty text is "no picture".
class QtUserTypeOne_ImageManager : public QtTextValueManager {
    Q_OBJECT
public:
    using QtTextValueManager::QtTextValueManager;
};

// Shows a picture number with "设置" (take the picture selected in the library) and "移除".
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

    QLabel *label() const { return m_label; }
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
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnRemove = nullptr;
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

protected:
    QtUserTypeOne_ImageWidget *makeEditor(QWidget *parent) override;

private:
    std::function<int()> m_selectedImageNum;
};
