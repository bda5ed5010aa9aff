#include "gamedata/HuntTables.h"

const ScenarioDesc kScenarios[SCENARIO_COUNT + 1] = {
    {"", nullptr, nullptr, {}, "menu\\palMain.bmp"},
    {"desert",
     "env\\back10.bmp",
     "env\\grass10.bmp",
     {"env\\tree20.bmp", "env\\tree21.bmp", "env\\tree20.bmp", "env\\tree21.bmp", "env\\tree20.bmp",
      "env\\tree21.bmp"},
     "menu\\pal10.bmp"},
    {"plains",
     "env\\back20.bmp",
     "env\\grass20.bmp",
     {"env\\tree10.bmp", "env\\tree11.bmp", "env\\tree12.bmp", "env\\tree13.bmp", "env\\tree14.bmp",
      "env\\tree15.bmp"},
     "menu\\pal20.bmp"},
    {"grassland",
     "env\\back30.bmp",
     "env\\grass30.bmp",
     {"env\\tree30.bmp", "env\\tree31.bmp", "env\\tree32.bmp", "env\\tree33.bmp", "env\\tree34.bmp",
      "env\\tree35.bmp"},
     "menu\\pal30.bmp"},
};

const WeaponDesc kWeapons[WEAPON_COUNT] = {
    {"assault-rifle", "menu\\gun4.bmp", 6, 192, 180, 20, 8, "sounds\\ak47.wav", "menu\\smoke.bmp", 322, 297},
    {"crossbow", "menu\\gun5.bmp", 14, 0, 200, 1, 2, "sounds\\crbow.wav", nullptr, 320, 247},
    {"handgun", "menu\\gun2.bmp", 4, 192, 180, 6, 4, "sounds\\handgun.wav", "menu\\smoke.bmp", 326, 242},
    {"muzzle-loader", "menu\\gun6.bmp", 7, 220, 80, 1, 2, "sounds\\muz.wav", "menu\\smoke2.bmp", 319, 267},
    {"rifle", "menu\\gun3.bmp", 4, 160, 80, 1, 2, "sounds\\rifle.wav", "menu\\smoke.bmp", 321, 246},
    {"shotgun", "menu\\gun1.bmp", 5, 192, 120, 2, 4, "sounds\\shotgun.wav", "menu\\smoke.bmp", 320, 265},
};

const AnimalKindDesc kAnimalKinds[ANIMAL_KIND_COUNT] = {
    {"elephant", 2, 1,
     {"animals\\eft.bmp", "animals\\eftlt.bmp", "animals\\elt.bmp", "animals\\ebklt.bmp", "animals\\ebk.bmp",
      "animals\\ebkrt.bmp", "animals\\ert.bmp", "animals\\eftrt.bmp"},
     128, 120, 200, {{0, 6}, {7, 16}, {17, 26}, {27, 33}, {34, 39}, {40, 49}, {50, 55}}},
    {"giraffe", 4, 2,
     {"animals\\grif_f.bmp", "animals\\grif_fl.bmp", "animals\\grif_l.bmp", "animals\\grif_bl.bmp",
      "animals\\grif_b.bmp", "animals\\grif_br.bmp", "animals\\grif_r.bmp", "animals\\grif_fr.bmp"},
     155, 150, 150, {{0, 6}, {7, 18}, {19, 24}, {25, 35}, {36, 42}, {43, 47}, {48, 59}}},
    {"hippo", 4, 2,
     {"animals\\hip_f.bmp", "animals\\hip_fl.bmp", "animals\\hip_l.bmp", "animals\\hip_bl.bmp", "animals\\hip_b.bmp",
      "animals\\hip_br.bmp", "animals\\hip_r.bmp", "animals\\hip_fr.bmp"},
     75, 80, 150, {{0, 6}, {7, 16}, {17, 23}, {24, 31}, {32, 38}, {39, 45}, {46, 59}}},
    {"lion", 2, 1,
     {"animals\\Lionm_F.bmp", "animals\\Lionm_FL.bmp", "animals\\Lionm_L.bmp", "animals\\Lionm_BL.bmp",
      "animals\\Lionm_B.bmp", "animals\\Lionm_BR.bmp", "animals\\Lionm_R.bmp", "animals\\Lionm_FR.bmp"},
     80, 100, 200, {{0, 9}, {10, 19}, {20, 29}, {30, 37}, {38, 43}, {44, 53}, {54, 61}}},
    {"lioness", 4, 2,
     {"animals\\Lionf_F.bmp", "animals\\Lionf_FL.bmp", "animals\\Lionf_L.bmp", "animals\\Lionf_BL.bmp",
      "animals\\Lionf_B.bmp", "animals\\Lionf_BR.bmp", "animals\\Lionf_R.bmp", "animals\\Lionf_FR.bmp"},
     80, 80, 150, {{0, 9}, {10, 19}, {20, 29}, {30, 37}, {38, 43}, {44, 53}, {54, 61}}},
    {"rhino", 2, 1,
     {"animals\\Rhino_F.bmp", "animals\\Rhino_LF.bmp", "animals\\Rhino_L.bmp", "animals\\Rhino_BL.bmp",
      "animals\\Rhino_B.bmp", "animals\\Rhino_RB.bmp", "animals\\Rhino_R.bmp", "animals\\Rhino_FR.bmp"},
     64, 80, 150, {{0, 11}, {12, 22}, {23, 35}, {36, 47}, {48, 59}, {60, 71}, {72, 83}}},
    {"zebra", 6, 4,
     {"animals\\z_f.bmp", "animals\\z_fl.bmp", "animals\\z_l.bmp", "animals\\z_bl.bmp", "animals\\z_b.bmp",
      "animals\\z_br.bmp", "animals\\z_r.bmp", "animals\\z_fr.bmp"},
     64, 80, 200, {{0, 11}, {12, 22}, {23, 35}, {36, 47}, {48, 59}, {60, 71}, {72, 82}}},
};

const char* const kJeepStrips[DIRECTIONS] = {"menu\\jeep_f.bmp",  "menu\\jeep_fl.bmp", "menu\\jeep_l.bmp",
                                             "menu\\jeep_bl.bmp", "menu\\jeep_b.bmp",  "menu\\jeep_br.bmp",
                                             "menu\\jeep_r.bmp",  "menu\\jeep_fr.bmp"};

const char* const kJeepVoices[JEEP_VOICE_COUNT] = {
    "sounds\\goodsht.wav", "sounds\\warn06.wav", "sounds\\warn01.wav", "sounds\\warn02.wav", "sounds\\warn03.wav",
    "sounds\\warn04.wav",  "sounds\\warn05.wav", "sounds\\starting.wav", "sounds\\engine.wav"};

const char* const kAnimalVoices[ANIMAL_VOICE_COUNT] = {
    nullptr, "sounds\\snEl2.wav", "sounds\\snEl3.wav", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    "sounds\\snlion1.wav", "sounds\\snlion2.wav", "sounds\\snlion3.wav"};

int QuarryIndexByName(std::string_view name)
{
    for (int i = 0; i < ANIMAL_KIND_COUNT; ++i)
        if (name == kAnimalKinds[i].name)
            return i;
    return -1;
}

int WeaponIndexByName(std::string_view name)
{
    for (int i = 0; i < WEAPON_COUNT; ++i)
        if (name == kWeapons[i].name)
            return i;
    return -1;
}

int ScenarioByName(std::string_view name)
{
    for (int i = 1; i <= SCENARIO_COUNT; ++i)
        if (name == kScenarios[i].name)
            return i;
    return -1;
}
