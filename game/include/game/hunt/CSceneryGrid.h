#pragma once
// CSceneryGrid: the trees of the savannah in 20 × 20 cells of 1000 × 1000
// units, so that each pass visits only the cells the hunter can see. Row 10
// and column 10 stay empty: two tree-free corridors cross at the hunter's
// start.

#include "game/hunt/CWorldObject.h"

#include <array>
#include <memory>
#include <vector>

class CDib;

class CSceneryGrid {
public:
    static constexpr int kCells = 20;
    static constexpr int kCellSize = 1000;
    static constexpr int kCorridor = 10;

    // One tree a cell outside the corridors, of a kind, at a place in its
    // cell, drawn from the game's generator in cell order. `trees` are the
    // six kinds' pictures (empty pictures make trees that draw nothing).
    void Plant(CDib* const trees[6], double treeSize);
    void Clear();
    // One more tree, in the cell of its place (none outside the grid).
    void Add(std::unique_ptr<CTree> tree);

    // The trees of a cell; empty outside the grid.
    const std::vector<std::unique_ptr<CTree>>& Cell(int row, int column) const;
    size_t TreeCount() const;

    // The cell of a coordinate (truncating towards zero, as the grid's rows
    // and columns are counted).
    static int CellOf(double coordinate) { return int(coordinate) / kCellSize; }

private:
    std::array<std::vector<std::unique_ptr<CTree>>, kCells * kCells> m_cells;
    static const std::vector<std::unique_ptr<CTree>> s_none;
};
