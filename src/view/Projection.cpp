#include "view/Projection.h"

#include "geometry/UtilsGeom.h"

namespace {
std::array<double, 4> MulGL16V4(const TmatGL16& m, const std::array<double, 4>& v) {
    std::array<double, 4> r{};
    for (int l = 0; l < 4; ++l)
        r[l] = v[0] * m[l] + v[1] * m[4 + l] + v[2] * m[8 + l] + v[3] * m[12 + l];
    return r;
}
} // namespace

TmatGL16 MultiplierGL16(const TmatGL16& a, const TmatGL16& b) {
    TmatGL16 r{};
    for (int c = 0; c < 4; ++c)
        for (int l = 0; l < 4; ++l) {
            double somme = 0;
            for (int k = 0; k < 4; ++k)
                somme += a[k * 4 + l] * b[c * 4 + k];
            r[c * 4 + l] = somme;
        }
    return r;
}

TmatGL16 MatriceOrtho(double gauche, double droite, double bas, double haut, double proche,
                      double loin) {
    TmatGL16 m = IdentiteGL16();
    if (gauche == droite || bas == haut || proche == loin) return m;
    m[0] = 2 / (droite - gauche);
    m[5] = 2 / (haut - bas);
    m[10] = -2 / (loin - proche);
    m[12] = -(droite + gauche) / (droite - gauche);
    m[13] = -(haut + bas) / (haut - bas);
    m[14] = -(loin + proche) / (loin - proche);
    return m;
}

TmatGL16 Translater(const TmatGL16& m, double x, double y, double z) {
    TmatGL16 r = m;
    for (int l = 0; l < 4; ++l)
        r[12 + l] = m[l] * x + m[4 + l] * y + m[8 + l] * z + m[12 + l];
    return r;
}

bool ProjeterPoint(const TV3R& p, const TmatGL16& modeleVue, const TmatGL16& projection,
                   const TViewport& viewport, TV3R& fenetre) {
    std::array<double, 4> n = MulGL16V4(projection, MulGL16V4(modeleVue, {p.X, p.Y, p.Z, 1}));
    if (n[3] == 0) return false;
    for (int a = 0; a < 3; ++a)
        n[a] = n[a] / n[3] * 0.5 + 0.5;
    fenetre = {n[0] * viewport[2] + viewport[0], n[1] * viewport[3] + viewport[1], n[2]};
    return true;
}

std::int32_t NormaliserAngle(std::int32_t angle) {
    return angle % 360;
}
