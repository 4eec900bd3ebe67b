#include "qtusertypeone_image.h"

#include "dialogs/qmymessagebox.h"
#include "propertyrow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

QtUserTypeOne_ImageWidget::QtUserTypeOne_ImageWidget(QWidget *parent)
    : QWidget(parent), m_messageBox(new QMyMessageBox)
{
    QHBoxLayout *layout = PropertyRow::layoutFor(this);
    m_label = new QLabel(this);
    m_btnList = new QToolButton(this);
    m_btnList->setObjectName(QStringLiteral("btnPictureList"));
    m_btnList->setArrowType(Qt::DownArrow);
    m_btnList->setAutoRaise(true);
    m_btnList->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    m_btnList->setFixedWidth(18);
    m_btnAdd = new QPushButton(this);
    m_btnRemove = new QPushButton(this);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_btnList);
    layout->addWidget(m_btnAdd);
    layout->addWidget(m_btnRemove);
    connect(m_btnList, &QToolButton::clicked, this, &QtUserTypeOne_ImageWidget::openPictureList);
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
    PropertyRow::fitButton(m_btnAdd, 40);
    PropertyRow::fitButton(m_btnRemove, 40);
    m_btnList->setToolTip(tr("从图库中选择图片"));
}

void QtUserTypeOne_ImageWidget::openPictureList()
{
    delete m_list;
    // A popup owned by the row: it goes when the row is rebuilt.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("pictureList"));
    m_list->setWindowFlags(Qt::Popup);
    m_list->setAttribute(Qt::WA_DeleteOnClose);
    m_list->setIconSize(QSize(48, 48));
    m_list->setUniformItemSizes(true);
    const QVector<PictureChoice> choices = m_choices ? m_choices() : QVector<PictureChoice>();
    for (const PictureChoice &c : choices) {
        auto *item = new QListWidgetItem(QIcon(c.thumbnail), QStringLiteral("%1   %2").arg(c.number).arg(c.name), m_list);
        item->setData(Qt::UserRole, c.number);
        if (QString::number(c.number) == m_value)
            m_list->setCurrentItem(item);
    }
    if (choices.isEmpty()) {
        auto *none = new QListWidgetItem(tr("图库中没有图片"), m_list);
        none->setFlags(Qt::NoItemFlags);
    }
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    auto pick = [this](QListWidgetItem *item) {
        if (!item || !(item->flags() & Qt::ItemIsEnabled))
            return;
        const int n = item->data(Qt::UserRole).toInt();
        m_list->close();
        take(QString::number(n));
    };
    connect(m_list, &QListWidget::itemClicked, this, pick);
    connect(m_list, &QListWidget::itemActivated, this, pick);
    new QShortcut(QKeySequence(Qt::Key_Escape), m_list.data(), m_list.data(), &QWidget::close);

    const int rows = qBound(1, int(m_list->count()), 8);
    const int rowHeight = qMax(m_list->sizeHintForRow(0), 50);
    // Wide enough for the longest name, with room for the scroll bar.
    const int names = m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth()
                      + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    m_list->resize(qMax(width(), names), rows * rowHeight + 2 * m_list->frameWidth());
    // Under the row, kept on the screen.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + m_list->height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - m_list->height());
        at.setX(qBound(room.left(), at.x(), qMax(room.left(), room.right() - m_list->width())));
    }
    m_list->move(at);
    m_list->show();
    m_list->setFocus();
    if (m_list->currentItem())
        m_list->scrollToItem(m_list->currentItem());
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
    editor->setPictureChoices(m_choices);
    return editor;
}
