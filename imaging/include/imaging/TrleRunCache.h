#pragma once
// What an 8-bit "TRLE" sprite keeps so that it draws fast again and again:
// its opaque runs (the stretches of non-zero indices in each row) and, for
// each of the last few conversion tables it was drawn through, its stored
// pixels already converted to the target's pixels, with a mask beside them
// (0xFF in every byte of an opaque pixel) and a move program. A keyed blit
// then copies whole runs instead of looking every index up and testing it for
// the key.
//
// Whoever owns the sprite's bytes owns the cache and clears it when they
// change. Tables are recognised by their contents, so a palette changed in
// place, or another table at the same address, is never drawn from stale
// pixels.
//
// Conversions hold several times a sprite's own size, so all the caches of
// a program together keep to one memory budget: when a cache grows past it,
// the caches drawn least recently give their memory up (they are rebuilt if
// their sprites are drawn again). Sprites are drawn from one thread: the
// caches know one another.

#include "imaging/TrleSprite.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One opaque run: `length` pixels from sprite column `start`, stored from
// byte `offset` of the data area.
struct TrleRun {
    uint16_t start;
    uint16_t length;
    uint32_t offset;
};

// A move of target pixels: to byte `dst` of the target, counted from the
// sprite's top-left pixel with the target pitch the program was made for,
// from byte `src` of the converted pixels.
struct TrleMove {
    int32_t dst;
    uint32_t src;
};

// The unclipped sprite as moves of fixed sizes, so that drawing it is one
// loop per size whatever its rows look like, and no loop has a branch to
// mispredict. A run of n bytes becomes moves of the largest size s <= n
// (32, 16, 8, 4, 2 or 1 bytes; 64 where that needs no more 32-byte stores):
// s bytes apart from its start, the last one ending at its end (overlapping
// the one before). Only opaque pixels are written, none is read from the
// target. moves[c] holds the moves of 64 >> c bytes in row order; row r's
// are moves[c][first[c][r]] up to moves[c][first[c][r + 1]].
struct TrleMoveProgram {
    static constexpr uint32_t kWidestMove = 64;
    static constexpr int kSizes = 7; // kWidestMove down to 1 byte
    const TrleMove* moves[kSizes] = {};
    const uint32_t* first[kSizes] = {};
};

// What a scaled or mirrored call draws: its window in the sprite, its size
// in the target and its mirroring.
struct TrleScaledCall {
    int srcX = 0;
    int srcY = 0;
    int srcWidth = 0;
    int srcHeight = 0;
    int width = 0;
    int height = 0;
    bool mirrorX = false;
    bool mirrorY = false;
    bool operator==(const TrleScaledCall&) const = default;
};

class TrleRunCache {
public:
    // Converted pixels and masks are kept with this many zero pixels before
    // and after them, so that vector gathers reading a little around a run
    // stay inside.
    static constexpr size_t kMarginPixels = 64;

    TrleRunCache();
    ~TrleRunCache();
    TrleRunCache(const TrleRunCache&) = delete;
    TrleRunCache& operator=(const TrleRunCache&) = delete;

    void Clear();

    // The budget of all caches together, in bytes (48 MiB unless set), and
    // what they hold now.
    static void SetMemoryBudget(size_t bytes);
    static size_t MemoryBudget();
    static size_t TotalMemoryBytes();

    // Finds the runs of `view` (once) and its pixels converted through the
    // 256-entry `table` of `bytes`-sized entries (1, 2 or 4), with a move
    // program for a target of `pitch` bytes per row. False when the sprite
    // cannot be cached (not 8-bit, or too large); then draw it without.
    bool Prepare(const TrleSpriteView& view, const void* table, int bytes, ptrdiff_t pitch);

    // After a successful Prepare: the runs of row r are runs[rowFirst[r]]
    // up to runs[rowFirst[r + 1]], left to right; the converted pixel of data
    // byte o is at pixels + o × bytes, its mask at masks + o × bytes.
    const uint32_t* RowFirst() const { return m_rowFirst.data(); }
    const TrleRun* Runs() const { return m_runs.data(); }
    const uint8_t* Pixels() const { return m_current->pixels.data() + kMarginPixels * m_current->bytes; }
    const uint8_t* Masks() const { return m_current->masks.data() + kMarginPixels * m_current->bytes; }
    // Null when the target's rows are too far apart for 32-bit offsets.
    const TrleMoveProgram* Program() const { return m_current->moves.placed ? &m_current->moves.program : nullptr; }
    // The whole sprite rectangle, transparent pixels included (zero, with a
    // zero mask), for drawing it enlarged: row r at r × RectPitch(), with
    // room for a 32-byte read from any pixel. Made for the current
    // conversion by EnsureRect, on first need (most sprites are only ever
    // drawn shrunk and never need it); RectPitch() is 0 until then, and
    // when the sprite is too large to be kept so.
    bool EnsureRect();
    const uint8_t* RectPixels() const { return m_current->rectPixels.data(); }
    const uint8_t* RectMasks() const { return m_current->rectMasks.data(); }
    size_t RectPitch() const { return m_current->rectPitch; }

    // After a successful Prepare, for a scaled or mirrored call: a move
    // program of the call's own rectangle (from its top-left pixel) over
    // ScaledPixels(), or null. A sprite is often drawn at one size for many
    // frames (while neither it nor the viewer moves), so the program is made
    // when the same call comes three times in a row and kept until another
    // is made; a sprite drawn at changing sizes, or several times a frame at
    // different sizes, never pays for one. When it has just been made,
    // *fill is where the caller draws the call first (top row first, rows
    // width × bytes apart); null otherwise.
    const TrleMoveProgram* ScaledProgram(const TrleScaledCall& call, ptrdiff_t pitch, uint8_t** fill);
    const uint8_t* ScaledPixels() const { return m_current->scaled.pixels.data(); }

    // Bytes held, for tests and statistics.
    size_t MemoryBytes() const;

private:
    // A move's place in the sprite, from which its target offset follows.
    struct Place {
        uint32_t src;
        uint32_t col; // bytes from the sprite's left edge
        int32_t row;
    };
    struct MoveList {
        std::vector<Place> places;
        std::vector<TrleMove> at;
        std::vector<uint32_t> first;
    };
    struct Moves {
        MoveList lists[TrleMoveProgram::kSizes];
        ptrdiff_t pitch = 0; // what the offsets in `at` were worked out for
        bool placed = false;
        TrleMoveProgram program;
        void Start(int rows);
        void EndRow(int row);
        // The moves that copy n bytes to byte `col` of `row` from `src`.
        void AddRun(int row, uint32_t col, uint32_t src, uint32_t n);
        // The target offsets for `pitch`; false when they do not fit 32 bits.
        bool Locate(ptrdiff_t pitch, int rows, int rowBytes);
        size_t MemoryBytes() const;
    };
    struct Scaled {
        TrleScaledCall call;
        bool made = false;
        std::vector<uint8_t> pixels; // the call's rectangle
        Moves moves;
    };
    struct Converted {
        int bytes = 0;
        std::vector<uint8_t> table; // the table's contents, the key
        std::vector<uint8_t> pixels, masks;
        std::vector<uint8_t> rectPixels, rectMasks;
        size_t rectPitch = 0;
        bool rectTried = false;
        Moves moves;
        TrleScaledCall lastScaledCall; // asked for by the call before
        int scaledRepeats = -1;        // of that call, just before this one
        Scaled scaled;
        uint64_t lastUse = 0;
    };
    // A sprite drawn into an 8-bit and a 16-bit target alternately, or
    // through two palettes, keeps both conversions.
    static constexpr size_t kMaxConversions = 3;
    static constexpr int kScaledRepeatsBeforeMaking = 2;

    // Records this cache's bytes in the total and marks it drawn; frees the
    // least recently drawn others while the total is over the budget.
    void Account();
    void Forget(); // takes this cache's bytes out of the total

    bool MakeRuns(const TrleSpriteView& view);
    Converted* MakeConversion(const TrleSpriteView& view, const void* table, int bytes);
    void MakeMoves(const TrleSpriteView& view, Converted& c) const;
    void MakeRect(Converted& c) const;
    bool MakeScaled(Converted& c, const TrleScaledCall& call) const;

    const uint8_t* m_dataArea = nullptr; // what the runs were found for
    size_t m_dataSize = 0;
    std::vector<uint32_t> m_rowFirst;
    std::vector<TrleRun> m_runs;
    std::vector<Converted> m_conversions;
    Converted* m_current = nullptr;
    int m_width = 0;
    int m_height = 0;
    uint64_t m_useCounter = 0;
    // Membership of the list of all caches, for the budget.
    TrleRunCache* m_previousCache = nullptr;
    TrleRunCache* m_nextCache = nullptr;
    size_t m_accountedBytes = 0;
    uint64_t m_lastDrawn = 0;
};
