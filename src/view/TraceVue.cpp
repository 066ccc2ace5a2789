#include "view/TraceVue.h"

#include "view/Projection.h"

#include <algorithm>

namespace {

constexpr float EpaisseurTraits = 3;
constexpr float TaillePointFrontiere = 9;
constexpr float TaillePointArc = 5;

// A cube's mean colour as drawn: a pure red is taken a step down, the selection's own.
TCouleurVue CouleurReleve(const TCube& c) {
    TCouleurVue couleur{c.ColCube[0], c.ColCube[1], c.ColCube[2]};
    if (couleur == RougeVue) couleur.R = 254;
    return couleur;
}

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

// The quarter's outline and rib axis in red, the selected frontier point, the rib's edges in
// green, all above the cloud.
void TracerStructure(std::vector<TTrace>& traces, const TEtudeTracee& e, float zHaut) {
    const double z = static_cast<float>(double(zHaut) + 1);
    const TRectangleModelisation& r = e.RecModl;
    traces.push_back(Trace(TGenreTrace::BoucleFermee, RougeVue, EpaisseurTraits,
                           {APlat(r.XYfront(1), z), APlat(r.XYfront(2), z), APlat(r.XYfront(3), z),
                            APlat(r.XYfront(4), z)}));
    traces.push_back(Trace(TGenreTrace::LigneBrisee, RougeVue, EpaisseurTraits,
                           {APlat(r.XYfront(1), z), APlat(r.XYfront(3), z)}));
    if (e.PtFrontSel1a4 >= 1 && e.PtFrontSel1a4 <= 4)
        traces.push_back(Trace(TGenreTrace::Points, RougeVue, TaillePointFrontiere,
                               {APlat(r.XYfront(e.PtFrontSel1a4), z)}));
    traces.push_back(Trace(TGenreTrace::BoucleFermee, VertVue, EpaisseurTraits,
                           {APlat(r.Bord1.Pori, z), APlat(r.Bord1.Px, z), APlat(r.Bord2.Px, z),
                            APlat(r.Bord2.Pori, z)}));
}

// The vault arcs of both half-quarters in blue, then the rib's arc in red.
void TracerArcs(std::vector<TTrace>& traces, const TEtudeTracee& e) {
    const std::size_t nbArcs = std::size_t(std::max(e.NbArcsVoute, 0));
    for (const TQuartier* q : {&e.Quartier1, &e.Quartier2})
        for (std::size_t i = 0; i < std::min(q->Arcs.size(), nbArcs); ++i)
            TracerArc(traces, q->Arcs[i], BleuVue);
    TracerArc(traces, e.ArcAretier.AA, RougeVue);
}

} // namespace

TLotPoints ConstruireLotPoints(const TListeCubes& cubes, float zHaut, const TOptionsPoints& options,
                               const TSortieProgression& afficher) {
    afficher("préparation du tracé");
    TLotPoints lot;
    lot.AfficherPts = options.VoirPoints;
    if (!lot.AfficherPts) return lot;
    // Its text again while millions of cubes are gone through: the window stays served.
    TProgression texte = TProgression::ParPas(afficher, "", 0);
    texte.Afficher("affichage des points ...");
    lot.TaillePoints = float(std::clamp(options.TaillePointsIndex, 0, 3) + 1);
    const float zr = static_cast<float>(double(zHaut) + options.NiveauRemplissage);
    const bool remplissage = options.Onglet == 2 && options.MasseVolRemplissage > 0;
    lot.Sommets.reserve(cubes.size());
    lot.Couleurs.reserve(cubes.size());
    // The displayed cubes lie about their levels' arrays: ask for them a little ahead.
    constexpr std::size_t Avance = 8;
    for (std::size_t i = 0; i < cubes.size(); ++i) {
        if (i + Avance < cubes.size()) __builtin_prefetch(cubes[i + Avance]);
        if ((i + 1) % 4096 == 0) texte.Entretenir();
        const TCube* c = cubes[i];
        if (c->etatSP & (EtatMasque | EtatSupprime)) continue;
        TCouleurVue couleur = options.CouleursReleve ? CouleurReleve(*c) : NoirVue;
        if (options.Onglet == 0 && (c->etatSP & EtatSelectionne))
            couleur = RougeVue;
        else if (remplissage && zr > c->CooMoyPts.Z)
            couleur = CyanVue;
        lot.Sommets.push_back(c->CooMoyPts);
        lot.Couleurs.push_back(couleur);
    }
    return lot;
}

std::size_t PasEchantillon(std::size_t nbPoints, std::size_t maxPoints) {
    if (maxPoints == 0 || nbPoints <= maxPoints) return 1;
    return (nbPoints + maxPoints - 1) / maxPoints;
}

std::vector<TTrace> TracesEtude(const TEtudeTracee& etude, float zHaut, std::int32_t onglet) {
    std::vector<TTrace> traces;
    if (onglet == 1) TracerStructure(traces, etude, zHaut);
    if (onglet > 0) TracerArcs(traces, etude);
    return traces;
}

void PoserCamera(TSceneVue& scene, const TEtatVue& vue) {
    scene.Fond = BlancVue;
    scene.Viewport = vue.viewport;
    scene.Projection = vue.projmatrix;
    scene.ModeleVue = vue.mvmatrix;
}

void ActualiserRepere(TSymboleAxes& repere, TEtatVue& vue) {
    repere.s = vue.VGLwidth / 15;
    repere.Projection = MatriceOrtho(0, vue.VGLwidth, 0, vue.VGLheight, -1000, 1000);
    repere.ModeleVue = MultiplierGL16(
        MultiplierGL16(Translater(IdentiteGL16(), repere.s, repere.s, 0), vue.rotmatrix),
        vue.rotmatrixrepere);
    if (vue.ReperePerime) {
        repere.Faces = DessinerRepere(repere.s);
        ++repere.Version;
        vue.ReperePerime = false;
    }
}
