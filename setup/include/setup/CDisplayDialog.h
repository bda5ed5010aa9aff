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

    // The choice "OK" writes: high colour after "High Colour" is clicked,
    // 8-bit after "Colori a 8-bit"; until then the stored choice.
    bool HighColour() const { return m_highColour; }

private:
    void Confirm();

    const CGameFolder& m_folder;
    IDialogHost& m_host;
    bool m_highColour = false;
};
