#include "view/SourisVue.h"

#include "view/NavigationVue.h"
#include "view/Projection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

namespace {

// Pointer moves of less than this many pixels from the anchor accumulate.
constexpr std::int32_t PasGlissement = 10;
// Half the side of the square, centred on the pointer, in which a point can be designated.
constexpr double DemiCotePointage = 4.5;

TV3R EnDouble(const TV3S& p) {
    return {p.X, p.Y, p.Z};
}

} // namespace

void CommencerGlissement(TEtatVue& vue, TPointEcran p) {
    vue.DebutGlissementSelection = p;
    vue.Glisse = false;
}

bool GlisserSouris(TEtatVue& vue, TBandeSelection& bande, TBoutonsSouris boutons, TPointEcran p,
                   bool decaler) {
    if (p == vue.mouseold) return false;
    vue.mouseold = p;
    if (!boutons.Milieu && !boutons.Gauche) return false;
    if (!vue.Glisse) {
        const TPointEcran& debut = vue.DebutGlissementSelection;
        if (std::abs(p.X - debut.X) + std::abs(p.Y - debut.Y) < vue.DistanceGlissement)
            return false;
        vue.Glisse = true;
    }
    if (boutons.Milieu) {
        TPointEcran& ancre = vue.DebutGlissementSelection;
        const std::int32_t dx = p.X - ancre.X, dy = p.Y - ancre.Y;
        if (std::abs(dx) < PasGlissement && std::abs(dy) < PasGlissement) return false;
        ancre = p;
        if (decaler)
            DeplacerCentre(vue, dx, dy);
        else
            TournerCamera(vue, dx, dy);
        return true;
    }
    if (boutons.Gauche) bande.Rafraichir(vue.DebutGlissementSelection, p, 0);
    return false;
}

bool TerminerBande(TEtatVue& vue, TBandeSelection& bande, const TListeCubes& cubes, TPointEcran p) {
    if (!bande.Visible) return false;
    bande.Masquer();
    SelectionnerDansRectangle(vue, vue.DebutGlissementSelection, p, cubes);
    vue.PointsPerimes = true;
    return true;
}

void SelectionnerDansRectangle(const TEtatVue& vue, TPointEcran a, TPointEcran b,
                               const TListeCubes& cubes) {
    const double H = vue.VGLheight;
    // Mouse rows count from the top, window rows from the bottom.
    const double x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
    const double y1 = H - std::max(a.Y, b.Y), y2 = H - std::min(a.Y, b.Y);
    for (TCube* c : cubes) {
        if (c->etatSP & EtatMasque) continue;
        TV3R w;
        if (!ProjeterPoint(EnDouble(c->CooMoyPts), vue.mvmatrix, vue.projmatrix, vue.viewport, w))
            continue;
        if (x1 <= w.X && w.X <= x2 && y1 <= w.Y && w.Y <= y2) c->etatSP |= EtatSelectionne;
    }
}

const TCube* CubeProche(const TEtatVue& vue, const TListeCubes& cubes, TPointEcran p) {
    const double px = p.X, py = double(vue.VGLheight) - p.Y;
    const TCube* meilleur = nullptr;
    // Distance squared (0 within a pixel), then depth, then the point itself: the cube read is
    // the same whatever the order of the displayed cubes.
    std::tuple<double, double, float, float, float> meilleureCle;
    for (const TCube* c : cubes) {
        if (c->etatSP & (EtatMasque | EtatSupprime)) continue;
        TV3R w;
        if (!ProjeterPoint(EnDouble(c->CooMoyPts), vue.mvmatrix, vue.projmatrix, vue.viewport, w))
            continue;
        const double ex = w.X - px, ey = w.Y - py;
        if (!(std::abs(ex) <= DemiCotePointage && std::abs(ey) <= DemiCotePointage)) continue;
        const double distance = ex * ex + ey * ey;
        const std::tuple<double, double, float, float, float> cle{
            distance <= 1 ? 0 : distance, w.Z, c->CooMoyPts.X, c->CooMoyPts.Y, c->CooMoyPts.Z};
        if (!meilleur || cle < meilleureCle) {
            meilleur = c;
            meilleureCle = cle;
        }
    }
    return meilleur;
}
