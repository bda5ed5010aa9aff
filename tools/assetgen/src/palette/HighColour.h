#pragma once
// What the game's high-colour mode shows of a colour. Its frames are 5-5-5:
// pictures and the ground's haze tables keep the top five bits of each
// channel, and the frames are widened back to eight bits by the image
// library. An 8-bit palette whose colours are already such widened values
// shows exactly what high colour shows, so every colour the generator puts
// into a palette is one of them.

#include <cstdint>

// The colour the high-colour display shows for 0x00RRGGBB (the top five
// bits of each channel, widened as the image library widens them).
uint32_t HighColourOf(uint32_t rgb);
// The displayable colour nearest to 0x00RRGGBB, channel by channel; it
// shows unchanged in high colour (HighColourOf gives it back).
uint32_t NearestHighColour(uint32_t rgb);
// One channel: the displayable value nearest to 0..255, and the widened
// value of a five-bit level 0..31.
uint8_t NearestHighColourChannel(int value);
uint8_t WidenedLevel(int level);
