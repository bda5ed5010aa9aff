// The "sounds" folder: every effect the game loads, synthesised from fixed
// seeds so the files are the same on every run.

#include "generators/Generators.h"
#include "sink/CAssetSink.h"
#include "sound/SoundCatalogue.h"

const SoundRecipe kSoundRecipes[] = {
    // Weapons, loud: a shot should be the loudest thing in the game.
    {"sounds\\ak47.wav", MakeAssaultRifleBurst, 0.93, false},
    {"sounds\\crbow.wav", MakeCrossbowShot, 0.85, false},
    {"sounds\\handgun.wav", MakeHandgunShot, 0.93, false},
    {"sounds\\muz.wav", MakeMuzzleLoaderShot, 0.93, false},
    {"sounds\\rifle.wav", MakeRifleShot, 0.93, false},
    {"sounds\\shotgun.wav", MakeShotgunBlast, 0.93, false},
    // The jeep: the engine runs under everything else, so it stays lower.
    {"sounds\\starting.wav", MakeJeepStarting, 0.7, false},
    {"sounds\\engine.wav", MakeEngineLoop, 0.6, true},
    // Cues and warnings. The square-wave alarms are dense, so they stand a
    // little lower to sound about as loud as the others.
    {"sounds\\goodsht.wav", MakeGoodShotCue, 0.75, false},
    {"sounds\\warn01.wav", MakeSirenWarning, 0.55, false},
    {"sounds\\warn02.wav", MakeWhoopWarning, 0.7, false},
    {"sounds\\warn03.wav", MakeBeepWarning, 0.7, false},
    {"sounds\\warn04.wav", MakeHornWarning, 0.75, false},
    {"sounds\\warn05.wav", MakeWarbleWarning, 0.55, false},
    {"sounds\\warn06.wav", MakeWrongShotBuzzer, 0.75, false},
    // Animals: every attack sounds the trumpet, every run-over the bellow.
    {"sounds\\snEl2.wav", MakeElephantTrumpet, 0.89, false},
    {"sounds\\snEl3.wav", MakeRunOverBellow, 0.89, false},
    {"sounds\\snlion1.wav", MakeLionRoar, 0.89, false},
    {"sounds\\snlion2.wav", MakeLionGrunts, 0.89, false},
    {"sounds\\snlion3.wav", MakeLionSnarl, 0.89, false},
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
