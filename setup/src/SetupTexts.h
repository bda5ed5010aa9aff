#pragma once
// Every text the setup tool shows. The interface is Italian: these are the
// texts an Italian locale (or --lang it) shows, exactly as they have always
// read, and the sources of the translations (setup/translations/*.ts, made
// with lupdate from the marks below; see SetupLanguage.h).

#include <QCoreApplication>
#include <QString>

namespace texts {

// Main dialog.
constexpr const char* kMainCaption = QT_TRANSLATE_NOOP("setup", "Configurazione del gioco");
constexpr const char* kDisplayButton = QT_TRANSLATE_NOOP("setup", "Configurazione del display");
constexpr const char* kControlsButton = QT_TRANSLATE_NOOP("setup", "Configurazione dei controlli");
constexpr const char* kResetTrophiesButton = QT_TRANSLATE_NOOP("setup", "Reimposta i Trofei");
constexpr const char* kAidsButton = QT_TRANSLATE_NOOP("setup", "Aiuti alla caccia");
constexpr const char* kLeave = QT_TRANSLATE_NOOP("setup", "Lascia");

// Display dialog.
constexpr const char* kDisplayCaption = QT_TRANSLATE_NOOP("setup", "Configurazione del display");
constexpr const char* kHighColour = QT_TRANSLATE_NOOP("setup", "High Colour");
constexpr const char* kEightBit = QT_TRANSLATE_NOOP("setup", "Colori a 8-bit");

// Aids dialog: the two comforts, both off unless ticked.
constexpr const char* kAidsCaption = QT_TRANSLATE_NOOP("setup", "Aiuti alla caccia");
constexpr const char* kQuarryOnRadar = QT_TRANSLATE_NOOP("setup", "Radar: la preda in un colore tutto suo");
constexpr const char* kAimReticle = QT_TRANSLATE_NOOP("setup", "Mirino nel punto in cui va il colpo");

// Controls dialog: the buttons of the eight stored controls, in GameControl order.
constexpr const char* kControlsCaption = QT_TRANSLATE_NOOP("setup", "Configurazione dei controlli");
constexpr const char* kControlButtons[8] = {
    QT_TRANSLATE_NOOP("setup", "Su"),    QT_TRANSLATE_NOOP("setup", "Giù"),  QT_TRANSLATE_NOOP("setup", "Sinistra"),
    QT_TRANSLATE_NOOP("setup", "Destra"), QT_TRANSLATE_NOOP("setup", "Fuoco"), QT_TRANSLATE_NOOP("setup", "Arma"),
    QT_TRANSLATE_NOOP("setup", "Binocolo"), QT_TRANSLATE_NOOP("setup", "Jeep")};
// Their mnemonics in the Italian texts, in the same order; none of them is
// taken by the dialog's own buttons (OK, Default, Cancella). A translation
// marks its own with '&'.
constexpr char kControlMnemonics[8] = {'S', 'G', 'i', 'D', 'F', 'A', 'B', 'J'};
constexpr const char* kDefault = QT_TRANSLATE_NOOP("setup", "Default");
// What a key-name box shows for a control without a key, and for a key the
// name table does not know (%1 is its code).
constexpr const char* kUnbound = QT_TRANSLATE_NOOP("setup", "(nessuno)");
constexpr const char* kUnnamedKey = QT_TRANSLATE_NOOP("setup", "Tasto %1");

// Shared buttons.
constexpr const char* kOk = QT_TRANSLATE_NOOP("setup", "OK");
constexpr const char* kCancel = QT_TRANSLATE_NOOP("setup", "Cancella");
constexpr const char* kYes = QT_TRANSLATE_NOOP("setup", "Si");
constexpr const char* kNo = QT_TRANSLATE_NOOP("setup", "No");

// Capture dialog prompts, the line under them and the button that gives up.
constexpr const char* kPressKey = QT_TRANSLATE_NOOP("setup", "Per favore premete il tasto desiderato");
constexpr const char* kKeyInUse =
    QT_TRANSLATE_NOOP("setup", "Il pulsante selezionato è già in uso, per favore scegliete ancora…");
constexpr const char* kEscapeCancels = QT_TRANSLATE_NOOP("setup", "Esc per annullare");
constexpr const char* kAbandon = QT_TRANSLATE_NOOP("setup", "Annulla");

// Messages. %1 is a file's full path.
constexpr const char* kErrorCaption = QT_TRANSLATE_NOOP("setup", "Error");
constexpr const char* kCreateFailed =
    QT_TRANSLATE_NOOP("setup", "Impossibile creare \"%1\". Controllate che la cartella sia scrivibile.");
constexpr const char* kSaveFailed = QT_TRANSLATE_NOOP("setup", "Impossibile salvare le impostazioni in \"%1\". "
                                                               "Controllate che la cartella sia scrivibile e che "
                                                               "il disco non sia pieno.");
constexpr const char* kResetQuestion = QT_TRANSLATE_NOOP("setup", "Cancellare tutti i trofei?");
constexpr const char* kResetFailed =
    QT_TRANSLATE_NOOP("setup", "Impossibile cancellare \"%1\": i trofei non sono stati reimpostati.");

} // namespace texts

// A text as the user sees it: its translation into the language installed
// for the program (SetupLanguage.h), or itself. The sources are UTF-8, as Qt
// expects of plain literals.
inline QString Text(const char* utf8)
{
    return QCoreApplication::translate("setup", utf8);
}

// A button's text with its mnemonic: the first `letter` in it underlined
// (and pressed with Alt). A translation without that letter takes it in the
// other case, or its first letter, unless it marked its own with '&'. The
// text itself stays as it is.
QString ButtonText(const char* utf8, char letter);

// A message about a file, with its full path.
QString TextAboutFile(const char* utf8, const std::string& path);

// What the controls dialog shows for a bound key: its name, "Tasto N" for a
// code without one, "(nessuno)" for no key.
QString KeyNameShown(int code);
