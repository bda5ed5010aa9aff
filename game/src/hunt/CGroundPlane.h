#pragma once
// CGroundPlane: the hunt's ground in perspective with distance haze. It keeps
// the ground texture's texels and colours, the fog (which the sprites take
// too, so that a tree stands in the same haze as the ground at its foot) and
// the texels shaded for each fog level in use, made on first need and
// dropped when the fog, the texture or the target's palette changes.

#include "ShadeTables.h"
#include "game/hunt/GroundResult.h"
#include "game/hunt/HunterPose.h"
#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>
#include <vector>

class CDib;
class CDibPalette;

// Where the ground is drawn: the view's rectangle of the target and its
// projection.
struct GroundView {
    int x0 = 0, y0 = 0, width = 0, height = 0;
    double halfFov = 0, focal = 0;
    bool doubleWidth = false; // each texel sample fills two pixels
};

class CGroundPlane {
public:
    // Takes the texture's texels and colours; the image is not kept.
    GroundResult SetTexture(CDib* image);

    void SetFogColour(uint8_t red, uint8_t green, uint8_t blue);
    // True when the haze's colours changed with it (only the strength
    // changes them; the range moves where each level lies).
    bool SetFogRange(double start, double end, double strength);
    void SetFog(bool on);
    bool FogOn() const { return m_fogOn; }
    FogSettings Fog() const { return {m_fogRed, m_fogGreen, m_fogBlue, m_fogStrength}; }
    // The fog level at distance r unrounded: 0 up to the fog's start, 32 past
    // its end.
    double FogPosition(double r) const;
    int FogLevel(double r) const;

    // Drops the shade tables (the fog or the target changed).
    void ForgetShades() { m_shades.Clear(); }
    void Draw(CDib& target, const GroundView& view, const HunterPose& hunter);

private:
    // Forgets the shades when the target's palette is not the one they were
    // made for.
    void FollowTargetPalette(const CDib& target);
    bool EnsureShadeTables(CDib& target);
    // The texels as pixels of a fog level, made on first use.
    const void* ShadedTexture(int level);

    // 256 rows of 256 texels, with spare bytes for the vector kernels' wide
    // reads; empty without a texture.
    std::vector<uint8_t> m_texels;
    std::vector<PaletteEntry> m_colours;
    // The texels through each level's shade table (empty until needed).
    std::array<std::vector<uint8_t>, ShadeTables::kLevels> m_shadedTexels;
    ShadeTables m_shades;
    // What the shade tables were built for.
    const CDibPalette* m_shadeTargetPalette = nullptr;
    uint32_t m_shadeTargetVersion = 0;

    bool m_fogOn = false;
    uint8_t m_fogRed = 0, m_fogGreen = 0, m_fogBlue = 0;
    double m_fogStart = 100000, m_fogEnd = 100000, m_fogStrength = 0;
};
