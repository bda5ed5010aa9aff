#pragma once
// CVideoDecoder: the first video stream of an AVI file held in memory,
// decoded frame by frame in presentation order, each with its time from the
// start of the video. It only decodes: the player asks it for the next frame
// and decides when to show it.
//
// Only the AVI demultiplexer runs (no probing of other formats, no nested
// files or URLs), only codecs on a fixed list are opened, one thread decodes,
// and frame sizes are bounded before any decoder allocates. Damage met after
// opening ends the stream early instead of failing: undecodable packets are
// skipped, and a stream that yields no frame for many packets, or too many
// errors in a row, is at its end.

#include <cstddef>
#include <cstdint>
#include <memory>

class CAviInput;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

class CVideoDecoder {
public:
    // A VideoResult; `decoder` is set only on success. `data` must outlive
    // the decoder.
    static int Open(const uint8_t* data, size_t size, std::unique_ptr<CVideoDecoder>& decoder);
    ~CVideoDecoder();
    CVideoDecoder(const CVideoDecoder&) = delete;
    CVideoDecoder& operator=(const CVideoDecoder&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Decodes the next frame if none is waiting. True with its time in
    // microseconds (never earlier than the frame before it); false at the
    // end of the stream.
    bool Peek(int64_t& timeMicroseconds);
    // Hands over the waiting frame (valid until the next Take) and counts
    // it; null when none waits.
    const AVFrame* Take();
    // The frames taken so far.
    int64_t FramesTaken() const { return m_taken; }
    // When the last frame's time runs out: the time of the last frame seen
    // plus one frame duration (0 before any frame).
    int64_t EndTime() const { return m_lastTime < 0 ? 0 : m_lastTime + m_frameDuration; }

private:
    CVideoDecoder() = default;
    int OpenStream(const uint8_t* data, size_t size);
    bool DecodeNext();
    int64_t TimeOf(const AVFrame& frame);

    std::unique_ptr<CAviInput> m_input;
    AVFormatContext* m_format = nullptr; // the input's
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_next = nullptr;
    AVFrame* m_shown = nullptr;
    int m_stream = -1;
    int m_width = 0;
    int m_height = 0;
    int64_t m_frameDuration = 0;
    // Time base of the stream as a fraction, for rescaling timestamps.
    int m_timeBaseNum = 0;
    int m_timeBaseDen = 0;
    int64_t m_firstStamp = INT64_MIN;
    int64_t m_lastTime = -1;
    int64_t m_nextTime = 0;
    int64_t m_taken = 0;
    bool m_nextReady = false;
    bool m_draining = false;
    bool m_ended = false;
};
