#pragma once
// The controls dialog, "Configurazione dei controlli": a button per control
// that captures its key, with the bound key's name beside it. On opening it
// shows the keys stored in "config.dat" (the defaults when neither up nor
// down is bound); "Default" puts back the default keys, "OK" writes the
// eight keys and "Cancella" writes nothing.

#include "setup/CGameFolder.h"
#include "setup/ControlBindings.h"

#include <QDialog>

#include <array>

class IDialogHost;
class QLineEdit;

class CControlsDialog : public QDialog {
public:
    // `handed` are the caller's bindings; the stored keys replace the eight
    // stored controls at once, and the fifth button keeps what it was handed.
    CControlsDialog(const ControlBindings& handed, const CGameFolder& folder, IDialogHost& host,
                    QWidget* parent = nullptr);

    const ControlBindings& Bindings() const { return m_bindings; }

private:
    void ShowNames();
    void Capture(GameControl control);
    void SetDefaults();
    void Confirm();

    const CGameFolder& m_folder;
    IDialogHost& m_host;
    ControlBindings m_bindings;
    std::array<QLineEdit*, kGameControlCount> m_names{};
};
