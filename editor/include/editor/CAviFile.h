#pragma once
// CAviFile: the editor's video files, read or written. Reading opens the
// first video stream of an AVI file (any codec the reader knows; the
// editor's own documents are uncompressed bitmaps) and hands out its frames
// as packed pictures. Writing makes an AVI file of uncompressed bitmap
// frames at 15 frames per second, whole or not at all.
//
// One object does one thing at a time: open for reading or for writing,
// then Close.

#include "editor/EditorStatus.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CAviReader;
class CAviWriter;
class CMemoryBlock;

class CAviFile {
public:
    static constexpr int kFramesPerSecond = 15;

    CAviFile();
    // Closes; an unfinished write leaves no file behind.
    ~CAviFile();
    CAviFile(const CAviFile&) = delete;
    CAviFile& operator=(const CAviFile&) = delete;

    // Opens `path` for reading (the file is mapped, not read whole).
    // CannotOpenFile, NotAVideo (no video stream that can be read),
    // TooLarge (frames past the limit) or DamagedVideo (the stream ends
    // before the frames its header announces).
    EditorStatus OpenRead(const std::string& path);
    // The same for a video held in memory, which must outlive the reading.
    EditorStatus OpenReadMemory(const uint8_t* data, size_t size);
    // The frames of the stream; 0 unless open for reading.
    int GetFrameCount() const { return m_frameCount; }
    // Frame `index` as a packed picture (info header first) owned by this
    // object and valid until the next call; `size` receives its length.
    // Null beyond the count, or when the frame cannot be read (LastStatus
    // tells why). Frames are cheapest in order.
    const uint8_t* GetFrame(int index, size_t* size = nullptr);
    // True when the frame GetFrame last returned is the one before it once
    // more: the file left it out (an empty chunk), as videos repeat a frame.
    bool RepeatsPreviousFrame() const;
    // True when the stream being read is not made of uncompressed bitmaps
    // (a video of another codec, decoded as it is read).
    bool IsForeignCodec() const;

    // Creates the file for writing (it replaces `path` only when Close
    // succeeds). `format` is the frames' picture header: the 40-byte info
    // header and the colour table or masks, `size` bytes in all.
    EditorStatus OpenWrite(const std::string& path, const uint8_t* format, size_t size);
    // Appends one key frame: a packed picture of the stream's size and
    // format (`size` bytes from its info header on), whose colour table
    // becomes the frame's palette. Fails unless open for writing.
    EditorStatus WriteFrame(const uint8_t* picture, size_t size);

    // Ends reading, or completes a write and puts the file in place
    // (CannotWriteFile when it could not: the old file stays).
    EditorStatus Close();
    // Ends a write without creating the file.
    void Discard();

    EditorStatus LastStatus() const { return m_lastStatus; }

    // Frames whose pixels need more bytes than this are refused (reading).
    void SetMaxFrameBytes(size_t bytes) { m_maxFrameBytes = bytes; }

private:
    EditorStatus OpenReader(const uint8_t* data, size_t size);
    void CloseRead();

    std::unique_ptr<CAviReader> m_reader;
    std::unique_ptr<CAviWriter> m_writer;
    CMemoryBlock* m_mapped = nullptr; // the file being read, locked while held
    int m_frameCount = 0;
    int m_nextFrame = 0;
    size_t m_maxFrameBytes;
    EditorStatus m_lastStatus = EditorStatus::Ok;
};
