#include "media/CSoundRecorder.h"

#include "common/CMemoryBlock.h"
#include "media/CAudioFile.h"
#include "media/CDirectSoundDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace {
// The data of a RIFF file must stay below 4 GiB with room for its headers.
constexpr uint64_t MOST_WAV_DATA = 0xFFFF0000ull;
// One step renders at most this much: a step of hours is a caller's slip,
// not a reason to fill memory at once.
constexpr uint32_t MOST_FRAMES_PER_STEP_SECONDS = 60;
} // namespace

CSoundRecorder::CSoundRecorder(CDirectSoundDevice& device) : m_device(device), m_format(device.GetLoopbackFormat()) {}

uint64_t CSoundRecorder::FrameCount() const
{
    return m_format.blockAlign ? m_samples.size() / m_format.blockAlign : 0;
}

uint32_t CSoundRecorder::Advance(double seconds)
{
    if (!(seconds > 0) || m_format.blockAlign == 0)
        return 0;
    m_seconds += seconds;
    // Frames owed so far, measured from the start rather than summed per
    // pass, so rounding never accumulates.
    const double owed = std::llround(m_seconds * m_format.samplesPerSec) - double(FrameCount());
    const uint64_t room = (MOST_WAV_DATA - m_samples.size()) / m_format.blockAlign;
    const double most = std::min(double(room), double(MOST_FRAMES_PER_STEP_SECONDS) * m_format.samplesPerSec);
    const auto frames = static_cast<uint32_t>(std::min(std::max(owed, 0.0), most));
    // Time the recording could not take is dropped from the account, so
    // later calls line up with the frames it holds.
    if (owed > most)
        m_seconds = double(FrameCount() + frames) / m_format.samplesPerSec;
    if (frames == 0)
        return 0;
    const size_t start = m_samples.size();
    try {
        m_samples.resize(start + size_t(frames) * m_format.blockAlign);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    m_device.RenderSamples(m_samples.data() + start, frames);
    return frames;
}

int CSoundRecorder::Save(const std::string& path) const
{
    return SavePcmAsWav(path, m_format, m_samples.data(), m_samples.size());
}

int CSoundRecorder::SavePcmAsWav(const std::string& path, const WaveFormat& format, const uint8_t* data, size_t size)
{
    if (!format.IsPcm() || format.blockAlign == 0 || size % format.blockAlign != 0)
        return AUDIO_ERR_ENCODING;
    // The audio file borrows the bytes; its WAV writer does the rest.
    std::unique_ptr<CMemoryBlock> block(CMemoryBlock::Wrap(const_cast<uint8_t*>(data), size, BlockOwnership::Borrowed));
    CAudioFile file;
    if (!block || !file.Attach(format, block.get(), BlockOwnership::Borrowed))
        return AUDIO_ERR_NO_MEMORY;
    // A title of its own rather than the file's name, so that the same run
    // gives the same bytes whatever the file is called.
    file.SetInfoText("INAM", "Veldra");
    return file.Save(path, AudioModeType(AUDIO_SAVE_WAV));
}
