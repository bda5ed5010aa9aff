#pragma once
// What the working sound device keeps for one sound: the open audio file,
// the format it plays in, and (while the device is active) the library
// objects that play it. A streamed sound also keeps its converter and where
// its stream stands.

#include "CSoundVoices.h"
#include "media/CAudioFile.h"
#include "media/CFormatConverter.h"
#include "media/CSoundDevice.h"

#include <memory>

struct DirectSoundEntry final : SoundEntry {
    // None: the entry holds no sound.
    std::unique_ptr<CAudioFile> file;
    // Yields the data in the playback format. A static sound makes it to
    // fill its buffer and drops it again; a streamed one keeps it.
    std::unique_ptr<CFormatConverter> converter;
    WaveFormat playback{};
    uint32_t flags = 0;
    bool streamed = false;
    // The copies asked for (at least 1; always 1 when streamed).
    int copies = 1;
    // Only while the device is active, and only when the library took the
    // sound.
    std::unique_ptr<CSoundVoices> voices;

    // Streamed sounds.
    bool loop = false;
    // Bytes of one chunk of the queue (a quarter of a second, whole frames).
    size_t chunkBytes = 0;
    // Play was called and Stop was not, and the data have not all played.
    bool streamRunning = false;
    // The converter ran out (without loop): what is queued is all there is.
    bool streamDrained = false;
};
