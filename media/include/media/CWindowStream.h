#pragma once
// A stream over the byte range [start, start + length) of another stream,
// such as the "data" chunk of a WAV file inside the whole file. The base
// must be readable and seekable; otherwise the window is unusable.
// Positions are relative to the window and never leave [0, length].

#include "media/CStream.h"

class CWindowStream : public CStream {
public:
    // Seeks the base to `start`. A window reaching past the base's end is
    // shortened to what the base holds.
    CWindowStream(CStream* base, int64_t start, int64_t length, StreamOwnership ownership);
    ~CWindowStream() override;
    CWindowStream(const CWindowStream&) = delete;
    CWindowStream& operator=(const CWindowStream&) = delete;

    size_t Read(void* buffer, size_t length) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsAtEnd() override;
    uint32_t GetCapabilities() const override { return STREAM_CAN_READ | STREAM_CAN_SEEK; }
    int GetHealth() const override { return m_usable ? 1 : 0; }
    int64_t GetSize() override { return m_length; }

private:
    int64_t RelativePosition();

    bool m_usable = false;
    CStream* m_base;
    int64_t m_start = 0;
    int64_t m_length = 0;
    bool m_owns;
};
