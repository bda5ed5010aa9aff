#include "setup/CKeyCapture.h"

#include "common/KeyCodes.h"
#include "gamedata/GameControls.h"

namespace {

// The Window keys' codes ("L Window", "R Window").
constexpr int kLeftWindow = 0xDB, kRightWindow = 0xDC;

} // namespace

bool CKeyCapture::IsModifier(int code)
{
    switch (code) {
    case dik::LSHIFT:
    case dik::RSHIFT:
    case dik::LCONTROL:
    case dik::RCONTROL:
    case dik::LMENU:
    case dik::RMENU:
    case kLeftWindow:
    case kRightWindow:
        return true;
    default:
        return false;
    }
}

CaptureStep CKeyCapture::Press(int code)
{
    if (IsModifier(code)) {
        m_heldModifier = code;
        return CaptureStep::Ignored;
    }
    m_heldModifier = 0;
    return Offer(code);
}

CaptureStep CKeyCapture::Release(int code)
{
    if (code <= 0 || code != m_heldModifier)
        return CaptureStep::Ignored;
    m_heldModifier = 0;
    return Offer(code);
}

CaptureStep CKeyCapture::Offer(int code)
{
    // The game keeps the pause and volume keys for itself: the capture
    // waits on for another key.
    if (code <= 0 || IsReservedKey(code))
        return CaptureStep::Ignored;
    if (m_current.Uses(code)) {
        m_sawKeyInUse = true;
        if (m_current[m_control] != code)
            return CaptureStep::InUse;
    }
    m_code = code;
    return CaptureStep::Captured;
}
