#pragma once
// What the heights of the structure are read from: the mean points of the displayed cubes. A
// rebuild makes hundreds of nearest-cube searches and the displayed level may hold millions of
// cubes, so their plan positions are put in a grid (TGrilleHauteurs). The searches of a rebuild
// all lie on the studied quarter: the cubes around it are enough to answer them, and indexing
// only those spares the time and memory of placing millions of cubes the quarter never reaches.
// Whichever cubes were indexed, the answer is always the one a scan of every cube gives, and it
// depends only on the set of cubes shown, never on their order. Deleted cubes are no longer part
// of the survey the user sees: they count in no height, compacted or not.

#include "geometry/UtilsVect.h"
#include "scan/ListeCubes.h"
#include "vault/GrilleHauteurs.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

class TCube;

// A height read at a plan point, and how far in plan the cube it came from lies.
struct THauteurLue {
    float Z = NAN;              // no cube: not a number
    double Distance = INFINITY; // metres
};

// The heights of the cubes nearly as near as the nearest one.
struct TEtendueHauteurs {
    float ZMin = NAN, ZMax = NAN;
    std::int64_t NbCubes = 0;
};

class TReleveHauteurs {
public:
    // Nothing is indexed yet: the first height read indexes the cubes it needs. The cubes must
    // stay as they are for as long as heights are read.
    explicit TReleveHauteurs(const TListeCubes& cubes);
    // The heights about to be read lie in the box of these points: the cubes within that box,
    // widened, are indexed alone. A height whose nearest cube could lie outside is still exact:
    // it is read from every cube. After a few zones, every cube is indexed.
    void PreparerZone(const std::vector<TV2R>& points);
    // Height of the cube nearest p in plan (squared distances compared in double), the highest
    // of equally near cubes; deleted cubes do not count, selected and masked ones do.
    THauteurLue HauteurAuPoint(const TV2R& p);
    // The heights of the cubes at most `ecart` farther from p in plan than the nearest one.
    TEtendueHauteurs EtendueAuPoint(const TV2R& p, double ecart);
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

    // The zone's grid when every cube within sqrt(distance) of p is in it.
    const TGrilleHauteurs* ZoneSuffit(const TV2R& p, double distance) const;
    const TGrilleHauteurs& Tous();
    // The positions of the cubes that `retenir` keeps, deleted cubes left out.
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
