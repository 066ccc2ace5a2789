#pragma once
// The occupied level-0 cells met while the points are read, numbered in the order they are met:
// memory in proportion to the occupied cells, whatever the extent of the grid.

#include "scan/UArkaluneGlb.h"

#include <cstdint>
#include <vector>

class TTableCellules {
public:
    TTableCellules();
    // The number of the cell, given the next free number the first time it is met.
    std::uint32_t Numero(const TCellule& cellule);
    // The cells by number.
    const std::vector<TCellule>& Cellules() const { return cellules_; }

private:
    void Agrandir();
    std::vector<TCellule> cellules_;
    std::vector<std::uint32_t> places_; // open addressing: number + 1, 0 when free
    TCellule derniere_{};
    std::uint32_t numeroDerniere_ = UINT32_MAX;
};
