// The extent of a loaded scan: the grid that holds it, and the camera that frames it.

#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Format.h"
#include "view/NavigationVue.h"

#include <cmath>
#include <limits>

namespace {
constexpr double MaxCellules = 50e6;
}

void TEspaceTravail::CalculerEncombrement() {
    const TV3S& mini = Scan.CooMin;
    const TV3S& maxi = Scan.CooMax;
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
    for (int a = 0; a < 3; ++a) {
        Scan.OrigGrille[a] = static_cast<std::int32_t>(orig[a]);
        Scan.DimGrille[a] = static_cast<std::int32_t>(dim[a]);
    }
    CadrerVue(Vue, mini, maxi);
}
