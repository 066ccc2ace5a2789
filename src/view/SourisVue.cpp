// The mouse over the view: rotation and pan with the middle button, the rubber band with the left
// one, and at each release either the rectangle's selection or a point of the axis definition.

#include "shell/TEspaceTravail.h"
#include "view/Projection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Pointer moves of less than this many pixels from the anchor accumulate.
constexpr std::int32_t PasGlissement = 10;
// Half the side of the square, centred on the pointer, in which a point can be designated.
constexpr double DemiCotePointage = 4.5;

// Degrees turned for a drag of `d` pixels across a view of `taille` pixels: 90 for the whole
// size, rounded half to even. No turn before the view has been drawn with a size.
std::int32_t PasAngulaire(std::int32_t d, std::int32_t taille) {
    if (taille <= 0) return 0;
    return static_cast<std::int32_t>(std::nearbyint(double(d) * 90 / double(taille)));
}

TV3R EnDouble(const TV3S& p) {
    return {p.X, p.Y, p.Z};
}

} // namespace

void TEspaceTravail::VGLMouseDown(std::int32_t X, std::int32_t Y) {
    Vue.DebutGlissementSelection = {X, Y};
}

void TEspaceTravail::VGLMouseMove(TBoutonsSouris boutons, std::int32_t X, std::int32_t Y) {
    if (!ScanPret || Drawing) return;
    const TPointEcran p{X, Y};
    if (p == Vue.mouseold) return;
    Vue.mouseold = p;
    try {
        if (boutons.Milieu) {
            TPointEcran& ancre = Vue.DebutGlissementSelection;
            const std::int32_t dx = X - ancre.X, dy = Y - ancre.Y;
            if (std::abs(dx) < PasGlissement && std::abs(dy) < PasGlissement) return;
            ancre = p;
            if (Plateforme.ShiftEnfonce()) {
                DeplacerVue(dx, dy);
            } else {
                Vue.LongAbsDeg -= PasAngulaire(dx, Vue.VGLwidth);
                Vue.LatAbsDeg += PasAngulaire(dy, Vue.VGLheight);
            }
            Plateforme.RedessinerVue();
        } else if (boutons.Gauche) {
            BandeSelection.Rafraichir(Vue.DebutGlissementSelection, p, 0);
        }
    } catch (const std::exception& e) {
        Plateforme.AfficherMessage(std::string("msmove ") + e.what());
    }
}

void TEspaceTravail::VGLMouseUp(std::int32_t X, std::int32_t Y) {
    if (BandeSelection.Visible) {
        BandeSelection.Masquer();
        SelectionnerRectangle(X, Y);
        Vue.PointsPerimes = true;
        Plateforme.RedessinerVue();
        return;
    }
    if (ModeDefinirAxeX != 0) {
        const TCube* CubeSelSav = CubeSousPointeur(X, Y);
        if (!CubeSelSav) return;
        PrendrePointAxe(CubeSelSav->CooMoyPts);
    }
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SelectionnerRectangle(std::int32_t X, std::int32_t Y) {
    const TPointEcran& a = Vue.DebutGlissementSelection;
    const double H = Vue.VGLheight;
    // Mouse rows count from the top, window rows from the bottom.
    const double x1 = std::min(a.X, X), x2 = std::max(a.X, X);
    const double y1 = H - std::max(a.Y, Y), y2 = H - std::min(a.Y, Y);
    for (TCube* c : Scan.CubesAffiches) {
        if (c->etatSP & EtatMasque) continue;
        TV3R w;
        if (!ProjeterPoint(EnDouble(c->CooMoyPts), Vue.mvmatrix, Vue.projmatrix, Vue.viewport, w))
            continue;
        if (x1 <= w.X && w.X <= x2 && y1 <= w.Y && w.Y <= y2) c->etatSP |= EtatSelectionne;
    }
}

const TCube* TEspaceTravail::CubeSousPointeur(std::int32_t X, std::int32_t Y) const {
    const double px = X, py = double(Vue.VGLheight) - Y;
    const TCube* meilleur = nullptr;
    double meilleureDistance = 0;
    for (const TCube* c : Scan.CubesAffiches) {
        if (c->etatSP & (EtatMasque | EtatSupprime)) continue;
        TV3R w;
        if (!ProjeterPoint(EnDouble(c->CooMoyPts), Vue.mvmatrix, Vue.projmatrix, Vue.viewport, w))
            continue;
        const double ex = w.X - px, ey = w.Y - py;
        if (!(std::abs(ex) <= DemiCotePointage && std::abs(ey) <= DemiCotePointage)) continue;
        const double distance = ex * ex + ey * ey;
        if (!meilleur || distance < meilleureDistance) {
            meilleur = c;
            meilleureDistance = distance;
        }
    }
    return meilleur;
}
