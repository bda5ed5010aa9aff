#include "game/hunt/CKillReport.h"

namespace {
bool IsKind(AnimalKind kind)
{
    return kind >= ANIMAL_ELEPHANT && kind <= ANIMAL_ZEBRA;
}
} // namespace

void CKillReport::Clear()
{
    m_fallen.fill(0);
    m_allFallen = 0;
    m_kindsSeen = 0;
}

void CKillReport::OnFalling(AnimalKind kind)
{
    ++m_allFallen;
    if (IsKind(kind))
        ++m_fallen[size_t(kind)];
}

void CKillReport::OnDeathSeen(AnimalKind kind)
{
    m_kindsSeen |= KindBit(kind);
}

int CKillReport::Fallen(AnimalKind kind) const
{
    return IsKind(kind) ? m_fallen[size_t(kind)] : 0;
}

uint32_t CKillReport::Packed() const
{
    return m_kindsSeen << 16 | (uint32_t(m_allFallen) & 0xFFFFu);
}
