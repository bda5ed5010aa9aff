#pragma once
// CWorldView: draws the hunt in first person into the back buffer: the
// ground plane in perspective with distance haze, the panorama above the
// horizon, the trees, animals and jeep as scaled sprites from the farthest to
// the nearest, then the overlays (smoke, gun, binoculars, radar and the
// dissolve from black). The hunt step fills the draw list and projects every
// object through Project, then Advance moves every animation on by one tick;
// Render draws what that left, as often as the display asks, and changes
// nothing.

#include "game/hunt/CWorldObject.h"
#include "game/hunt/GroundResult.h"
#include "game/hunt/HunterPose.h"
#include "gamedata/GameConfig.h"
#include "gamedata/HuntTables.h"
#include "imaging/DibRef.h"
#include "imaging/DibResult.h"
#include "imaging/PaletteEntry.h"
#include "gamedata/ScreenTables.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class CBinocularOverlay;
class CDepthList;
class CDibPalette;
class CGroundPlane;
class CGunOverlay;
class CNearestColourMap;
class CSmokePuff;

struct RadarPoint {
    int x = 50, y = 50;
};

class CWorldView {
public:
    // Trees and animals are drawn up to this distance (the cells the hunt
    // visits reach at least as far in every direction in view), fading in
    // over the last kFadeDepth units so that none appears at once.
    static constexpr double kDrawnRange = 3000;
    static constexpr double kFadeDepth = 750;
    // Sprites drawn more than this many times their size are filtered.
    static constexpr double kSmoothAbove = 2;

    CWorldView();
    ~CWorldView();
    CWorldView(const CWorldView&) = delete;
    CWorldView& operator=(const CWorldView&) = delete;

    // Makes the flash and radar images in the target's format, loads the two
    // radar pictures ("menu\pt1.bmp", "menu\pt2.bmp") and keeps the view
    // rectangle and the projection. `scale` is kept but not used.
    [[nodiscard]] DibResult Init(CDib* target, int x0, int y0, int width, int height, double fieldOfView, double scale);
    int SetGround(CDib* image); // a GroundResult
    void SetBackground(CDib* image);
    void SetFogColour(uint8_t red, uint8_t green, uint8_t blue);
    void SetFogRange(double start, double end, double strength);
    void SetFog(bool on);
    void SetDoubleWidth(bool on) { m_doubleWidth = on; }
    // Brings the flash and radar images and the radar pictures in line with
    // the target's format and palette (after the palette changed).
    void SyncSurfaces();
    // What Render draws besides the ground and the panorama; none is owned.
    void SetScene(const CDepthList* drawList, CSmokePuff* smoke, CGunOverlay* gun, CBinocularOverlay* binoculars);

    // One object's screen rectangle, its strip for the bearing and its angle
    // to the view; objects in front hear a shot fired this tick.
    void Project(CWorldObject& object, const HunterPose& hunter, bool shot) const;
    // One tick of what is in view: every object in front of the hunter
    // steps (`seconds` of motion), the smoke fades and the dissolve moves on.
    void Advance(double seconds);
    // Draws one picture; the overlays too when asked.
    void Render(const HunterPose& hunter, bool overlays);
    void StartFlash();
    void EndFlash();

    // The radar place of an animal at `distance` and `bearing` from a hunter
    // looking along `viewAngle`: one radar pixel is 200 units, the view
    // points up.
    static RadarPoint RadarPosition(double viewAngle, double bearing, double distance);
    void SetRadar(int animal, RadarPoint point) { m_radar[size_t(animal)] = point; }
    RadarPoint Radar(int animal) const { return m_radar[size_t(animal)]; }

    // The aids the player turned on; with none the picture is the original's.
    void SetAids(const HuntAids& aids) { m_aids = aids; }
    // Whether an animal is of the quarry's kind (the radar aid's colour).
    void SetRadarQuarry(int animal, bool quarry) { m_radarQuarry[size_t(animal)] = quarry; }
    // Where the weapon's shot goes on the screen (the reticle aid's place).
    void SetAimPoint(int x, int y)
    {
        m_aimX = x;
        m_aimY = y;
    }

    // How much of an object shows at its distance: 256 (all) inside the
    // drawn range's fade, down to 0 at its end.
    static int RangeOpacity(const CWorldObject& object);

    bool FlashOn() const { return m_flashOn; }
    int FlashLevel() const { return m_flashLevel; }
    double FocalLength() const { return m_focal; }

    // The ground and the panorama alone (Render's first two steps).
    void DrawGround(const HunterPose& hunter);
    void DrawBackground(const HunterPose& hunter);

private:
    void DrawObjects();
    void DrawObject(CWorldObject& object);
    // Hazed sprite colours by sprite palette and level, recognised by the
    // palette's contents: RGB, and for an 8-bit target its indices.
    struct SpriteShade {
        bool made = false;
        std::array<PaletteEntry, 256> entries;
        std::array<uint8_t, 256 * 3> colours;
        std::array<uint8_t, 256> indices;
    };
    // The colours of a sprite palette hazed to a fog level; null when the
    // target cannot have them.
    const SpriteShade* SpriteColours(CDibPalette& palette, int level);
    void DrawRadar();
    void DrawFlash();
    // Drops the ground's shade tables and the hazed sprite colours (the fog,
    // the target or its palette changed).
    void ForgetShades();
    // Forgets the hazed sprite colours when the target's palette is not the
    // one they were made for.
    void FollowTargetPalette();

    int m_x0 = 0, m_y0 = 0, m_width = kBackBufferWidth, m_height = kBackBufferHeight;
    double m_halfFov = 0.7853981633974483;
    double m_focal = 320;
    double m_scale = 1;
    CDib* m_target = nullptr;
    DibRef<CDib> m_flash, m_radarImage;
    DibRef<CDib> m_markerSource, m_dotSource; // as loaded
    DibRef<CDib> m_marker, m_dot;             // in the target's format
    CDib* m_background = nullptr;
    std::unique_ptr<CGroundPlane> m_ground;
    std::array<RadarPoint, ANIMAL_COUNT> m_radar{};

    // What the hazed sprite colours were made for.
    const CDibPalette* m_shadeTargetPalette = nullptr;
    uint32_t m_shadeTargetVersion = 0;
    bool m_doubleWidth = false;
    // Emptied with the shade tables.
    std::map<std::pair<const CDibPalette*, int>, SpriteShade> m_spriteShades;
    // The target palette's nearest colours for hazed, mixed and filtered
    // sprite pixels in 8 bits; made on first need, dropped with the shades.
    std::unique_ptr<CNearestColourMap> m_nearest;
    CNearestColourMap* NearestColours();

    int m_flashLevel = 256;
    bool m_flashOn = false;
    // Just started: the first tick shows the full level before it falls.
    bool m_flashFresh = false;

    const CDepthList* m_drawList = nullptr;
    CSmokePuff* m_smoke = nullptr;
    CGunOverlay* m_gun = nullptr;
    CBinocularOverlay* m_binoculars = nullptr;

    HuntAids m_aids;
    std::array<bool, ANIMAL_COUNT> m_radarQuarry{};
    DibRef<CDib> m_quarryDot; // the radar dot in the quarry's colour, in the target's format
    int m_aimX = 0, m_aimY = 0;
};
