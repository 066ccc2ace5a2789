#pragma once
// A synthetic survey of one quadripartite ribbed vault over a rectangular bay: four webs, two
// diagonal ribs, two transverse arches and two wall arches, seen by a laser scanner from two
// stations under the vault. The points come in the order a scanner records them, with range
// noise, stone relief and stone colours; the same parameters always give the same points, bit
// for bit.

#include "geometry/UtilsVect.h"

#include <cstdint>
#include <functional>

struct TParametresVoute {
    std::int64_t NbPoints = 1000000;
    std::uint64_t Graine = 1;
    double PorteeX = 8; // between the transverse arches, metres
    double PorteeY = 6; // between the wall arches, metres
    // Corner of the bay at the springing level, in the survey's frame. A local survey frame: the
    // scan stores 32-bit coordinates, which cannot hold national-grid values to the millimetre.
    TV3R Origine{1652.37, 8203.61, 40.0};
};

// Limits of the parameters, checked by GenererVoute.
inline constexpr double PorteeMin = 2, PorteeMax = 40;
inline constexpr std::int64_t NbPointsMax = 2147483647;

struct TPointGenere {
    TV3R P;
    TV4By Couleur{};
};

// Calls `recevoir` once for each of the NbPoints points, in recording order. Throws EErreur
// (French message) for parameters out of their limits.
void GenererVoute(const TParametresVoute& parametres,
                  const std::function<void(const TPointGenere&)>& recevoir);
