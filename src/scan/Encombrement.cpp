#include "scan/Encombrement.h"

#include "scan/ConstructionGrille.h"
#include "scan/PasEntretien.h"

#include <cmath>

namespace {

// The grid of the box. Cells are numbered from the grid's origin: a new origin renumbers them,
// in the same order.
void RedimensionnerGrille(TEtatScan& scan) {
    const TDimensionsGrille grille = DimensionnerGrille(scan.CooMin, scan.CooMax);
    for (TCellule& cellule : scan.CellulesGrille)
        for (std::size_t a = 0; a < 3; ++a)
            cellule[a] += scan.OrigGrille[a] - grille.Orig[a];
    scan.OrigGrille = grille.Orig;
    scan.DimGrille = grille.Dim;
}

} // namespace

void AjusterEncombrement(TEtatScan& scan, const std::function<void()>& entretenir) {
    const int niveau = scan.NivMax;
    const double cote = TailleNiv[std::size_t(niveau)];
    TV3S moyMin{PlusGrandReel, PlusGrandReel, PlusGrandReel};
    TV3S moyMax{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    bool atteintMin[3] = {false, false, false}, atteintMax[3] = {false, false, false};
    bool reste = false;
    // A cube holds a point of the side when its edge reaches it; a point on a cube's face may
    // lie an ulp beyond the rounded corner, hence the tolerance of one ulp.
    const TV3S seuilMin{std::nextafter(scan.CooMin.X, INFINITY),
                        std::nextafter(scan.CooMin.Y, INFINITY),
                        std::nextafter(scan.CooMin.Z, INFINITY)};
    const TV3S seuilMax{std::nextafter(scan.CooMax.X, -INFINITY),
                        std::nextafter(scan.CooMax.Y, -INFINITY),
                        std::nextafter(scan.CooMax.Z, -INFINITY)};
    std::size_t vus = 0;
    scan.PourChaqueCubeDuNiveau(niveau, [&](const TCube* c) {
        if (++vus % PasEntretien == 0 && entretenir) entretenir();
        reste = true;
        const TV3S coin = scan.CooOriCube(c);
        for (int a = 0; a < 3; ++a) {
            moyMin[a] = std::fmin(moyMin[a], c->CooMoyPts[a]);
            moyMax[a] = std::fmax(moyMax[a], c->CooMoyPts[a]);
            atteintMin[a] = atteintMin[a] || coin[a] <= seuilMin[a];
            atteintMax[a] = atteintMax[a] || double(coin[a]) + cote >= seuilMax[a];
        }
    });
    if (!reste) return;
    for (int a = 0; a < 3; ++a) {
        if (!atteintMin[a]) scan.CooMin[a] = moyMin[a];
        if (!atteintMax[a]) scan.CooMax[a] = moyMax[a];
    }
    RedimensionnerGrille(scan);
}
