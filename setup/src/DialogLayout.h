#pragma once
// How the setup dialogs are laid out. Sizes are given in dialog units, which
// scale with the dialog's font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height. Sizing
// from them keeps each dialog's proportions whatever font the desktop uses.

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QSize;
class QWidget;

QSize DialogUnitsToPixels(const QWidget& dialog, int width, int height);
// Fixes a laid-out dialog's size: the size in dialog units, grown where the
// layout needs more so that no text is ever cut.
void FixDialogSize(QWidget& dialog, int width, int height);
// The row of buttons at the bottom of a dialog: the first at the left, the
// last at the right, any others evenly between. The first is the default.
QHBoxLayout* BottomButtonRow(std::initializer_list<QPushButton*> buttons);
