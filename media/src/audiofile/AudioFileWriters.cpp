#include "AudioFileWriters.h"

#include "media/CFormatConverter.h"

#include <vector>

std::unique_ptr<CStream> OpenPcmReader(const WaveFormat& sourceFormat, CStream* data, uint16_t bits)
{
    WaveFormat pcm = MakePcmFormat(sourceFormat.samplesPerSec, bits, sourceFormat.channels);
    auto converter = std::make_unique<CFormatConverter>(sourceFormat, pcm, data, StreamOwnership::Borrowed);
    if (!converter->GetHealth())
        return nullptr;
    converter->Seek(0, STREAM_SEEK_SET);
    return converter;
}

int64_t CopyToFile(CStream* from, CAtomicOutputFile& file, const AudioProgress& progress, int progressValue)
{
    std::vector<uint8_t> block(AUDIO_COPY_BLOCK);
    const int64_t total = from->GetSize();
    int64_t done = 0;
    while (size_t got = from->Read(block.data(), block.size())) {
        if (!file.Write(block.data(), got))
            return -1;
        done += static_cast<int64_t>(got);
        progress.ReportFraction(progressValue, static_cast<uint64_t>(done),
                                static_cast<uint64_t>(std::max(total, done)));
    }
    return done;
}
