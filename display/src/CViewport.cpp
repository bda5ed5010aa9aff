#include "display/CViewport.h"

void CViewport::ReleaseImages()
{
    m_front.Reset();
    m_back.Reset();
}
