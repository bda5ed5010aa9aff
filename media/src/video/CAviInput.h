#pragma once
// CAviInput: FFmpeg's AVI demultiplexer over bytes in memory, and nothing
// else: no probing of other formats, no nested files or URLs, a bounded
// number of streams. FFmpeg's own messages about damaged input are silenced;
// the callers report what they refuse through their results.

#include <cstddef>
#include <cstdint>
#include <memory>

class CMemoryAvio;
struct AVFormatContext;

class CAviInput {
public:
    CAviInput();
    ~CAviInput();
    CAviInput(const CAviInput&) = delete;
    CAviInput& operator=(const CAviInput&) = delete;

    // A VideoResult: VIDEO_NO_FILE for no bytes, VIDEO_NOT_AVI when the
    // headers do not read as AVI. `data` must outlive this object.
    int Open(const uint8_t* data, size_t size);
    AVFormatContext* Format() const { return m_format; }
    // Makes the demultiplexer skip the packets of every stream but `keep`.
    void KeepOnlyStream(int keep);

private:
    std::unique_ptr<CMemoryAvio> m_input;
    AVFormatContext* m_format = nullptr;
};
