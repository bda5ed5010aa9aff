#pragma once
// VideoEncoder: frames in, an AVI file out, all in memory (the caller writes
// the finished bytes whole): FFmpeg's MPEG-4 encoder at a fixed quantiser,
// one thread and every bit-exact switch on, then the AVI layer's multiplexer
// (avi/CAviOutput.h), so the same frames always give the same bytes.

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
    bool Open(int width, int height, int framesPerSecond, int quantiser);
    // Every frame must have the size given to Open.
    bool AddFrame(const RgbaImage& frame);
    // Flushes the encoder, writes the index and hands over the whole file.
    bool Finish(std::vector<uint8_t>& file);
    // What went wrong, for the progress report.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what, int code = 0);
    bool Drain();
    void Release();

    CAviMemoryTarget m_file;
    std::unique_ptr<CAviOutput> m_output;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    int64_t m_nextPts = 0;
    int m_quality = 0;
    bool m_headerWritten = false;
    std::string m_error;
};
