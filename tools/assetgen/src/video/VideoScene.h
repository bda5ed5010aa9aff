#pragma once
// VideoScene: the intro's pictures, a low flight over the savannah towards
// the setting sun: sky, clouds and distant hills, a grass plain rushing
// past, acacias, a zebra herd, giraffes and elephants as silhouettes against
// the light, and the game's title fading in. Every frame is a function of its
// time alone, so the intro comes out the same on every run.

#include "paint/RgbaImage.h"
#include "video/VideoTitle.h"

#include <vector>

class VideoScene {
public:
    VideoScene(int width, int height);

    // Draws the frame at `seconds` from the start into `frame` (resized to
    // the scene's size).
    void Render(double seconds, RgbaImage& frame) const;
    bool HasTitle() const { return m_title.Width() > 0; }

private:
    struct Camera {
        double x, z, height, yaw;
    };
    enum class Kind { Acacia, Bush, Giraffe, Elephant, Zebra };
    struct Thing {
        Kind kind;
        double x, z;  // metres on the plain
        double size;  // trees: scale; animals: walking speed (m/s, signed)
        double phase; // animals: where in the stride they start
    };

    Camera CameraAt(double seconds) const;
    void BuildSky();
    void DrawSky(RgbaImage& frame, const Camera& camera) const;
    void DrawGround(RgbaImage& frame, const Camera& camera) const;
    void DrawThings(RgbaImage& frame, const Camera& camera, double seconds) const;
    void DrawTitle(RgbaImage& frame, double seconds) const;

    int m_width;
    int m_height;
    int m_horizon;      // screen row of the horizon
    double m_focal;     // pixels per unit of tangent
    // The sky, sun, clouds and far hills, drawn once as a panorama over the
    // view's directions (one column per 1/m_focal radian from m_skyStart).
    RgbaImage m_sky;
    double m_skyStart = 0;
    std::vector<Thing> m_things;
    VideoTitle m_title;
};
