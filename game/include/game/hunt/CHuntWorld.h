#pragma once
// CHuntWorld: the hunt behind the frame's seam. It owns everything a hunt is
// made of (the scenery, the herd, the jeep with the gun and the binoculars,
// the smoke, the draw list, the world view and the hunt's pictures and
// voices) and keeps the hunt's own state: the hunter, the wind, the quarry,
// the kills, the mauling count, poaching and the end status. Its objects
// keep their own state and report what befalls them (IHuntEvents); the
// world decides what that means. It runs the hunt's tick, the drawing and
// the end decision.

#include "common/Clock.h"
#include "game/GameSeams.h"
#include "game/hunt/CAnimal.h"
#include "game/hunt/CDepthList.h"
#include "game/hunt/CJeep.h"
#include "game/hunt/CKillReport.h"
#include "game/hunt/CSceneryGrid.h"
#include "game/hunt/CSmokePuff.h"
#include "game/hunt/CStopwatchPool.h"
#include "game/hunt/CWorldView.h"
#include "game/hunt/HunterPose.h"
#include "game/hunt/IHuntEvents.h"
#include "imaging/DibRef.h"

#include <array>
#include <memory>

class CHuntWorld final : public IHuntWorld, private IHuntEvents {
public:
    CHuntWorld();
    ~CHuntWorld() override;

    void Init(const HuntSetup& setup) override;
    bool LoadHunt(int quarry, int weapon, int scenario, std::string& problem) override;
    void OnToggle(ItemAction toggle, bool on) override;
    uint32_t Step(const HuntInput& input, const HuntToggles& toggles, double seconds) override;
    void Render() override;
    HuntEndStatus EndStatus() const override { return m_endStatus; }
    HuntEnd DecideEnd() override;
    void Silence() override;
    void OnWindTimer() override;
    void ClearDrawList() override { m_drawList.RemoveAll(); }
    int CompassFrame() const override;
    int WindFrame() const override { return m_windFrame; }
    bool JeepStandsStill() const override;

    // For tests, tools and the autoplayer's eyes: read-only looks inside.
    bool Hunting() const { return m_hunting; }
    const HunterPose& Hunter() const { return m_hunter; }
    HunterPose& Hunter() { return m_hunter; }
    CJeep& Jeep() { return *m_jeep; }
    const CJeep& Jeep() const { return *m_jeep; }
    CAnimal& Animal(int index) { return *m_animals[size_t(index)]; }
    const CAnimal& Animal(int index) const { return *m_animals[size_t(index)]; }
    const CSceneryGrid& Scenery() const { return m_scenery; }
    CSceneryGrid& Scenery() { return m_scenery; }
    // The picture of a tree kind of this hunt (for tools that plant more).
    CDib* const* TreePicture(int kind) const { return &m_treePictures[size_t(kind)]; }
    const CDepthList& DrawList() const { return m_drawList; }
    CWorldView& View() { return m_view; }
    int WindBase() const { return m_windBase; }
    // Tests set the wind where they want it.
    void SetWindFrame(int frame) { m_windFrame = frame; }
    // The quarry of this hunt (none while no hunt is loaded).
    AnimalKind QuarryKind() const { return m_quarryKind; }
    // An animal was run over this hunt: the hunter is a poacher.
    bool Poached() const { return m_poached; }
    const CKillReport& Kills() const { return m_kills; }
    uint32_t KillReport() const { return m_kills.Packed(); }
    // Where the weapon's shot goes on the screen.
    int AimX() const { return m_aimX; }
    int AimY() const { return m_aimY; }

    static constexpr double kTreeSize = 256;

private:
    // What the herd and the jeep report.
    void OnFalling(const CAnimal& animal) override;
    void OnDeathSeen(const CAnimal& animal) override;
    void OnRunOver(const CAnimal& animal) override;
    void OnMauling(const CAnimal& animal) override;
    void OnStrayed() override;
    void OnDrivenOffTheMap() override;

    void Release();
    bool LoadPictures(int weapon, int scenario, std::string& problem);
    void LoadVoices(int weapon);
    void DeleteVoices();
    void Spawn(int weapon);
    void FillDrawList(bool shot);
    void ShootAtDrawList();

    CDib* m_back = nullptr;
    CSoundDevice* m_sound = nullptr;
    std::unique_ptr<CSoundDevice> m_silence; // used when the frame gives no device
    const IClock* m_clock = nullptr;
    // What the world view's start reported: its flash, radar and marks.
    DibResult m_viewStatus = DIB_NOT_CREATED;
    std::unique_ptr<CStopwatchPool> m_animalWatches;
    std::unique_ptr<CJeep> m_jeep;
    std::array<std::unique_ptr<CAnimal>, ANIMAL_COUNT> m_animals;
    CSmokePuff m_smoke;
    CDepthList m_drawList;
    CSceneryGrid m_scenery;
    CWorldView m_view;

    // The hunt's pictures; the raw arrays are what the objects point into.
    DibRef<CDib> m_ground, m_background, m_gun, m_smokePicture, m_binocularPicture;
    std::array<DibRef<CDib>, TREE_KINDS> m_trees;
    std::array<CDib*, TREE_KINDS> m_treePictures{};
    std::array<DibRef<CDib>, (ANIMAL_KIND_COUNT + 1) * DIRECTIONS> m_strips; // the animals', then the jeep's
    std::array<CDib*, (ANIMAL_KIND_COUNT + 1) * DIRECTIONS> m_stripPictures{};
    SoundEntry* m_gunVoice = nullptr;
    std::array<SoundEntry*, ANIMAL_VOICE_COUNT> m_animalVoices{};

    // The hunt's state.
    HunterPose m_hunter;
    int m_windBase = 0;
    int m_windFrame = 0;
    AnimalKind m_quarryKind = ANIMAL_NONE;
    int m_aimX = 0, m_aimY = 0;
    CKillReport m_kills;
    // A dead animal lay in view during this tick.
    bool m_deathSeen = false;
    bool m_poached = false;
    // Ticks of mauling, by any animal, since the hunt began.
    int m_maulingCount = 0;
    HuntEndStatus m_endStatus = HuntEndStatus::Running;
    bool m_hunting = false;
};
