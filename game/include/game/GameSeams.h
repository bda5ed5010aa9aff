#pragma once
// The parts of the game that join the frame in later steps: the hunt world
// (movement, animals, weapons, renderer), the intro video and the sound
// device. The frame owns one of each and calls them from its pass and its
// timers; until a part exists its stand-in here does nothing visible.

#include <cstdint>

class CDib;
class CHudScreen;
class CDibDDViewport;

class IHuntWorld {
public:
    virtual ~IHuntWorld() = default;
    // The hunt's own part of building (quarry >= 0) or releasing (quarry -1)
    // a hunt, after the frame has reset the screen, palette and cursor.
    virtual void LoadHunt(int quarry, int weapon, int scenario) = 0;
    // One hunt step with the hunt display's toggles and the frame time.
    virtual void Step(CHudScreen& hud, double frameTime) = 0;
    // Draws the world with its overlays into the back buffer; returns the
    // kill report of this pass.
    virtual uint32_t Render() = 0;
    // 0 while the hunt goes on; 1 killed, 2 lost.
    virtual int EndStatus() const = 0;
    // The end picture (ScreenId) the hunt's outcome calls for, or
    // SCREEN_NONE; records the trophy when the quarry was bagged.
    virtual int DecideEnd() = 0;
    // Every 10 s while hunting: wind and animal moods.
    virtual void OnWindTimer() = 0;
    virtual void ClearDrawList() = 0;
};

class IVideoPlayer {
public:
    virtual ~IVideoPlayer() = default;
    virtual bool Open(const char* file, CDibDDViewport* viewport) = 0;
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};

class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    virtual void SetActive(bool active) = 0;
};

// Stand-ins: no hunt world (the view stays as the last screen left it), no
// video, silence.
class CNoHuntWorld final : public IHuntWorld {
public:
    void LoadHunt(int, int, int) override {}
    void Step(CHudScreen&, double) override {}
    uint32_t Render() override { return 0; }
    int EndStatus() const override { return 0; }
    int DecideEnd() override;
    void OnWindTimer() override {}
    void ClearDrawList() override {}
};

class CNoVideo final : public IVideoPlayer {
public:
    bool Open(const char*, CDibDDViewport*) override { return false; }
    void Play() override {}
    bool IsPlaying() const override { return false; }
    void Stop() override {}
    void Close() override {}
};

class CSilence final : public ISoundOutput {
public:
    void SetActive(bool) override {}
};
