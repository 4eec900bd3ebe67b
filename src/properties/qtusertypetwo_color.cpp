#include "qtusertypetwo_color.h"

#include "colordlg.h"
#include "model/colortable.h"
#include "propertyrow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

QIcon QtUserTypeTwo_ColorManager::swatch(int colorNum)
{
    const int n = qBound(0, colorNum, ColorTable::Count - 1);
    QPixmap pm(16, 16);
    pm.fill(ColorTable::colorAt(n));
    // A grey frame keeps black and white swatches apart from the row behind them.
    QPainter p(&pm);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    return QIcon(pm);
}

QIcon QtUserTypeTwo_ColorManager::valueIcon(const QtProperty *property) const
{
    const QString text = value(property);
    if (text.isEmpty())
        return QIcon();
    return swatch(text.toInt());
}

QtUserTypeTwo_ColorWidget::QtUserTypeTwo_ColorWidget(QWidget *parent) : QWidget(parent)
{
    QHBoxLayout *layout = PropertyRow::layoutFor(this);
    m_label = new QLabel(QStringLiteral("0"), this);
    m_btnAdd = new QPushButton(this);
    layout->addWidget(m_label);
    layout->addWidget(m_btnAdd);
    PropertyRow::setUpButton(this, m_btnAdd, 50);
    connect(m_btnAdd, &QPushButton::clicked, this, &QtUserTypeTwo_ColorWidget::btnAddClicked);
    retranslate();
}

void QtUserTypeTwo_ColorWidget::retranslate()
{
    m_btnAdd->setText(tr("设置"));
    PropertyRow::fitButton(m_btnAdd, 50);
}

void QtUserTypeTwo_ColorWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

bool QtUserTypeTwo_ColorWidget::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

int QtUserTypeTwo_ColorWidget::shownColorNum() const
{
    return qBound(0, m_value.toInt(), ColorTable::Count - 1);
}

void QtUserTypeTwo_ColorWidget::setValue(const QString &text)
{
    if (text.isEmpty()) {
        // No one colour to show (items of different colours).
        m_value.clear();
        m_label->setStyleSheet(QString());
        m_label->clear();
        return;
    }
    if (text == m_value)
        return;
    m_value = text;
    const int n = shownColorNum();
    const QColor c = ColorTable::colorAt(n);
    // The number stays readable on dark swatches; a style sheet overrides the palette, so the
    // text colour goes into the sheet too.
    m_label->setStyleSheet(QStringLiteral("background-color:rgb(%1,%2,%3);color:%4;")
                               .arg(c.red())
                               .arg(c.green())
                               .arg(c.blue())
                               .arg(ColorTable::numberTextColorOn(n).name()));
    m_label->setText(QString::number(n));
}

void QtUserTypeTwo_ColorWidget::btnAddClicked()
{
    // The row may be rebuilt (and this editor deleted) while the dialog runs.
    QPointer<QtUserTypeTwo_ColorWidget> self(this);
    auto *dlg = new ColorDlg;
    const bool accepted = dlg->execWithColorNum(shownColorNum());
    const int picked = dlg->colorNum();
    delete dlg;
    if (!accepted || !self)
        return;
    const QString value = QString::number(picked);
    if (value == m_value)
        return;
    setValue(value);
    emit valueChanged(value);
}

QtUserTypeTwo_ColorWidget *QtUserTypeTwo_ColorFactory::makeEditor(QWidget *parent)
{
    return new QtUserTypeTwo_ColorWidget(parent);
}
