#pragma once
// Helpers for the sound device tests: a loopback device that mixes on
// demand, generated sound files, and measures of what came out (level,
// pitch by zero crossings, where the sound starts and stops).

#include "AudioTestSupport.h"
#include "media/CDirectSoundDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace soundtest {

// The library's own output drivers are never needed (loopback mixes in
// memory), but devices that play to a sound card must find the silent one
// on a machine without sound hardware. Set before the library is loaded.
inline const bool kNullDriver = (::setenv("ALSOFT_DRIVERS", "null", 0), true);

using Samples = std::vector<int16_t>;

// A loopback device of 16-bit samples, given a window and activated.
class LoopbackRig {
public:
    enum class Start { Active, Inactive };

    explicit LoopbackRig(uint32_t rate = 22050, uint16_t channels = 1, Start start = Start::Active)
        : format(MakePcmFormat(rate, 16, channels)), device(CDirectSoundDevice::CreateLoopback(format))
    {
        device->SetWindowAndFormat(&m_window, nullptr);
        if (start == Start::Active)
            device->SetActive(true);
    }

    // The next `seconds` of the mix, interleaved.
    Samples Render(double seconds)
    {
        const auto frames = static_cast<uint32_t>(std::lround(seconds * format.samplesPerSec));
        Samples out(size_t(frames) * format.channels);
        device->RenderSamples(out.data(), frames);
        return out;
    }

    // Rendered in steps of `step` seconds with a Service() call after each,
    // as the game's frame and timer would.
    Samples RenderServiced(double seconds, double step = 1.0 / 30)
    {
        Samples all;
        for (double done = 0; done < seconds - 1e-9; done += step) {
            Samples part = Render(std::min(step, seconds - done));
            all.insert(all.end(), part.begin(), part.end());
            device->Service();
        }
        return all;
    }

    WaveFormat format;
    std::unique_ptr<CDirectSoundDevice> device;

private:
    int m_window = 0;
};

// Root mean square of one channel of interleaved samples.
inline double Rms(const Samples& samples, size_t channel = 0, size_t channels = 1, size_t from = 0,
                  size_t count = SIZE_MAX)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = from * channels + channel; i < samples.size() && n < count; i += channels, ++n)
        sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

// The frequency of a mono signal from its upward crossings; a crossing
// counts only when the signal rises from below -threshold to above it, so
// the faint noise of silence is not taken for a tone.
inline double CrossingFrequency(const Samples& samples, uint32_t rate, int threshold = 200)
{
    size_t first = 0;
    size_t last = 0;
    size_t crossings = 0;
    bool low = false;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] < -threshold) {
            low = true;
        } else if (low && samples[i] > threshold) {
            low = false;
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    return crossings > 1 ? double(crossings - 1) * rate / double(last - first) : 0.0;
}

// The largest step between neighbouring samples of one channel: a gap or a
// jump in a smooth wave shows as a step far above its steepest slope.
inline int LargestStep(const Samples& samples, size_t from, size_t to)
{
    int largest = 0;
    for (size_t i = from + 1; i < to && i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

// The first frame whose magnitude exceeds `threshold`, or SIZE_MAX.
inline size_t Onset(const Samples& samples, int threshold = 500)
{
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold)
            return i;
    return SIZE_MAX;
}

// The level of a sine of that peak: peak / sqrt(2).
constexpr double kSinePeak = 8000.0;
constexpr double kSineRms = kSinePeak / M_SQRT2;

// A WAV file of a 16-bit sine (every channel alike) in `folder`; frequency 0
// gives a constant level instead.
inline std::string SineWav(const audiotest::TempFolder& folder, const std::string& name, uint32_t rate,
                           uint16_t channels, double seconds, double frequency = 441.0, double level = kSinePeak)
{
    const auto frames = static_cast<size_t>(std::lround(seconds * rate));
    audiotest::Bytes data(frames * channels * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double wave = frequency > 0 ? std::sin(2 * M_PI * frequency * double(i) / rate) : 1.0;
        const auto v = static_cast<int16_t>(std::lround(level * wave));
        for (uint16_t c = 0; c < channels; ++c) {
            data[(i * channels + c) * 2] = static_cast<uint8_t>(v & 0xFF);
            data[(i * channels + c) * 2 + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
        }
    }
    const std::string path = folder.File(name);
    audiotest::WriteFile(path, audiotest::SimpleWav(channels, rate, 16, data));
    return path;
}

} // namespace soundtest
