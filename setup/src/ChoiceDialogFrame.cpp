#include "ChoiceDialogFrame.h"

#include "DialogLayout.h"
#include "SetupTexts.h"
#include "setup/CGameFolder.h"
#include "setup/IDialogHost.h"

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

void FrameChoiceDialog(QDialog& dialog, QWidget* choices, const CGameFolder& folder, IDialogHost& host,
                       std::function<bool()> write, int width, int height)
{
    auto* ok = new QPushButton(ButtonText(texts::kOk, 'O'), &dialog);
    auto* cancel = new QPushButton(ButtonText(texts::kCancel, 'C'), &dialog);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(choices);
    layout->addStretch();
    layout->addLayout(BottomButtonRow({ok, cancel}));

    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog, &folder, &host, write = std::move(write)] {
        if (!write()) {
            host.ShowError(&dialog, TextAboutFile(texts::kSaveFailed, folder.ConfigPath()));
            return;
        }
        dialog.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    FixDialogSize(dialog, width, height);
}
