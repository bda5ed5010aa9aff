// Feeds arbitrary bytes to the AIFF reader, streamed and header only.

#include "AudioReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    audiofuzz::OpenAs(data, size, AUDIO_TYPE_AIFF, {AUDIO_OPEN_STREAM, AUDIO_OPEN_STREAM | AUDIO_OPEN_HEADER_ONLY});
    return 0;
}
