#pragma once
// Surveys in national or UTM grids (X about 650 000 m, Y about 6 860 000 m): stored as 32-bit
// reals their coordinates would fall on a lattice of 6 to 50 cm. A whole number of metres per
// axis, the shift, is subtracted from them before they are rounded to 32 bits, and added back to
// what is written as text; the binary scan file keeps it.

#include "geometry/UtilsVect.h"

#include <array>
#include <cstdint>
#include <string>

// Metres subtracted from X, Y and Z; 0 on an axis that needs none.
using TDecalage = std::array<std::int64_t, 3>;

// From this magnitude on, the 32-bit step (4 mm) exceeds twice the finest cube (1.6 mm). Below
// it nothing is shifted: files in a local frame load as they always did.
inline constexpr double SeuilDecalage = 32768;
// A shift stays exact as a 64-bit real, so that adding it back loses nothing.
inline constexpr std::int64_t DecalageMax = std::int64_t(1) << 53;

// The shift of an axis whose coordinate `v` reached the bound: `v` rounded down to a multiple of
// 1000 m, so that the shifted values read easily. 0 for a value no shift can bring back (NaN,
// beyond DecalageMax), which the sizing of the grid then refuses.
std::int64_t DecalageAxe(double v);
bool EstDecale(const TDecalage& d);
// The shifted axes, for the status bar and "Propriétés": "X = 651000 m, Y = 6858000 m".
std::string TexteDecalage(const TDecalage& d);
// The survey's own coordinates: the shift added back in 64 bits, only on the axes that have one
// (so that a -0 stays as it was written).
TV3R CoordonneesDuLeve(const TV3S& p, const TDecalage& d);
