#pragma once
// The shared body of the audio reader fuzz targets: open the bytes as one
// file type in several modes; an opened file must yield exactly the bytes
// its stream promises, also through a converter to the game's playback
// format.

#include "media/CAudioFile.h"
#include "media/CFormatConverter.h"

#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace audiofuzz {

// Converting a tiny rate up can promise gigabytes; read at most this much.
constexpr int64_t kReadLimit = 1 << 16;

inline void ReadAndCheck(CStream* stream)
{
    stream->Seek(0, STREAM_SEEK_SET);
    const int64_t size = stream->GetSize();
    std::vector<uint8_t> buffer(4093);
    int64_t total = 0;
    while (total < kReadLimit) {
        size_t got = stream->Read(buffer.data(), buffer.size());
        if (got == 0)
            break;
        total += static_cast<int64_t>(got);
    }
    if (total < kReadLimit && total != size)
        std::abort();
}

inline void Exercise(CAudioFile& file)
{
    if (!file.GetFormat())
        std::abort();
    file.GetFrameCount();
    if (CStream* data = file.GetDataStream()) {
        ReadAndCheck(data);
        // The game's playback rate, unless the ratio would make building
        // the resampling filter dominate every run.
        const uint32_t rate = file.GetFormat()->samplesPerSec;
        const uint32_t target = rate >= 4000 && rate <= 48000 ? 22050 : rate;
        CFormatConverter converter(*file.GetFormat(), MakePcmFormat(target, 16, 2), data, StreamOwnership::Borrowed);
        if (converter.GetHealth())
            ReadAndCheck(&converter);
    }
}

inline void OpenAs(const uint8_t* data, size_t size, int type, std::initializer_list<uint32_t> modes,
                   const RawPcmDesc* raw = nullptr)
{
    CMemoryBlock* block = CMemoryBlock::Wrap(const_cast<uint8_t*>(data), size, BlockOwnership::Borrowed);
    for (uint32_t mode : modes) {
        CAudioFile file;
        if (file.Open(block, mode | AudioModeType(type), raw) == AUDIO_OK)
            Exercise(file);
    }
    delete block;
}

} // namespace audiofuzz
