#pragma once
// The main dialog, "Configurazione del gioco": it opens the display, the
// controls and the aids dialogs and resets the trophies. "OK" and "Lascia" both close it,
// and with it the program; every change has already been written by then.

#include "setup/CGameFolder.h"
#include "setup/ControlBindings.h"

#include <QDialog>

class IDialogHost;
class QPushButton;

class CMainDialog : public QDialog {
public:
    CMainDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent = nullptr);

    // The bindings last confirmed in the controls dialog.
    const ControlBindings& Bindings() const { return m_bindings; }

private:
    void OpenDisplay();
    void OpenControls();
    void OpenAids();
    void ResetTrophies();

    const CGameFolder& m_folder;
    IDialogHost& m_host;
    ControlBindings m_bindings;
};
