#pragma once
// The readers behind CAudioFile::Open, one per file type. Each takes over the
// source block (it ends up owned by the content's data stream, or is deleted
// on failure), fills an AudioContent and returns an AudioResult. With
// `headerOnly` they read the format and keep no data.

#include "AudioContent.h"

#include <cstdint>

// The parts of a WAV file, as found by walking its chunks.
struct WavLayout {
    WaveFormat format;
    std::vector<uint8_t> formatExtra;
    int64_t dataStart = 0;
    int64_t dataSize = 0;
    std::array<CSmallString, AUDIO_INFO_TAG_COUNT> info;
};

// Parses a WAV file through a readable, seekable stream; AUDIO_ERR_STRUCTURE
// when it is not one.
int ParseWavLayout(CStream* stream, WavLayout& layout);

int ReadWavStreamed(CMemoryBlock* source, bool headerOnly, AudioContent& content);
int ReadAiff(CMemoryBlock* source, bool headerOnly, AudioContent& content);
int ReadAu(CMemoryBlock* source, bool headerOnly, AudioContent& content);
int ReadRawPcm(CMemoryBlock* source, const RawPcmDesc* desc, bool headerOnly, AudioContent& content);
int ReadMpeg(CMemoryBlock* source, bool headerOnly, AudioContent& content);
