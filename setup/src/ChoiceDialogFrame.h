#pragma once
// What the setup tool's choice dialogs share: their choices above "OK" and
// "Cancella", sized in dialog units. "OK" keeps the choices in "config.dat"
// through `write` and closes the dialog; a write that fails is shown, and the
// dialog stays open with the choices as they stand, to retry or cancel.

#include <functional>

class CGameFolder;
class IDialogHost;
class QDialog;
class QWidget;

void FrameChoiceDialog(QDialog& dialog, QWidget* choices, const CGameFolder& folder, IDialogHost& host,
                       std::function<bool()> write, int width, int height);
