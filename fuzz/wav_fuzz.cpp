// Feeds arbitrary bytes to the WAV reader: streamed, header only and whole in
// memory.

#include "AudioReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    audiofuzz::OpenAs(data, size, AUDIO_TYPE_WAV,
                      {AUDIO_OPEN_STREAM, AUDIO_OPEN_STREAM | AUDIO_OPEN_HEADER_ONLY, AUDIO_OPEN_MEMORY});
    return 0;
}
