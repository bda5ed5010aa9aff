#include "display/CViewport.h"

void CViewport::ReleaseImages()
{
    if (m_front)
        m_front->Release();
    if (m_back)
        m_back->Release();
    m_front = nullptr;
    m_back = nullptr;
}
