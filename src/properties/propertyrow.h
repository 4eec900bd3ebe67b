#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

// The image and colour editors share one look: a label, then small buttons.
namespace PropertyRow {

// Horizontal layout without spacing, 4 pixels of margin on the leading side only.
QHBoxLayout *layoutFor(QWidget *widget);

// Fixed width, full row height, small text; the button takes the widget's focus.
void setUpButton(QWidget *widget, QPushButton *button, int width);

}  // namespace PropertyRow
