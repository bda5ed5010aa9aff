// Feeds arbitrary bytes to the headerless PCM reader. The first twelve bytes
// are the description's rate, sample code and channels (little-endian); the
// rest are the samples.

#include "AudioReaderFuzz.h"
#include "common/ByteOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12)
        return 0;
    RawPcmDesc desc;
    desc.sampleRate = ReadLE32(data);
    desc.sampleCode = ReadLE32(data + 4);
    desc.channels = ReadLE32(data + 8);
    audiofuzz::OpenAs(data + 12, size - 12, AUDIO_TYPE_RAW, {AUDIO_OPEN_STREAM}, &desc);
    return 0;
}
