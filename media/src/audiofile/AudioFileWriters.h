#pragma once
// The writers behind CAudioFile::Save. Each reads the data stream from its
// start (the stream is borrowed, in `sourceFormat`), writes the file whole or
// not at all, reports progress after every 32768-byte block and returns an
// AudioResult.

#include "AudioProgress.h"
#include "common/CAtomicOutputFile.h"
#include "common/CSmallString.h"
#include "media/CStream.h"
#include "media/WaveFormat.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using InfoTexts = std::array<CSmallString, AUDIO_INFO_TAG_COUNT>;

// Progress values: the writers report with the first, the copy of a
// streamed file into memory with the second.
constexpr int AUDIO_PROGRESS_SAVE = 1;
constexpr int AUDIO_PROGRESS_LOAD = 2;
// Writers and the memory step move data in blocks of this size.
constexpr size_t AUDIO_COPY_BLOCK = 32768;

int WriteWavFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, const WaveFormat& target,
                 const std::vector<uint8_t>& targetExtra, const InfoTexts& info, const AudioProgress& progress);
int WriteAiffFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data,
                  const AudioProgress& progress);
int WriteAuFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, int encodingChoice,
                const AudioProgress& progress);
int WriteRawPcmFile(const std::string& path, const WaveFormat& sourceFormat, CStream* data, int sampleCode,
                    const AudioProgress& progress);

// Shared by the writers: the data as PCM of `bits` at the source's rate and
// channels (a pass-through when it already is); null when no conversion
// exists.
std::unique_ptr<CStream> OpenPcmReader(const WaveFormat& sourceFormat, CStream* data, uint16_t bits);
// Copies the rest of the stream to the file's end in blocks, reporting
// progress with `progressValue` after each; the bytes copied, or -1 when a
// write failed.
int64_t CopyToFile(CStream* from, CAtomicOutputFile& file, const AudioProgress& progress,
                   int progressValue = AUDIO_PROGRESS_SAVE);
