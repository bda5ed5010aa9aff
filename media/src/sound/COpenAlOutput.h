#pragma once
// COpenAlOutput: where the sound device's mix goes. It keeps the library's
// list of output devices and the choice among them, and opens and closes
// one output: a sound card, or a loopback device that mixes into memory only
// when RenderSamples asks. It knows nothing of the sounds played on it; the
// device builds and releases those around Open and Close.

#include "CSoundVoices.h"
#include "media/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class COpenAlLibrary;
struct OpenAlFunctions;

class COpenAlOutput {
public:
    // `library` null: there is no output, and every Open fails. `loopback`
    // null plays to a sound card, else mixes into memory in that format.
    COpenAlOutput(std::shared_ptr<COpenAlLibrary> library, const WaveFormat* loopback);
    ~COpenAlOutput();
    COpenAlOutput(const COpenAlOutput&) = delete;
    COpenAlOutput& operator=(const COpenAlOutput&) = delete;

    bool HasLibrary() const { return m_library != nullptr; }
    // The library's functions; only while HasLibrary().
    const OpenAlFunctions& Functions() const;
    bool IsLoopback() const { return m_loopback; }
    const WaveFormat& LoopbackFormat() const { return m_loopbackFormat; }

    // Opens the chosen device (or the loopback one), mixing at `primary`'s
    // rate when it is a sensible one, and makes its context current.
    bool Open(const WaveFormat& primary);
    void Close();
    bool IsOpen() const { return m_context != nullptr; }
    // Makes the output's context the current one (calls go to the current
    // context, and another output may have made its own current since).
    // False when nothing is open.
    bool MakeCurrent();
    // How sounds reach this output's channels: per channel on an output of
    // two channels or more when the library can feed channels directly,
    // else placed. Only while open.
    SoundPanning Panning() const;
    // True when the open device reports that it was disconnected.
    bool IsDisconnected();

    // The master gain (0 silent .. 1 full) of everything the output mixes;
    // it holds across Close and Open.
    void SetGain(float gain);

    // Negative chooses the system's default; the choice counts from the next Open.
    void SelectDevice(int index);
    int GetSelectedDevice() const { return m_selected; }
    int GetDeviceCount() const { return static_cast<int>(m_deviceNames.size()); }
    std::string GetDeviceName(int index) const;

    // Mixes the next `frames` sample frames into `out` (frames x the
    // loopback format's block align bytes), in pieces of 5 ms, as a sound
    // card's output is mixed in pieces. Silence and
    // false when nothing is mixed (not a loopback output, or not open).
    bool RenderSamples(void* out, uint32_t frames);

private:
    void EnumerateDevices();

    std::shared_ptr<COpenAlLibrary> m_library;
    bool m_loopback = false;
    WaveFormat m_loopbackFormat{};
    void* m_device = nullptr;  // ALCdevice*, open only while active
    void* m_context = nullptr; // ALCcontext*
    std::vector<std::string> m_deviceNames;
    int m_selected = -1;
    float m_gain = 1.0f;
};
