#pragma once
// What the hunt's tests share: a sound device that records what it is asked
// to play, and a display context with a 640 × 480 back buffer of either
// depth, on a tiny generated game folder.

#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "game/GameSeams.h"
#include "gamedata/HuntTables.h"
#include "media/CSoundDevice.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The hunt most tests load (choice indices from 0): the zebra on the plains.
constexpr int kZebra = ANIMAL_ZEBRA - 1, kPlains = 2;

// The controls held (not pressed) for one tick.
inline HuntInput Holding(std::initializer_list<HuntControl> controls)
{
    HuntInput input;
    for (HuntControl control : controls)
        input.states[size_t(control)] = 0x80000000u;
    return input;
}

// Every load succeeds; a sound plays until Stop, so "unless it is playing"
// rules can be seen.
class CRecordingSound final : public CSoundDevice {
public:
    struct Entry final : SoundEntry {
        std::string name;
        bool playing = false;
        bool looped = false;
        int frequency = 0, volume = 0;
        int plays = 0;
    };

    int Load(SoundEntry* sound, const std::string& name, int, const SoundLoadOptions&) override
    {
        static_cast<Entry*>(sound)->name = name;
        return 0;
    }
    bool IsLoaded(SoundEntry* sound) const override { return sound && !static_cast<Entry*>(sound)->name.empty(); }
    void Play(SoundEntry* sound, int, int, int, int, bool loop) override
    {
        auto* entry = static_cast<Entry*>(sound);
        entry->playing = true;
        entry->looped = loop;
        ++entry->plays;
        played.push_back(entry->name);
    }
    void Stop(SoundEntry* sound) override { static_cast<Entry*>(sound)->playing = false; }
    bool IsPlaying(SoundEntry* sound) override { return sound && static_cast<Entry*>(sound)->playing; }
    void SetFrequency(SoundEntry* sound, int frequency) override { static_cast<Entry*>(sound)->frequency = frequency; }
    void SetVolume(SoundEntry* sound, int volume) override { static_cast<Entry*>(sound)->volume = volume; }
    // Silences everything, as if every sound had ended.
    void EndAll()
    {
        for (const auto& sound : Sounds())
            static_cast<Entry*>(sound.get())->playing = false;
    }
    const Entry* Find(const std::string& name) const
    {
        for (const auto& sound : Sounds())
            if (static_cast<Entry*>(sound.get())->name == name)
                return static_cast<Entry*>(sound.get());
        return nullptr;
    }
    size_t Count() const { return Sounds().size(); }

    std::vector<std::string> played;

protected:
    std::unique_ptr<SoundEntry> MakeEntry() override { return std::make_unique<Entry>(); }
};

// A display context, a back buffer and the current folder moved into a tiny
// game folder with every hunt picture.
class HuntStage {
public:
    explicit HuntStage(PixelFormat format);
    ~HuntStage();
    HuntStage(const HuntStage&) = delete;
    HuntStage& operator=(const HuntStage&) = delete;

    CDibDD* Back() const { return m_back.get(); }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder, m_previous;
    std::unique_ptr<CDibDDContext> m_context;
    std::unique_ptr<CDibDD> m_back;
};
