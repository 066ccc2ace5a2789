// What each drawing of the view shows: the point batch of the displayed level (kept until it is
// declared stale), the study's overlay for the active tab, and the axes symbol.

#include "shell/TEspaceTravail.h"

#include <algorithm>

namespace {

constexpr float EpaisseurTraits = 3;
constexpr float TaillePointFrontiere = 9;
constexpr float TaillePointArc = 5;

// Keeps `Drawing` set for the whole drawing, whatever leaves it.
class TDessinEnCours {
public:
    explicit TDessinEnCours(bool& drapeau) : drapeau_(drapeau) { drapeau_ = true; }
    ~TDessinEnCours() { drapeau_ = false; }
    TDessinEnCours(const TDessinEnCours&) = delete;
    TDessinEnCours& operator=(const TDessinEnCours&) = delete;

private:
    bool& drapeau_;
};

TTrace Trace(TGenreTrace genre, TCouleurVue couleur, float taille, std::vector<TV3R> sommets) {
    return {genre, couleur, taille, std::move(sommets)};
}

TV3R APlat(const TV2R& p, double z) {
    return {p.X, p.Y, z};
}

// Each arc as a line through its points, then its points enlarged.
void TracerArc(std::vector<TTrace>& traces, const TArc& arc, TCouleurVue couleur) {
    if (arc.pts.empty()) return;
    std::vector<TV3R> sommets;
    sommets.reserve(arc.pts.size());
    for (const TPtArc& p : arc.pts)
        sommets.push_back(p.XYZarc());
    traces.push_back(Trace(TGenreTrace::LigneBrisee, couleur, EpaisseurTraits, sommets));
    traces.push_back(Trace(TGenreTrace::Points, couleur, TaillePointArc, std::move(sommets)));
}

void ConstruireLotPoints(TEspaceTravail& w, std::int32_t onglet) {
    w.CurseurAttente();
    try {
        w.AffiInfo(1, "préparation du tracé");
        TLotPoints lot;
        lot.AfficherPts = w.CkBxVoirPoints;
        if (lot.AfficherPts) {
            w.AffiInfo(1, "affichage des points ...");
            lot.TaillePoints = float(std::clamp(w.TaillePointsIndex, 0, 3) + 1);
            const float zr =
                static_cast<float>(double(w.Scan.CooMax.Z) + w.Etude.NiveauRemplissage);
            const bool remplissage = onglet == 2 && w.Etude.MasseVolRemplissage > 0;
            lot.Sommets.reserve(w.Scan.CubesAffiches.size());
            lot.Couleurs.reserve(w.Scan.CubesAffiches.size());
            for (const TCube* c : w.Scan.CubesAffiches) {
                if (c->etatSP & (EtatMasque | EtatSupprime)) continue;
                TCouleurVue couleur = NoirVue;
                if (onglet == 0 && (c->etatSP & EtatSelectionne))
                    couleur = RougeVue;
                else if (remplissage && zr > c->CooMoyPts.Z)
                    couleur = CyanVue;
                lot.Sommets.push_back(c->CooMoyPts);
                lot.Couleurs.push_back(couleur);
            }
            w.Plateforme.AfficherStatut(0, "");
        }
        lot.Version = w.Scene.Points.Version + 1;
        w.Scene.Points = std::move(lot);
        w.Vue.PointsPerimes = false;
    } catch (...) {
        // The batch stays stale: the next drawing builds it again.
        w.Plateforme.AfficherStatut(1, "");
        w.FinCurseurAttente();
        throw;
    }
    w.Plateforme.AfficherStatut(1, "");
    w.FinCurseurAttente();
}

// The quarter's outline and rib axis in red, the selected frontier point, the rib's edges in
// green, all above the cloud.
void TracerStructure(std::vector<TTrace>& traces, const TEspaceTravail& w) {
    const double z = static_cast<float>(double(w.Scan.CooMax.Z) + 1);
    const TRectangleModelisation& r = w.Etude.RecModl;
    traces.push_back(Trace(TGenreTrace::BoucleFermee, RougeVue, EpaisseurTraits,
                           {APlat(r.XYfront(1), z), APlat(r.XYfront(2), z), APlat(r.XYfront(3), z),
                            APlat(r.XYfront(4), z)}));
    traces.push_back(Trace(TGenreTrace::LigneBrisee, RougeVue, EpaisseurTraits,
                           {APlat(r.XYfront(1), z), APlat(r.XYfront(3), z)}));
    if (w.PtFrontSel1a4 >= 1 && w.PtFrontSel1a4 <= 4)
        traces.push_back(Trace(TGenreTrace::Points, RougeVue, TaillePointFrontiere,
                               {APlat(r.XYfront(w.PtFrontSel1a4), z)}));
    traces.push_back(Trace(TGenreTrace::BoucleFermee, VertVue, EpaisseurTraits,
                           {APlat(r.Bord1.Pori, z), APlat(r.Bord1.Px, z), APlat(r.Bord2.Px, z),
                            APlat(r.Bord2.Pori, z)}));
}

// The vault arcs of both half-quarters in blue, then the rib's arc in red.
void TracerArcs(std::vector<TTrace>& traces, const TEspaceTravail& w) {
    const std::size_t nbArcs = std::size_t(std::max(w.Etude.NbArcsVoute, 0));
    for (const TQuartier* q : {&w.Etude.Quartier1, &w.Etude.Quartier2})
        for (std::size_t i = 0; i < std::min(q->Arcs.size(), nbArcs); ++i)
            TracerArc(traces, q->Arcs[i], BleuVue);
    TracerArc(traces, w.Etude.ArcAretier.AA, RougeVue);
}

std::vector<TTrace> TracesEtude(const TEspaceTravail& w, std::int32_t onglet) {
    std::vector<TTrace> traces;
    if (onglet == 1) TracerStructure(traces, w);
    if (onglet > 0) TracerArcs(traces, w);
    return traces;
}

} // namespace

const TSceneVue* TEspaceTravail::VGLDraw(std::int32_t largeur, std::int32_t hauteur) {
    if (!ScanPret || Drawing) return nullptr;
    TDessinEnCours enCours(Drawing);
    const std::int32_t t = OngletActif;

    PreparerProjection(largeur, hauteur);
    Scene.Fond = BlancVue;
    Scene.Viewport = Vue.viewport;
    Scene.Projection = Vue.projmatrix;
    Scene.ModeleVue = Vue.mvmatrix;

    if (Vue.PointsPerimes) ConstruireLotPoints(*this, t);
    Scene.Traces = TracesEtude(*this, t);

    TSymboleAxes& repere = Scene.Repere;
    repere.s = Vue.VGLwidth / 15;
    repere.Projection = MatriceOrtho(0, Vue.VGLwidth, 0, Vue.VGLheight, -1000, 1000);
    repere.ModeleVue = MultiplierGL16(
        MultiplierGL16(Translater(IdentiteGL16(), repere.s, repere.s, 0), Vue.rotmatrix),
        Vue.rotmatrixrepere);
    if (Vue.ReperePerime) {
        repere.Faces = DessinerRepere(repere.s);
        ++repere.Version;
        Vue.ReperePerime = false;
    }
    return &Scene;
}
