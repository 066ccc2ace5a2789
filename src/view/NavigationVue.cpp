// The camera: orientation, the matrices of each drawing, zoom and pan.

#include "shell/TEspaceTravail.h"
#include "util/Format.h"

#include "view/Projection.h"

#include <algorithm>
#include <cmath>

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
