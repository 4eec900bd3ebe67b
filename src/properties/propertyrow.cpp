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
    // A row is lower than a button of the style; without its padding the text fits the height.
    button->setStyleSheet(QStringLiteral("font-size:12px;padding:0px 3px;"));
    fitButton(button, width);
    button->installEventFilter(widget);
    widget->setFocusProxy(button);
    widget->setFocusPolicy(button->focusPolicy());
}

void fitButton(QPushButton *button, int width)
{
    button->ensurePolished();
    const int text = button->fontMetrics().horizontalAdvance(button->text());
    button->setFixedWidth(qMax(width, text + 10));
}

}  // namespace PropertyRow
