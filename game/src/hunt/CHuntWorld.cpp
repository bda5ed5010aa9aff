#include "game/hunt/CHuntWorld.h"

#include "common/DebugTrace.h"
#include "display/CDibDD.h"
#include "game/CGameRandom.h"
#include "game/hunt/HuntMath.h"
#include "game/hunt/HuntVoices.h"
#include "game/hunt/HunterMovement.h"
#include "gamedata/DataFiles.h"
#include "gamedata/ScreenTables.h"
#include "imaging/CDibPalette.h"
#include "media/CSoundDevice.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"

#include <cmath>

namespace {

constexpr double kStartX = 10500, kStartY = 10500;
constexpr double kJeepStartBehind = 500;
constexpr uint8_t kFogGrey = 224;
constexpr double kFogStart = 1500, kFogEnd = 8000, kFogStrength = 0.35;
constexpr int kBinocularX = 0, kBinocularRestingY = 50;

// Loads a picture; on failure names it in `problem`.
bool LoadRequired(CDib& image, const char* name, uint32_t options, CDib* reference, std::string& problem)
{
    image.Destroy();
    if (LoadPicture(image, PictureSource::File(name), options, reference) == DIB_OK && image.IsCreated())
        return true;
    image.Destroy();
    problem = name;
    return false;
}

} // namespace

CHuntWorld::CHuntWorld()
{
    m_ground = MakeDib<CDibDD>();
    m_background = MakeDib<CDibDD>();
    m_gun = MakeDib<CDibTrle>();
    m_smokePicture = MakeDib<CDibDD>();
    m_binocularPicture = MakeDib<CDibDD>();
    for (size_t i = 0; i < m_trees.size(); ++i) {
        m_trees[i] = MakeDib<CDibTrle>();
        m_treePictures[i] = m_trees[i].Get();
    }
    for (size_t i = 0; i < m_strips.size(); ++i) {
        m_strips[i] = MakeDib<CDibTrle>();
        m_stripPictures[i] = m_strips[i].Get();
    }
}

CHuntWorld::~CHuntWorld()
{
    if (m_sound) {
        DeleteVoices();
        if (m_jeep)
            m_jeep->DeleteVoices();
    }
}

void CHuntWorld::Init(const HuntSetup& setup)
{
    if (m_jeep)
        Release(); // built again: the old hunt's voices go back first
    m_back = setup.back;
    m_sound = setup.sound;
    if (!m_sound) {
        m_silence = std::make_unique<CSoundDevice>();
        m_sound = m_silence.get();
    }
    m_clock = setup.clock;
    static const SteadyClock steady;
    if (!m_clock)
        m_clock = &steady;
    m_viewStatus = m_view.Init(m_back, 0, 0, kBackBufferWidth, kBackBufferHeight, kPi / 2, 1.0);
    m_view.SetAids(setup.aids);
    m_animalWatches = std::make_unique<CStopwatchPool>(*m_clock);
    IHuntEvents& events = *this; // what the herd and the jeep report comes here
    for (auto& animal : m_animals)
        animal = std::make_unique<CAnimal>(events, *m_animalWatches);
    m_jeep = std::make_unique<CJeep>(*m_sound, *m_clock, events);
    m_view.SetScene(&m_drawList, &m_smoke, &m_jeep->Gun(), &m_jeep->Binoculars());
}

void CHuntWorld::DeleteVoices()
{
    if (m_gunVoice)
        m_sound->DeleteSound(m_gunVoice);
    m_gunVoice = nullptr;
    for (auto& animal : m_animals)
        animal->SetVoices(nullptr, {});
    for (SoundEntry*& voice : m_animalVoices) {
        if (voice)
            m_sound->DeleteSound(voice);
        voice = nullptr;
    }
}

void CHuntWorld::Release()
{
    m_hunting = false;
    for (auto* image : {&m_background, &m_ground, &m_gun, &m_smokePicture, &m_binocularPicture})
        (*image)->Destroy();
    for (auto& tree : m_trees)
        tree->Destroy();
    for (auto& strip : m_strips)
        strip->Destroy();
    DeleteVoices();
    m_jeep->DeleteVoices();
    m_jeep->Binoculars().Clear();
    m_jeep->Gun().Setup(m_back, nullptr, 0, kBackBufferHeight, 1, 1, m_sound, nullptr);
    m_jeep->Gun().SetActive(false);
    m_smoke.Setup(m_back, nullptr, 0, 0);
    m_drawList.RemoveAll();
    m_scenery.Clear();
    for (auto& animal : m_animals)
        animal->ReleaseStopwatch();
}

bool CHuntWorld::LoadPictures(int weapon, int scenario, std::string& problem)
{
    const ScenarioDesc& place = kScenarios[scenario];
    const WeaponDesc& arms = kWeapons[weapon];
    for (int i = 0; i < TREE_KINDS; ++i)
        if (!LoadRequired(*m_trees[size_t(i)], place.trees[i], LOAD_PLAIN, nullptr, problem))
            return false;
    if (!LoadRequired(*m_background, place.background, LOAD_MATCH_REFERENCE, m_back, problem))
        return false;
    if (static_cast<CDibDD&>(*m_background).SaveBacking() != DIB_OK)
        DebugTrace("CHuntWorld : the panorama cannot be kept for a lost screen");
    if (!LoadRequired(*m_ground, place.ground, LOAD_PLAIN, nullptr, problem))
        return false;
    if (m_view.SetGround(m_ground.Get()) != GROUND_OK) {
        problem = std::string(place.ground) + " (not an 8-bit 256 x 256 texture)";
        return false;
    }
    // The binoculars and the jeep can be missing: the hunt goes on without
    // them showing.
    std::string optional;
    if (!LoadRequired(*m_binocularPicture, kBinocularPicture, LOAD_MATCH_REFERENCE, m_back, optional))
        DebugTrace("CHuntWorld : \"%s\" cannot be loaded", kBinocularPicture);
    m_jeep->Binoculars().Setup(m_back, m_binocularPicture.Get(), kBinocularX, kBinocularRestingY, 1);
    for (int kind = 0; kind < ANIMAL_KIND_COUNT; ++kind)
        for (int d = 0; d < DIRECTIONS; ++d)
            if (!LoadRequired(*m_strips[size_t(kind * DIRECTIONS + d)], kAnimalKinds[kind].strips[d], LOAD_PLAIN,
                              nullptr, problem))
                return false;
    for (int d = 0; d < DIRECTIONS; ++d)
        if (!LoadRequired(*m_strips[size_t(ANIMAL_KIND_COUNT * DIRECTIONS + d)], kJeepStrips[d], LOAD_PLAIN, nullptr,
                          optional))
            DebugTrace("CHuntWorld : \"%s\" cannot be loaded", kJeepStrips[d]);
    if (arms.smokePicture) {
        if (!LoadRequired(*m_smokePicture, arms.smokePicture, LOAD_MATCH_REFERENCE, m_back, problem))
            return false;
        m_smokePicture->SetSourceKey(m_smokePicture->GetPixel(0, 0));
    }
    return LoadRequired(*m_gun, arms.gunPicture, LOAD_PLAIN, nullptr, problem);
}

void CHuntWorld::LoadVoices(int weapon)
{
    const WeaponDesc& arms = kWeapons[weapon];
    m_sound->SetActive(false);
    m_sound->SetActive(true);
    m_gunVoice = m_sound->NewSound();
    // A voice that does not load stays silent; the hunt plays on.
    if (const int code = m_sound->Load(m_gunVoice, arms.shotSound, 2))
        DebugTrace("CHuntWorld : \"%s\" cannot be loaded (%d)", arms.shotSound, code);
    m_jeep->Gun().Setup(m_back, m_gun.Get(), arms.gunX, arms.restingY, arms.magazine, arms.frames, m_sound,
                        m_gunVoice);
    for (int i = 0; i < ANIMAL_VOICE_COUNT; ++i) {
        if (!kAnimalVoices[i])
            continue;
        SoundEntry* voice = m_sound->NewSound();
        if (const int code = m_sound->Load(voice, kAnimalVoices[i], 2))
            DebugTrace("CHuntWorld : \"%s\" cannot be loaded (%d)", kAnimalVoices[i], code);
        m_animalVoices[size_t(i)] = voice;
    }
    // Every animal, whatever its kind, calls, attacks and is run over with
    // the first three.
    const AnimalVoices voices{m_animalVoices[ANIMAL_VOICE_CALL], m_animalVoices[ANIMAL_VOICE_ATTACK],
                              m_animalVoices[ANIMAL_VOICE_RUN_OVER]};
    for (auto& animal : m_animals)
        animal->SetVoices(m_sound, voices);
    m_jeep->LoadVoices();
}

void CHuntWorld::Spawn(int weapon)
{
    int index = 0;
    for (int kind = 1; kind <= ANIMAL_KIND_COUNT; ++kind)
        for (int n = 0; n < kAnimalKinds[kind - 1].count; ++n)
            m_animals[size_t(index++)]->Spawn(AnimalKind(kind), &m_stripPictures[size_t((kind - 1) * DIRECTIONS)],
                                              kWeapons[weapon].hitsNeeded);
}

bool CHuntWorld::LoadHunt(int quarry, int weapon, int scenario, std::string& problem)
{
    m_hunter = HunterPose{};
    m_hunter.x = kStartX;
    m_hunter.y = kStartY;
    static constexpr int kWindBases[4] = {0, 3, 6, 9};
    m_windBase = kWindBases[GameRandom().Next() % 4];
    m_windFrame = m_windBase + GameRandom().Next() % 3;
    m_quarryKind = quarry >= 0 && quarry < ANIMAL_KIND_COUNT ? AnimalKind(quarry + 1) : ANIMAL_NONE;
    m_kills.Clear();
    m_deathSeen = false;
    m_poached = false;
    m_maulingCount = 0;
    m_endStatus = HuntEndStatus::Running;
    if (!m_jeep)
        return quarry < 0; // never initialised: nothing to build
    Release();
    m_view.SyncSurfaces();
    m_view.EndFlash();

    bool built = false;
    if (quarry >= 0) {
        if (quarry >= ANIMAL_KIND_COUNT || weapon < 0 || weapon >= WEAPON_COUNT || scenario < 1 ||
            scenario > SCENARIO_COUNT)
            problem = "no such quarry, weapon or hunting ground";
        else if (m_viewStatus != DIB_OK)
            problem = kRadarMarkPicture; // or its dot: the view could not start
        else
            built = LoadPictures(weapon, scenario, problem);
        if (!built) {
            Release();
            m_quarryKind = ANIMAL_NONE;
        }
    }
    if (built) {
        LoadVoices(weapon);
        m_jeep->Park(m_hunter.x - kJeepStartBehind, m_hunter.y);
        m_jeep->sprites = &m_stripPictures[size_t(ANIMAL_KIND_COUNT * DIRECTIONS)];
        const WeaponDesc& arms = kWeapons[weapon];
        m_smoke.Setup(m_back, arms.smokePicture ? m_smokePicture.Get() : nullptr, arms.aimX, arms.aimY);
        m_scenery.Plant(m_treePictures.data(), kTreeSize);
        m_aimX = arms.aimX;
        m_aimY = arms.aimY;
        m_view.SetAimPoint(m_aimX, m_aimY);
        Spawn(weapon);
        for (int i = 0; i < ANIMAL_COUNT; ++i)
            m_view.SetRadarQuarry(i, m_animals[size_t(i)]->Kind() == m_quarryKind);
        m_hunting = true;
    }
    m_view.SetGround(built ? m_ground.Get() : nullptr);
    m_view.SetBackground(built ? m_background.Get() : nullptr);
    m_view.SetFogColour(kFogGrey, kFogGrey, kFogGrey);
    m_view.SetFogRange(kFogStart, kFogEnd, kFogStrength);
    m_view.SetFog(true);
    m_view.SetDoubleWidth(true);
    return quarry < 0 || built;
}

void CHuntWorld::OnToggle(ItemAction toggle, bool on)
{
    if (!m_hunting)
        return;
    CJeep& jeep = *m_jeep;
    switch (toggle) {
    case ItemAction::Drive:
        if (on) {
            jeep.Gun().SetMode(GunMode::Hidden);
            jeep.Binoculars().SetMode(BinocularMode::Hidden);
            const bool standing = jeep.Speed() == 0;
            jeep.GetIn(m_hunter.angle);
            // The hunter sits 100 units behind the jeep, looking the way he
            // looked.
            m_hunter.x = jeep.x - CJeep::kAhead * std::cos(m_hunter.angle);
            m_hunter.y = jeep.y - CJeep::kAhead * std::sin(m_hunter.angle);
            jeep.distance = CJeep::kAhead;
            m_hunter.eyeHeight = EYE_HEIGHT_DRIVING;
            if (standing)
                m_view.StartFlash();
        } else {
            jeep.GetOut();
            m_view.EndFlash();
            m_hunter.eyeHeight = EYE_HEIGHT_ON_FOOT;
        }
        break;
    case ItemAction::Aim:
        jeep.Gun().SetMode(on ? GunMode::Raising : GunMode::Lowering);
        break;
    case ItemAction::Binoculars:
        jeep.Binoculars().SetMode(on ? BinocularMode::Raising : BinocularMode::Lowering);
        break;
    default:
        break;
    }
}

void CHuntWorld::Render()
{
    if (m_hunting)
        m_view.Render(m_hunter, true);
}

HuntEnd CHuntWorld::DecideEnd()
{
    if (!m_hunting)
        return {};
    if (m_endStatus == HuntEndStatus::Killed)
        return {ScreenId::EndKilled, ANIMAL_NONE};
    if (m_endStatus == HuntEndStatus::Lost)
        return {ScreenId::EndLost, ANIMAL_NONE};
    const uint32_t kinds = m_kills.KindsSeen();
    if (kinds == 0)
        return {};
    // Running over any animal is poaching, and a dead animal of another kind
    // in view is one the hunter had no licence for.
    if (m_poached || m_quarryKind == ANIMAL_NONE || kinds != CKillReport::KindBit(m_quarryKind))
        return {ScreenId::EndJail, ANIMAL_NONE};
    // Only the quarry's own dead count: a protected animal still dying is no
    // part of the bag (and sends the hunter to jail once its death is seen).
    if (m_kills.Fallen(m_quarryKind) < AnimalKindOf(m_quarryKind).killsToBag)
        return {};
    return {BaggedScreen(m_quarryKind), m_quarryKind};
}

void CHuntWorld::Silence()
{
    if (!m_jeep)
        return;
    m_jeep->Silence();
    if (m_gunVoice)
        m_sound->Stop(m_gunVoice);
    for (SoundEntry* voice : m_animalVoices)
        if (voice)
            m_sound->Stop(voice);
}

void CHuntWorld::OnWindTimer()
{
    m_windFrame = m_windBase + GameRandom().Next() % 3;
    if (!m_hunting)
        return;
    for (auto& animal : m_animals)
        animal->MoodChange();
}

void CHuntWorld::OnFalling(const CAnimal& animal)
{
    m_kills.OnFalling(animal.Kind());
}

void CHuntWorld::OnDeathSeen(const CAnimal& animal)
{
    m_kills.OnDeathSeen(animal.Kind());
    m_deathSeen = true;
}

void CHuntWorld::OnRunOver(const CAnimal& animal)
{
    if (!m_poached)
        DebugTrace("CHuntWorld : a %s run over: the hunter is a poacher", AnimalKindOf(animal.Kind()).name);
    m_poached = true;
}

void CHuntWorld::OnMauling(const CAnimal& animal)
{
    // The count is the hunt's, whichever animal mauls: two at once count
    // twice a tick, and it never falls back while the hunt lasts.
    static constexpr int kMaulingLimit = 20;
    if (++m_maulingCount <= kMaulingLimit)
        return;
    m_maulingCount = 0;
    m_endStatus = HuntEndStatus::Killed;
    DebugTrace("CHuntWorld : a %s mauled the hunter", AnimalKindOf(animal.Kind()).name);
}

void CHuntWorld::OnStrayed()
{
    // Something large found the hunter who wandered off alone: the first
    // elephant's attack, looped until the end picture silences it.
    PlayUnlessPlaying(*m_sound, m_animalVoices[ANIMAL_VOICE_ATTACK], true);
    if (m_endStatus != HuntEndStatus::Killed)
        DebugTrace("CHuntWorld : the hunter strayed %.0f units from the jeep and was killed", m_jeep->distance);
    m_endStatus = HuntEndStatus::Killed;
}

void CHuntWorld::OnDrivenOffTheMap()
{
    m_endStatus = HuntEndStatus::Lost;
}

int CHuntWorld::CompassFrame() const
{
    return Sector(m_hunter.angle) - 1;
}

bool CHuntWorld::JeepStandsStill() const
{
    return !m_jeep || m_jeep->Speed() == 0;
}

// The hunt step: one per tick while the hunt display is current. Movement on
// foot or by jeep, the visible cells, collisions and distances, the animals'
// behaviour, the projection, the shot and the animations of what is in view,
// in that order.

void CHuntWorld::FillDrawList(bool shot)
{
    // Taken before the collisions, which stop the jeep short of what it hits.
    const bool jeepAdvancing = m_jeep->Driving() && m_jeep->Speed() > 0;
    m_drawList.RemoveAll();
    const CellWindow cells = VisibleCells(m_hunter.x, m_hunter.y, m_hunter.angle);
    for (int row = cells.firstRow; row < cells.firstRow + cells.rows; ++row)
        for (int column = cells.firstColumn; column < cells.firstColumn + cells.columns; ++column)
            for (const auto& tree : m_scenery.Cell(row, column)) {
                KeepOffAndMeasure(m_hunter, *m_jeep, *tree);
                m_drawList.Insert(tree.get());
            }
    for (size_t i = 0; i < m_animals.size(); ++i) {
        CAnimal& animal = *m_animals[i];
        KeepOffAndMeasure(m_hunter, *m_jeep, animal);
        m_view.SetRadar(int(i), CWorldView::RadarPosition(m_hunter.angle,
                                                          BearingTo(m_hunter.x, m_hunter.y, animal.x, animal.y),
                                                          animal.distance));
        HunterSign sign;
        sign.x = m_hunter.x;
        sign.y = m_hunter.y;
        sign.viewAngle = m_hunter.angle;
        sign.driving = m_jeep->Driving();
        sign.jeepAdvancing = jeepAdvancing;
        sign.windFrame = m_windFrame;
        if (animal.Behave(sign))
            m_drawList.Insert(&animal);
    }
    m_jeep->distance = std::hypot(m_jeep->x - m_hunter.x, m_jeep->y - m_hunter.y);
    m_jeep->Update();
    m_drawList.Insert(m_jeep.get());
    if (shot)
        m_smoke.Restart();
    for (CWorldObject* object : m_drawList.Objects())
        m_view.Project(*object, m_hunter, shot);
}

void CHuntWorld::ShootAtDrawList()
{
    Shot shot{m_aimX, m_aimY, false};
    const auto& objects = m_drawList.Objects();
    for (auto it = objects.rbegin(); it != objects.rend() && !shot.spent; ++it) {
        CWorldObject& object = **it;
        if (std::fabs(object.relAngle) >= kPi / 2)
            continue;
        const AnimalKind kind = object.HitTest(shot);
        if (kind != ANIMAL_NONE)
            m_jeep->PlayVoice(kind == m_quarryKind && !m_poached ? VOICE_GOOD_SHOT : VOICE_WRONG_ANIMAL, false);
    }
}

uint32_t CHuntWorld::Step(const HuntInput& input, const HuntToggles& toggles, double seconds)
{
    if (!m_hunting)
        return 0;
    bool shot = false;
    if (m_jeep->Driving())
        StepDriving(m_hunter, *m_jeep, input, seconds);
    else
        shot = StepOnFoot(m_hunter, *m_jeep, input, toggles, seconds, m_endStatus != HuntEndStatus::Running);
    m_jeep->Binoculars().Step();
    m_jeep->Gun().Step();
    FillDrawList(shot);
    if (shot)
        ShootAtDrawList();
    // The dead in view tell of themselves as the animations move on: then
    // this tick's report is the whole report, else nothing.
    m_deathSeen = false;
    m_view.Advance(seconds);
    return m_deathSeen ? m_kills.Packed() : 0;
}
