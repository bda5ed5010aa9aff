// Building the opaque runs, converted pixels, masks and block programs of an
// 8-bit "TRLE" sprite.

#include "imaging/TrleRunCache.h"

#include "common/ByteOrder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Larger sprites are drawn without a cache: their conversions would hold
// several times their own size.
constexpr size_t kMaxCachedDataBytes = size_t(16) << 20;
// Scaled drawing reads the whole rectangle; beyond this it is drawn from
// the row table instead.
constexpr size_t kMaxRectBytes = size_t(32) << 20;

} // namespace

void TrleRunCache::Clear()
{
    m_dataArea = nullptr;
    m_dataSize = 0;
    m_rowFirst.clear();
    m_runs.clear();
    m_conversions.clear();
    m_current = nullptr;
}

size_t TrleRunCache::MemoryBytes() const
{
    size_t bytes = m_rowFirst.capacity() * sizeof(uint32_t) + m_runs.capacity() * sizeof(TrleRun);
    for (const Converted& c : m_conversions) {
        bytes += c.table.capacity() + c.pixels.capacity() + c.masks.capacity() + c.rectPixels.capacity() +
                 c.rectMasks.capacity();
        for (const MoveList& list : c.lists)
            bytes += list.places.capacity() * sizeof(Place) + list.at.capacity() * sizeof(TrleMove) +
                     list.first.capacity() * sizeof(uint32_t);
    }
    return bytes;
}

bool TrleRunCache::Prepare(const TrleSpriteView& view, const void* table, int bytes, ptrdiff_t pitch)
{
    // Run starts are kept in 16 bits.
    if (view.format != PF_INDEX8 || !view.dataArea || !table || view.dataSize > kMaxCachedDataBytes ||
        view.width > 0xFFFF || (bytes != 1 && bytes != 2 && bytes != 4))
        return false;
    if (view.dataArea != m_dataArea || view.dataSize != m_dataSize) {
        Clear();
        if (!MakeRuns(view)) {
            Clear();
            return false;
        }
    }
    Converted* c = MakeConversion(view, table, bytes);
    m_current = c;
    if (!c)
        return false;
    if (c->pitch != pitch || !c->hasProgram) {
        // Target offsets must fit 32 bits.
        const int64_t reach =
            int64_t(view.height + 1) * (pitch < 0 ? -int64_t(pitch) : int64_t(pitch)) + int64_t(view.width) * 4;
        c->hasProgram = false;
        if (reach <= std::numeric_limits<int32_t>::max()) {
            try {
                PlaceMoves(*c, pitch);
                c->hasProgram = true;
            } catch (const std::bad_alloc&) {
                // Drawn by runs instead.
            }
        }
    }
    return true;
}

bool TrleRunCache::MakeRuns(const TrleSpriteView& view)
{
    try {
        m_rowFirst.reserve(size_t(view.height) + 1);
        for (int row = 0; row < view.height; ++row) {
            m_rowFirst.push_back(uint32_t(m_runs.size()));
            const uint8_t* entry = view.RowEntry(row);
            const uint32_t offset = ReadLE32(entry);
            const int skip = ReadLE16(entry + 4), count = ReadLE16(entry + 6);
            const uint8_t* stored = view.dataArea + offset;
            for (int i = 0; i < count;) {
                if (stored[i] == 0) {
                    ++i;
                    continue;
                }
                const int first = i;
                while (i < count && stored[i] != 0)
                    ++i;
                m_runs.push_back({uint16_t(skip + first), uint16_t(i - first), offset + uint32_t(first)});
            }
        }
        m_rowFirst.push_back(uint32_t(m_runs.size()));
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_dataArea = view.dataArea;
    m_dataSize = view.dataSize;
    return true;
}

TrleRunCache::Converted* TrleRunCache::MakeConversion(const TrleSpriteView& view, const void* table, int bytes)
{
    const size_t tableBytes = size_t(256) * bytes;
    ++m_useCounter;
    for (Converted& c : m_conversions)
        if (c.bytes == bytes && std::memcmp(c.table.data(), table, tableBytes) == 0) {
            c.lastUse = m_useCounter;
            return &c;
        }

    Converted* slot;
    if (m_conversions.size() < kMaxConversions) {
        try {
            // Never moved once made: their programs point into their lists.
            m_conversions.reserve(kMaxConversions);
            m_conversions.emplace_back();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        slot = &m_conversions.back();
    } else {
        slot = &*std::min_element(m_conversions.begin(), m_conversions.end(),
                                  [](const Converted& a, const Converted& b) { return a.lastUse < b.lastUse; });
    }
    *slot = Converted{};
    slot->bytes = bytes;
    try {
        slot->table.assign(static_cast<const uint8_t*>(table), static_cast<const uint8_t*>(table) + tableBytes);
        slot->pixels.assign((view.dataSize + 2 * kMarginPixels) * bytes, 0);
        slot->masks.assign(slot->pixels.size(), 0);
        // Only stored pixels are ever read as pixels; converting the row
        // table's bytes too keeps this one loop.
        uint8_t* pixels = slot->pixels.data() + kMarginPixels * bytes;
        uint8_t* masks = slot->masks.data() + kMarginPixels * bytes;
        const uint8_t* entries = static_cast<const uint8_t*>(table);
        for (size_t i = 0; i < view.dataSize; ++i) {
            const uint8_t index = view.dataArea[i];
            std::memcpy(pixels + i * bytes, entries + size_t(index) * bytes, size_t(bytes));
            std::memset(masks + i * bytes, index ? 0xFF : 0x00, size_t(bytes));
        }
        MakeMoves(view, *slot);
        MakeRect(view, *slot);
    } catch (const std::bad_alloc&) {
        *slot = Converted{}; // bytes 0: never matches
        return nullptr;
    }
    slot->lastUse = m_useCounter;
    return slot;
}

void TrleRunCache::MakeMoves(const TrleSpriteView& view, Converted& c) const
{
    const uint32_t bytes = uint32_t(c.bytes);
    for (MoveList& list : c.lists)
        list.first.assign(size_t(view.height) + 1, 0);
    for (int row = 0; row < view.height; ++row) {
        for (MoveList& list : c.lists)
            list.first[row] = uint32_t(list.places.size());
        for (uint32_t i = m_rowFirst[row]; i != m_rowFirst[row + 1]; ++i) {
            const TrleRun& run = m_runs[i];
            const uint32_t n = uint32_t(run.length) * bytes, col = uint32_t(run.start) * bytes,
                           src = run.offset * bytes;
            int size = 0;
            while ((32u >> size) > n)
                ++size;
            const uint32_t step = 32u >> size;
            std::vector<Place>& places = c.lists[size].places;
            for (uint32_t at = 0; at + step < n; at += step)
                places.push_back({src + at, col + at, row});
            places.push_back({src + n - step, col + n - step, row});
        }
    }
    for (MoveList& list : c.lists)
        list.first[view.height] = uint32_t(list.places.size());
}

void TrleRunCache::PlaceMoves(Converted& c, ptrdiff_t pitch)
{
    for (int size = 0; size < TrleMoveProgram::kSizes; ++size) {
        MoveList& list = c.lists[size];
        list.at.resize(list.places.size());
        for (size_t i = 0; i < list.places.size(); ++i) {
            const Place& place = list.places[i];
            list.at[i] = {int32_t(place.row * pitch + ptrdiff_t(place.col)), place.src};
        }
        c.program.moves[size] = list.at.data();
        c.program.first[size] = list.first.data();
    }
    c.pitch = pitch;
}

void TrleRunCache::MakeRect(const TrleSpriteView& view, Converted& c) const
{
    const size_t bytes = size_t(c.bytes);
    const size_t pitch = size_t(view.width) * bytes + 32;
    if (2 * pitch * size_t(view.height) > kMaxRectBytes)
        return;
    c.rectPixels.assign(pitch * size_t(view.height) + 32, 0);
    c.rectMasks.assign(c.rectPixels.size(), 0);
    c.rectPitch = pitch;
    const uint8_t* pixels = c.pixels.data() + kMarginPixels * bytes;
    const uint8_t* masks = c.masks.data() + kMarginPixels * bytes;
    for (int row = 0; row < view.height; ++row)
        for (uint32_t i = m_rowFirst[row]; i != m_rowFirst[row + 1]; ++i) {
            const TrleRun& run = m_runs[i];
            const size_t to = size_t(row) * pitch + run.start * bytes, from = run.offset * bytes;
            std::memcpy(c.rectPixels.data() + to, pixels + from, run.length * bytes);
            std::memcpy(c.rectMasks.data() + to, masks + from, run.length * bytes);
        }
}
