#pragma once
// CAviInput: FFmpeg's AVI demultiplexer over bytes in memory, and nothing
// else: no probing of other formats, no nested files or URLs, a bounded
// number of streams. FFmpeg's own messages about damaged input are
// silenced; the callers report what they refuse through their results.
//
// FFmpeg's AVI reader allocates what a header chunk's size field claims
// before it finds out that the bytes are not there. A reader that wants no
// such allocation asks for the whole RIFF layout to be checked first (every
// chunk within its container); one that plays what there is of a file cut
// short does not.

#include "avi/AviResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CAviReadStream;
struct AVFormatContext;

class CAviInput {
public:
    enum class LayoutCheck {
        WholeFile, // Damaged when a chunk reaches past its container or the file
        None,      // a file cut short is read as far as it goes
    };

    CAviInput();
    ~CAviInput();
    CAviInput(const CAviInput&) = delete;
    CAviInput& operator=(const CAviInput&) = delete;

    // NoData for no bytes, NotAvi when the bytes do not read as AVI (or not
    // as RIFF under a whole-file check), Damaged as above. `data` must
    // outlive this object.
    [[nodiscard]] AviResult Open(const uint8_t* data, size_t size, LayoutCheck check);
    // The demultiplexer once opened, else null.
    AVFormatContext* Format() const { return m_format; }
    // Makes the demultiplexer skip the packets of every stream but `keep`.
    void KeepOnlyStream(int keep);
    // The first video stream, or -1.
    int FirstVideoStream() const;

private:
    void Close();

    std::unique_ptr<CAviReadStream> m_stream;
    AVFormatContext* m_format = nullptr;
};
