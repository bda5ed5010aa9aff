#pragma once
// The display dialog, "Configurazione del display": high colour or 8-bit.
// It shows the stored choice (an absent one as high colour); "OK" writes
// "highcolour", "Cancella" writes nothing.

#include "setup/CGameFolder.h"

#include <QDialog>

class IDialogHost;
class QRadioButton;

class CDisplayDialog : public QDialog {
public:
    CDisplayDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent = nullptr);

    // The value "OK" writes: 1 after "High Colour" is clicked, 0 after
    // "Colori a 8-bit"; until then the stored value.
    int Value() const { return m_value; }

private:
    void Confirm();

    const CGameFolder& m_folder;
    IDialogHost& m_host;
    int m_value = 1;
};
