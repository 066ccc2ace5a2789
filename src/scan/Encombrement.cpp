#include "scan/Encombrement.h"

#include "scan/ConstructionGrille.h"

#include <cmath>
#include <vector>

namespace {

// The grid of the box, each level-0 cube in the cell of its corner. Every remaining point stays
// within the grid's margin of the box, and so does its level-0 cube.
void RedimensionnerGrille(TEtatScan& scan) {
    const TDimensionsGrille grille = DimensionnerGrille(scan.CooMin, scan.CooMax);
    if (grille.Orig == scan.OrigGrille && grille.Dim == scan.DimGrille) return;
    std::vector<TCube*> cubes;
    cubes.reserve(std::size_t(scan.NbCubesNiv[0]));
    scan.PourChaqueCubeDuNiveau(0, [&](TCube* c) { cubes.push_back(c); });
    scan.OrigGrille = grille.Orig;
    scan.DimGrille = grille.Dim;
    scan.AllouerGrille();
    for (TCube* c : cubes) {
        // Level-0 corners are whole metres, exact in 32 bits.
        const TV3S& coin = c->CooOriCube;
        scan.Grille[scan.IndiceCellule(int(coin.X) - scan.OrigGrille[0],
                                       int(coin.Y) - scan.OrigGrille[1],
                                       int(coin.Z) - scan.OrigGrille[2])] = c;
    }
}

} // namespace

void AjusterEncombrement(TEtatScan& scan) {
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
    scan.PourChaqueCubeDuNiveau(niveau, [&](const TCube* c) {
        reste = true;
        for (int a = 0; a < 3; ++a) {
            moyMin[a] = std::fmin(moyMin[a], c->CooMoyPts[a]);
            moyMax[a] = std::fmax(moyMax[a], c->CooMoyPts[a]);
            atteintMin[a] = atteintMin[a] || c->CooOriCube[a] <= seuilMin[a];
            atteintMax[a] = atteintMax[a] || double(c->CooOriCube[a]) + cote >= seuilMax[a];
        }
    });
    if (!reste) return;
    for (int a = 0; a < 3; ++a) {
        if (!atteintMin[a]) scan.CooMin[a] = moyMin[a];
        if (!atteintMax[a]) scan.CooMax[a] = moyMax[a];
    }
    RedimensionnerGrille(scan);
}
