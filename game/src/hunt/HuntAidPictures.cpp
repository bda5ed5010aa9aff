#include "game/hunt/HuntAidPictures.h"

#include "game/NearestPixel.h"
#include "imaging/CDib.h"
#include "imaging/CDibPalette.h"
#include "imaging/PaletteEntry.h"

#include <algorithm>
#include <array>

bool MakeQuarryDot(CDib& dotSource, CDib& target, CDib& quarryDot)
{
    quarryDot.Destroy();
    CDibPalette* colours = dotSource.GetPalette();
    if (!dotSource.IsCreated() || !target.IsCreated() || !colours || !PixelFormatIsIndexed(dotSource.GetFormat()))
        return false;
    std::array<PaletteEntry, 256> entries{};
    const int count = std::min(colours->GetCount(), 256);
    if (count <= 0 || colours->GetEntries(entries.data(), 0, count) != DIB_OK)
        return false;
    const PixelFormat format = target.GetFormat();
    if (quarryDot.Create(dotSource.GetWidth(), dotSource.GetHeight(), format) != DIB_OK)
        return false;
    // In 8 bits the dot's indices are the target's, drawn as they are.
    if (PixelFormatIsIndexed(format) && target.GetPalette() && quarryDot.SetPalette(target.GetPalette()) != DIB_OK) {
        quarryDot.Destroy();
        return false;
    }
    for (int y = 0; y < dotSource.GetHeight(); ++y)
        for (int x = 0; x < dotSource.GetWidth(); ++x) {
            const PaletteEntry& was = entries[dotSource.GetPixel(x, y) & 0xFF];
            const AidColour now = QuarryColourOf(was.red, was.green, was.blue);
            quarryDot.SetPixel(x, y, NearestPixel(target, now.red, now.green, now.blue));
        }
    return true;
}

void DrawAimReticle(CDib& target, int x, int y)
{
    constexpr int kGap = AimReticle::kGap, kArm = AimReticle::kArm;
    constexpr AidColour kLight = AimReticle::kLight, kDark = AimReticle::kDark;
    const uint32_t light = NearestPixel(target, kLight.red, kLight.green, kLight.blue);
    const uint32_t dark = NearestPixel(target, kDark.red, kDark.green, kDark.blue);
    // The dark edges first: around the centre and around each arm.
    target.FillRect(x - 1, y - 1, 3, 3, dark);
    target.FillRect(x - kGap - kArm - 1, y - 1, kArm + 2, 3, dark);
    target.FillRect(x + kGap, y - 1, kArm + 2, 3, dark);
    target.FillRect(x - 1, y - kGap - kArm - 1, 3, kArm + 2, dark);
    target.FillRect(x - 1, y + kGap, 3, kArm + 2, dark);
    target.FillRect(x, y, 1, 1, light);
    target.FillRect(x - kGap - kArm, y, kArm, 1, light);
    target.FillRect(x + kGap + 1, y, kArm, 1, light);
    target.FillRect(x, y - kGap - kArm, 1, kArm, light);
    target.FillRect(x, y + kGap + 1, 1, kArm, light);
}
