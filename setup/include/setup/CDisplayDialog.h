#pragma once
// The display dialog, "Configurazione del display": high colour or 8-bit.
// It shows the depth the game will start in (an absent choice is 8-bit);
// "OK" writes "highcolour", "Cancella" writes nothing.

#include "setup/CGameFolder.h"

#include <QDialog>

class IDialogHost;
class QRadioButton;

class CDisplayDialog : public QDialog {
public:
    CDisplayDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent = nullptr);

private:
    const CGameFolder& m_folder;
    bool m_highColour = false;
};
