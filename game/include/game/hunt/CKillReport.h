#pragma once
// CKillReport: what a hunt's kills add up to. It counts the animals of each
// kind that started dying (shot down or run over) and keeps the kinds whose
// death was seen to its end in view. Packed, it is the 32-bit report the
// hunt has always kept: the low 16 bits count every animal that started
// dying, the high 16 bits hold one bit per kind seen dead (KindBit).

#include "gamedata/GameIds.h"

#include <array>
#include <cstdint>

class CKillReport {
public:
    // The bit a kind sets in the high half of the report. One bit a kind,
    // so that two dead animals of other kinds never add up to a third.
    static constexpr uint32_t KindBit(AnimalKind kind)
    {
        return kind >= ANIMAL_ELEPHANT && kind <= ANIMAL_ZEBRA ? 1u << (int(kind) - 1) : 0u;
    }

    void Clear();
    void OnFalling(AnimalKind kind);
    void OnDeathSeen(AnimalKind kind);

    // Animals of `kind` that started dying.
    int Fallen(AnimalKind kind) const;
    // The kinds seen dead, by KindBit.
    uint32_t KindsSeen() const { return m_kindsSeen; }
    uint32_t Packed() const;

private:
    std::array<int, ANIMAL_KIND_COUNT + 1> m_fallen{};
    int m_allFallen = 0;
    uint32_t m_kindsSeen = 0;
};
