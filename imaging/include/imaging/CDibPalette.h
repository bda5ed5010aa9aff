#pragma once
// CDibPalette: the colours of a palettized picture and the data derived from
// them to draw its indices into other formats quickly: per-format conversion
// tables, a nearest-colour octree and an RGB555 inverse colour map. Shared by
// reference count; it deletes itself when the last reference is released.

#include "imaging/CColourOctree.h"
#include "imaging/DibResult.h"
#include "imaging/PaletteEntry.h"
#include "imaging/PixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDibPalette {
public:
    CDibPalette();
    CDibPalette(const CDibPalette&) = delete;
    CDibPalette& operator=(const CDibPalette&) = delete;

    virtual void Reset();
    virtual DibResult Destroy();
    virtual ~CDibPalette();
    // Allocates `count` zeroed entries (1..256). DIB_NOT_CREATED when entries
    // exist already.
    virtual DibResult Create(int count);
    virtual DibResult CopyFrom(const CDibPalette* other);
    virtual CDibPalette* Clone() const;
    virtual int GetKind() const { return 0; }
    virtual DibResult GetEntries(PaletteEntry* destination, int start, int count) const;
    virtual DibResult SetEntriesFrom(const CDibPalette* source, int start, int count, int sourceStart);
    // Copies entries in, drops every derived table and bumps the version.
    virtual DibResult SetEntries(const PaletteEntry* source, int start, int count);

    void AddRef() { ++m_refCount; }
    void Release();
    int GetRefCount() const { return m_refCount; }

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    uint32_t GetVersion() const { return m_version; }
    // A number no other palette of this process has had or will have: what
    // caches keyed by palette use instead of an address that may be reused.
    uint64_t GetSerial() const { return m_serial; }
    const PaletteEntry* Entries() const { return m_entries.empty() ? nullptr : m_entries.data(); }

    // The lookup table that turns an index of this palette into a pixel of
    // `targetFormat`: 16-bit values for the 16-bit formats, 32-bit 0x00RRGGBB
    // (or 0x00BBGGRR for the swapped formats) for 24/32 bits, or 8-bit indices
    // of `targetPalette` for PF_INDEX8. Always 256 entries long (entries past
    // the palette's count are 0), so any stored index can be looked up safely.
    // Null when this palette is empty, the target has fewer than 8 bits, or
    // (for PF_INDEX8) either palette lacks exactly 256 entries. The pointer
    // stays valid until this palette's entries change or its next call.
    //
    // PF_INDEX8 tables are kept by the target palette's serial number and
    // version, not by a reference: two palettes converting into each other
    // would otherwise keep each other alive for ever. A table for a target
    // that has changed or gone is simply never asked for again, and the
    // oldest of them make way once kMaxIndexTables are kept.
    const void* GetConversionTable(PixelFormat targetFormat, CDibPalette* targetPalette = nullptr);
    static constexpr size_t kMaxIndexTables = 8;
    // Index of the nearest colour (octree search), -1 for an empty palette.
    int NearestIndex(uint8_t red, uint8_t green, uint8_t blue);
    // 32768 bytes: RGB555 value -> nearest index. Null for an empty palette.
    // Built on first use and again on the first use after the entries change,
    // so it never answers with colours the palette no longer has.
    const uint8_t* GetInverseMap();
    // The octree over all entries, built on first use.
    const CColourOctree* GetOctree();

private:
    struct CachedTable {
        PixelFormat format;
        uint64_t targetSerial;  // PF_INDEX8 only: the target palette
        uint32_t targetVersion; // and the version its colours had
        std::vector<uint8_t> bytes;
    };

    void DropDerivedData();

    std::vector<PaletteEntry> m_entries;
    int m_refCount = 1;
    uint32_t m_version = 0;
    uint64_t m_serial;
    std::vector<CachedTable> m_tableCache;
    std::unique_ptr<uint8_t[]> m_inverseMap;
    std::unique_ptr<CColourOctree> m_octree;
};

// An octree over the given 256 entries in index order, skipping reserved ones.
std::unique_ptr<CColourOctree> BuildOctreeSkippingReserved(const PaletteEntry* entries, int count);
