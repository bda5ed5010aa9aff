<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="it">
<context>
    <name>setup</name>
    <message>
        <source>Configurazione del gioco</source>
        <translation>Game Setup</translation>
    </message>
    <message>
        <source>Configurazione del display</source>
        <translation>Display Setup</translation>
    </message>
    <message>
        <source>Configurazione dei controlli</source>
        <translation>Controls Setup</translation>
    </message>
    <message>
        <source>Reimposta i Trofei</source>
        <translation>Reset the Trophies</translation>
    </message>
    <message>
        <source>Lascia</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>High Colour</source>
        <translation>High Colour</translation>
    </message>
    <message>
        <source>Colori a 8-bit</source>
        <translation>8-bit Colour</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Giù</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Sinistra</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Destra</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Fuoco</source>
        <translation>Fire</translation>
    </message>
    <message>
        <source>Arma</source>
        <translation>Weapon</translation>
    </message>
    <message>
        <source>Binocolo</source>
        <translation>Binoculars</translation>
    </message>
    <message>
        <source>Jeep</source>
        <translation>Jeep</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>(nessuno)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>Tasto %1</source>
        <translation>Key %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancella</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Per favore premete il tasto desiderato</source>
        <translation>Please press the key you want</translation>
    </message>
    <message>
        <source>Il pulsante selezionato è già in uso, per favore scegliete ancora…</source>
        <translation>That key is already in use, please choose again…</translation>
    </message>
    <message>
        <source>Esc per annullare</source>
        <translation>Esc to cancel</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Impossibile creare &quot;%1&quot;. Controllate che la cartella sia scrivibile.</source>
        <translation>Cannot create &quot;%1&quot;. Check that the folder can be written.</translation>
    </message>
    <message>
        <source>Impossibile salvare le impostazioni in &quot;%1&quot;. Controllate che la cartella sia scrivibile e che il disco non sia pieno.</source>
        <translation>Cannot save the settings in &quot;%1&quot;. Check that the folder can be written and that the disk is not full.</translation>
    </message>
    <message>
        <source>Cancellare tutti i trofei?</source>
        <translation>Delete all the trophies?</translation>
    </message>
    <message>
        <source>Impossibile cancellare &quot;%1&quot;: i trofei non sono stati reimpostati.</source>
        <translation>Cannot delete &quot;%1&quot;: the trophies were not reset.</translation>
    </message>
    <message>
        <source>Aiuti alla caccia</source>
        <translation>Hunting Aids</translation>
    </message>
    <message>
        <source>Radar: la preda in un colore tutto suo</source>
        <translation>Radar: the quarry in a colour of its own</translation>
    </message>
    <message>
        <source>Mirino nel punto in cui va il colpo</source>
        <translation>A mark where the shot goes</translation>
    </message>
</context>
</TS>
