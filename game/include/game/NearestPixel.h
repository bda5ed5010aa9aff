#pragma once
// The pixel value nearest to a colour in a picture's format, for what the
// game draws over its pictures in plain colours (the volume sign, the hunt's
// aids): the palette entry nearest to it in 8 bits, the packed colour in
// high colour.

#include <cstdint>

class CDib;

uint32_t NearestPixel(CDib& target, uint8_t red, uint8_t green, uint8_t blue);
