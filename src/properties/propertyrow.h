#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

// The image and colour editors share one look: a label, then small buttons.
namespace PropertyRow {

// Horizontal layout without spacing, 4 pixels of margin on the leading side only.
QHBoxLayout *layoutFor(QWidget *widget);

// At least `width` wide, full row height, small text; the button takes the widget's focus.
void setUpButton(QWidget *widget, QPushButton *button, int width);
// Widens a button set up above to its text (call after each translation), never below `width`.
void fitButton(QPushButton *button, int width);

}  // namespace PropertyRow
