#include "setup/CSetupApp.h"

#include "SetupTexts.h"
#include "setup/CMainDialog.h"
#include "setup/IDialogHost.h"

int CSetupApp::Run()
{
    // Without the file the tool still works: the user can look at the
    // settings and will be told again when saving fails.
    if (m_folder.EnsureConfigFile() == CConfigFile::Creation::Failed)
        m_host.ShowError(nullptr, TextAboutFile(texts::kCreateFailed, m_folder.ConfigPath()));
    CMainDialog dialog(m_folder, m_host);
    m_host.Run(dialog);
    return 0;
}
