#pragma once
// What the player sees, for weighting the 8-bit palettes: how long each
// picture is on screen and over how much of it. Weights are in screen
// pixels per frame, averaged over the time a context (the menus, or a hunt
// in one scenario) is shown; the whole screen is 640 × 480.

#include <vector>

struct RecordedPicture;

// Per picture, the weight of each of its opaque pixels (0 for pictures whose
// colours come in some other way: the ground, the palettes themselves).
std::vector<double> PixelWeights(const std::vector<RecordedPicture>& pictures);

// Screen pixels per frame at each haze level 0..32 of the hunt's ground, as
// the renderer draws it: rows below the horizon at distance K / i, hazed
// from 1500 to 8000 units, on foot most of the time and sometimes driving
// (a higher eye).
std::vector<double> GroundPixelsByHazeLevel();

// The weight of a panorama pixel in row `row` of `height`: the game shows a
// quarter of its width at a time, at twice its height with the bottom on the
// horizon, so its lower half fills the sky and its upper half shows only
// while the view is tilted up.
double PanoramaPixelWeight(int row, int height);

// The haze of the hunt: level L of 0..32 moves a colour by L × 0.35 / 32 of
// the way to light grey, as the renderer's shade tables do.
constexpr int kHazeLevels = 33;
constexpr double kHazeStrength = 0.35;
constexpr int kHazeGrey = 224;
