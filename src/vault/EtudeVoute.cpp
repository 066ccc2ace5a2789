// The studied quarter in plan: its placement from the bounding box, the rib frame and edges,
// the frontier moves, and the refresh of the structure.

#include "vault/EtudeVoute.h"
#include "geometry/UtilsGeom.h"
#include "util/Erreurs.h"
#include "vault/VerificationsEtude.h"

namespace {

// The frontier points of quarter `q` from the scan's bounding box: the key at its centre, the
// springing at a corner, XYL1 and XYL2 the middles of the two sides that meet there.
void PlacerPointsFrontiere(TRectangleModelisation& r, const TScanEtudie& scan) {
    const std::int32_t q = r.Q1a4;
    if (q < 1 || q > 4)
        throw EErreur("numéro de quartier invalide : " + std::to_string(q) + " (1 à 4 attendu)");
    const TQuadrant& quadrant = Quadrants[q - 1];
    const TV3S& mini = scan.CooMin;
    const TV3S& maxi = scan.CooMax;
    const float xc = static_cast<float>((double(mini.X) + double(maxi.X)) / 2);
    const float yc = static_cast<float>((double(mini.Y) + double(maxi.Y)) / 2);
    const float hx = static_cast<float>((double(maxi.X) - double(mini.X)) / 2);
    const float hy = static_cast<float>((double(maxi.Y) - double(mini.Y)) / 2);
    const double xa = double(xc) + double(quadrant.sX) * double(hx);
    const double ya = double(yc) + double(quadrant.sY) * double(hy);
    r.XYcle = {xc, yc};
    r.XYapp = {xa, ya};
    // XYL1 lies to the right of the rib seen from the key, whatever the quarter.
    if (q % 2 == 1) {
        r.XYL1 = {xa, yc};
        r.XYL2 = {xc, ya};
    } else {
        r.XYL1 = {xc, ya};
        r.XYL2 = {xa, yc};
    }
}

// The edge B of the rib, offset sideways by d from its axis, from the ridge line key->L to the
// wall line L->springing. When one of these lines is parallel to the edge (a frontier point on
// the axis), that end stays at the offset key or springing.
void PlacerBord(const TRectangleModelisation& r, float d, const TV2R& L, TVecteur2D& B) {
    TV2R q = GlobalToLocal2(r.McbA, r.XYcle, r.XYcle);
    q.Y += d;
    B.Pori = LocalToGlobal2(r.McbA, r.XYcle, q);
    q = GlobalToLocal2(r.McbA, r.XYcle, r.XYapp);
    q.Y += d;
    B.Px = LocalToGlobal2(r.McbA, r.XYcle, q);
    TV2R i = B.Pori;
    IntersectSegments(r.XYcle, L, B.Pori, B.Px, i);
    B.Pori = i;
    i = B.Px;
    IntersectSegments(r.XYapp, L, B.Pori, B.Px, i);
    B.Px = i;
}

} // namespace

void TEtudeVoute::PlacerQuartier(const TScanEtudie& scan) {
    VerifierCubesAffiches(scan.CubesAffiches);
    PlacerPointsFrontiere(RecModl, scan);
}

void TEtudeVoute::QuartierSuivant(const TScanEtudie& scan) {
    VerifierCubesAffiches(scan.CubesAffiches);
    RecModl.Q1a4 = (RecModl.Q1a4 % 4 + 4) % 4 + 1;
    PlacerPointsFrontiere(RecModl, scan);
}

void TEtudeVoute::CalculerBordsAretier() {
    RecModl.McbA = Mcb22(RecModl.XYcle, RecModl.XYapp);
    const double yL1 = GlobalToLocal2(RecModl.McbA, RecModl.XYcle, RecModl.XYL1).Y;
    const float s = yL1 > 0 ? 1.0f : (yL1 < 0 ? -1.0f : 0.0f);
    const float h = static_cast<float>(double(LargeurAretierM) / 2);
    PlacerBord(RecModl, static_cast<float>(double(h) * s), RecModl.XYL1, RecModl.Bord1);
    PlacerBord(RecModl, static_cast<float>(-double(h) * s), RecModl.XYL2, RecModl.Bord2);
}

bool TEtudeVoute::DeplacerPointFrontiere(std::int32_t point1a4, int sens, bool grandPas,
                                         const TV2x2R& McbRotZ2) {
    if (point1a4 < 1 || point1a4 > 4) return false;
    const float pas = grandPas ? 0.1f : 0.02f;
    TV2R deplacement;
    switch (sens) {
    case 1:
        deplacement = {pas, 0};
        break;
    case 2:
        deplacement = {-pas, 0};
        break;
    case 3:
        deplacement = {0, pas};
        break;
    case 4:
        deplacement = {0, -pas};
        break;
    default:
        return false;
    }
    TV2R& point = RecModl.XYfront(point1a4);
    point = AddV2R(point, MulM2V2(McbRotZ2, deplacement));
    CalculerBordsAretier();
    return true;
}

void TEtudeVoute::ChangerDeRepere(const std::function<TV2R(const TV2R&)>& nouveauRepere) {
    if (RecModl.Q1a4 >= 1 && RecModl.Q1a4 <= 4) {
        for (int n = 1; n <= 4; ++n)
            RecModl.XYfront(n) = nouveauRepere(RecModl.XYfront(n));
        CalculerBordsAretier();
    }
    Quartier1.Arcs.clear();
    Quartier2.Arcs.clear();
    ArcAretier.AA.pts.clear();
    LbResultats = " ";
    ResulNdC.clear();
}

std::vector<std::string>
TEtudeVoute::ActualiserStructure(const TScanEtudie& scan,
                                 std::optional<std::int32_t> largeurAretierCm,
                                 std::optional<std::int32_t> nbArcs) {
    VerifierCubesAffiches(scan.CubesAffiches);
    const float largeurPrecedente = LargeurAretierM;
    const std::int32_t nbArcsPrecedent = NbArcsVoute;
    try {
        if (largeurAretierCm) LargeurAretierM = static_cast<float>(double(*largeurAretierCm) / 100);
        if (nbArcs) NbArcsVoute = *nbArcs;
        // No quarter placed yet (or a number that means none): quarter 1.
        if (RecModl.Q1a4 < 1 || RecModl.Q1a4 > 4) {
            RecModl.Q1a4 = 1;
            PlacerPointsFrontiere(RecModl, scan);
        }
        return ConstruireStructure(scan);
    } catch (...) {
        LargeurAretierM = largeurPrecedente;
        NbArcsVoute = nbArcsPrecedent;
        throw;
    }
}
