// Building the opaque runs, converted pixels, masks and move programs of an
// 8-bit "TRLE" sprite.

#include "imaging/TrleRunCache.h"

#include "common/ByteOrder.h"

#include <algorithm>
#include <cassert>
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
// A scaled call's own pixels are kept up to this size.
constexpr size_t kMaxScaledBytes = size_t(4) << 20;

template <typename T>
size_t CapacityBytes(const std::vector<T>& v)
{
    return v.capacity() * sizeof(T);
}

// Every cache of the program, for the shared budget.
struct CacheRegistry {
    TrleRunCache* first = nullptr;
    size_t totalBytes = 0;
    size_t budgetBytes = size_t(48) << 20;
    uint64_t drawCounter = 0;
};

CacheRegistry& Registry()
{
    static CacheRegistry registry;
    return registry;
}

} // namespace

TrleRunCache::TrleRunCache()
{
    CacheRegistry& registry = Registry();
    m_nextCache = registry.first;
    if (m_nextCache)
        m_nextCache->m_previousCache = this;
    registry.first = this;
}

TrleRunCache::~TrleRunCache()
{
    Forget();
    CacheRegistry& registry = Registry();
    if (m_previousCache)
        m_previousCache->m_nextCache = m_nextCache;
    else
        registry.first = m_nextCache;
    if (m_nextCache)
        m_nextCache->m_previousCache = m_previousCache;
}

void TrleRunCache::SetMemoryBudget(size_t bytes)
{
    Registry().budgetBytes = bytes;
}

size_t TrleRunCache::MemoryBudget()
{
    return Registry().budgetBytes;
}

size_t TrleRunCache::TotalMemoryBytes()
{
    return Registry().totalBytes;
}

void TrleRunCache::Forget()
{
    CacheRegistry& registry = Registry();
    assert(registry.totalBytes >= m_accountedBytes);
    registry.totalBytes -= m_accountedBytes;
    m_accountedBytes = 0;
}

void TrleRunCache::Account()
{
    CacheRegistry& registry = Registry();
    Forget();
    m_accountedBytes = MemoryBytes();
    registry.totalBytes += m_accountedBytes;
    m_lastDrawn = ++registry.drawCounter;
    while (registry.totalBytes > registry.budgetBytes) {
        TrleRunCache* oldest = nullptr;
        for (TrleRunCache* cache = registry.first; cache; cache = cache->m_nextCache)
            if (cache != this && cache->m_accountedBytes > 0 && (!oldest || cache->m_lastDrawn < oldest->m_lastDrawn))
                oldest = cache;
        if (!oldest)
            break; // only this one is left: its own limits apply
        oldest->Clear();
    }
}

void TrleRunCache::Moves::Start(int rows)
{
    for (MoveList& list : lists) {
        list.places.clear();
        list.at.clear();
        list.first.assign(size_t(rows) + 1, 0);
    }
    placed = false;
}

void TrleRunCache::Moves::EndRow(int row)
{
    for (MoveList& list : lists)
        list.first[row + 1] = uint32_t(list.places.size());
}

void TrleRunCache::Moves::AddRun(int row, uint32_t col, uint32_t src, uint32_t n)
{
    // The widest move is several 32-byte stores: taken where it stores no
    // more than 32-byte moves would, for fewer moves to read.
    constexpr uint32_t kWidest = TrleMoveProgram::kWidestMove;
    int size = n >= kWidest && (kWidest / 32) * ((n + kWidest - 1) / kWidest) <= (n + 31) / 32 ? 0 : 1;
    while ((kWidest >> size) > n)
        ++size;
    const uint32_t step = kWidest >> size;
    std::vector<Place>& places = lists[size].places;
    for (uint32_t at = 0; at + step < n; at += step)
        places.push_back({src + at, col + at, row});
    places.push_back({src + n - step, col + n - step, row});
}

bool TrleRunCache::Moves::Locate(ptrdiff_t rowPitch, int rows, int rowBytes)
{
    // Target offsets must fit 32 bits.
    const int64_t reach = int64_t(rows + 1) * (rowPitch < 0 ? -int64_t(rowPitch) : int64_t(rowPitch)) + rowBytes;
    placed = false;
    if (reach > std::numeric_limits<int32_t>::max())
        return false;
    for (int size = 0; size < TrleMoveProgram::kSizes; ++size) {
        MoveList& list = lists[size];
        list.at.clear();
        list.at.reserve(list.places.size());
        for (const TrleRunCache::Place& place : list.places)
            list.at.push_back({int32_t(place.row * rowPitch + ptrdiff_t(place.col)), place.src});
        program.moves[size] = list.at.data();
        program.first[size] = list.first.data();
    }
    pitch = rowPitch;
    placed = true;
    return true;
}

size_t TrleRunCache::Moves::MemoryBytes() const
{
    size_t bytes = 0;
    for (const MoveList& list : lists)
        bytes += CapacityBytes(list.places) + CapacityBytes(list.at) + CapacityBytes(list.first);
    return bytes;
}

void TrleRunCache::Clear()
{
    m_dataArea = nullptr;
    m_dataSize = 0;
    // Swapped out rather than cleared: clear() keeps the memory.
    std::vector<uint32_t>().swap(m_rowFirst);
    std::vector<TrleRun>().swap(m_runs);
    std::vector<Converted>().swap(m_conversions);
    m_current = nullptr;
    Forget();
}

size_t TrleRunCache::MemoryBytes() const
{
    size_t bytes = CapacityBytes(m_rowFirst) + CapacityBytes(m_runs);
    for (const Converted& c : m_conversions)
        bytes += CapacityBytes(c.table) + CapacityBytes(c.pixels) + CapacityBytes(c.masks) +
                 CapacityBytes(c.rectPixels) + CapacityBytes(c.rectMasks) + c.moves.MemoryBytes() +
                 CapacityBytes(c.scaled.pixels) + c.scaled.moves.MemoryBytes();
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
    m_current = MakeConversion(view, table, bytes);
    if (!m_current)
        return false;
    Moves& moves = m_current->moves;
    if (moves.pitch != pitch || !moves.placed) {
        try {
            moves.Locate(pitch, view.height, view.width * bytes);
        } catch (const std::bad_alloc&) {
            moves.placed = false; // drawn by runs instead
        }
    }
    Account();
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
    m_width = view.width;
    m_height = view.height;
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
    c.moves.Start(view.height);
    for (int row = 0; row < view.height; ++row) {
        for (uint32_t i = m_rowFirst[row]; i != m_rowFirst[row + 1]; ++i) {
            const TrleRun& run = m_runs[i];
            c.moves.AddRun(row, uint32_t(run.start) * bytes, run.offset * bytes, uint32_t(run.length) * bytes);
        }
        c.moves.EndRow(row);
    }
}

bool TrleRunCache::EnsureRect()
{
    if (!m_current)
        return false;
    Converted& c = *m_current;
    if (c.rectPitch != 0)
        return true;
    if (c.rectTried)
        return false;
    c.rectTried = true;
    try {
        MakeRect(c);
    } catch (const std::bad_alloc&) {
        std::vector<uint8_t>().swap(c.rectPixels);
        std::vector<uint8_t>().swap(c.rectMasks);
        c.rectPitch = 0;
    }
    Account();
    return c.rectPitch != 0;
}

void TrleRunCache::MakeRect(Converted& c) const
{
    const size_t bytes = size_t(c.bytes);
    const size_t pitch = size_t(m_width) * bytes + 32;
    if (2 * pitch * size_t(m_height) > kMaxRectBytes)
        return;
    c.rectPixels.assign(pitch * size_t(m_height) + 32, 0);
    c.rectMasks.assign(c.rectPixels.size(), 0);
    c.rectPitch = pitch;
    const uint8_t* pixels = c.pixels.data() + kMarginPixels * bytes;
    const uint8_t* masks = c.masks.data() + kMarginPixels * bytes;
    for (int row = 0; row < m_height; ++row)
        for (uint32_t i = m_rowFirst[row]; i != m_rowFirst[row + 1]; ++i) {
            const TrleRun& run = m_runs[i];
            const size_t to = size_t(row) * pitch + run.start * bytes, from = run.offset * bytes;
            std::memcpy(c.rectPixels.data() + to, pixels + from, run.length * bytes);
            std::memcpy(c.rectMasks.data() + to, masks + from, run.length * bytes);
        }
}

const TrleMoveProgram* TrleRunCache::ScaledProgram(const TrleScaledCall& call, ptrdiff_t pitch, uint8_t** fill)
{
    *fill = nullptr;
    Converted& c = *m_current;
    Scaled& scaled = c.scaled;
    c.scaledRepeats = c.lastScaledCall == call ? c.scaledRepeats + 1 : 0;
    c.lastScaledCall = call;
    if (!(scaled.made && scaled.call == call)) {
        if (c.scaledRepeats < kScaledRepeatsBeforeMaking)
            return nullptr;
        bool made = false;
        try {
            made = MakeScaled(c, call);
        } catch (const std::bad_alloc&) {
        }
        if (!made)
            return nullptr;
        *fill = scaled.pixels.data();
    }
    if (!scaled.moves.placed || scaled.moves.pitch != pitch) {
        try {
            scaled.moves.Locate(pitch, call.height, call.width * c.bytes);
        } catch (const std::bad_alloc&) {
            scaled.moves.placed = false;
        }
    }
    Account();
    if (!scaled.moves.placed) {
        *fill = nullptr;
        return nullptr;
    }
    return &scaled.moves.program;
}

bool TrleRunCache::MakeScaled(Converted& c, const TrleScaledCall& call) const
{
    Scaled& scaled = c.scaled;
    // The buffers are kept from one call to the next: sprites change size
    // little, and a new allocation of this size would come fresh from the
    // system, page by page.
    scaled.made = false;
    const int w = call.width, h = call.height, sw = call.srcWidth, sh = call.srcHeight;
    // The blitter clipped the call to the sprite; anything else is refused.
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || call.srcX < 0 || call.srcY < 0 || call.srcX + sw > m_width ||
        call.srcY + sh > m_height)
        return false;
    const size_t bytes = size_t(c.bytes), rowBytes = size_t(w) * bytes;
    if (rowBytes * size_t(h) > kMaxScaledBytes)
        return false;
    // Target column j shows window column floor(j × sw / w), counted from the
    // window's right end when mirrored, and rows likewise (the rule of the
    // kernels). firstTarget[c] is the first target column whose unmirrored
    // column reaches c.
    std::vector<uint32_t> firstTarget(static_cast<size_t>(sw) + 1);
    size_t column = 0;
    for (int j = 0; j < w; ++j) {
        const uint64_t f = uint64_t(j) * uint64_t(sw) / uint64_t(w);
        while (column <= f)
            firstTarget[column++] = uint32_t(j);
    }
    while (column <= size_t(sw))
        firstTarget[column++] = uint32_t(w);

    // Only opaque pixels are ever read back; the fill writes them all.
    scaled.pixels.resize(rowBytes * size_t(h));
    scaled.moves.Start(h);
    const int windowEnd = call.srcX + sw;
    for (int k = 0; k < h; ++k) {
        const int s = int(uint64_t(k) * uint64_t(sh) / uint64_t(h));
        const int row = call.mirrorY ? call.srcY + sh - 1 - s : call.srcY + s;
        for (uint32_t i = m_rowFirst[row]; i != m_rowFirst[row + 1]; ++i) {
            const TrleRun& run = m_runs[i];
            const int a = std::max<int>(run.start, call.srcX) - call.srcX;
            const int b = std::min<int>(run.start + run.length, windowEnd) - call.srcX;
            if (a >= b)
                continue;
            const uint32_t t0 = call.mirrorX ? firstTarget[sw - b] : firstTarget[a];
            const uint32_t t1 = call.mirrorX ? firstTarget[sw - a] : firstTarget[b];
            const uint32_t at = uint32_t(t0 * bytes);
            if (t0 < t1)
                scaled.moves.AddRun(k, at, uint32_t(k * rowBytes) + at, (t1 - t0) * uint32_t(bytes));
        }
        scaled.moves.EndRow(k);
    }
    scaled.call = call;
    scaled.made = true;
    return true;
}
