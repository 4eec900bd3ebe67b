#include "propertyrow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace PropertyRow {

QHBoxLayout *layoutFor(QWidget *widget)
{
    auto *layout = new QHBoxLayout(widget);
    layout->setSpacing(0);
    if (widget->layoutDirection() == Qt::LeftToRight)
        layout->setContentsMargins(4, 0, 0, 0);
    else
        layout->setContentsMargins(0, 0, 4, 0);
    return layout;
}

void setUpButton(QWidget *widget, QPushButton *button, int width)
{
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(width);
    button->setStyleSheet(QStringLiteral("font-size:12px;"));
    button->installEventFilter(widget);
    widget->setFocusProxy(button);
    widget->setFocusPolicy(button->focusPolicy());
}

}  // namespace PropertyRow
