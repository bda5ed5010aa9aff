#pragma once
// The three hunting grounds' scenery: the panorama around the horizon and
// the tileable ground texture. The menus use the same painters for their
// backgrounds and the scenario previews.

#include "paint/RgbaImage.h"

#include <cstdint>

enum class Scenario { Desert, Plains, Grass };

// Panorama size on disk. The game shows a quarter of its width across the
// 640-pixel view (90 degrees of 360) and draws it at twice its height with
// its bottom on the horizon, so 240 rows fill the sky even with the view
// tilted up to the highest horizon row.
constexpr int kPanoramaWidth = 2560;
constexpr int kPanoramaHeight = 240;
// Ground textures repeat every 256 world units, one texel per unit.
constexpr int kGroundSize = 256;

// The panorama as the game draws it: `width` × `height` pixels whose right
// edge continues into the left one. `logicalHeight` is the height it is
// painted at before the rows are averaged down to `height` (twice the height
// for the game's stretched drawing; equal for a picture shown as it is).
RgbaImage PaintPanorama(Scenario scenario, int width, int height, int logicalHeight);
// A tileable, fully opaque ground texture of kGroundSize × kGroundSize.
RgbaImage PaintGround(Scenario scenario);
// The colour the far ground fades to (the hunt's grey haze over the average
// ground colour), where the panorama meets it.
uint32_t HorizonHaze(Scenario scenario);
// A view of the ground in perspective under the panorama (menu previews):
// a `width` × `height` picture whose horizon lies at `horizon`.
RgbaImage PaintLandscapeView(Scenario scenario, int width, int height, int horizon, int panoramaOffset);
