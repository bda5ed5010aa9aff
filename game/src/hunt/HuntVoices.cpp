#include "game/hunt/HuntVoices.h"

#include "media/CSoundDevice.h"

void PlayUnlessPlaying(CSoundDevice& sound, SoundEntry* voice, bool loop)
{
    if (voice && !sound.IsPlaying(voice))
        sound.Play(voice, 0, SOUND_NO_CHANGE, SOUND_NO_CHANGE, SOUND_NO_CHANGE, loop);
}
