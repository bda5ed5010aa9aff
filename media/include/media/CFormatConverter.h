#pragma once
// Turns a stream in one wave format into another through up to three
// conversion stages, each reading the previous one:
//  1. a source that is not PCM is decoded to 16-bit PCM (same rate, channels);
//  2. when the data are not 16-bit, or the channels differ, or the target is
//     not PCM and the rates differ: 16-bit PCM at the target's rate and
//     channels;
//  3. when the result still differs from the target: the target itself.
// Identical formats (tag, rate, bits, channels) pass the source through.
// A stage that cannot be built leaves the converter unusable (health 0).

#include "media/CStream.h"
#include "media/WaveFormat.h"

class CFormatConverter : public CStream {
public:
    CFormatConverter(const WaveFormat& source, const WaveFormat& target, CStream* stream, StreamOwnership ownership);
    ~CFormatConverter() override;
    CFormatConverter(const CFormatConverter&) = delete;
    CFormatConverter& operator=(const CFormatConverter&) = delete;

    size_t Read(void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override;
    uint32_t GetCapabilities() const override;
    int GetHealth() const override { return m_usable ? 1 : 0; }
    int64_t GetSize() override;

    // Conversion stages in the chain (0 for a pass-through).
    int GetStageCount() const { return m_stageCount; }

private:
    bool AddStage(const WaveFormat& from, const WaveFormat& to);

    bool m_usable = false;
    CStream* m_stream = nullptr;  // the source, or the last stage
    bool m_owns = false;
    bool m_sourceOwned = false;
    int m_stageCount = 0;
};
