#pragma once
// CGunOverlay: the weapon at the bottom of the view. It rises to aim, plays
// its firing frames (the shot sounds on the first), sinks out of view to
// reload when the magazine is empty and comes back, and is lowered again.

#include <cstdint>

class CDib;
#include "gamedata/ScreenTables.h"
class CSoundDevice;
struct SoundEntry;

enum class GunMode : int {
    Ready = 1,
    Firing = 2,
    Reloading = 3,
    Lowering = 4, // and lowered
    Raising = 5,
    Hidden = 6,
};

class CGunOverlay {
public:
    // Lowered below the view, active, with the picture's frames stacked
    // vertically.
    void Setup(CDib* back, CDib* picture, int x, int restingY, int magazine, int frameCount, CSoundDevice* sound,
               SoundEntry* voice);
    void SetMode(GunMode mode);
    // Once per hunt pass.
    void Step();
    void Draw();
    void SetActive(bool active) { m_active = active; }

    // Ready to fire: raised, not firing, raising or reloading.
    bool IsReady() const { return m_mode == GunMode::Ready; }
    // Up in front of the hunter: ready, or firing.
    bool IsRaised() const { return m_mode == GunMode::Ready || m_mode == GunMode::Firing; }
    GunMode Mode() const { return m_mode; }
    bool IsActive() const { return m_active; }
    int Y() const { return m_y; }
    int Frame() const { return m_frame; }
    int ShotsFired() const { return m_shotsFired; }

private:
    bool m_active = false;
    int m_magazine = 1;
    int m_shotsFired = 0;
    GunMode m_mode = GunMode::Lowering;
    SoundEntry* m_voice = nullptr;
    CSoundDevice* m_sound = nullptr;
    CDib* m_back = nullptr;
    CDib* m_picture = nullptr;
    int m_frameCount = 1;
    int m_x = 0, m_y = kBackBufferHeight, m_restingY = kBackBufferHeight;
    int m_frameWidth = 0, m_frameHeight = 0;
    int m_frame = 0;
    int m_step = 20;
};
