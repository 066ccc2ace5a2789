#pragma once
// A uniform plan grid over the mean points of cubes, searched ring by ring outwards from a
// query for the nearest one. The answer is the one a scan of the same cubes in rank order
// gives: same distances rounded to 32 bits, same winner among equally near cubes.

#include "geometry/UtilsVect.h"
#include "util/GrandesPages.h"

#include <cstdint>
#include <vector>

// A cube as the grid keeps it: its mean point and its rank in the displayed cubes.
struct TPositionCube {
    float X, Y, Z;
    std::uint32_t Rang;
};

// The best cube so far: the smallest distance, then the smallest rank.
struct TPlusProche {
    float Distance = PlusGrandReel;
    std::uint32_t Rang = 0;
    float Z = 0;
};

// The distance that decides, computed exactly as the scan of every cube does.
inline float DistancePlan(const TV2R& p, float x, float y) {
    const double dx = p.X - double(x);
    const double dy = p.Y - double(y);
    return Arrondi32(dx * dx + dy * dy);
}

// What a lower bound on a distance gives up, far more than the rounding of the few operations
// between it and a computed distance.
inline constexpr double MargeBorne = 1e-9;

class TGrilleHauteurs {
public:
    // Positions with finite X and Y only; they are taken in.
    explicit TGrilleHauteurs(TGrandVecteur<TPositionCube> positions);
    // `meilleur` improved by the grid's cubes.
    void Chercher(const TV2R& p, TPlusProche& meilleur) const;

private:
    // The cubes cell by cell, then those outside the grid (strays far from the survey, which
    // would otherwise stretch the cells over empty space).
    TGrandVecteur<TPositionCube> entrees_;
    // Where each cell starts, row j then column i, the cubes outside the grid last: nx * ny + 2.
    TGrandVecteur<std::uint32_t> debutCellule_;
    std::uint32_t nbDansGrille_ = 0;
    double x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0; // the grid's box, all its cubes inside
    double pas_ = 1;                           // edge of a cell
    std::int64_t nx_ = 0, ny_ = 0;

    std::int64_t Colonne(double x) const;
    std::int64_t Ligne(double y) const;
    void Examiner(const TV2R& p, std::size_t debut, std::size_t fin, TPlusProche& meilleur) const;
};
