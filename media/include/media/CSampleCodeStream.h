#pragma once
// Converts how PCM samples are stored (sign convention and byte order) while
// reading: AIFF's signed 8-bit and big-endian 16-bit samples become the WAV
// convention (unsigned 8-bit, signed little-endian 16-bit), and back again for
// the writers. Both codes must have the same width; the stream never changes
// sample size or count.

#include "media/CStream.h"

// How one PCM sample is stored.
enum SampleCode : int {
    SAMPLE_CODE_S8 = 1,     // signed 8-bit
    SAMPLE_CODE_U8 = 2,     // unsigned 8-bit (WAV)
    SAMPLE_CODE_S16LE = 3,  // signed 16-bit little-endian (WAV)
    SAMPLE_CODE_S16BE = 4,  // signed 16-bit big-endian
    SAMPLE_CODE_U16LE = 5,  // unsigned 16-bit little-endian
    SAMPLE_CODE_U16BE = 6,  // unsigned 16-bit big-endian
};

bool IsValidSampleCode(int code);
// 1 or 2 bytes per sample; 0 for an invalid code.
int SampleCodeBytes(int code);

class CSampleCodeStream : public CStream {
public:
    // Unusable when either code is invalid, the widths differ or the source
    // is missing or unusable.
    CSampleCodeStream(CStream* source, int fromCode, int toCode, StreamOwnership ownership);
    ~CSampleCodeStream() override;
    CSampleCodeStream(const CSampleCodeStream&) = delete;
    CSampleCodeStream& operator=(const CSampleCodeStream&) = delete;

    // Reads whole samples only: 16-bit reads are rounded down to an even
    // number of bytes, and a trailing odd byte of the source is never yielded.
    size_t Read(void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override;
    uint32_t GetCapabilities() const override;
    int GetHealth() const override { return m_usable ? 1 : 0; }
    int64_t GetSize() override;

    // Converts `count` bytes in place; `count` must be a multiple of the width.
    static void ConvertInPlace(uint8_t* bytes, size_t count, int fromCode, int toCode);

private:
    bool m_usable = false;
    CStream* m_source;
    bool m_owns;
    int m_from;
    int m_to;
    int m_width = 0;
};
