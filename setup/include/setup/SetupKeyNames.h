#pragma once
// The names the setup tool shows for bound keys ("UP", "Spacebar", "R Shift").
// They are the tool's own texts, not the key table's identifiers: codes
// without a name, and anything outside 0..255 (a hand-edited "config.dat"
// can hold any integer), show as an empty box.

// Never null; "" for codes without a name.
const char* SetupKeyName(int code);
