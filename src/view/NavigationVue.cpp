// The camera: framing, orientation, the matrices of each drawing, zoom and pan.

#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Format.h"

#include "view/Projection.h"

#include <algorithm>
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

    const double dx = double(maxi.X) - double(mini.X);
    const double dy = double(maxi.Y) - double(mini.Y);
    const double dz = double(maxi.Z) - double(mini.Z);
    Vue.RayonStruc = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
    Vue.CentreRotAbs = {static_cast<float>((double(mini.X) + double(maxi.X)) / 2),
                        static_cast<float>((double(mini.Y) + double(maxi.Y)) / 2),
                        static_cast<float>((double(mini.Z) + double(maxi.Z)) / 2)};
    Vue.CoefZoom = 1;
}

void TEspaceTravail::OrienterVue(int code) {
    switch (code) {
    case 1:
        Vue.LongAbsDeg = -90, Vue.LatAbsDeg = 0;
        break;
    case 2:
        Vue.LongAbsDeg = 0, Vue.LatAbsDeg = 0;
        break;
    case 3:
        Vue.LongAbsDeg = -90, Vue.LatAbsDeg = 90;
        break;
    default:
        break;
    }
    Plateforme.RedessinerVue();
}

void TEspaceTravail::ActualiserRotZ() {
    TexteEdRotZ = Formater("%.0f", Vue.AngRotZdeg);
    const double theta = Vue.AngRotZdeg * Pi / 180;
    Vue.McbRotZ2 = RotM2Angle(theta);
    M3ToGL(RotM3Angles({0, 0, theta}), Vue.rotmatrixrepere);
    RetracerTout();
}

void TEspaceTravail::BtActualiserRotClick(const std::string& texteEdRotZ) {
    // Blanks around the number are tolerated; anything else that is not a number gives 0, and so
    // does a number too large for a real: an infinite angle would leave the view and the frontier
    // moves without a direction.
    std::string_view texte = texteEdRotZ;
    const auto debut = texte.find_first_not_of(" \t");
    texte =
        debut == texte.npos ? "" : texte.substr(debut, texte.find_last_not_of(" \t") - debut + 1);
    double angle = 0;
    if (!LireReel(texte, angle) || !std::isfinite(angle)) angle = 0;
    Vue.AngRotZdeg = angle;
    ActualiserRotZ();
}

void TEspaceTravail::CalculerRotMatrix(TmatGL16& matrice) {
    Vue.LongAbsDeg = NormaliserAngle(Vue.LongAbsDeg);
    Vue.LatAbsDeg = NormaliserAngle(Vue.LatAbsDeg);
    const double L = (Vue.LongAbsDeg - Vue.AngRotZdeg) * Pi / 180;
    const double phi = Vue.LatAbsDeg * Pi / 180;
    const double cL = std::cos(L), sL = std::sin(L), cP = std::cos(phi), sP = std::sin(phi);
    Vue.MCBproj3 = {{{-sL, cL, 0}, {-cL * sP, -sL * sP, cP}, {cL * cP, sL * cP, sP}}};
    M3ToGL(Vue.MCBproj3, matrice);
}

void TEspaceTravail::PreparerProjection(std::int32_t largeur, std::int32_t hauteur) {
    Vue.VGLwidth = largeur;
    Vue.VGLcentreH = largeur / 2;
    Vue.VGLheight = hauteur;
    Vue.VGLcentreV = hauteur / 2;
    Vue.viewport = {0, 0, largeur, hauteur};

    Vue.EchAff = Vue.RayonStruc / Vue.CoefZoom / double(std::max(largeur, hauteur));
    const double demiL = Vue.EchAff * largeur, demiH = Vue.EchAff * hauteur;
    Vue.projmatrix = MatriceOrtho(-demiL, demiL, -demiH, demiH, -1000, 1000);

    Vue.rotmatrix = IdentiteGL16();
    CalculerRotMatrix(Vue.rotmatrix);
    const TV3S& c = Vue.CentreRotAbs;
    Vue.mvmatrix = Translater(Vue.rotmatrix, -double(c.X), -double(c.Y), -double(c.Z));
}

void TEspaceTravail::DeplacerVue(std::int32_t dx, std::int32_t dy) {
    const double pixel = 2 * Vue.EchAff;
    const TV3R v = MulTM3V3(GLToM3(Vue.mvmatrix), {pixel * dx, -pixel * dy, 0});
    Vue.CentreRotAbs = SubV3S(Vue.CentreRotAbs, V3RToV3S(v));
}

void TEspaceTravail::FormMouseWheel(std::int32_t delta, TPointEcran pointeur, bool& traite) {
    // Only the sign counts: one message, one step. A message without a vertical step is not one.
    if (delta == 0) return;
    double f = Plateforme.ShiftEnfonce() ? 2 : 1.1;
    if (delta < 0) f = 1 / f;
    double z = Vue.CoefZoom * f;
    if (z < 0.1) z = 0.1;
    if (z == Vue.CoefZoom) return;

    // The cloud point under the pointer stays under it: the centre moves by the difference of
    // the pointer's offset at the old and at the new pixel size.
    const double px = double(pointeur.X) - Vue.VGLcentreH;
    const double py = double(Vue.VGLcentreV) - pointeur.Y;
    const TV3x3R R = GLToM3(Vue.mvmatrix);
    const double pixel = 2 * Vue.EchAff;
    const TV3R a = MulTM3V3(R, {pixel * px, pixel * py, 0});
    const double e = 2 * Vue.EchAff * Vue.CoefZoom / z;
    const TV3R b = MulTM3V3(R, {e * px, e * py, 0});
    Vue.CentreRotAbs = SubV3S(Vue.CentreRotAbs, V3RToV3S(SubV3R(b, a)));
    Vue.CoefZoom = z;
    traite = true;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SBtEchPlusClick() {
    Vue.CoefZoom = Vue.CoefZoom * 1.01;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SBtEchMoinsClick() {
    Vue.CoefZoom = Vue.CoefZoom * 0.99;
    Plateforme.RedessinerVue();
}
