#pragma once
// What a reader makes of a file: its wave format, the sample data (as a
// stream, or whole in memory), the file kind and its INFO texts. CAudioFile
// takes the pieces over once a reader has succeeded.

#include "common/CMemoryBlock.h"
#include "common/CSmallString.h"
#include "media/AudioFileTypes.h"
#include "media/CMpegAudioStream.h"
#include "media/CStream.h"
#include "media/WaveFormat.h"

#include <array>
#include <memory>
#include <vector>

struct AudioContent {
    WaveFormat format;
    std::vector<uint8_t> formatExtra; // the bytes after the 18-byte record (non-PCM only)
    std::unique_ptr<CStream> dataStream;
    // Data in memory: `memoryData`, which may be a window onto `memoryParent`.
    std::unique_ptr<CMemoryBlock> memoryParent;
    std::unique_ptr<CMemoryBlock> memoryData;
    int fileKind = AUDIO_FILE_WAV;
    MpegAudioInfo mpegInfo;
    std::array<CSmallString, AUDIO_INFO_TAG_COUNT> info;
};

// Sanity rules every reader applies to a format before trusting it: a rate
// and channels, and for PCM a sample size; the derived PCM fields (block
// align, average rate) are recomputed rather than believed. False when the
// format can describe no data at all.
bool NormaliseFormat(WaveFormat& format);
