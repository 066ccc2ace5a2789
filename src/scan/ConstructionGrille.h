#pragma once
// The level-0 grid of 1 m cells: its size from the box of the points, then the points placed in
// its cells and the means of every cube computed.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

struct TDimensionsGrille {
    std::array<std::int32_t, 3> Orig{};
    std::array<std::int32_t, 3> Dim{};
};

// The cells that hold the box [mini, maxi] with a margin. Throws when the box is not finite or
// would need more than 50 000 000 cells.
TDimensionsGrille DimensionnerGrille(const TV3S& mini, const TV3S& maxi);

// Records asked of a reader at a time.
inline constexpr std::size_t RecordsParLot = 65536;
// Fills `lot` with up to n records and returns how many it gave; 0 ends the construction.
using TLireLot = std::function<std::size_t(TPointScan* lot, std::size_t n)>;

// Gives the scan that grid, places the scan.NbPoints records that `lireLot` gives, then computes
// the means of every cube. Returns how many records had no cell in the grid.
std::int64_t ConstruireGrille(TEtatScan& scan, const TDimensionsGrille& dimensions,
                              const TLireLot& lireLot, const TSortieProgression& sortie);
