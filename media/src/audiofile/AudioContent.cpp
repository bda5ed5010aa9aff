#include "AudioContent.h"

bool NormaliseFormat(WaveFormat& format)
{
    if (format.channels == 0 || format.samplesPerSec == 0)
        return false;
    if (format.IsPcm()) {
        if (format.bitsPerSample == 0 || format.bitsPerSample > 32)
            return false;
        uint32_t align = (format.bitsPerSample + 7u) / 8u * format.channels;
        if (align > UINT16_MAX || uint64_t(align) * format.samplesPerSec > UINT32_MAX)
            return false;
        format.blockAlign = static_cast<uint16_t>(align);
        format.avgBytesPerSec = align * format.samplesPerSec;
        format.extraSize = 0;
        return true;
    }
    // Compressed data can only be sized and converted with these two.
    return format.blockAlign != 0 && format.avgBytesPerSec != 0;
}

const char* const AUDIO_INFO_TAGS[AUDIO_INFO_TAG_COUNT] = {
    "IARL", "IART", "ICMS", "ICMT", "ICOP", "ICRD", "ICRP", "IDIM", "IDPI", "IENG", "IGNR", "IKEY",
    "ILGT", "IMED", "INAM", "IPLT", "IPRD", "ISBJ", "ISFT", "ISHP", "ISRC", "ISRF", "ITCH",
};
