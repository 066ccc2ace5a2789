#pragma once
// What the heights of the structure are read from: the mean points of the displayed cubes. A
// rebuild makes hundreds of nearest-cube searches and the displayed level may hold millions of
// cubes, so their plan positions are sorted once into a uniform grid of cells, searched ring by
// ring outwards from the query. The answer is always the one a scan of every cube in the order
// of CubesAffiches gives: same distances rounded to 32 bits, same winner among equally near
// cubes.

#include "geometry/UtilsVect.h"

#include <cstdint>
#include <optional>
#include <vector>

class TCube;

class TReleveHauteurs {
public:
    // At least one cube for a height to be defined (VerifierCubesAffiches).
    explicit TReleveHauteurs(const std::vector<TCube*>& cubes);
    // Height of the cube nearest p in plan: distances squared in double, rounded to 32 bits; the
    // first of equally near cubes wins; every cube counts, whatever its state. The first cube
    // when no distance is below the largest 32-bit real.
    float HauteurAuPoint(const TV2R& p) const;
    std::size_t NbCubes() const { return nbCubes_; }

private:
    struct TEntree {
        float X, Y, Z;
        std::uint32_t Rang; // in CubesAffiches
    };

    std::size_t nbCubes_ = 0;
    float zPremier_ = 0;
    // The cubes of the grid cell by cell, then those outside the grid (strays far from the
    // survey, which would otherwise stretch the cells over empty space). A cube whose plan
    // position is not finite is left out: its distance is never below the largest real.
    std::vector<TEntree> entrees_;
    // Where each cell starts, row j then column i, the cubes outside the grid last: nx * ny + 2.
    std::vector<std::uint32_t> debutCellule_;
    std::uint32_t nbDansGrille_ = 0;
    double x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0; // the grid's box, all its cubes inside
    double pas_ = 1;                           // edge of a cell
    std::int64_t nx_ = 0, ny_ = 0;

    std::int64_t Colonne(double x) const;
    std::int64_t Ligne(double y) const;
};

// The index of the displayed cubes kept between rebuilds: built again only when the displayed
// set has changed (TEtatScan::VersionAffiches) or has been dropped.
class TReleveCubesAffiches {
public:
    const TReleveHauteurs& AJour(const std::vector<TCube*>& cubes, std::uint64_t version);
    void Oublier() { releve_.reset(); }

private:
    std::optional<TReleveHauteurs> releve_;
    std::uint64_t version_ = 0;
};
