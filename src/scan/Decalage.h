#pragma once
// A survey's coordinates are kept as 32-bit reals, whose step grows with their magnitude: in a
// national or UTM grid (X about 650 000 m, Y about 6 860 000 m) they would fall on a lattice of
// 6 to 50 cm, and even in a local frame the same vault at X ~ 1002 m and at X ~ 2 m would be
// rounded differently, and studied differently. A whole number of metres per axis, the shift, is
// subtracted from every coordinate before it is rounded to 32 bits, and added back to what is
// written as text; the binary scan file keeps it. The shift follows the survey: moved by whole
// metres, the survey gets the same 32-bit coordinates, hence the same study.

#include "geometry/UtilsVect.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Metres subtracted from X, Y and Z; 0 on an axis that needs none.
using TDecalage = std::array<std::int64_t, 3>;

// From this magnitude on, the 32-bit step (4 mm) exceeds twice the finest cube (1.6 mm): a
// shift there is worth telling the user.
inline constexpr double SeuilDecalage = 32768;
// A shift stays exact as a 64-bit real, so that adding it back loses nothing.
inline constexpr std::int64_t DecalageMax = std::int64_t(1) << 53;

// A stretch of an axis that holds coordinates, with no empty band of a given width inside:
// whole metres from Debut included to Fin excluded, and how many coordinates lie there.
struct TPlageAxe {
    std::int64_t Debut, Fin, Nb;
};

// The shift of one axis from every coordinate of the survey on it, whatever their order: the
// whole metre below the coordinate that has a hundredth of the others below it (stray points,
// up to that share, do not decide it; a survey that starts at 0 is not moved). Counts per whole
// metre; past a number of distinct metres, per 2, 4, ... metres, the width then depending only
// on the set of values.
class TDecalageAxe {
public:
    void Ajouter(double v);
    std::int64_t Decalage() const;
    // The stretches of the axis cut by every empty band of `ecart` metres or more, in increasing
    // order (as wide as the counts are, so that two stretches are at least `ecart` apart).
    std::vector<TPlageAxe> Plages(std::int64_t ecart) const;

private:
    std::unordered_map<std::int64_t, std::int64_t> comptes_;
    int largeurBits_ = 0; // counts per 2^largeurBits_ metres
    std::int64_t total_ = 0;
    // Consecutive points mostly fall in the same metre.
    std::int64_t cleDerniere_ = 0;
    std::int64_t* compteDernier_ = nullptr;
    void Elargir();
    std::vector<std::pair<std::int64_t, std::int64_t>> CasesTriees() const;
};

bool EstDecale(const TDecalage& d);
// Beyond the magnitude where it is worth telling.
bool DecalageNotable(const TDecalage& d);
// The shifted axes, for the status bar and "Propriétés": "X = 651000 m, Y = 6858000 m".
std::string TexteDecalage(const TDecalage& d);
// What 32-bit coordinates lost at the distance of the shift: "coordonnées en réels 32 bits : pas
// de 0,5 m à cette distance de l'origine".
std::string TextePasReels32(const TDecalage& d);
// The survey's own coordinates: the shift added back in 64 bits, only on the axes that have one
// (so that a -0 stays as it was written).
TV3R CoordonneesDuLeve(const TV3S& p, const TDecalage& d);
