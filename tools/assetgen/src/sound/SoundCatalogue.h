#pragma once
// The game's sound effects: one recipe per file of the "sounds" folder, and
// the synthesis functions behind them (grouped by what makes the sound).

#include "sound/SynthSignal.h"

struct SoundRecipe {
    const char* name; // data name, e.g. "sounds\\ak47.wav"
    Signal (*make)();
    // The level the sound is made at: the RMS of its loudest 400 ms, in dB
    // below full scale (LoudestRmsDb).
    double level;
    // Played looped: its last sample must lead smoothly into its first, so
    // nothing may be faded or filtered across that seam afterwards.
    bool loops;
};

extern const SoundRecipe kSoundRecipes[];
extern const int kSoundRecipeCount;

// Weapons: one shot each (the assault rifle a short burst).
Signal MakeAssaultRifleBurst();
Signal MakeCrossbowShot();
Signal MakeHandgunShot();
Signal MakeMuzzleLoaderShot();
Signal MakeRifleShot();
Signal MakeShotgunBlast();

// The jeep: the starter and the first revs, then the idling engine (a loop
// the game speeds up with the jeep).
Signal MakeJeepStarting();
Signal MakeEngineLoop();

// Cues: the good shot, and six warnings that each sound like an alarm of
// their own.
Signal MakeGoodShotCue();
Signal MakeSirenWarning();   // two-tone siren
Signal MakeWhoopWarning();   // rising whoops
Signal MakeBeepWarning();    // rapid triple beeps
Signal MakeHornWarning();    // the jeep's horn calling the hunter back
Signal MakeWarbleWarning();  // fast warbling alarm
Signal MakeWrongShotBuzzer(); // falling low buzzer

// The intro video's soundtrack, `seconds` long: the savannah's ambience
// and a short theme that ends on a chord.
Signal MakeIntroSoundtrack(double seconds);

// Animals.
Signal MakeElephantTrumpet();
Signal MakeRunOverBellow();
Signal MakeLionRoar();
Signal MakeLionGrunts();
Signal MakeLionSnarl();
