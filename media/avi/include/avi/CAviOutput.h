#pragma once
// CAviOutput: FFmpeg's AVI multiplexer writing into an IAviByteTarget, with
// every bit-exact switch on, so the same packets always give the same bytes.
// The caller describes its streams on Format() (video, and sound beside it
// if it likes) and hands packets in; the multiplexer interleaves them.

#include "avi/AviResult.h"

#include <cstdint>
#include <memory>

extern "C" {
#include <libavformat/version.h>
}

class IAviByteTarget;
struct AVFormatContext;
struct AVIOContext;
struct AVPacket;

class CAviOutput {
public:
    // `target` must outlive the output. OutOfMemory when FFmpeg cannot set
    // up its multiplexer.
    [[nodiscard]] static AviResult Create(IAviByteTarget& target, std::unique_ptr<CAviOutput>& output);
    ~CAviOutput();
    CAviOutput(const CAviOutput&) = delete;
    CAviOutput& operator=(const CAviOutput&) = delete;

    // The multiplexer, to add streams and set options before WriteHeader.
    AVFormatContext* Format() const { return m_format; }
    [[nodiscard]] AviResult WriteHeader();
    // Writes one packet of one of the streams (its stream index and times
    // set); the packet is left empty.
    [[nodiscard]] AviResult Write(AVPacket* packet);
    // Writes what is still held, the index and the final header sizes.
    [[nodiscard]] AviResult Finish();

private:
    explicit CAviOutput(IAviByteTarget& target) : m_target(target) {}
    // FFmpeg's write callback took a non-const buffer before FFmpeg 7.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
    static int WriteBytes(void* self, const uint8_t* bytes, int size);
#else
    static int WriteBytes(void* self, uint8_t* bytes, int size);
#endif
    static int64_t Seek(void* self, int64_t offset, int whence);

    IAviByteTarget& m_target;
    uint64_t m_position = 0; // where the multiplexer writes next
    bool m_ioFailed = false;
    bool m_headerWritten = false;
    bool m_finished = false;
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_format = nullptr;
};
