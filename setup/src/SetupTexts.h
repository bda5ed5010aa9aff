#pragma once
// Every text the setup tool shows. The interface is Italian; the few English
// texts are the tool's own messages and stay as they have always read.

#include <QString>

namespace texts {

// Main dialog.
constexpr const char* kMainCaption = "Configurazione del gioco";
constexpr const char* kDisplayButton = "Configurazione del display";
constexpr const char* kControlsButton = "Configurazione dei controlli";
constexpr const char* kResetTrophiesButton = "Reimposta i Trofei";
constexpr const char* kLeave = "Lascia";

// Display dialog.
constexpr const char* kDisplayCaption = "Configurazione del display";
constexpr const char* kHighColour = "High Colour";
constexpr const char* kEightBit = "Colori a 8-bit";

// Controls dialog: the buttons of the eight stored controls, in Control order.
constexpr const char* kControlsCaption = "Configurazione dei controlli";
constexpr const char* kControlButtons[8] = {"Su", "Giù", "Sinistra", "Destra", "Fuoco", "Arma", "Binocolo", "Jeep"};
constexpr const char* kDefault = "Default";

// Shared buttons.
constexpr const char* kOk = "OK";
constexpr const char* kCancel = "Cancella";
constexpr const char* kYes = "Si";
constexpr const char* kNo = "No";

// Capture dialog prompts.
constexpr const char* kPressKey = "Per favore premete il tasto desiderato";
constexpr const char* kKeyInUse = "Il pulsante selezionato è già in uso, per favore scegliete ancora…";

// Messages. %1 is a file's full path.
constexpr const char* kErrorCaption = "Error";
constexpr const char* kCreateFailed = "Impossibile creare \"%1\". Controllate che la cartella sia scrivibile.";
constexpr const char* kSaveFailed = "Impossibile salvare le impostazioni in \"%1\". Controllate che la cartella "
                                    "sia scrivibile e che il disco non sia pieno.";
constexpr const char* kResetQuestion = "Cancellare tutti i trofei?";
constexpr const char* kResetFailed = "Impossibile cancellare \"%1\": i trofei non sono stati reimpostati.";

} // namespace texts

// The sources are UTF-8, as Qt expects of plain literals.
inline QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A message about a file, with its full path.
QString TextAboutFile(const char* utf8, const std::string& path);
