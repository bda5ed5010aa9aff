#pragma once
// How the hunt's objects sound their voices.

class CSoundDevice;
struct SoundEntry;

// Plays a voice from its start unless it is playing already; pan, volume and
// frequency stay as they are. Null voices are silent.
void PlayUnlessPlaying(CSoundDevice& sound, SoundEntry* voice, bool loop);
