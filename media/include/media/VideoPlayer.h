#pragma once
// VideoPlayer: plays one AVI video (the game's introduction) into the game's
// own back buffer. The file is demultiplexed and decoded with FFmpeg; each
// frame goes to the player's draw handler, which converts it into the frame
// image (the video's own size, the back buffer's pixel format), stretches
// that over the whole back buffer and presents the viewport. So the video
// shows in whatever mode the game runs, windowed or full screen, 8 or 16 bits.
//
// Time is the caller's: TickVideo advances the play position by the seconds
// it is given and shows the frame due then, so a run with a fixed frame time
// shows the same frames at the same passes every time. Frames keep the
// video's own rate whatever the tick; late frames are decoded but skipped.
//
// The file is outside input: only AVI is accepted, sizes are bounded, codecs
// come from a fixed list, and a damaged or truncated file is refused by
// OpenVideo (the player stays closed) or simply ends playback early.
//
// Life cycle: closed -> open (OpenVideo) -> playing (PlayVideo) -> open again
// when the video ends by itself (the end handler is called, once) or
// StopVideo is called -> closed (CloseVideo, also by the destructor).
// Everything runs on the caller's thread; nothing here starts a thread.

#include "imaging/DibRef.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CDibSection;
class CMemoryBlock;
class CSoundDevice;
class CVideoDecoder;
class CVideoDrawHandler;
class CVideoSoundtrack;
class IVideoViewport;

// Results of OpenVideo and PlayVideo (0 = success).
enum VideoResult : int {
    VIDEO_OK = 0,
    VIDEO_NO_FILE = 1,           // missing, empty or unreadable
    VIDEO_NOT_AVI = 2,           // not an AVI file, or its headers are damaged
    VIDEO_NO_VIDEO_STREAM = 3,   // no video stream in it
    VIDEO_UNSUPPORTED_CODEC = 4, // a codec outside the accepted list, or one that will not open
    VIDEO_BAD_SIZE = 5,          // frame size 0 or beyond the limits below
    VIDEO_NO_SURFACE = 6,        // no viewport, or a back buffer the player cannot draw into
    VIDEO_NO_MEMORY = 7,
    VIDEO_NOT_OPEN = 8,          // PlayVideo on a closed player
    VIDEO_NO_FRAMES = 9,         // not even the first frame decodes
};

// Frame sizes the player accepts: each side 1..VIDEO_MAX_SIDE and at most
// VIDEO_MAX_PIXELS in all (what a decoder may allocate for one frame).
constexpr int VIDEO_MAX_SIDE = 4096;
constexpr int64_t VIDEO_MAX_PIXELS = int64_t(4096) * 2304;

class VideoPlayer {
public:
    VideoPlayer();
    ~VideoPlayer();
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    bool IsOpen() const { return m_device != nullptr; }
    // The video's frame size (0 while closed).
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The off-screen frame image (null while closed).
    CDibSection* FrameImage() const { return m_frameImage.Get(); }
    // The number of the frame shown last, counted from 0 in decoding order;
    // -1 before the first.
    int64_t FrameNumber() const { return m_shownFrame; }
    // The play position in seconds.
    double Position() const { return double(m_clockMicroseconds) / 1e6; }
    // True while an audio track was found and handed to the sound device.
    bool HasSoundtrack() const { return m_soundtrack != nullptr; }

private:
    // The operations below reach the record through this one door.
    friend struct VideoPlayerAccess;

    IVideoViewport* m_viewport = nullptr;
    DibRef<CDibSection> m_frameImage;
    std::unique_ptr<CVideoDecoder> m_device;
    std::function<void()> m_onEnd; // the end notification
    bool m_playing = false;
    std::unique_ptr<CVideoDrawHandler> m_drawHandler;
    int m_width = 0;
    int m_height = 0;
    int64_t m_clockMicroseconds = 0;
    // When the next frame, or the end, is due.
    int64_t m_dueMicroseconds = 0;
    int64_t m_shownFrame = -1;
    std::unique_ptr<CVideoSoundtrack> m_soundtrack;
    // The mapped file the bytes come from (none for a video in memory).
    std::unique_ptr<CMemoryBlock> m_file;
};

// Opens an AVI file (a native path). On failure the player is left closed
// and the result says why; a player that was open is closed first. The
// back buffer's pixel format at this moment is the frame image's. With a
// sound device, an audio track (if any) is decoded and loaded into it.
[[nodiscard]] int OpenVideo(VideoPlayer& player, const std::string& fileName, IVideoViewport* viewport,
              CSoundDevice* sound = nullptr);
// The same over bytes in memory, which must stay valid until CloseVideo.
[[nodiscard]] int OpenVideoMemory(VideoPlayer& player, const uint8_t* data, size_t size, IVideoViewport* viewport,
                    CSoundDevice* sound = nullptr);
// Starts (or resumes) playback from the current position and shows the
// frame due there. `onEnd` is called once when the video reaches its end by
// itself (not after StopVideo). VIDEO_NOT_OPEN leaves the player not playing.
[[nodiscard]] int PlayVideo(VideoPlayer& player, std::function<void()> onEnd = {});
// Stops playback where it is; no end notification follows.
void StopVideo(VideoPlayer& player);
bool IsVideoPlaying(const VideoPlayer& player);
// Releases everything; harmless on a closed player.
void CloseVideo(VideoPlayer& player);
// While playing: `seconds` of play time have passed (negative counts as 0,
// more than a minute as a minute). Decodes up to the frame due now and
// draws it; ends playback after the last frame's time.
void TickVideo(VideoPlayer& player, double seconds);
// While playing: seconds until the next frame (or the end) is due, 0 when
// it is due already; -1 when not playing. For callers that wait between
// ticks instead of spinning.
double VideoSecondsToNextFrame(const VideoPlayer& player);
