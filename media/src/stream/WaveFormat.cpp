#include "media/WaveFormat.h"

#include "common/ByteOrder.h"

WaveFormat MakePcmFormat(uint32_t rate, uint16_t bits, uint16_t channels)
{
    WaveFormat format;
    format.formatTag = WAVE_FORMAT_PCM;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<uint16_t>(bits * channels / 8);
    format.avgBytesPerSec = format.blockAlign * rate;
    format.extraSize = 0;
    return format;
}

size_t WaveFormatCopyLength(const WaveFormat& format)
{
    return format.IsPcm() ? WAVE_FORMAT_RECORD_SIZE : WAVE_FORMAT_RECORD_SIZE + format.extraSize;
}

bool SameSampleLayout(const WaveFormat& a, const WaveFormat& b)
{
    return a.formatTag == b.formatTag && a.samplesPerSec == b.samplesPerSec &&
           a.bitsPerSample == b.bitsPerSample && a.channels == b.channels;
}

WaveFormat ReadWaveFormat(const uint8_t* bytes)
{
    WaveFormat format;
    format.formatTag = ReadLE16(bytes);
    format.channels = ReadLE16(bytes + 2);
    format.samplesPerSec = ReadLE32(bytes + 4);
    format.avgBytesPerSec = ReadLE32(bytes + 8);
    format.blockAlign = ReadLE16(bytes + 12);
    format.bitsPerSample = ReadLE16(bytes + 14);
    format.extraSize = ReadLE16(bytes + 16);
    return format;
}

void StoreWaveFormat(const WaveFormat& format, uint8_t* bytes)
{
    WriteLE16(bytes, format.formatTag);
    WriteLE16(bytes + 2, format.channels);
    WriteLE32(bytes + 4, format.samplesPerSec);
    WriteLE32(bytes + 8, format.avgBytesPerSec);
    WriteLE16(bytes + 12, format.blockAlign);
    WriteLE16(bytes + 14, format.bitsPerSample);
    WriteLE16(bytes + 16, format.extraSize);
}

int FrameCodeOf(const WaveFormat& format)
{
    if (!format.IsPcm())
        return 0;
    if (format.bitsPerSample == 8 && format.channels == 1)
        return 1;
    if (format.bitsPerSample == 8 && format.channels == 2)
        return 2;
    if (format.bitsPerSample == 16 && format.channels == 1)
        return 3;
    if (format.bitsPerSample == 16 && format.channels == 2)
        return 4;
    return 0;
}

int FrameCodeBytes(int frameCode)
{
    static const int kBytes[] = {0, 1, 2, 2, 4};
    return frameCode >= 0 && frameCode <= 4 ? kBytes[frameCode] : 0;
}
