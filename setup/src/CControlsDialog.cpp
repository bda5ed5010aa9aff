#include "setup/CControlsDialog.h"

#include "DialogLayout.h"
#include "SetupTexts.h"
#include "setup/CCaptureDialog.h"
#include "setup/IDialogHost.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The longest name a box must show whole ("Tasto 255" and "(nessuno)" are
// shorter).
constexpr const char* kWidestKeyName = "NUMPAD Enter";

} // namespace

CControlsDialog::CControlsDialog(const ControlBindings& handed, const CGameFolder& folder, IDialogHost& host,
                                 QWidget* parent)
    : QDialog(parent), m_folder(folder), m_host(host), m_bindings(handed)
{
    setWindowTitle(Text(texts::kControlsCaption));

    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    const int boxWidth =
        fontMetrics().horizontalAdvance(Text(kWidestKeyName)) + DialogUnitsToPixels(*this, 16, 0).width();
    for (size_t i = 0; i < kGameControlCount; ++i) {
        auto* button = new QPushButton(ButtonText(texts::kControlButtons[i], texts::kControlMnemonics[i]), group);
        button->setAutoDefault(false);
        auto* name = new QLineEdit(group);
        name->setReadOnly(true);
        name->setMinimumWidth(boxWidth);
        // A box the user cannot type in looks it: the window's colour, not
        // the white of a field, and no text cursor. Tab goes from button to
        // button.
        QPalette look = name->palette();
        look.setColor(QPalette::Base, look.color(QPalette::Window));
        name->setPalette(look);
        name->setFocusPolicy(Qt::NoFocus);
        m_names[i] = name;
        grid->addWidget(button, int(i), 0);
        grid->addWidget(name, int(i), 1);
        connect(button, &QPushButton::clicked, this, [this, i] { Capture(GameControl(i)); });
    }

    auto* ok = new QPushButton(ButtonText(texts::kOk, 'O'), this);
    auto* defaults = new QPushButton(ButtonText(texts::kDefault, 'e'), this);
    auto* cancel = new QPushButton(ButtonText(texts::kCancel, 'C'), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(BottomButtonRow({ok, defaults, cancel}));

    connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(defaults, &QPushButton::clicked, this, [this] { SetDefaults(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // What the game will play with: the stored keys, or the defaults while
    // neither up nor down is bound.
    m_bindings.keys = m_folder.Config().Read().keys;
    ShowNames();

    FixDialogSize(*this, 164, 196);
}

void CControlsDialog::ShowNames()
{
    for (size_t i = 0; i < kGameControlCount; ++i)
        m_names[i]->setText(KeyNameShown(m_bindings.keys[i]));
}

void CControlsDialog::Capture(GameControl control)
{
    CCaptureDialog dialog(m_bindings, control, this);
    if (m_host.Run(dialog) != QDialog::Accepted)
        return;
    m_bindings[control] = dialog.CapturedCode();
    ShowNames();
}

void CControlsDialog::SetDefaults()
{
    m_bindings.keys = DefaultControlKeys();
    ShowNames();
}

void CControlsDialog::Confirm()
{
    // On failure the dialog stays open with the user's bindings, to retry or cancel.
    if (!m_folder.Config().WriteControlKeys(m_bindings.keys)) {
        m_host.ShowError(this, TextAboutFile(texts::kSaveFailed, m_folder.ConfigPath()));
        return;
    }
    accept();
}
