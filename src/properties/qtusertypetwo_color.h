#pragma once

#include "qttextvaluefactory.h"
#include "qttextvaluemanager.h"

#include <QWidget>

class QLabel;
class QPushButton;

// Colour numbers 0..63 of the colour table, as decimal texts. Rows not being edited show a
// swatch of the colour beside the number, as the colour dialog does.
class QtUserTypeTwo_ColorManager : public QtTextValueManager {
    Q_OBJECT
public:
    using QtTextValueManager::QtTextValueManager;

    // The swatch of a colour number (brought into the table as the editor shows it).
    static QIcon swatch(int colorNum);

protected:
    QIcon valueIcon(const QtProperty *property) const override;
};

// Shows a colour number on a swatch of its colour; "设置" opens the colour table.
class QtUserTypeTwo_ColorWidget : public QWidget {
    Q_OBJECT
public:
    explicit QtUserTypeTwo_ColorWidget(QWidget *parent = nullptr);

    // Shows text without reporting it. A number outside the table (a damaged project) is shown
    // as the nearest colour number, and kept as it is until the user picks another.
    void setValue(const QString &text);
    QString value() const { return m_value; }
    // The colour number shown: the value, brought into 0..63.
    int shownColorNum() const;

    QLabel *label() const { return m_label; }
    QPushButton *addButton() const { return m_btnAdd; }

signals:
    void valueChanged(const QString &value);

public slots:
    void btnAddClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *m_label = nullptr;
    QPushButton *m_btnAdd = nullptr;
    QString m_value;
};

class QtUserTypeTwo_ColorFactory
    : public QtTextValueFactory<QtUserTypeTwo_ColorManager, QtUserTypeTwo_ColorWidget> {
    Q_OBJECT
public:
    using QtTextValueFactory::QtTextValueFactory;

protected:
    QtUserTypeTwo_ColorWidget *makeEditor(QWidget *parent) override;
};
