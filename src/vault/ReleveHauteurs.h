#pragma once
// What the heights of the structure are read from: the mean points of the displayed cubes. A
// rebuild makes hundreds of nearest-cube searches and the displayed level may hold millions of
// cubes, so their plan positions are put in a grid (TGrilleHauteurs). The searches of a rebuild
// all lie on the studied quarter: the cubes around it are enough to answer them, and indexing
// only those spares the time and memory of placing millions of cubes the quarter never reaches.
// Whichever cubes were indexed, the answer is always the one a scan of every cube in the order
// of CubesAffiches gives: same distances rounded to 32 bits, same winner among equally near
// cubes.

#include "geometry/UtilsVect.h"
#include "scan/ListeCubes.h"
#include "vault/GrilleHauteurs.h"

#include <cstdint>
#include <optional>
#include <vector>

class TCube;

class TReleveHauteurs {
public:
    // Nothing is indexed yet: the first height read indexes the cubes it needs. The cubes must
    // stay as they are for as long as heights are read.
    explicit TReleveHauteurs(const TListeCubes& cubes);
    // The heights about to be read lie in the box of these points: the cubes within that box,
    // widened, are indexed alone. A height whose nearest cube could lie outside is still exact:
    // it is read from every cube. After a few zones, every cube is indexed.
    void PreparerZone(const std::vector<TV2R>& points);
    // Height of the cube nearest p in plan: distances squared in double, rounded to 32 bits; the
    // first of equally near cubes wins; every cube counts, whatever its state. The first cube
    // when no distance is below the largest 32-bit real.
    float HauteurAuPoint(const TV2R& p);
    std::size_t NbCubes() const { return cubes_.size(); }

private:
    struct TBoite {
        double X0, Y0, X1, Y1;
        bool Contient(double x, double y) const { return x >= X0 && x <= X1 && y >= Y0 && y <= Y1; }
    };
    struct TZone {
        TGrilleHauteurs Grille;
        TBoite Boite; // every cube inside is in the grid, none outside
    };

    const TListeCubes& cubes_;
    std::optional<TZone> zone_;
    TBoite zoneDemandee_{}; // the box of the points the zone was prepared for
    int nbZones_ = 0;
    std::optional<TGrilleHauteurs> tous_;

    std::optional<float> HauteurDansLaZone(const TV2R& p) const;
    const TGrilleHauteurs& Tous();
    // The positions of the cubes that `retenir` keeps, with their ranks.
    template <class FRetenir> TGrandVecteur<TPositionCube> Positions(FRetenir&& retenir) const;
};

// The index of the displayed cubes kept between rebuilds: made again only when the displayed
// set has changed (TEtatScan::VersionAffiches) or has been dropped.
class TReleveCubesAffiches {
public:
    TReleveHauteurs& AJour(const TListeCubes& cubes, std::uint64_t version);
    void Oublier() { releve_.reset(); }

private:
    std::optional<TReleveHauteurs> releve_;
    std::uint64_t version_ = 0;
};
