#include "setup/CKeyCapture.h"

CaptureStep CKeyCapture::Offer(int code)
{
    if (code <= 0)
        return CaptureStep::Ignored;
    if (m_current.Uses(code)) {
        m_sawKeyInUse = true;
        if (m_current[m_control] != code)
            return CaptureStep::InUse;
    }
    m_code = code;
    return CaptureStep::Captured;
}
