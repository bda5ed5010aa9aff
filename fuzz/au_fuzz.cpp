// Feeds arbitrary bytes to the AU/SND reader, streamed and header only
// (mu-law and A-law data go through the converter chain).

#include "AudioReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    audiofuzz::OpenAs(data, size, AUDIO_TYPE_AU, {AUDIO_OPEN_STREAM, AUDIO_OPEN_STREAM | AUDIO_OPEN_HEADER_ONLY});
    return 0;
}
