#pragma once
// The buttons at the foot of the window's dialogs, wired to close them.

#include <QDialogButtonBox>

// OK and Cancel (or the given buttons): OK accepts the dialog, Cancel rejects it.
QDialogButtonBox* DialogButtons(QDialog& dialog,
                                QDialogButtonBox::StandardButtons buttons = QDialogButtonBox::Ok |
                                                                            QDialogButtonBox::Cancel);
