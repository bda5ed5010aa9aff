// The "sounds" folder: every effect the game loads, synthesised from fixed
// seeds so the files are the same on every run.

#include "gamedata/HuntTables.h"
#include "generators/Generators.h"
#include "sink/CAssetSink.h"
#include "sound/SoundCatalogue.h"

// Names are the hunt tables' (whose constant tables are set before any code
// runs, so this table may read them).
const SoundRecipe kSoundRecipes[] = {
    // Weapons, loud: a shot should be the loudest thing in the game.
    {kWeapons[WEAPON_ASSAULT_RIFLE].shotSound, MakeAssaultRifleBurst, 0.93, false},
    {kWeapons[WEAPON_CROSSBOW].shotSound, MakeCrossbowShot, 0.85, false},
    {kWeapons[WEAPON_HANDGUN].shotSound, MakeHandgunShot, 0.93, false},
    {kWeapons[WEAPON_MUZZLE_LOADER].shotSound, MakeMuzzleLoaderShot, 0.93, false},
    {kWeapons[WEAPON_RIFLE].shotSound, MakeRifleShot, 0.93, false},
    {kWeapons[WEAPON_SHOTGUN].shotSound, MakeShotgunBlast, 0.93, false},
    // The jeep: the engine runs under everything else, so it stays lower.
    {kJeepVoices[VOICE_STARTING], MakeJeepStarting, 0.7, false},
    {kJeepVoices[VOICE_ENGINE], MakeEngineLoop, 0.6, true},
    // Cues and warnings. The square-wave alarms are dense, so they stand a
    // little lower to sound about as loud as the others.
    {kJeepVoices[VOICE_GOOD_SHOT], MakeGoodShotCue, 0.75, false},
    {kJeepVoices[VOICE_OUT_OF_AREA], MakeSirenWarning, 0.55, false},
    {kJeepVoices[VOICE_SPARE_1], MakeWhoopWarning, 0.7, false},
    {kJeepVoices[VOICE_SPARE_2], MakeBeepWarning, 0.7, false},
    {kJeepVoices[VOICE_TOO_FAR], MakeHornWarning, 0.75, false},
    {kJeepVoices[VOICE_SPARE_3], MakeWarbleWarning, 0.55, false},
    {kJeepVoices[VOICE_WRONG_ANIMAL], MakeWrongShotBuzzer, 0.75, false},
    // Animals: every attack sounds the trumpet, every run-over the bellow.
    {kAnimalVoices[ANIMAL_VOICE_ATTACK], MakeElephantTrumpet, 0.89, false},
    {kAnimalVoices[ANIMAL_VOICE_RUN_OVER], MakeRunOverBellow, 0.89, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_ROAR], MakeLionRoar, 0.89, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_GRUNTS], MakeLionGrunts, 0.89, false},
    {kAnimalVoices[ANIMAL_VOICE_LION_SNARL], MakeLionSnarl, 0.89, false},
};
const int kSoundRecipeCount = int(sizeof kSoundRecipes / sizeof kSoundRecipes[0]);

void GenerateSounds(CAssetSink& sink)
{
    for (const SoundRecipe& recipe : kSoundRecipes) {
        if (!sink.Wants(recipe.name))
            continue;
        Signal signal = recipe.make();
        if (!recipe.loops) {
            RemoveOffset(signal);
            // The last moments fall to silence so a sound never ends on a click.
            FadeOut(signal, 0.03);
        }
        sink.WriteWave(recipe.name, ToPcm16(signal, recipe.peak));
    }
}
