#pragma once
// Writes any image of 8 bits and more as a 24-bit PNG file (whole or not at
// all), for frame dumps, demos and contact sheets that people look at.

#include "imaging/CDib.h"

#include <cstdint>
#include <string>
#include <vector>

// True when the file was written.
bool WriteImagePng(CDib* image, const std::string& path);
// Rows of 0x00RRGGBB values, top row first.
bool WriteRgbPng(const uint32_t* pixels, int width, int height, const std::string& path);
// Rows of straight (not premultiplied) R, G, B, A bytes, top row first, as an
// RGBA PNG.
bool WriteRgbaPng(const uint8_t* rgba, int width, int height, const std::string& path);
// The image as 0x00RRGGBB values, top row first; empty when it cannot be read.
std::vector<uint32_t> ImageToRgb(CDib* image);
