#include "game/hunt/CWorldView.h"

#include "CGroundPlane.h"
#include "ShadeTables.h"
#include "game/hunt/CBinocularOverlay.h"
#include "game/hunt/CDepthList.h"
#include "game/hunt/CGunOverlay.h"
#include "game/hunt/HuntAidPictures.h"
#include "game/hunt/CSmokePuff.h"
#include "game/hunt/HuntMath.h"
#include "SpriteShading.h"
#include "gamedata/DataFiles.h"
#include "imaging/CDibPalette.h"
#include "imaging/CNearestColourMap.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"
#include "gamedata/ScreenTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kRadarX = 10, kRadarY = 10, kRadarSize = 100;
constexpr int kRadarDotLimit = 95;
constexpr int kMarkerX = 58, kMarkerY = 56;
constexpr double kRadarUnitsPerPixel = 0.005;
// Screen sizes beyond this are clamped: an object right under the hunter's
// nose would otherwise scale to absurd sizes (or infinity).
constexpr double kMaxScreenSize = 32767;
constexpr double kNearestDepth = 1;

int ClampToInt(double value, double limit)
{
    if (!(value > -limit)) // also catches NaN
        return int(-limit);
    return int(std::min(value, limit));
}

} // namespace

CWorldView::CWorldView() : m_ground(std::make_unique<CGroundPlane>()) {}

CWorldView::~CWorldView() = default;

DibResult CWorldView::Init(CDib* target, int x0, int y0, int width, int height, double fieldOfView, double scale)
{
    m_target = target;
    m_x0 = x0;
    m_y0 = y0;
    m_width = width;
    m_height = height;
    m_halfFov = fieldOfView / 2;
    m_focal = (width / 2) / std::tan(m_halfFov);
    m_scale = scale;
    m_flash = MakeDib<CDibSection>();
    m_radarImage = MakeDib<CDibSection>();
    m_markerSource = MakeDib<CDibSection>();
    m_dotSource = MakeDib<CDibSection>();
    m_marker = MakeDib<CDibSection>();
    m_dot = MakeDib<CDibSection>();
    m_quarryDot = MakeDib<CDibSection>();
    if (!target || !target->IsCreated())
        return DIB_NOT_CREATED;
    DibResult code = m_flash->Create(kBackBufferWidth, kBackBufferHeight, target->GetFormat());
    if (code == DIB_OK)
        code = m_radarImage->Create(kRadarSize, kRadarSize, target->GetFormat());
    // The radar's marks are part of the hunt: a missing one is a broken data
    // folder, reported like the other pictures.
    if (code == DIB_OK)
        code = LoadPicture(*m_markerSource, PictureSource::File(kRadarMarkPicture));
    if (code == DIB_OK)
        code = LoadPicture(*m_dotSource, PictureSource::File(kRadarDotPicture));
    return code;
}

int CWorldView::SetGround(CDib* image)
{
    ForgetShades();
    return m_ground->SetTexture(image);
}

void CWorldView::ForgetShades()
{
    m_ground->ForgetShades();
    m_spriteShades.clear();
    m_nearest.reset();
}

void CWorldView::FollowTargetPalette()
{
    const CDibPalette* palette = m_target->GetPalette();
    const uint32_t version = palette ? palette->GetVersion() : 0;
    if (palette == m_shadeTargetPalette && version == m_shadeTargetVersion)
        return;
    m_spriteShades.clear();
    m_nearest.reset();
    m_shadeTargetPalette = palette;
    m_shadeTargetVersion = version;
}

CNearestColourMap* CWorldView::NearestColours()
{
    CDibPalette* palette = m_target->GetPalette();
    if (!m_nearest && palette && palette->GetCount() > 0) {
        std::array<PaletteEntry, 256> entries{};
        const int count = std::min(palette->GetCount(), 256);
        if (palette->GetEntries(entries.data(), 0, count) == DIB_OK)
            m_nearest = std::make_unique<CNearestColourMap>(entries.data(), count);
    }
    return m_nearest.get();
}

void CWorldView::SetBackground(CDib* image)
{
    m_background = image && image->IsCreated() ? image : nullptr;
}

void CWorldView::SetFogColour(uint8_t red, uint8_t green, uint8_t blue)
{
    m_ground->SetFogColour(red, green, blue);
    ForgetShades();
}

void CWorldView::SetFogRange(double start, double end, double strength)
{
    if (m_ground->SetFogRange(start, end, strength))
        ForgetShades();
}

void CWorldView::SetFog(bool on)
{
    m_ground->SetFog(on);
    ForgetShades();
}

void CWorldView::DrawGround(const HunterPose& hunter)
{
    if (!m_target)
        return;
    m_ground->Draw(*m_target, {m_x0, m_y0, m_width, m_height, m_halfFov, m_focal, m_doubleWidth}, hunter);
}

void CWorldView::SetScene(const CDepthList* drawList, CSmokePuff* smoke, CGunOverlay* gun,
                          CBinocularOverlay* binoculars)
{
    m_drawList = drawList;
    m_smoke = smoke;
    m_gun = gun;
    m_binoculars = binoculars;
}

void CWorldView::SyncSurfaces()
{
    ForgetShades();
    if (!m_target || !m_target->IsCreated())
        return;
    const PixelFormat format = m_target->GetFormat();
    CDibPalette* palette = m_target->GetPalette();
    // An overlay that cannot be made in the new format is left out, not
    // drawn in the old one.
    if (m_flash->GetFormat() != format && m_flash->Create(kBackBufferWidth, kBackBufferHeight, format) != DIB_OK)
        m_flash->Destroy();
    if (m_radarImage->GetFormat() != format && m_radarImage->Create(kRadarSize, kRadarSize, format) != DIB_OK)
        m_radarImage->Destroy();
    uint32_t black = 0;
    if (format == PF_INDEX8 && palette) {
        m_flash->SetPalette(palette);
        m_radarImage->SetPalette(palette);
        black = uint32_t(std::max(palette->NearestIndex(0, 0, 0), 0));
    }
    m_flash->FillRect(0, 0, kBackBufferWidth, kBackBufferHeight, black);
    // The radar pictures are converted afresh from their loaded form each
    // time, so that palette after palette does not wear them down.
    for (auto [source, copy] : {std::pair{&m_markerSource, &m_marker}, std::pair{&m_dotSource, &m_dot}}) {
        (*copy)->Destroy();
        if ((*source)->IsCreated() && (*copy)->CopyFrom(source->Get()) == DIB_OK &&
            (*copy)->ConvertFormat(format, format == PF_INDEX8 ? palette : nullptr, 0) != DIB_OK)
            (*copy)->Destroy();
    }
    if (m_marker->IsCreated())
        m_marker->SetSourceKey(m_marker->GetPixel(0, 0));
    MakeQuarryDot(*m_dotSource, *m_target, *m_quarryDot);
}

void CWorldView::StartFlash()
{
    m_flashOn = true;
    m_flashFresh = true;
    m_flashLevel = 256;
}

void CWorldView::EndFlash()
{
    m_flashOn = false;
    m_flashFresh = false;
    m_flashLevel = 256;
}

RadarPoint CWorldView::RadarPosition(double viewAngle, double bearing, double distance)
{
    const double rel = WrapAngle(viewAngle - bearing - kPi / 2);
    return {ClampToInt(std::cos(rel) * distance * kRadarUnitsPerPixel + 50, 1e6),
            ClampToInt(std::sin(rel) * distance * kRadarUnitsPerPixel + 50, 1e6)};
}

void CWorldView::Project(CWorldObject& object, const HunterPose& hunter, bool shot) const
{
    const double bearing = BearingTo(hunter.x, hunter.y, object.x, object.y);
    const double rel = WrapSigned(hunter.angle - bearing);
    object.SetBearing(bearing);
    object.relAngle = rel;
    if (std::fabs(rel) >= kPi / 2)
        return;
    const double z = std::max(std::cos(rel) * object.distance, kNearestDepth);
    const double s = m_focal / z;
    const int k = ClampToInt(s * hunter.eyeHeight, kMaxScreenSize);
    const int xoff = ClampToInt(std::tan(rel) * m_width * 0.5, 1e6);
    CDib* strip = object.CurrentSprite();
    const int stripWidth = strip && strip->IsCreated() ? strip->GetWidth() : 0;
    const int drawW = object.frameHeight > 0
                          ? ClampToInt(stripWidth * object.size / object.frameHeight * s, kMaxScreenSize)
                          : 0;
    const int drawH = ClampToInt(s * object.size, kMaxScreenSize);
    object.screen.left = m_x0 + m_width / 2 - drawW / 2 + xoff;
    object.screen.top = m_y0 - drawH + hunter.horizon + k;
    object.screen.width = drawW;
    object.screen.height = drawH;
    if (shot)
        object.OnShotHeard(); // anything in view bolts at the sound of a shot
}

void CWorldView::Advance(double seconds)
{
    if (m_drawList)
        for (CWorldObject* object : m_drawList->Objects())
            if (std::fabs(object->relAngle) < kPi / 2) // behind the hunter: not advanced
                object->Step(seconds);
    if (m_smoke)
        m_smoke->Step();
    // The dissolve shows 256, 224, ... 32, 0 on nine ticks, then ends.
    if (m_flashOn) {
        if (m_flashFresh) {
            m_flashFresh = false;
        } else if (m_flashLevel > 0) {
            m_flashLevel -= 32;
        } else {
            m_flashLevel = 256;
            m_flashOn = false;
        }
    }
}

void CWorldView::Render(const HunterPose& hunter, bool overlays)
{
    if (!m_target || !m_target->IsCreated())
        return;
    DrawGround(hunter);
    DrawBackground(hunter);
    DrawObjects();
    if (overlays) {
        if (m_smoke)
            m_smoke->Draw();
        if (m_gun)
            m_gun->Draw();
        if (m_aids.aimReticle && m_gun && m_gun->IsRaised())
            DrawAimReticle(*m_target, m_aimX, m_aimY);
        if (m_binoculars)
            m_binoculars->Draw();
        DrawRadar();
        DrawFlash();
    }
}

void CWorldView::DrawBackground(const HunterPose& hunter)
{
    CDib* image = m_background;
    if (!image || !image->IsCreated())
        return;
    const int imageW = image->GetWidth(), imageH = image->GetHeight();
    const double t = WrapAngle(kTwoPi - hunter.angle - m_halfFov);
    int xs = int(imageW * t / kTwoPi);
    if (xs >= imageW)
        xs -= imageW;
    const int viewColumns = std::max(1, int(imageW * (2 * m_halfFov) / kTwoPi));
    const int top = m_y0 + hunter.horizon - 2 * imageH;
    const int firstColumns = std::min(viewColumns, imageW - xs);
    const int firstWidth = int(int64_t(m_width) * firstColumns / viewColumns);
    m_target->Draw(m_x0, top, firstWidth, 2 * imageH, image, xs, 0, firstColumns, imageH, 0, 0);
    if (firstColumns < viewColumns)
        m_target->Draw(m_x0 + firstWidth, top, m_width - firstWidth, 2 * imageH, image, 0, 0,
                       viewColumns - firstColumns, imageH, 0, 0);
}

void CWorldView::DrawObjects()
{
    if (!m_drawList)
        return;
    for (CWorldObject* object : m_drawList->Objects())
        if (std::fabs(object->relAngle) < kPi / 2) // behind the hunter: not drawn
            DrawObject(*object);
}

int CWorldView::RangeOpacity(const CWorldObject& object)
{
    if (object.drawnAtAnyRange)
        return 256;
    if (!(object.distance < kDrawnRange))
        return 0;
    const double share = (kDrawnRange - object.distance) / kFadeDepth;
    return share >= 1 ? 256 : int(share * 256);
}

const CWorldView::SpriteShade* CWorldView::SpriteColours(CDibPalette& palette, int level)
{
    const PixelFormat format = m_target->GetFormat();
    CDibPalette* targetPalette = m_target->GetPalette();
    if (format == PF_INDEX8 && (!targetPalette || targetPalette->GetCount() == 0))
        return nullptr;
    FollowTargetPalette();
    std::array<PaletteEntry, 256> entries{};
    const int count = std::min(palette.GetCount(), 256);
    if (count > 0 && palette.GetEntries(entries.data(), 0, count) != DIB_OK)
        return nullptr;
    SpriteShade& shade = m_spriteShades[{&palette, level}];
    const auto same = [](const PaletteEntry& a, const PaletteEntry& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    };
    if (shade.made && std::equal(entries.begin(), entries.end(), shade.entries.begin(), same))
        return &shade;
    shade.entries = entries;
    // Unhazed 8-bit colours are the keyed blit's own, so that a sprite
    // keeps its colours when it turns from one kind of drawing to the other.
    const void* plain = format == PF_INDEX8 && level == 0 ? palette.GetConversionTable(format, targetPalette) : nullptr;
    if (plain)
        std::memcpy(shade.indices.data(), plain, 256);
    CNearestColourMap* nearest = format == PF_INDEX8 ? NearestColours() : nullptr;
    if (format == PF_INDEX8 && !nearest)
        return nullptr;
    const FogSettings fog = m_ground->Fog();
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry hazed = ShadeTables::Hazed(entries[size_t(i)], fog, level);
        shade.colours[size_t(i) * 3] = hazed.red;
        shade.colours[size_t(i) * 3 + 1] = hazed.green;
        shade.colours[size_t(i) * 3 + 2] = hazed.blue;
        if (format == PF_INDEX8 && !plain)
            shade.indices[size_t(i)] = uint8_t(std::max(nearest->Nearest(hazed.red, hazed.green, hazed.blue), 0));
    }
    shade.made = true;
    return &shade;
}

void CWorldView::DrawObject(CWorldObject& object)
{
    const int opacity = RangeOpacity(object);
    if (opacity <= 0)
        return;
    const PixelFormat format = m_target->GetFormat();
    const bool indexed = format == PF_INDEX8;
    // The haze of the distance, between two levels in 8 bits (where one
    // level's nearest palette colours may differ from the next one's).
    const double position = indexed && !m_ground->FogOn() ? 0 : m_ground->FogPosition(object.distance);
    const int level = indexed ? int(position) : int(position + 0.5);
    const int nextShare = indexed && level < ShadeTables::kLevels - 1 ? int((position - level) * 64 + 0.5) : 0;
    const bool smooth = object.frameHeight > 0 && object.screen.height > kSmoothAbove * object.frameHeight;
    CDib* strip = object.CurrentSprite();
    const TrleSpriteView* view =
        strip && strip->GetKind() == DIB_KIND_TRLE ? &static_cast<CDibTrle*>(strip)->View() : nullptr;
    const bool shadable = view && view->dataArea && view->format == PF_INDEX8 && view->palette &&
                          (indexed || format == PF_RGB555 || format == PF_RGB565);
    // Near, whole and not enlarged much: the keyed blit draws it as it is,
    // and fastest.
    const SpriteShade* shade = nullptr;
    const SpriteShade* next = nullptr;
    if ((level == 0 && nextShare == 0 && opacity == 256 && !smooth) || !shadable ||
        !(shade = SpriteColours(*view->palette, level)) ||
        (nextShare > 0 && !(next = SpriteColours(*view->palette, level + 1)))) {
        object.Draw(*m_target);
        return;
    }
    std::array<PaletteEntry, 256> targetColours{};
    CNearestColourMap* nearest = nullptr;
    if (indexed) {
        CDibPalette* palette = m_target->GetPalette();
        nearest = NearestColours();
        if (!nearest || palette->GetEntries(targetColours.data(), 0, std::min(palette->GetCount(), 256)) != DIB_OK)
            return;
    }
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (m_target->Lock(&bits, &pitch) != DIB_OK || !bits)
        return;
    const int targetHeight = m_target->GetHeight();
    ShadedSprite call;
    call.sprite = view;
    call.frameTop = object.frameIndex * object.frameHeight;
    call.frameHeight = object.frameHeight;
    call.left = object.screen.left;
    call.top = object.screen.top;
    call.width = object.screen.width;
    call.height = object.screen.height;
    call.clipLeft = std::max(m_x0, 0);
    call.clipTop = std::max(m_y0, 0);
    call.clipRight = std::min(m_x0 + m_width, m_target->GetWidth());
    call.clipBottom = std::min(m_y0 + m_height, targetHeight);
    call.rows = m_target->IsBottomUp() ? bits + ptrdiff_t(targetHeight - 1) * pitch : bits;
    call.pitch = m_target->IsBottomUp() ? -ptrdiff_t(pitch) : pitch;
    call.pixels = indexed ? ShadedPixels::Index8 : format == PF_RGB555 ? ShadedPixels::Rgb555 : ShadedPixels::Rgb565;
    call.colours = shade->colours.data();
    call.indices = shade->indices.data();
    call.nextColours = next ? next->colours.data() : nullptr;
    call.nextIndices = next ? next->indices.data() : nullptr;
    call.nextShare = next ? nextShare : 0;
    call.nearest = nearest;
    call.targetColours = targetColours.data();
    call.opacity = opacity;
    call.smooth = smooth;
    DrawShadedSprite(call);
    m_target->Unlock();
}

void CWorldView::DrawRadar()
{
    uint32_t black = 0;
    if (m_target->GetFormat() == PF_INDEX8 && m_target->GetPalette())
        black = uint32_t(std::max(m_target->GetPalette()->NearestIndex(0, 0, 0), 0));
    if (m_radarImage->IsCreated()) {
        m_radarImage->FillRect(0, 0, kRadarSize, kRadarSize, black);
        m_target->Draw(kRadarX, kRadarY, kRadarSize, kRadarSize, m_radarImage.Get(), 0, 0, kRadarSize, kRadarSize,
                       BLIT_BLEND, 128);
    }
    if (m_dot->IsCreated())
        for (size_t i = 0; i < m_radar.size(); ++i) {
            const RadarPoint& point = m_radar[i];
            const bool quarry = m_aids.quarryOnRadar && m_radarQuarry[i] && m_quarryDot->IsCreated();
            CDib* dot = quarry ? m_quarryDot.Get() : m_dot.Get();
            if (point.x >= 0 && point.x < kRadarDotLimit && point.y >= 0 && point.y < kRadarDotLimit)
                m_target->Draw(point.x + kRadarX, point.y + kRadarY, dot->GetWidth(), dot->GetHeight(), dot, 0, 0,
                               dot->GetWidth(), dot->GetHeight(), 0, 0);
        }
    if (m_marker->IsCreated())
        m_target->Draw(kMarkerX, kMarkerY, m_marker->GetWidth(), m_marker->GetHeight(), m_marker.Get(), 0, 0,
                       m_marker->GetWidth(), m_marker->GetHeight(), BLIT_SRCKEY, 0);
}

void CWorldView::DrawFlash()
{
    if (m_flashOn && m_flash->IsCreated())
        m_target->Draw(m_x0, m_y0, m_width, m_height, m_flash.Get(), 0, 0, m_width, m_height, BLIT_STIPPLE,
                       BlitExtra(m_flashLevel));
}
