#pragma once
// VideoEncoder: frames in, an AVI file out, through FFmpeg's libraries, all in
// memory (the caller writes the finished bytes whole). MPEG-4 video at a
// fixed quantiser, one thread and every bit-exact switch on, so the same
// frames always give the same bytes. A soundtrack, when given, goes in beside
// the frames as 16-bit mono PCM, each frame's stretch of it after the frame.

#include "paint/RgbaImage.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/version.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVIOContext;
struct AVPacket;
struct AVStream;

class VideoEncoder {
public:
    VideoEncoder() = default;
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // `quantiser` 2 (best) .. 31 (smallest). Width and height must be even.
    // `soundtrack`: mono samples at `sampleRate` (none when empty).
    bool Open(int width, int height, int framesPerSecond, int quantiser, std::vector<int16_t> soundtrack = {},
              int sampleRate = 0);
    // Every frame must have the size given to Open.
    bool AddFrame(const RgbaImage& frame);
    // Flushes the encoder, writes the index and hands over the whole file.
    bool Finish(std::vector<uint8_t>& file);
    // What went wrong, for the progress report.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what, int code = 0);
    bool Drain();
    bool AddSoundtrackStream(int sampleRate);
    // Writes the soundtrack's samples up to sample `end` (at most its length).
    bool WriteSound(int64_t end);
    void Release();
    // The muxer's output: a growable, seekable block of memory. (Its write
    // callback took a non-const buffer before FFmpeg 7.)
#if LIBAVFORMAT_VERSION_MAJOR >= 61
    static int WriteOut(void* opaque, const uint8_t* data, int size);
#else
    static int WriteOut(void* opaque, uint8_t* data, int size);
#endif
    static int64_t SeekOut(void* opaque, int64_t offset, int whence);

    AVFormatContext* m_format = nullptr;
    AVIOContext* m_io = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVStream* m_soundStream = nullptr;
    std::vector<int16_t> m_soundtrack;
    int m_sampleRate = 0;
    int m_framesPerSecond = 0;
    int64_t m_soundWritten = 0;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    int64_t m_nextPts = 0;
    int m_quality = 0;
    bool m_headerWritten = false;
    std::vector<uint8_t> m_file;
    size_t m_position = 0;
    std::string m_error;
};
