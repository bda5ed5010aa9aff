#include "media/VideoPlayer.h"

#include "CVideoDecoder.h"
#include "CVideoDrawHandler.h"
#include "CVideoSoundtrack.h"
#include "common/CMemoryBlock.h"
#include "common/DebugTrace.h"
#include "imaging/CDibSection.h"
#include "media/IVideoViewport.h"

#include <cmath>

namespace {

// However far one tick jumps, it decodes at most this many frames; the rest
// are caught up on by the ticks after it.
constexpr int kMaxFramesPerTick = 256;
constexpr double kLongestTick = 60.0;

} // namespace

struct VideoPlayerAccess {
    static int Open(VideoPlayer& p, const uint8_t* data, size_t size, IVideoViewport* viewport, CSoundDevice* sound);
    static void Clear(VideoPlayer& p);
    static void ShowDueFrame(VideoPlayer& p);
    static void SetFile(VideoPlayer& p, std::unique_ptr<CMemoryBlock> file) { p.m_file = std::move(file); }
    static int Play(VideoPlayer& p, std::function<void()> onEnd);
    static void Stop(VideoPlayer& p);
    static bool IsPlaying(const VideoPlayer& p) { return p.m_playing; }
    static void Tick(VideoPlayer& p, double seconds);
    static double SecondsToNextFrame(const VideoPlayer& p);
};

VideoPlayer::VideoPlayer() = default;

VideoPlayer::~VideoPlayer()
{
    CloseVideo(*this);
}

int VideoPlayerAccess::Open(VideoPlayer& p, const uint8_t* data, size_t size, IVideoViewport* viewport,
                            CSoundDevice* sound)
{
    CDib* surface = viewport ? viewport->DrawingSurface() : nullptr;
    if (!surface || !surface->IsCreated() || !CVideoDrawHandler::CanDrawInto(surface->GetFormat()))
        return VIDEO_NO_SURFACE;
    std::unique_ptr<CVideoDecoder> device;
    if (const int code = CVideoDecoder::Open(data, size, device); code != VIDEO_OK)
        return code;
    int64_t first;
    if (!device->Peek(first))
        return VIDEO_NO_FRAMES;
    DibRef<CDibSection> image = MakeFrameImage(device->Width(), device->Height(), surface->GetFormat());
    if (!image.Get())
        return VIDEO_NO_MEMORY;

    p.m_viewport = viewport;
    p.m_frameImage = std::move(image);
    p.m_width = device->Width();
    p.m_height = device->Height();
    p.m_device = std::move(device);
    p.m_playing = false;
    p.m_drawHandler = std::make_unique<CVideoDrawHandler>();
    p.m_clockMicroseconds = 0;
    p.m_dueMicroseconds = first;
    p.m_shownFrame = -1;
    if (sound)
        p.m_soundtrack = CVideoSoundtrack::Load(data, size, *sound);
    return VIDEO_OK;
}

void VideoPlayerAccess::Clear(VideoPlayer& p)
{
    // The sound goes back to its device first, the mapped bytes last.
    p.m_soundtrack.reset();
    p.m_playing = false;
    p.m_onEnd = nullptr;
    p.m_drawHandler.reset();
    p.m_device.reset();
    p.m_frameImage.Reset();
    if (p.m_file) {
        p.m_file->Unlock();
        p.m_file.reset();
    }
    p.m_viewport = nullptr;
    p.m_width = p.m_height = 0;
    p.m_clockMicroseconds = p.m_dueMicroseconds = 0;
    p.m_shownFrame = -1;
}

void VideoPlayerAccess::ShowDueFrame(VideoPlayer& p)
{
    CVideoDecoder& device = *p.m_device;
    const AVFrame* due = nullptr;
    int64_t time = 0;
    for (int taken = 0; taken < kMaxFramesPerTick && device.Peek(time) && time <= p.m_clockMicroseconds; ++taken)
        due = device.Take();
    if (due) {
        p.m_shownFrame = device.FramesTaken() - 1;
        // A frame that cannot be drawn is skipped; the video goes on.
        if (const int code = p.m_drawHandler->Draw(*due, p.m_frameImage, *p.m_viewport); code != VIDEO_DRAW_OK)
            DebugTrace("VideoPlayer : frame %lld not drawn (%d)", static_cast<long long>(p.m_shownFrame), code);
    }
    if (device.Peek(time)) {
        p.m_dueMicroseconds = time;
        return;
    }
    p.m_dueMicroseconds = device.EndTime();
    if (p.m_clockMicroseconds < p.m_dueMicroseconds)
        return;
    // The end: the flag drops, then the notification, once. The handler may
    // close the player, so nothing touches it afterwards.
    p.m_playing = false;
    if (p.m_soundtrack)
        p.m_soundtrack->Stop();
    std::function<void()> onEnd = std::move(p.m_onEnd);
    p.m_onEnd = nullptr;
    if (onEnd)
        onEnd();
}

int OpenVideo(VideoPlayer& player, const std::string& fileName, IVideoViewport* viewport, CSoundDevice* sound)
{
    CloseVideo(player);
    std::unique_ptr<CMemoryBlock> file(CMemoryBlock::OpenFile(fileName, FileAccess::ReadOnly));
    const uint8_t* data = file ? file->Lock() : nullptr;
    int code = data ? VideoPlayerAccess::Open(player, data, file->Size(), viewport, sound) : VIDEO_NO_FILE;
    if (code == VIDEO_OK) {
        VideoPlayerAccess::SetFile(player, std::move(file));
        return VIDEO_OK;
    }
    if (data)
        file->Unlock();
    DebugTrace("OpenVideo : \"%s\" is not played (%d)", fileName.c_str(), code);
    return code;
}

int OpenVideoMemory(VideoPlayer& player, const uint8_t* data, size_t size, IVideoViewport* viewport,
                    CSoundDevice* sound)
{
    CloseVideo(player);
    const int code = VideoPlayerAccess::Open(player, data, size, viewport, sound);
    if (code != VIDEO_OK)
        VideoPlayerAccess::Clear(player);
    return code;
}

int VideoPlayerAccess::Play(VideoPlayer& p, std::function<void()> onEnd)
{
    if (!p.IsOpen())
        return VIDEO_NOT_OPEN;
    p.m_onEnd = std::move(onEnd);
    p.m_playing = true;
    if (p.m_soundtrack)
        p.m_soundtrack->PlayFrom(p.m_clockMicroseconds);
    ShowDueFrame(p);
    return VIDEO_OK;
}

void VideoPlayerAccess::Stop(VideoPlayer& p)
{
    p.m_playing = false;
    p.m_onEnd = nullptr;
    if (p.m_soundtrack)
        p.m_soundtrack->Stop();
}

void VideoPlayerAccess::Tick(VideoPlayer& p, double seconds)
{
    if (!p.m_playing)
        return;
    // Negative and not-a-number ticks count as no time at all.
    const double step = seconds > 0 ? (seconds < kLongestTick ? seconds : kLongestTick) : 0.0;
    p.m_clockMicroseconds += std::llround(step * 1e6);
    ShowDueFrame(p);
}

double VideoPlayerAccess::SecondsToNextFrame(const VideoPlayer& p)
{
    if (!p.m_playing)
        return -1.0;
    const int64_t wait = p.m_dueMicroseconds - p.m_clockMicroseconds;
    return wait > 0 ? double(wait) / 1e6 : 0.0;
}

int PlayVideo(VideoPlayer& player, std::function<void()> onEnd)
{
    return VideoPlayerAccess::Play(player, std::move(onEnd));
}

void StopVideo(VideoPlayer& player)
{
    VideoPlayerAccess::Stop(player);
}

bool IsVideoPlaying(const VideoPlayer& player)
{
    return VideoPlayerAccess::IsPlaying(player);
}

void CloseVideo(VideoPlayer& player)
{
    VideoPlayerAccess::Clear(player);
}

void TickVideo(VideoPlayer& player, double seconds)
{
    VideoPlayerAccess::Tick(player, seconds);
}

double VideoSecondsToNextFrame(const VideoPlayer& player)
{
    return VideoPlayerAccess::SecondsToNextFrame(player);
}
