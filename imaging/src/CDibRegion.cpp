#include "imaging/CDibRegion.h"

#include "imaging/DibAssert.h"

void CDibRegion::Release()
{
    DIB_ASSERT(m_refCount > 0, "a clip region is released no more often than it is referenced");
    if (--m_refCount < 1)
        delete this;
}

DibResult CDibRegion::GetBounds(DibRect* bounds) const
{
    if (!m_hasRect)
        return DIB_UNSUPPORTED;
    if (bounds)
        *bounds = {m_data.left, m_data.top, m_data.right - m_data.left, m_data.bottom - m_data.top};
    return DIB_OK;
}

DibResult CDibRegion::SetRect(const DibRect& rect)
{
    m_data.left = m_data.boundsLeft = rect.x;
    m_data.top = m_data.boundsTop = rect.y;
    m_data.right = m_data.boundsRight = rect.x + rect.w;
    m_data.bottom = m_data.boundsBottom = rect.y + rect.h;
    m_hasRect = true;
    return DIB_OK;
}

DibResult CDibRegion::CopyFrom(const CDibRegion* other)
{
    DibRect rect;
    if (!other || other->GetBounds(&rect) != DIB_OK)
        return DIB_FAILED;
    return SetRect(rect);
}

CDibRegion* CDibRegion::Clone() const
{
    CDibRegion* copy = new CDibRegion;
    copy->CopyFrom(this);
    copy->m_userValue = m_userValue;
    return copy;
}
