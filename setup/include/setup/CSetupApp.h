#pragma once
// The setup tool's run: make sure "config.dat" exists (a first run creates it
// holding only its section line), then run the main dialog; the program ends
// when it closes.

#include "setup/CGameFolder.h"

class IDialogHost;

class CSetupApp {
public:
    CSetupApp(CGameFolder folder, IDialogHost& host) : m_folder(std::move(folder)), m_host(host) {}

    // The program's exit status: 0 however the main dialog is left.
    int Run();

private:
    CGameFolder m_folder;
    IDialogHost& m_host;
};
