#pragma once
// CAviReadStream: FFmpeg's byte input over bytes the caller keeps alive (a
// mapped file or a buffer). Every read and seek stays inside them and FFmpeg
// sees a seekable stream of exactly their size, so a demultiplexer can never
// reach past the bytes it was given, and nothing here opens a file or a URL.

#include <cstddef>
#include <cstdint>
#include <memory>

struct AVIOContext;

class CAviReadStream {
public:
    // Null when FFmpeg cannot allocate its context.
    static std::unique_ptr<CAviReadStream> Create(const uint8_t* data, size_t size);
    ~CAviReadStream();
    CAviReadStream(const CAviReadStream&) = delete;
    CAviReadStream& operator=(const CAviReadStream&) = delete;

    AVIOContext* Context() const { return m_context; }

private:
    CAviReadStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    static int Read(void* self, uint8_t* buffer, int wanted);
    static int64_t Seek(void* self, int64_t offset, int whence);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
    AVIOContext* m_context = nullptr;
};
