// The arrows of the axes symbol: a 16-sided shaft ended by a 16-sided cone, along each axis.

#include "view/SceneVue.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Circle of radius 0.5 from -90 degrees by steps of 22.5 degrees, to three decimals.
constexpr std::array<std::array<double, 2>, 16> Anneau = {{{0, -0.5},
                                                           {0.191, -0.462},
                                                           {0.354, -0.354},
                                                           {0.462, -0.191},
                                                           {0.5, 0},
                                                           {0.462, 0.191},
                                                           {0.354, 0.354},
                                                           {0.191, 0.462},
                                                           {0, 0.5},
                                                           {-0.191, 0.462},
                                                           {-0.354, 0.354},
                                                           {-0.462, 0.191},
                                                           {-0.5, 0},
                                                           {-0.462, -0.191},
                                                           {-0.354, -0.354},
                                                           {-0.191, -0.462}}};

// The X arrow's points (x, y, z) become, for the arrow of `axe`, these permutations; both are
// rotations, so the faces keep their outward orientation.
TV3R Permuter(const TV3R& p, int axe) {
    switch (axe) {
    case 0:
        return p;
    case 1:
        return {p.Z, p.X, p.Y};
    default:
        return {p.Y, p.Z, p.X};
    }
}

void AjouterFace(std::vector<TFaceFleche>& faces, TCouleurVue couleur,
                 std::initializer_list<TV3R> pts) {
    TFaceFleche f;
    f.Couleur = couleur;
    f.NbSommets = static_cast<std::int32_t>(pts.size());
    std::copy(pts.begin(), pts.end(), f.Sommets.begin());
    const TV3R& p1 = f.Sommets[0];
    f.Normale = CrossV3R(SubV3R(f.Sommets[1], p1), SubV3R(f.Sommets[f.NbSommets - 1], p1));
    faces.push_back(f);
}

} // namespace

std::vector<TFaceFleche> DessinerRepere(std::int32_t s) {
    constexpr TCouleurVue Couleurs[3] = {VertVue, RougeVue, BleuVue};
    const double t = s;
    std::vector<TFaceFleche> faces;
    faces.reserve(3 * 48);
    for (int axe = 0; axe < 3; ++axe) {
        auto A = [&](int k) {
            return Permuter({0, 0.05 * t * Anneau[k][0], 0.05 * t * Anneau[k][1]}, axe);
        };
        auto B = [&](int k) {
            return Permuter({0.8 * t, 0.05 * t * Anneau[k][0], 0.05 * t * Anneau[k][1]}, axe);
        };
        auto C = [&](int k) {
            return Permuter({0.8 * t, 0.15 * t * Anneau[k][0], 0.15 * t * Anneau[k][1]}, axe);
        };
        const TV3R pointe = Permuter({axe == 0 ? 1.3 * t : t, 0, 0}, axe);
        const TCouleurVue couleur = Couleurs[axe];
        for (int k = 0; k < 16; ++k) {
            const int k1 = (k + 1) % 16;
            AjouterFace(faces, couleur, {A(k), A(k1), B(k1), B(k)});
        }
        for (int k = 0; k < 16; ++k) {
            const int k1 = (k + 1) % 16;
            AjouterFace(faces, couleur, {B(k), B(k1), C(k1), C(k)});
            AjouterFace(faces, couleur, {C(k), C(k1), pointe});
        }
    }
    return faces;
}
