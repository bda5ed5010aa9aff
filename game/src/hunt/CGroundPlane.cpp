// Per screen row one distance, one fog level and one walk across the texture
// (GroundKernels.h).

#include "CGroundPlane.h"

#include "GroundKernels.h"
#include "game/hunt/HuntMath.h"
#include "imaging/CDib.h"
#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"

#include <algorithm>
#include <cmath>
#include <cstring>

GroundResult CGroundPlane::SetTexture(CDib* image)
{
    m_texels.clear();
    m_colours.clear();
    ForgetShades();
    for (auto& level : m_shadedTexels)
        std::vector<uint8_t>().swap(level);
    if (!image || !image->IsCreated())
        return GROUND_MISSING;
    CDibPalette* palette = image->GetPalette();
    if (image->GetFormat() != PF_INDEX8 || image->GetWidth() != 256 || image->GetHeight() != 256 || !palette)
        return GROUND_NOT_A_TEXTURE;
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (image->Lock(&bits, &pitch) != DIB_OK || !bits)
        return GROUND_NOT_A_TEXTURE;
    // Kept as plain rows top-down, with spare bytes: the vector kernels read
    // four bytes at every texel.
    m_texels.assign(256 * 256 + 16, 0);
    const bool bottomUp = image->IsBottomUp();
    for (int row = 0; row < 256; ++row)
        std::copy_n(bits + ptrdiff_t(row) * pitch, 256, m_texels.begin() + (bottomUp ? 255 - row : row) * 256);
    image->Unlock();
    m_colours.assign(size_t(palette->GetCount()), PaletteEntry{});
    palette->GetEntries(m_colours.data(), 0, palette->GetCount());
    return GROUND_OK;
}

void CGroundPlane::SetFogColour(uint8_t red, uint8_t green, uint8_t blue)
{
    m_fogRed = red;
    m_fogGreen = green;
    m_fogBlue = blue;
    ForgetShades();
}

bool CGroundPlane::SetFogRange(double start, double end, double strength)
{
    m_fogStart = start;
    m_fogEnd = end;
    const bool recoloured = strength != m_fogStrength;
    if (recoloured)
        ForgetShades();
    m_fogStrength = strength;
    return recoloured;
}

void CGroundPlane::SetFog(bool on)
{
    m_fogOn = on;
    ForgetShades();
}

double CGroundPlane::FogPosition(double r) const
{
    if (!(r > m_fogStart))
        return 0;
    if (r > m_fogEnd || m_fogEnd <= m_fogStart)
        return 32;
    return (r - m_fogStart) / ((m_fogEnd - m_fogStart) / 32);
}

int CGroundPlane::FogLevel(double r) const
{
    if (r < m_fogStart)
        return 0;
    if (r > m_fogEnd || m_fogEnd <= m_fogStart)
        return 32;
    return int((r - m_fogStart) / ((m_fogEnd - m_fogStart) / 32) + 0.5);
}

void CGroundPlane::FollowTargetPalette(const CDib& target)
{
    const CDibPalette* palette = target.GetPalette();
    const uint32_t version = palette ? palette->GetVersion() : 0;
    if (palette == m_shadeTargetPalette && version == m_shadeTargetVersion)
        return;
    ForgetShades();
    m_shadeTargetPalette = palette;
    m_shadeTargetVersion = version;
}

bool CGroundPlane::EnsureShadeTables(CDib& target)
{
    FollowTargetPalette(target);
    if (m_shades.IsBuilt())
        return true;
    for (auto& level : m_shadedTexels)
        std::vector<uint8_t>().swap(level);
    return m_shades.Build(m_colours, target.GetFormat(), target.GetPalette(), Fog());
}

const void* CGroundPlane::ShadedTexture(int level)
{
    std::vector<uint8_t>& shaded = m_shadedTexels[size_t(level)];
    if (shaded.empty()) {
        const int bytes = m_shades.EntryBytes();
        const auto* shade = static_cast<const uint8_t*>(m_shades.Level(level));
        shaded.assign(256 * 256 * size_t(bytes) + 16, 0);
        for (size_t i = 0; i < 256 * 256; ++i)
            std::memcpy(&shaded[i * size_t(bytes)], shade + size_t(m_texels[i]) * size_t(bytes), size_t(bytes));
    }
    return shaded.data();
}

void CGroundPlane::Draw(CDib& target, const GroundView& view, const HunterPose& hunter)
{
    if (m_texels.empty())
        return;
    const PixelFormat format = target.GetFormat();
    const bool indexed = format == PF_INDEX8;
    if (!indexed && format != PF_RGB555 && format != PF_RGB565)
        return;
    const bool shaded = !indexed || m_fogOn;
    if (shaded && !EnsureShadeTables(target))
        return;
    const int rows = view.height - hunter.horizon;
    if (rows <= 0)
        return;

    uint8_t* bits = nullptr;
    int pitch = 0;
    if (target.Lock(&bits, &pitch) != DIB_OK || !bits)
        return;
    const int bytesPerPixel = indexed ? 1 : 2;
    const int samples = view.doubleWidth ? view.width / 2 : view.width;
    const GroundRowKernel kernel =
        ChooseGroundKernel(indexed ? GroundPixels::Index8 : GroundPixels::Rgb16, view.doubleWidth, DibUseSimd());
    const double angleLeft = WrapAngle(hunter.angle + view.halfFov), angleRight = WrapAngle(hunter.angle - view.halfFov);
    const double cosL = std::cos(angleLeft), sinL = std::sin(angleLeft);
    const double cosR = std::cos(angleRight), sinR = std::sin(angleRight);
    const double reach = hunter.eyeHeight * view.focal / std::cos(view.halfFov);
    const int targetHeight = target.GetHeight();
    const bool bottomUp = target.IsBottomUp();

    GroundRow row{};
    row.samples = samples;
    for (int i = 1; i <= rows; ++i) {
        const int screenRow = view.y0 + hunter.horizon + i - 1;
        if (screenRow < 0 || screenRow >= targetHeight || screenRow < view.y0)
            continue;
        const double r = reach / i;
        const int32_t uL = int32_t(hunter.x + r * cosL), vL = int32_t(hunter.y + r * sinL);
        const int32_t uR = int32_t(hunter.x + r * cosR), vR = int32_t(hunter.y + r * sinR);
        row.uLeft = uL;
        row.vLeft = vL;
        row.uSpan = uR - uL;
        row.vSpan = vR - vL;
        row.texture = shaded ? ShadedTexture(FogLevel(r)) : m_texels.data();
        const int line = bottomUp ? targetHeight - 1 - screenRow : screenRow;
        row.target = bits + ptrdiff_t(line) * pitch + ptrdiff_t(view.x0) * bytesPerPixel;
        kernel(row);
    }
    target.Unlock();
}
