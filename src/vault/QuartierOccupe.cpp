#include "vault/QuartierOccupe.h"

#include "scan/UArkaluneGlb.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Points on the quarter's edge count, within what separates a box corner computed in 32-bit
// halves from the survey's own extreme point.
constexpr double ToleranceBord = 0.001; // metres

bool PresDuSegment(const TV2R& p, const TV2R& a, const TV2R& b) {
    const double ux = b.X - a.X, uy = b.Y - a.Y;
    const double l2 = ux * ux + uy * uy;
    const double t =
        l2 > 0 ? std::clamp(((p.X - a.X) * ux + (p.Y - a.Y) * uy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(p.X - (a.X + t * ux), p.Y - (a.Y + t * uy)) <= ToleranceBord;
}

// Crossings of a ray towards +X: an odd count is inside, whatever the polygon's orientation.
bool DansPolygone(const TV2R& p, const std::array<TV2R, 4>& sommets) {
    bool dedans = false;
    for (std::size_t i = 0, j = sommets.size() - 1; i < sommets.size(); j = i++) {
        const TV2R& a = sommets[i];
        const TV2R& b = sommets[j];
        if (PresDuSegment(p, a, b)) return true;
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
            dedans = !dedans;
    }
    return dedans;
}

} // namespace

bool QuartierContientUnPoint(const TRectangleModelisation& quartier, const TListeCubes& cubes) {
    const std::array<TV2R, 4> sommets = {quartier.XYcle, quartier.XYL1, quartier.XYapp,
                                         quartier.XYL2};
    return std::any_of(cubes.begin(), cubes.end(), [&](const TCube* c) {
        return !(c->etatSP & EtatSupprime) &&
               DansPolygone({c->CooMoyPts.X, c->CooMoyPts.Y}, sommets);
    });
}
