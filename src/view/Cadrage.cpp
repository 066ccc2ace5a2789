#include "view/Cadrage.h"

#include <cmath>

void CalculerCadrage(TEtatVue& vue, const TV3S& mini, const TV3S& maxi) {
    const double dx = double(maxi.X) - double(mini.X);
    const double dy = double(maxi.Y) - double(mini.Y);
    const double dz = double(maxi.Z) - double(mini.Z);
    vue.RayonStruc = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
    vue.CentreRotAbs = {static_cast<float>((double(mini.X) + double(maxi.X)) / 2),
                        static_cast<float>((double(mini.Y) + double(maxi.Y)) / 2),
                        static_cast<float>((double(mini.Z) + double(maxi.Z)) / 2)};
    vue.CoefZoom = 1;
}
