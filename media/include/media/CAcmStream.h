#pragma once
// One stage of the audio conversion chain, as a stream: it reads the source
// in quarter-second chunks of whole blocks, converts each chunk, and hands
// out the converted bytes. A stage does one of three jobs:
//  - decode mu-law or A-law to 16-bit PCM at the same rate and channels;
//  - encode 16-bit PCM to mu-law or A-law at the same rate and channels;
//  - change rate, channels and sample size between PCM (8, 16, 32-bit) and
//    32-bit float layouts.
// Any other pair leaves the stage unusable (health 0).
//
// Positions and sizes are in target bytes. The total size is the source's
// size mapped through the ratio of the average byte rates, in whole target
// blocks, and the stage yields exactly that many bytes: a filter tail that
// runs short is padded with silence, one that runs long is cut.

#include "media/CStream.h"
#include "media/WaveFormat.h"

#include <memory>
#include <vector>

class CResampler;

class CAcmStream : public CStream {
public:
    CAcmStream(const WaveFormat& source, const WaveFormat& target, CStream* stream, StreamOwnership ownership);
    ~CAcmStream() override;
    CAcmStream(const CAcmStream&) = delete;
    CAcmStream& operator=(const CAcmStream&) = delete;

    size_t Read(void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override;
    uint32_t GetCapabilities() const override;
    int GetHealth() const override { return m_usable ? 1 : 0; }
    int64_t GetSize() override { return m_total; }

    // True when one stage can turn `source` into `target`.
    static bool CanConvert(const WaveFormat& source, const WaveFormat& target);

private:
    enum class Job { None, DecodeLaw, EncodeLaw, Resample };
    static Job JobFor(const WaveFormat& source, const WaveFormat& target);

    int64_t ToTarget(int64_t sourceBytes) const;
    int64_t ToSource(int64_t targetBytes) const;
    // Converts the next chunk into m_converted; false when nothing more comes.
    bool Refill();
    void ConvertChunk(const uint8_t* bytes, size_t frames);
    uint8_t SilenceByte() const;

    bool m_usable = false;
    Job m_job = Job::None;
    WaveFormat m_source;
    WaveFormat m_target;
    CStream* m_stream;
    bool m_owns;
    std::unique_ptr<CResampler> m_resampler;
    size_t m_chunkBytes = 0;
    std::vector<uint8_t> m_sourceBuffer;
    size_t m_carry = 0;  // bytes of a partial block kept at the buffer's front
    std::vector<uint8_t> m_converted;
    size_t m_readPosition = 0;
    bool m_sourceEnded = false;
    bool m_fresh = true;  // nothing converted since the filter was built
    int64_t m_position = 0;
    int64_t m_total = 0;
};
