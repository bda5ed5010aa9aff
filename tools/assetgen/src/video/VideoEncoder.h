#pragma once
// VideoEncoder: frames in, an AVI file out, all in memory (the caller writes
// the finished bytes whole): FFmpeg's MPEG-4 encoder at a fixed quantiser,
// one thread and every bit-exact switch on, then the AVI layer's multiplexer
// (avi/CAviOutput.h), so the same frames always give the same bytes. A
// soundtrack, when given, goes in beside the frames as 16-bit mono PCM, each
// frame's stretch of it after the frame.

#include "avi/CAviMemoryTarget.h"
#include "paint/RgbaImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAviOutput;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

class VideoEncoder {
public:
    VideoEncoder();
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

    CAviMemoryTarget m_file;
    std::unique_ptr<CAviOutput> m_output;
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
    std::string m_error;
};
