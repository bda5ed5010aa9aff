#pragma once
// CIntroVideo: the frame's video seam filled by the media library's player.
// It shows the video on the game's viewport (its back buffer, presented with
// a flip) and plays a soundtrack, if the file has one, through the game's
// sound device. The frame ticks it once a pass with the frame time, so a run
// with a fixed frame time shows the same video frame at the same pass.

#include "game/GameSeams.h"
#include "media/IVideoViewport.h"
#include "media/VideoPlayer.h"

#include <utility>

class CSoundDevice;

class CIntroVideo final : public IVideoPlayer, private IVideoViewport {
public:
    // `sound` may be null (a silent video); it must outlive Close.
    explicit CIntroVideo(CSoundDevice* sound = nullptr) : m_sound(sound) {}
    ~CIntroVideo() override;

    // `file` is a data name such as "video\al_intro.avi". False, with the
    // player closed, when the file is missing or is no playable video.
    bool Open(const char* file, CDibDDViewport* viewport) override;
    void Play() override;
    bool IsPlaying() const override;
    void Stop() override;
    void Close() override;
    void Tick(double seconds) override;
    void SetOverlay(Overlay overlay) override { m_overlay = std::move(overlay); }
    void ShowAgain() override;

    // Seconds until the next video frame (or the end) is due; -1 while not
    // playing. The loop waits this long instead of spinning.
    double SecondsToNextFrame() const;
    // How often the video reached its end by itself since it was opened.
    int EndNotices() const { return m_endNotices; }
    const VideoPlayer& Player() const { return m_player; }

private:
    CDib* DrawingSurface() override;
    void Present() override;

    CSoundDevice* m_sound;
    CDibDDViewport* m_viewport = nullptr;
    VideoPlayer m_player;
    int m_endNotices = 0;
    Overlay m_overlay;
};
