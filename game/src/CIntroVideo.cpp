#include "game/CIntroVideo.h"

#include "common/DataPath.h"
#include "common/DebugTrace.h"
#include "display/CDibDDViewport.h"
#include "imaging/CDibSection.h"

CIntroVideo::~CIntroVideo()
{
    Close();
}

bool CIntroVideo::Open(const char* file, CDibDDViewport* viewport)
{
    Close();
    if (!file || !viewport)
        return false;
    m_viewport = viewport;
    m_endNotices = 0;
    if (OpenVideo(m_player, MapDataPath(file), this, m_sound) == VIDEO_OK)
        return true;
    m_viewport = nullptr;
    return false;
}

void CIntroVideo::Play()
{
    // A video that cannot start is not playing: the menu follows at once.
    if (const int code = PlayVideo(m_player, [this] { ++m_endNotices; }); code != VIDEO_OK)
        DebugTrace("CIntroVideo : the intro cannot play (%d)", code);
}

bool CIntroVideo::IsPlaying() const
{
    return IsVideoPlaying(m_player);
}

void CIntroVideo::Stop()
{
    StopVideo(m_player);
}

void CIntroVideo::Close()
{
    CloseVideo(m_player);
    m_viewport = nullptr;
}

void CIntroVideo::Tick(double seconds)
{
    TickVideo(m_player, seconds);
}

double CIntroVideo::SecondsToNextFrame() const
{
    return VideoSecondsToNextFrame(m_player);
}

CDib* CIntroVideo::DrawingSurface()
{
    return m_viewport ? m_viewport->Back() : nullptr;
}

void CIntroVideo::ShowAgain()
{
    CDib* back = DrawingSurface();
    CDibSection* frame = m_player.FrameImage();
    if (!IsPlaying() || !back || !back->IsCreated() || !frame || !frame->IsCreated() ||
        frame->GetFormat() != back->GetFormat())
        return;
    // The frame image holds the last frame as the player drew it, before
    // it was stretched: stretched again, the overlay that was over it goes.
    back->Draw(0, 0, back->GetWidth(), back->GetHeight(), frame, 0, 0, frame->GetWidth(), frame->GetHeight(), 0, 0);
    Present();
}

void CIntroVideo::Present()
{
    if (!m_viewport)
        return;
    if (m_overlay)
        m_overlay(m_viewport->Back());
    m_viewport->Flip();
}
