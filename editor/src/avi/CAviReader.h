#pragma once
// CAviReader: the first video stream of an AVI file held in memory, read
// frame after frame as packed pictures.
//
// Uncompressed device-independent bitmaps (the editor's own documents) are
// taken straight from their chunks, so every depth from 1 to 32 bits and
// every palette change comes back exactly as written; other codecs go
// through FFmpeg's decoders and come out as 8-bit pictures (decoders that
// give palettized frames) or 24-bit ones. Nothing read from the file is
// trusted: sizes are checked against the limit before anything is
// allocated for them, and a frame whose chunk is short is an error, never
// a read past it.

#include "editor/EditorStatus.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
class CAviInput;

class CAviReader {
public:
    // NotAVideo when the bytes hold no AVI video stream the reader can
    // read, TooLarge when its frames exceed `maxFrameBytes`.
    static EditorStatus Open(const uint8_t* data, size_t size, size_t maxFrameBytes,
                             std::unique_ptr<CAviReader>& reader);
    ~CAviReader();
    CAviReader(const CAviReader&) = delete;
    CAviReader& operator=(const CAviReader&) = delete;

    // The number of frames the stream really holds, counted by reading it
    // through once (the count in the stream header is not believed); the
    // reader then starts again at frame 0.
    EditorStatus CountFrames(int& count);
    // Reads the next frame into Picture(). DamagedVideo when the stream
    // ends or the frame cannot be read.
    EditorStatus Next();
    // The last frame read, as a packed picture (info header first).
    const std::vector<uint8_t>& Picture() const { return m_picture; }
    // True when the last frame read is the one before it once more: the
    // file left it out (an empty chunk, which is how a video repeats a frame).
    bool Repeated() const { return m_repeated; }
    // Starts again at frame 0.
    EditorStatus Rewind();
    // Whether the stream holds uncompressed bitmaps, taken as they are.
    bool IsUncompressed() const { return m_raw; }

private:
    CAviReader(const uint8_t* data, size_t size, size_t maxFrameBytes);
    EditorStatus OpenStream();
    void CloseStream();
    EditorStatus ExamineStream();
    // The next packet of the video stream into m_packet: 0, or AVERROR_EOF
    // at the end (or at damage the demultiplexer cannot pass).
    int ReadVideoPacket();
    // Frame numbers come from the timestamps, which count every chunk of
    // the stream, empty ones too.
    static int64_t FrameNumber(int64_t stamp, int64_t next);
    // The next chunk (or decoded frame) into m_packet (m_frame), and its
    // frame number into m_pendingNumber.
    EditorStatus ReadRaw();
    EditorStatus Decode();
    EditorStatus PictureFromPacket();
    EditorStatus PictureFromFrame(const AVFrame& frame);
    void TakePacketPalette();

    const uint8_t* m_data;
    size_t m_size;
    size_t m_maxFrameBytes;

    std::unique_ptr<CAviInput> m_input;
    AVFormatContext* m_format = nullptr; // the input's
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_scaler = nullptr;
    int m_stream = -1;
    bool m_draining = false;

    // Uncompressed streams: the bitmap layout of every frame.
    bool m_raw = false;
    bool m_bottomUp = true;
    int m_width = 0, m_height = 0;
    uint32_t m_bitCount = 0;
    uint32_t m_compression = 0;
    uint32_t m_masks[3] = {0, 0, 0};
    uint32_t m_palette[256] = {}; // 0x00RRGGBB, changed by palette chunks
    bool m_havePicture = false;
    // A chunk or decoded frame waiting while the frames left out before it
    // are repeated.
    bool m_pending = false;
    bool m_repeated = false;
    int64_t m_pendingNumber = 0;
    int64_t m_nextNumber = 0;

    std::vector<uint8_t> m_picture;
};
