#include "game/hunt/CWorldObject.h"

#include "imaging/CDib.h"

void CWorldObject::Draw(CDib& target)
{
    CDib* strip = CurrentSprite();
    if (!strip || !strip->IsCreated() || frameHeight <= 0 || screen.width <= 0 || screen.height <= 0)
        return;
    target.Draw(screen.left, screen.top, screen.width, screen.height, strip, 0, frameIndex * frameHeight,
                strip->GetWidth(), frameHeight, BLIT_SRCKEY, 0);
}
