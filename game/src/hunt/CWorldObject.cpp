#include "game/hunt/CWorldObject.h"

#include "game/hunt/HuntContext.h"
#include "imaging/CDib.h"
#include "media/CSoundDevice.h"

void CWorldObject::Draw(CDib& target)
{
    CDib* strip = CurrentSprite();
    if (!strip || !strip->IsCreated() || frameHeight <= 0 || screen.width <= 0 || screen.height <= 0)
        return;
    target.Draw(screen.left, screen.top, screen.width, screen.height, strip, 0, frameIndex * frameHeight,
                strip->GetWidth(), frameHeight, BLIT_SRCKEY, 0);
}

void PlayUnlessPlaying(CSoundDevice& sound, SoundEntry* voice, bool loop)
{
    if (voice && !sound.IsPlaying(voice))
        sound.Play(voice, 0, SOUND_NO_CHANGE, SOUND_NO_CHANGE, SOUND_NO_CHANGE, loop);
}
