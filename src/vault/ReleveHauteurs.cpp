#include "vault/ReleveHauteurs.h"

#include "scan/UArkaluneGlb.h"

TReleveHauteurs::TReleveHauteurs(const std::vector<TCube*>& cubes) {
    x_.reserve(cubes.size());
    y_.reserve(cubes.size());
    z_.reserve(cubes.size());
    for (const TCube* c : cubes) {
        x_.push_back(c->CooMoyPts.X);
        y_.push_back(c->CooMoyPts.Y);
        z_.push_back(c->CooMoyPts.Z);
    }
}

float TReleveHauteurs::HauteurAuPoint(const TV2R& p) const {
    // Defined even when no distance is finite (a point far beyond the float range): the first.
    std::size_t meilleur = 0;
    float distanceMin = PlusGrandReel;
    const std::size_t n = x_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = p.X - double(x_[i]);
        const double dy = p.Y - double(y_[i]);
        const float distance = static_cast<float>(dx * dx + dy * dy);
        if (distance < distanceMin) {
            distanceMin = distance;
            meilleur = i;
        }
    }
    return z_[meilleur];
}
