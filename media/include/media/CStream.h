#pragma once
// The media library's byte stream. Audio files expose their samples as a
// stream, conversions are streams reading other streams, and the RIFF parser
// walks a stream. Every operation reports by value; nothing throws.

#include <cstddef>
#include <cstdint>

// Capability flags.
constexpr uint32_t STREAM_CAN_READ = 0x1;
constexpr uint32_t STREAM_CAN_WRITE = 0x2;
constexpr uint32_t STREAM_CAN_SEEK = 0x4;
constexpr uint32_t STREAM_HAS_SIZE = 0x8;

// Seek origins.
constexpr int STREAM_SEEK_SET = 0;
constexpr int STREAM_SEEK_CUR = 1;
constexpr int STREAM_SEEK_END = 2;

// Whether a stream handed to another one is deleted with it.
enum class StreamOwnership { Borrowed, Owned };

class CStream {
public:
    virtual ~CStream() = default;
    // Copies up to `length` bytes; 0 only at the end of the data (or when the
    // stream is unusable). A short read is not an error.
    virtual size_t Read(void* buffer, size_t length) = 0;
    // Bytes written; streams that only read answer 0.
    virtual size_t Write(const void* buffer, size_t length)
    {
        (void)buffer;
        (void)length;
        return 0;
    }
    // Moves to `offset` from `origin`, returns the new position (never
    // negative); Seek(0, STREAM_SEEK_CUR) only reports the position.
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    virtual bool IsAtEnd() = 0;
    virtual uint32_t GetCapabilities() const = 0;
    // Non-zero when the stream is usable. Conversions answer 1, block streams
    // their mode (1 reading, 2 writing).
    virtual int GetHealth() const = 0;
    // Total bytes the stream yields from position 0.
    virtual int64_t GetSize() = 0;

    int64_t Tell() { return Seek(0, STREAM_SEEK_CUR); }
};
