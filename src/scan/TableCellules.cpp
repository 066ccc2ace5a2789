#include "scan/TableCellules.h"

namespace {
bool Egales(const TCellule& a, const TCellule& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

std::size_t Hachage(const TCellule& c) {
    std::uint64_t h = std::uint32_t(c[0]) * 0x9E3779B97F4A7C15ull;
    h ^= std::uint32_t(c[1]) * 0xC2B2AE3D27D4EB4Full;
    h ^= std::uint32_t(c[2]) * 0x165667B19E3779F9ull;
    return std::size_t(h ^ (h >> 29));
}
} // namespace

TTableCellules::TTableCellules() : places_(64, 0) {}

std::uint32_t TTableCellules::Numero(const TCellule& cellule) {
    // Neighbouring points mostly share their cell.
    if (numeroDerniere_ != UINT32_MAX && Egales(cellule, derniere_)) return numeroDerniere_;
    const std::size_t masque = places_.size() - 1;
    std::size_t h = Hachage(cellule) & masque;
    while (places_[h] != 0 && !Egales(cellules_[places_[h] - 1], cellule))
        h = (h + 1) & masque;
    if (places_[h] == 0) {
        cellules_.push_back(cellule);
        places_[h] = std::uint32_t(cellules_.size());
        numeroDerniere_ = places_[h] - 1;
        if (cellules_.size() * 2 > places_.size()) Agrandir();
    } else {
        numeroDerniere_ = places_[h] - 1;
    }
    derniere_ = cellule;
    return numeroDerniere_;
}

void TTableCellules::Agrandir() {
    places_.assign(places_.size() * 2, 0);
    const std::size_t masque = places_.size() - 1;
    for (std::size_t n = 0; n < cellules_.size(); ++n) {
        std::size_t h = Hachage(cellules_[n]) & masque;
        while (places_[h] != 0)
            h = (h + 1) & masque;
        places_[h] = std::uint32_t(n + 1);
    }
}
