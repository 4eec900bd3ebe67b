#include "qtusertypeone_image.h"

#include "dialogs/qmymessagebox.h"
#include "propertyrow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

QtUserTypeOne_ImageWidget::QtUserTypeOne_ImageWidget(QWidget *parent)
    : QWidget(parent), m_messageBox(new QMyMessageBox)
{
    QHBoxLayout *layout = PropertyRow::layoutFor(this);
    m_label = new QLabel(this);
    m_btnAdd = new QPushButton(this);
    m_btnRemove = new QPushButton(this);
    layout->addWidget(m_label);
    layout->addWidget(m_btnAdd);
    layout->addWidget(m_btnRemove);
    PropertyRow::setUpButton(this, m_btnAdd, 40);
    PropertyRow::setUpButton(this, m_btnRemove, 40);
    connect(m_btnAdd, &QPushButton::clicked, this, &QtUserTypeOne_ImageWidget::btnAddClicked);
    connect(m_btnRemove, &QPushButton::clicked, this, &QtUserTypeOne_ImageWidget::btnRemoveClicked);
    retranslate();
}

QtUserTypeOne_ImageWidget::~QtUserTypeOne_ImageWidget()
{
    delete m_messageBox;
}

void QtUserTypeOne_ImageWidget::retranslate()
{
    m_btnAdd->setText(tr("设置"));
    m_btnRemove->setText(tr("移除"));
}

void QtUserTypeOne_ImageWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

bool QtUserTypeOne_ImageWidget::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void QtUserTypeOne_ImageWidget::setValue(const QString &text)
{
    if (text == m_value)
        return;
    m_value = text;
    m_label->setText(text);
}

void QtUserTypeOne_ImageWidget::take(const QString &value)
{
    if (value == m_value)
        return;
    setValue(value);
    emit valueChanged(value);
}

void QtUserTypeOne_ImageWidget::btnAddClicked()
{
    const int selected = m_selectedImageNum ? m_selectedImageNum() : -1;
    if (selected < 0) {
        m_messageBox->showMessage(QMyMessageBox::Hint, 0, 0, tr("未选择图片，请您在图库中选择一张图片！"));
        return;
    }
    take(QString::number(selected));
}

void QtUserTypeOne_ImageWidget::btnRemoveClicked()
{
    take(QString());
}

QtUserTypeOne_ImageWidget *QtUserTypeOne_ImageFactory::makeEditor(QWidget *parent)
{
    auto *editor = new QtUserTypeOne_ImageWidget(parent);
    editor->setSelectedImageNumProvider(m_selectedImageNum);
    return editor;
}
