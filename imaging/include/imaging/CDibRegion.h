#pragma once
// CDibRegion: a rectangular clip region, shared by reference count. The
// rectangle is kept in the region-data layout (header, bounds, one rectangle)
// that the display clipper reads.

#include "imaging/DibResult.h"

#include <cstdint>

struct DibRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Region data: a 32-byte header (size 32, type 1 = rectangles, count 1,
// buffer size 0), then the bounds and the rectangle as left, top, right, bottom.
struct RegionData {
    uint32_t size = 32;
    uint32_t type = 1;
    uint32_t count = 1;
    uint32_t bufferSize = 0;
    int32_t boundsLeft = 0, boundsTop = 0, boundsRight = 0, boundsBottom = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class CDibRegion {
public:
    CDibRegion() = default;
    CDibRegion(const CDibRegion&) = delete;
    CDibRegion& operator=(const CDibRegion&) = delete;
    virtual ~CDibRegion() = default;

    // DIB_UNSUPPORTED when no rectangle was set, else DIB_OK and the rectangle.
    virtual DibResult GetBounds(DibRect* bounds) const;
    virtual DibResult SetRect(const DibRect& rect);
    virtual uintptr_t GetUserValue() const { return m_userValue; }
    virtual void SetUserValue(uintptr_t value) { m_userValue = value; }
    virtual DibResult CopyFrom(const CDibRegion* other);
    virtual CDibRegion* Clone() const;
    virtual int Reserved() const { return 0; }

    void AddRef() { ++m_refCount; }
    void Release();
    int GetRefCount() const { return m_refCount; }
    const RegionData* GetRegionData() const { return m_hasRect ? &m_data : nullptr; }

private:
    int16_t m_refCount = 1;
    RegionData m_data;
    bool m_hasRect = false;
    uintptr_t m_userValue = 0;
};
