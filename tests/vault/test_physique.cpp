#include "NuageEssai.h"

#include <cmath>

// The total weight at the springing is the web's surface times its surface mass plus the rib's
// length times its linear mass, on vaults whose surfaces are known.
using ControlePhysique = TEtudeEssai;

namespace {

// Bay 8 x 6 m, quarter 1, rib 20 cm: key (4, 3), springing (8, 6), rib along (0.8, 0.6). The
// rib's edges, 0.1 m either side of its axis, meet the sides at x = 4 + 1/6 and y = 3 + 1/8
// (ridge lines) and y = 5.875 and x = 7 + 5/6 (wall lines): two right triangles of legs 23/6 and
// 23/8. The rib ends midway between the two edge ends, at (4, 3) + (47/12, 47/16).
constexpr double AireVoutains = 2 * (23.0 / 6) * (23.0 / 8) / 2;
const double LongueurAretier = std::hypot(47.0 / 12, 47.0 / 16);

TNuage Baie(double pente) {
    TNuage n;
    n.x1 = 8;
    n.y1 = 6;
    n.pas = 0.05;
    n.hauteur = [pente](double x, double) { return 5 + pente * x; };
    return n;
}

} // namespace

TEST_F(ControlePhysique, PoidsTotalDUneVouteHorizontale) {
    Charger(Baie(0));
    T.ActualiserStructure();
    T.CalculerCharges();
    EXPECT_NEAR(T.Etude.EffortsSurAppui.Z, 150 * AireVoutains + 100 * LongueurAretier, 1e-3);
}

TEST_F(ControlePhysique, PoidsTotalDUnPlanIncline) {
    // z = 5 + 0.5 x. The strips' widths are taken in plan, along the ridge lines: the right
    // half-quarter's arcs run along Y, level; the left one's along X, on the slope.
    Charger(Baie(0.5));
    T.ActualiserStructure();
    T.CalculerCharges();
    const double voutains = AireVoutains / 2 * (1 + std::sqrt(1 + 0.25));
    const double aretier = LongueurAretier * std::sqrt(1 + 0.25 * 0.8 * 0.8);
    // The heights are those of the nearest points, 5 cm apart.
    EXPECT_NEAR(T.Etude.EffortsSurAppui.Z, 150 * voutains + 100 * aretier,
                2e-3 * T.Etude.EffortsSurAppui.Z);
}
