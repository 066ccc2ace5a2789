#pragma once
// A uniform plan grid over the mean points of cubes, searched ring by ring outwards from a
// query for the nearest one. The answer is the one a scan of every cube gives, whatever their
// order: distances compared exactly, and among equally near cubes the highest.

#include "geometry/UtilsVect.h"
#include "util/GrandesPages.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

// A cube as the grid keeps it: its mean point.
struct TPositionCube {
    float X, Y, Z;
};

// The best cube so far: the smallest distance, then the highest. At the springing the cubes
// nearest in plan are often a column (a pier, a wall): the highest is the vault's surface over
// it, and the choice is the same whatever the order the cubes come in.
struct TPlusProche {
    double Distance = INFINITY; // squared, in plan
    float Z = NAN;              // none found while the distance is infinite
    void Examiner(double d, float z) {
        if (d < Distance || (d == Distance && z > Z)) {
            Distance = d;
            Z = z;
        }
    }
};

// The squared distance that decides, computed the same way wherever a cube is examined.
inline double DistancePlan(const TV2R& p, float x, float y) {
    const double dx = p.X - double(x);
    const double dy = p.Y - double(y);
    return dx * dx + dy * dy;
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
    // Every cube whose squared distance to p may be at most `distanceMax` (a few more beyond).
    void Parcourir(const TV2R& p, double distanceMax,
                   const std::function<void(const TPositionCube&)>& visiter) const;

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
    // The cells ring by ring around p, each ring's cubes handed to `examiner` while
    // `continuer(lower bound of the ring's squared distances)` holds.
    void ParAnneaux(const TV2R& p, const std::function<bool(double)>& continuer,
                    const std::function<void(std::size_t, std::size_t)>& examiner) const;
};
