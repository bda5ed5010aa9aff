// The "sounds" folder: every effect the game loads, synthesised from fixed
// seeds so the files are the same on every run.

#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "sink/CAssetSink.h"
#include "sound/SoundCatalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// The levels the game's mix is balanced on (RMS of the loudest 400 ms, dB
// below full scale). Every shot sits at one level, so no gun is quieter than
// another; the warnings stand no louder than a shot, the cues and the animals
// a little under them, and the engine, which runs under everything else for
// as long as the hunter drives, lowest of all.
constexpr double kShotLevel = -16.0;
constexpr double kWarningLevel = -18.0;
constexpr double kCueLevel = -19.0;
constexpr double kAnimalLevel = -17.0;
constexpr double kStarterLevel = -21.0;
constexpr double kEngineLevel = -24.0;

// Names are the hunt tables' (whose constant tables are set before any code
// runs, so this table may read them).
const SoundRecipe kSoundRecipes[] = {
    {kWeapons[WEAPON_ASSAULT_RIFLE].shotSound, MakeAssaultRifleBurst, kShotLevel, false},
    {kWeapons[WEAPON_CROSSBOW].shotSound, MakeCrossbowShot, kShotLevel, false},
    {kWeapons[WEAPON_HANDGUN].shotSound, MakeHandgunShot, kShotLevel, false},
    {kWeapons[WEAPON_MUZZLE_LOADER].shotSound, MakeMuzzleLoaderShot, kShotLevel, false},
    {kWeapons[WEAPON_RIFLE].shotSound, MakeRifleShot, kShotLevel, false},
    {kWeapons[WEAPON_SHOTGUN].shotSound, MakeShotgunBlast, kShotLevel, false},
    {kJeepVoices[VOICE_STARTING], MakeJeepStarting, kStarterLevel, false},
    {kJeepVoices[VOICE_ENGINE], MakeEngineLoop, kEngineLevel, true},
    {kJeepVoices[VOICE_GOOD_SHOT], MakeGoodShotCue, kCueLevel, false},
    {kJeepVoices[VOICE_OUT_OF_AREA], MakeSirenWarning, kWarningLevel, false},
    {kJeepVoices[VOICE_SPARE_1], MakeWhoopWarning, kWarningLevel, false},
    {kJeepVoices[VOICE_SPARE_2], MakeBeepWarning, kWarningLevel, false},
    {kJeepVoices[VOICE_TOO_FAR], MakeHornWarning, kWarningLevel, false},
    {kJeepVoices[VOICE_SPARE_3], MakeWarbleWarning, kWarningLevel, false},
    {kJeepVoices[VOICE_WRONG_ANIMAL], MakeWrongShotBuzzer, kWarningLevel, false},
    // Animals: every attack sounds the trumpet, every run-over the bellow.
    {kAnimalVoices[ANIMAL_VOICE_ATTACK], MakeElephantTrumpet, kAnimalLevel, false},
    {kAnimalVoices[ANIMAL_VOICE_RUN_OVER], MakeRunOverBellow, kAnimalLevel, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_ROAR], MakeLionRoar, kAnimalLevel, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_GRUNTS], MakeLionGrunts, kAnimalLevel, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_SNARL], MakeLionSnarl, kAnimalLevel, false},
};
const int kSoundRecipeCount = int(sizeof kSoundRecipes / sizeof kSoundRecipes[0]);

void GenerateSounds(CAssetSink& sink)
{
    sink.Progress("sound levels (RMS of the loudest 400 ms, dBFS; peak dBFS):");
    for (const SoundRecipe& recipe : kSoundRecipes) {
        if (!sink.Wants(recipe.name))
            continue;
        Signal signal = recipe.make();
        if (!recipe.loops) {
            RemoveOffset(signal);
            // The last moments fall to silence so a sound never ends on a click.
            FadeOut(signal, 0.03);
        }
        const std::vector<int16_t> pcm = ToPcm16AtLevel(signal, recipe.level);
        int peak = 0;
        for (int16_t s : pcm)
            peak = std::max(peak, std::abs(int(s)));
        char line[160];
        std::snprintf(line, sizeof line, "  %-24s %6.1f %6.1f", recipe.name, LoudestRmsDb(pcm),
                      peak > 0 ? 20.0 * std::log10(peak / 32767.0) : -200.0);
        sink.Progress(line);
        sink.WriteWave(recipe.name, pcm);
    }
}
