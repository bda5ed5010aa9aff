// The ground plane of the world view: per screen row one distance, one fog
// level and one walk across the texture (GroundKernels.h).

#include "GroundKernels.h"
#include "ShadeTables.h"
#include "game/hunt/CWorldView.h"
#include "game/hunt/HuntMath.h"
#include "imaging/CDib.h"
#include "imaging/CDibContext.h"
#include "imaging/CDibPalette.h"

#include <cmath>
#include <cstring>

double CWorldView::FogPosition(double r) const
{
    if (!(r > m_fogStart))
        return 0;
    if (r > m_fogEnd || m_fogEnd <= m_fogStart)
        return 32;
    return (r - m_fogStart) / ((m_fogEnd - m_fogStart) / 32);
}

int CWorldView::FogLevel(double r) const
{
    if (r < m_fogStart)
        return 0;
    if (r > m_fogEnd || m_fogEnd <= m_fogStart)
        return 32;
    return int((r - m_fogStart) / ((m_fogEnd - m_fogStart) / 32) + 0.5);
}

void CWorldView::FollowTargetPalette()
{
    const CDibPalette* palette = m_target->GetPalette();
    const uint32_t version = palette ? palette->GetVersion() : 0;
    if (palette == m_shadeTargetPalette && version == m_shadeTargetVersion)
        return;
    ForgetShades();
    m_shadeTargetPalette = palette;
    m_shadeTargetVersion = version;
}

bool CWorldView::EnsureShadeTables()
{
    FollowTargetPalette();
    if (m_shades->IsBuilt())
        return true;
    CDibPalette* palette = m_target->GetPalette();
    for (auto& level : m_shadedTexels)
        std::vector<uint8_t>().swap(level);
    FogSettings fog{m_fogRed, m_fogGreen, m_fogBlue, m_fogStrength};
    return m_shades->Build(m_groundColours, m_target->GetFormat(), palette, fog);
}

const void* CWorldView::ShadedTexture(int level)
{
    std::vector<uint8_t>& shaded = m_shadedTexels[size_t(level)];
    if (shaded.empty()) {
        const int bytes = m_shades->EntryBytes();
        const auto* shade = static_cast<const uint8_t*>(m_shades->Level(level));
        shaded.assign(256 * 256 * size_t(bytes) + 16, 0);
        for (size_t i = 0; i < 256 * 256; ++i)
            std::memcpy(&shaded[i * size_t(bytes)], shade + size_t(m_texels[i]) * size_t(bytes), size_t(bytes));
    }
    return shaded.data();
}

void CWorldView::DrawGround(const HunterPose& hunter)
{
    if (!m_target || !m_ground || m_texels.empty())
        return;
    const PixelFormat format = m_target->GetFormat();
    const bool indexed = format == PF_INDEX8;
    if (!indexed && format != PF_RGB555 && format != PF_RGB565)
        return;
    const bool shaded = !indexed || m_fogOn;
    if (shaded && !EnsureShadeTables())
        return;
    const int rows = m_height - hunter.horizon;
    if (rows <= 0)
        return;

    uint8_t* bits = nullptr;
    int pitch = 0;
    if (m_target->Lock(&bits, &pitch) != DIB_OK || !bits)
        return;
    const int bytesPerPixel = indexed ? 1 : 2;
    const int samples = m_doubleWidth ? m_width / 2 : m_width;
    const GroundRowKernel kernel =
        ChooseGroundKernel(indexed ? GroundPixels::Index8 : GroundPixels::Rgb16, m_doubleWidth, DibUseSimd());
    const double angleLeft = WrapAngle(hunter.angle + m_halfFov), angleRight = WrapAngle(hunter.angle - m_halfFov);
    const double cosL = std::cos(angleLeft), sinL = std::sin(angleLeft);
    const double cosR = std::cos(angleRight), sinR = std::sin(angleRight);
    const double reach = hunter.eyeHeight * m_focal / std::cos(m_halfFov);
    const int targetHeight = m_target->GetHeight();
    const bool bottomUp = m_target->IsBottomUp();

    GroundRow row{};
    row.samples = samples;
    for (int i = 1; i <= rows; ++i) {
        const int screenRow = m_y0 + hunter.horizon + i - 1;
        if (screenRow < 0 || screenRow >= targetHeight || screenRow < m_y0)
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
        row.target = bits + ptrdiff_t(line) * pitch + ptrdiff_t(m_x0) * bytesPerPixel;
        kernel(row);
    }
    m_target->Unlock();
}
