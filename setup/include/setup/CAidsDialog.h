#pragma once
// The aids dialog, "Aiuti alla caccia": the comforts the original game did
// not have, each a check box, off until the player ticks it. It shows what
// "config.dat" says (an absent aid is off); "OK" writes both, "Cancella"
// writes nothing.

#include "gamedata/GameConfig.h"
#include "setup/CGameFolder.h"

#include <QDialog>

class IDialogHost;

class CAidsDialog : public QDialog {
public:
    CAidsDialog(const CGameFolder& folder, IDialogHost& host, QWidget* parent = nullptr);

    // The aids as the boxes stand.
    const HuntAids& Aids() const { return m_aids; }

private:
    const CGameFolder& m_folder;
    HuntAids m_aids;
};
