#pragma once
// CMemoryAvio: FFmpeg's byte input over a block of memory the caller keeps
// alive. Reads and seeks stay inside the block and FFmpeg sees a seekable
// stream of exactly the block's size, so a demultiplexer can never read past
// the bytes it was given, and nothing here opens a file or a URL.

#include <cstddef>
#include <cstdint>
#include <memory>

struct AVIOContext;

class CMemoryAvio {
public:
    // Null when FFmpeg cannot allocate its context.
    static std::unique_ptr<CMemoryAvio> Create(const uint8_t* data, size_t size);
    ~CMemoryAvio();
    CMemoryAvio(const CMemoryAvio&) = delete;
    CMemoryAvio& operator=(const CMemoryAvio&) = delete;

    AVIOContext* Context() const { return m_io; }

private:
    CMemoryAvio(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    static int Read(void* opaque, uint8_t* buffer, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
    AVIOContext* m_io = nullptr;
};
