#pragma once
// CAviMemoryInput: FFmpeg's byte input over bytes the caller keeps alive (a
// mapped file or a buffer). Every read and seek is checked against the
// bytes' size, so the demultiplexer can never reach past them, and nothing
// here opens a file or a URL.

#include <cstddef>
#include <cstdint>
#include <memory>

struct AVIOContext;

class CAviMemoryInput {
public:
    // Null when FFmpeg cannot allocate its context.
    static std::unique_ptr<CAviMemoryInput> Create(const uint8_t* data, size_t size);
    ~CAviMemoryInput();
    CAviMemoryInput(const CAviMemoryInput&) = delete;
    CAviMemoryInput& operator=(const CAviMemoryInput&) = delete;

    AVIOContext* Context() const { return m_context; }

private:
    CAviMemoryInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    static int ReadPacket(void* self, uint8_t* buffer, int wanted);
    static int64_t SeekTo(void* self, int64_t offset, int whence);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
    AVIOContext* m_context = nullptr;
};
