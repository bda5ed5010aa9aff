#include "game/hunt/CSceneryGrid.h"

#include "game/CGameRandom.h"
#include "imaging/CDib.h"

const std::vector<std::unique_ptr<CTree>> CSceneryGrid::s_none;

void CSceneryGrid::Clear()
{
    for (auto& cell : m_cells)
        cell.clear();
}

void CSceneryGrid::Plant(CDib* const trees[6], double treeSize)
{
    Clear();
    for (int n = 0; n < kCells * kCells; ++n) {
        const int row = n / kCells, column = n % kCells;
        if (row == kCorridor || column == kCorridor)
            continue;
        auto tree = std::make_unique<CTree>();
        const int kind = GameRandom().Next() % 6;
        CDib* picture = trees[kind];
        tree->sprites = &trees[kind];
        if (picture && picture->IsCreated()) {
            tree->frameWidth = picture->GetWidth();
            tree->frameHeight = picture->GetHeight();
        }
        tree->size = treeSize;
        tree->x = GameRandom().Next() % kCellSize + column * kCellSize;
        tree->y = GameRandom().Next() % kCellSize + row * kCellSize;
        m_cells[size_t(n)].push_back(std::move(tree));
    }
}

void CSceneryGrid::Add(std::unique_ptr<CTree> tree)
{
    const int row = CellOf(tree->y), column = CellOf(tree->x);
    if (row >= 0 && row < kCells && column >= 0 && column < kCells && tree->x >= 0 && tree->y >= 0)
        m_cells[size_t(row * kCells + column)].push_back(std::move(tree));
}

const std::vector<std::unique_ptr<CTree>>& CSceneryGrid::Cell(int row, int column) const
{
    if (row < 0 || row >= kCells || column < 0 || column >= kCells)
        return s_none;
    return m_cells[size_t(row * kCells + column)];
}

size_t CSceneryGrid::TreeCount() const
{
    size_t count = 0;
    for (const auto& cell : m_cells)
        count += cell.size();
    return count;
}
