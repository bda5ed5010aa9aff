#include "imaging/CDibPalette.h"

#include "imaging/DibAssert.h"

#include <cstring>
#include <utility>

namespace {

uint64_t NextPaletteSerial()
{
    // The library runs on one thread; the counter cannot wrap in practice.
    static uint64_t next = 0;
    return ++next;
}

} // namespace

CDibPalette::CDibPalette() : m_serial(NextPaletteSerial()) {}

CDibPalette::~CDibPalette()
{
    CDibPalette::Destroy();
}

void CDibPalette::Release()
{
    DIB_ASSERT(m_refCount > 0, "a palette is released no more often than it is referenced");
    if (--m_refCount < 1)
        delete this;
}

void CDibPalette::Reset()
{
    m_entries.clear();
    m_version = 0;
}

void CDibPalette::DropDerivedData()
{
    m_tableCache.clear();
    m_octree.reset();
    m_inverseMap.reset();
}

DibResult CDibPalette::Destroy()
{
    DropDerivedData();
    Reset();
    return DIB_OK;
}

DibResult CDibPalette::Create(int count)
{
    if (!m_entries.empty())
        return DIB_NOT_CREATED;
    if (count < 1 || count > 256)
        return DIB_FAILED;
    m_entries.assign(size_t(count), PaletteEntry{});
    return DIB_OK;
}

DibResult CDibPalette::CopyFrom(const CDibPalette* other)
{
    if (!other)
        return DIB_UNSUPPORTED;
    if (other->m_entries.empty())
        return DIB_FAILED;
    if (!m_entries.empty())
        return DIB_NOT_CREATED;
    DibResult code = Create(other->GetCount());
    if (code != DIB_OK)
        return code;
    return SetEntriesFrom(other, 0, other->GetCount(), 0);
}

CDibPalette* CDibPalette::Clone() const
{
    CDibPalette* copy = new CDibPalette;
    copy->CopyFrom(this);
    return copy;
}

DibResult CDibPalette::GetEntries(PaletteEntry* destination, int start, int count) const
{
    if (!destination)
        return DIB_UNSUPPORTED;
    if (m_entries.empty())
        return DIB_FAILED;
    if (start < 0 || count < 0 || start + count > GetCount())
        return DIB_FAILED;
    std::memcpy(destination, m_entries.data() + start, size_t(count) * sizeof(PaletteEntry));
    return DIB_OK;
}

DibResult CDibPalette::SetEntriesFrom(const CDibPalette* source, int start, int count, int sourceStart)
{
    if (!source)
        return DIB_UNSUPPORTED;
    if (sourceStart < 0 || count < 0 || sourceStart + count > source->GetCount())
        return DIB_FAILED;
    return SetEntries(source->m_entries.data() + sourceStart, start, count);
}

DibResult CDibPalette::SetEntries(const PaletteEntry* source, int start, int count)
{
    if (!source)
        return DIB_UNSUPPORTED;
    if (m_entries.empty())
        return DIB_FAILED;
    if (start < 0 || count < 0 || start + count > GetCount())
        return DIB_FAILED;
    // Everything derived from the old colours goes, the inverse map included:
    // it is rebuilt on its next use from the new ones.
    DropDerivedData();
    std::memmove(m_entries.data() + start, source, size_t(count) * sizeof(PaletteEntry));
    ++m_version;
    return DIB_OK;
}

std::unique_ptr<CColourOctree> BuildOctreeSkippingReserved(const PaletteEntry* entries, int count)
{
    auto tree = std::make_unique<CColourOctree>();
    for (int i = 0; i < count; ++i)
        if (entries[i].flags != PALETTE_FLAG_RESERVED)
            tree->Insert(entries[i].red, entries[i].green, entries[i].blue, i);
    return tree;
}

const void* CDibPalette::GetConversionTable(PixelFormat targetFormat, CDibPalette* targetPalette)
{
    if (m_entries.empty() || PixelFormatBits(targetFormat) < 8 || !PixelFormatIsKnown(targetFormat))
        return nullptr;
    const bool indexed = targetFormat == PF_INDEX8;
    if (indexed && (GetCount() != 256 || !targetPalette || targetPalette->GetCount() != 256))
        return nullptr;

    for (auto it = m_tableCache.begin(); it != m_tableCache.end(); ++it) {
        if (it->format != targetFormat)
            continue;
        if (!indexed)
            return it->bytes.data();
        if (it->targetSerial != targetPalette->GetSerial())
            continue;
        if (it->targetVersion == targetPalette->GetVersion())
            return it->bytes.data();
        // The target's colours changed since: build the table again.
        m_tableCache.erase(it);
        break;
    }
    if (indexed) {
        // Tables for targets that changed or went are never asked for again;
        // the oldest make way so that they cannot pile up.
        size_t kept = 0;
        for (const CachedTable& table : m_tableCache)
            kept += table.format == PF_INDEX8;
        for (auto it = m_tableCache.begin(); kept >= kMaxIndexTables && it != m_tableCache.end();) {
            if (it->format == PF_INDEX8) {
                it = m_tableCache.erase(it);
                --kept;
            } else {
                ++it;
            }
        }
    }

    CachedTable table{targetFormat, 0, 0, {}};
    const int count = GetCount();
    if (indexed) {
        table.bytes.assign(256, 0);
        auto tree = BuildOctreeSkippingReserved(targetPalette->Entries(), 256);
        for (int i = 0; i < count; ++i) {
            uint8_t r = m_entries[i].red, g = m_entries[i].green, b = m_entries[i].blue;
            int index = tree->FindNearest(r, g, b);
            table.bytes[i] = uint8_t(index < 0 ? 0 : index);
        }
        table.targetSerial = targetPalette->GetSerial();
        table.targetVersion = targetPalette->GetVersion();
    } else if (PixelFormatBits(targetFormat) == 16) {
        table.bytes.assign(256 * 2, 0);
        const bool swapped = targetFormat == PF_BGR555 || targetFormat == PF_BGR565;
        const bool is565 = targetFormat == PF_RGB565 || targetFormat == PF_BGR565;
        for (int i = 0; i < count; ++i) {
            uint32_t r = m_entries[i].red, g = m_entries[i].green, b = m_entries[i].blue;
            if (swapped)
                std::swap(r, b);
            uint16_t v = is565 ? uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3))
                               : uint16_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
            std::memcpy(table.bytes.data() + 2 * i, &v, 2);
        }
    } else {
        table.bytes.assign(256 * 4, 0);
        const bool swapped = targetFormat == PF_BGR24 || targetFormat == PF_BGR32;
        for (int i = 0; i < count; ++i) {
            uint32_t r = m_entries[i].red, g = m_entries[i].green, b = m_entries[i].blue;
            uint32_t v = swapped ? (b << 16 | g << 8 | r) : (r << 16 | g << 8 | b);
            std::memcpy(table.bytes.data() + 4 * i, &v, 4);
        }
    }
    m_tableCache.push_back(std::move(table));
    return m_tableCache.back().bytes.data();
}

const CColourOctree* CDibPalette::GetOctree()
{
    if (m_entries.empty())
        return nullptr;
    if (!m_octree) {
        m_octree = std::make_unique<CColourOctree>();
        for (int i = 0; i < GetCount(); ++i)
            m_octree->Insert(m_entries[i].red, m_entries[i].green, m_entries[i].blue, i);
    }
    return m_octree.get();
}

int CDibPalette::NearestIndex(uint8_t red, uint8_t green, uint8_t blue)
{
    const CColourOctree* tree = GetOctree();
    if (!tree)
        return -1;
    return tree->FindNearest(red, green, blue);
}

const uint8_t* CDibPalette::GetInverseMap()
{
    if (m_entries.empty())
        return nullptr;
    if (!m_inverseMap) {
        const CColourOctree* tree = GetOctree();
        m_inverseMap.reset(new uint8_t[32768]);
        for (int rgb = 0; rgb < 32768; ++rgb) {
            uint8_t r = uint8_t((rgb >> 10) << 3), g = uint8_t(((rgb >> 5) & 31) << 3), b = uint8_t((rgb & 31) << 3);
            int index = tree->FindNearest(r, g, b);
            m_inverseMap[rgb] = uint8_t(index < 0 ? 0 : index);
        }
    }
    return m_inverseMap.get();
}
