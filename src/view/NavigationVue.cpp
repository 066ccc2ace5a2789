#include "view/NavigationVue.h"

#include "util/Format.h"
#include "view/Projection.h"

#include <algorithm>
#include <cmath>

namespace {

// Degrees turned for a drag of `d` pixels across a view of `taille` pixels: 90 for the whole
// size, rounded half to even. No turn before the view has been drawn with a size.
std::int32_t PasAngulaire(std::int32_t d, std::int32_t taille) {
    if (taille <= 0) return 0;
    return static_cast<std::int32_t>(std::nearbyint(double(d) * 90 / double(taille)));
}

// A step of the "+" and "-" buttons, and the least zoom that a step out gives (the wheel's).
constexpr double PasZoomBouton = 1.25;
constexpr double ZoomMinimal = 0.1;

// A margin around the box fitted in the view.
constexpr double MargeCadrage = 1.1;

// The zoom that shows the framed box whole in a view of that size, seen as the camera's angles
// say: its corners' offsets from the centre, across and up the screen, each within the view's
// half size.
void AjusterZoomALaBoite(TEtatVue& vue, std::int32_t largeur, std::int32_t hauteur) {
    TmatGL16 rotation = IdentiteGL16();
    CalculerMatriceRotation(vue, rotation);
    double ex = 0, ey = 0;
    for (int coin = 0; coin < 8; ++coin) {
        const TV3R p = {double(coin & 1 ? vue.BoiteMax.X : vue.BoiteMin.X),
                        double(coin & 2 ? vue.BoiteMax.Y : vue.BoiteMin.Y),
                        double(coin & 4 ? vue.BoiteMax.Z : vue.BoiteMin.Z)};
        const TV3S& c = vue.CentreRotAbs;
        const TV3R e = MulM3V3(vue.MCBproj3, SubV3R(p, {double(c.X), double(c.Y), double(c.Z)}));
        ex = std::max(ex, std::fabs(e.X));
        ey = std::max(ey, std::fabs(e.Y));
    }
    const double echelle = std::max(ex / largeur, ey / hauteur) * MargeCadrage;
    if (echelle > 0 && vue.RayonStruc > 0)
        vue.CoefZoom = vue.RayonStruc / (echelle * double(std::max(largeur, hauteur)));
}

} // namespace

void CadrerVue(TEtatVue& vue, const TV3S& mini, const TV3S& maxi) {
    const double dx = double(maxi.X) - double(mini.X);
    const double dy = double(maxi.Y) - double(mini.Y);
    const double dz = double(maxi.Z) - double(mini.Z);
    vue.RayonStruc = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
    vue.CentreRotAbs = {static_cast<float>((double(mini.X) + double(maxi.X)) / 2),
                        static_cast<float>((double(mini.Y) + double(maxi.Y)) / 2),
                        static_cast<float>((double(mini.Z) + double(maxi.Z)) / 2)};
    vue.CoefZoom = 1;
    vue.BoiteMin = mini;
    vue.BoiteMax = maxi;
    vue.CadrageDemande = true;
}

void ToutVoir(TEtatVue& vue) {
    const TV3S& mini = vue.BoiteMin;
    const TV3S& maxi = vue.BoiteMax;
    vue.CentreRotAbs = {static_cast<float>((double(mini.X) + double(maxi.X)) / 2),
                        static_cast<float>((double(mini.Y) + double(maxi.Y)) / 2),
                        static_cast<float>((double(mini.Z) + double(maxi.Z)) / 2)};
    vue.CadrageDemande = true;
}

void OrienterCamera(TEtatVue& vue, int code) {
    switch (code) {
    case 1:
        vue.LongAbsDeg = -90, vue.LatAbsDeg = 0;
        break;
    case 2:
        vue.LongAbsDeg = 0, vue.LatAbsDeg = 0;
        break;
    case 3:
        vue.LongAbsDeg = -90, vue.LatAbsDeg = 90;
        break;
    default:
        break;
    }
}

double LireAngleRotZ(std::string_view texte) {
    const auto debut = texte.find_first_not_of(" \t");
    texte =
        debut == texte.npos ? "" : texte.substr(debut, texte.find_last_not_of(" \t") - debut + 1);
    double angle = 0;
    if (!LireReelSaisi(texte, angle) || !std::isfinite(angle)) angle = 0;
    return angle;
}

std::string TexteAngleRotZ(double angleDeg) {
    return ReelExact(angleDeg);
}

void AppliquerRotZ(TEtatVue& vue) {
    const double theta = vue.AngRotZdeg * Pi / 180;
    vue.McbRotZ2 = RotM2Angle(theta);
    M3ToGL(RotM3Angles({0, 0, theta}), vue.rotmatrixrepere);
}

void CalculerMatriceRotation(TEtatVue& vue, TmatGL16& matrice) {
    vue.LongAbsDeg = NormaliserAngle(vue.LongAbsDeg);
    vue.LatAbsDeg = NormaliserAngle(vue.LatAbsDeg);
    const double L = (vue.LongAbsDeg - vue.AngRotZdeg) * Pi / 180;
    const double phi = vue.LatAbsDeg * Pi / 180;
    const double cL = std::cos(L), sL = std::sin(L), cP = std::cos(phi), sP = std::sin(phi);
    vue.MCBproj3 = {{{-sL, cL, 0}, {-cL * sP, -sL * sP, cP}, {cL * cP, sL * cP, sP}}};
    M3ToGL(vue.MCBproj3, matrice);
}

void PreparerCamera(TEtatVue& vue, std::int32_t largeur, std::int32_t hauteur) {
    vue.VGLwidth = largeur;
    vue.VGLcentreH = largeur / 2;
    vue.VGLheight = hauteur;
    vue.VGLcentreV = hauteur / 2;
    vue.viewport = {0, 0, largeur, hauteur};
    if (vue.CadrageDemande && largeur > 0 && hauteur > 0) {
        AjusterZoomALaBoite(vue, largeur, hauteur);
        vue.CadrageDemande = false;
    }

    vue.EchAff = vue.RayonStruc / vue.CoefZoom / double(std::max(largeur, hauteur));
    const double demiL = vue.EchAff * largeur, demiH = vue.EchAff * hauteur;
    vue.projmatrix = MatriceOrtho(-demiL, demiL, -demiH, demiH, -1000, 1000);

    vue.rotmatrix = IdentiteGL16();
    CalculerMatriceRotation(vue, vue.rotmatrix);
    const TV3S& c = vue.CentreRotAbs;
    vue.mvmatrix = Translater(vue.rotmatrix, -double(c.X), -double(c.Y), -double(c.Z));
}

void DeplacerCentre(TEtatVue& vue, std::int32_t dx, std::int32_t dy) {
    const double pixel = 2 * vue.EchAff;
    const TV3R v = MulTM3V3(GLToM3(vue.mvmatrix), {pixel * dx, -pixel * dy, 0});
    vue.CentreRotAbs = SubV3S(vue.CentreRotAbs, V3RToV3S(v));
}

void TournerCamera(TEtatVue& vue, std::int32_t dx, std::int32_t dy) {
    vue.LongAbsDeg -= PasAngulaire(dx, vue.VGLwidth);
    vue.LatAbsDeg += PasAngulaire(dy, vue.VGLheight);
}

bool ZoomerMolette(TEtatVue& vue, std::int32_t delta, TPointEcran pointeur, bool rapide) {
    // Only the sign counts: one message, one step. A message without a vertical step is not one.
    if (delta == 0) return false;
    double f = rapide ? 2 : 1.1;
    if (delta < 0) f = 1 / f;
    double z = vue.CoefZoom * f;
    if (z < ZoomMinimal) z = ZoomMinimal;
    if (z == vue.CoefZoom) return false;

    // The cloud point under the pointer stays under it: the centre moves by the difference of
    // the pointer's offset at the old and at the new pixel size.
    const double px = double(pointeur.X) - vue.VGLcentreH;
    const double py = double(vue.VGLcentreV) - pointeur.Y;
    const TV3x3R R = GLToM3(vue.mvmatrix);
    const double pixel = 2 * vue.EchAff;
    const TV3R a = MulTM3V3(R, {pixel * px, pixel * py, 0});
    const double e = 2 * vue.EchAff * vue.CoefZoom / z;
    const TV3R b = MulTM3V3(R, {e * px, e * py, 0});
    vue.CentreRotAbs = SubV3S(vue.CentreRotAbs, V3RToV3S(SubV3R(b, a)));
    vue.CoefZoom = z;
    return true;
}

void ZoomerBouton(TEtatVue& vue, bool plus) {
    vue.CoefZoom =
        plus ? vue.CoefZoom * PasZoomBouton : std::max(vue.CoefZoom / PasZoomBouton, ZoomMinimal);
}
