#include "scan/ConstructionGrille.h"

#include "util/Erreurs.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
constexpr double MaxCellules = 50e6;
}

TDimensionsGrille DimensionnerGrille(const TV3S& mini, const TV3S& maxi) {
    std::array<double, 3> orig{}, dim{};
    double cellules = 1;
    for (int a = 0; a < 3; ++a) {
        const float lo = static_cast<float>(double(mini[a]) - 0.01);
        const float hi = static_cast<float>(double(maxi[a]) + 0.01);
        orig[a] = std::floor(double(lo));
        dim[a] = std::floor(double(hi)) - orig[a] + 2;
        cellules *= dim[a];
    }
    bool sain = true;
    for (int a = 0; a < 3; ++a)
        sain = sain && std::isfinite(orig[a]) && std::isfinite(dim[a]) && dim[a] >= 1 &&
               orig[a] >= std::numeric_limits<std::int32_t>::min() &&
               orig[a] + dim[a] <= std::numeric_limits<std::int32_t>::max();
    if (!sain || !(cellules <= MaxCellules))
        throw EErreur(Formater("étendue du scan trop grande pour la grille : X de %g à %g, Y de %g "
                               "à %g, Z de %g à %g (%.0f cellules de 1 m, 50 000 000 au plus)",
                               double(mini.X), double(maxi.X), double(mini.Y), double(maxi.Y),
                               double(mini.Z), double(maxi.Z), sain ? cellules : INFINITY));
    TDimensionsGrille d;
    for (int a = 0; a < 3; ++a) {
        d.Orig[a] = static_cast<std::int32_t>(orig[a]);
        d.Dim[a] = static_cast<std::int32_t>(dim[a]);
    }
    return d;
}

std::int64_t ConstruireGrille(TEtatScan& scan, const TDimensionsGrille& dimensions,
                              const TLireLot& lireLot, const TSortieProgression& sortie) {
    scan.OrigGrille = dimensions.Orig;
    scan.DimGrille = dimensions.Dim;
    scan.AllouerGrille();
    TProgression progression = TProgression::ParPas(sortie, "construction : ", scan.NbPoints / 100);
    std::vector<TPointScan> lot(std::size_t(std::min<std::int64_t>(scan.NbPoints, RecordsParLot)));
    std::int64_t i = 0;
    std::int64_t horsGrille = 0;
    const std::int64_t total = scan.NbPoints;
    while (i < total) {
        const std::size_t n =
            lireLot(lot.data(), std::size_t(std::min<std::int64_t>(total - i, RecordsParLot)));
        for (std::size_t q = 0; q < n; ++q) {
            ++i;
            const TPointScan& pt = lot[q];
            const double cx = std::floor(double(pt.X)) - scan.OrigGrille[0];
            const double cy = std::floor(double(pt.Y)) - scan.OrigGrille[1];
            const double cz = std::floor(double(pt.Z)) - scan.OrigGrille[2];
            if (!(cx >= 0 && cx < scan.DimGrille[0] && cy >= 0 && cy < scan.DimGrille[1] &&
                  cz >= 0 && cz < scan.DimGrille[2])) {
                ++horsGrille;
            } else {
                const int ix = int(cx), iy = int(cy), iz = int(cz);
                TCube*& cellule = scan.Grille[scan.IndiceCellule(ix, iy, iz)];
                if (!cellule)
                    cellule = scan.CreerCube(nullptr, 0, 0,
                                             {float(scan.OrigGrille[0] + ix),
                                              float(scan.OrigGrille[1] + iy),
                                              float(scan.OrigGrille[2] + iz)});
                try {
                    cellule->EnregistrerUnPoint(scan, pt.X, pt.Y, pt.Z, pt.Couleur);
                } catch (const std::exception& e) {
                    throw EErreur(std::string("erreur enregistrement de point : ") + e.what());
                }
            }
            progression.Avancer(i);
        }
        if (n == 0) break;
    }
    TV3S somme;
    std::array<std::int64_t, 4> couleurs;
    std::int32_t n;
    for (TCube* c : scan.Grille)
        if (c) c->CalculerLesMoyennes(somme, couleurs, n);
    return horsGrille;
}
