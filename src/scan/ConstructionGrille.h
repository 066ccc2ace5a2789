#pragma once
// The level-0 grid of 1 m cells: its size from the box of the points, then the points placed in
// its cells and the means of every cube computed.

#include "scan/UArkaluneGlb.h"
#include "util/EnParties.h"
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
// its cells cannot be numbered with 32-bit indices.
TDimensionsGrille DimensionnerGrille(const TV3S& mini, const TV3S& maxi);

// Records asked of a reader at a time.
inline constexpr std::size_t RecordsParLot = 65536;
// Receives the records in batches, in file order.
using TRecevoirLot = std::function<void(const TPointScan* lot, std::size_t n)>;
// Reads the records from the first to the last, giving them to `recevoir`; the construction
// reads them twice.
using TParcourirPoints = std::function<void(const TRecevoirLot& recevoir)>;

class TFichierLecture;
// Gives `recevoir` the next `nb` records of the file, in batches.
void LireParLots(TFichierLecture& fichier, std::int64_t nb, const TRecevoirLot& recevoir);

// Gives the scan that grid and the cubes of the scan.NbPoints records that `parcourir` gives,
// with their means: the same cubes, chains and means as recording the points one by one in
// file order, whatever the number of `parties` the work is cut into (one thread each). Returns
// how many records had no cell in the grid.
std::int64_t ConstruireGrille(TEtatScan& scan, const TDimensionsGrille& dimensions,
                              const TParcourirPoints& parcourir, const TSortieProgression& sortie,
                              int parties = PartiesParDefaut());
