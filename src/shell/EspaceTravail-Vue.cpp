// The view's commands: each wires the workspace's state and platform to the camera, the scene,
// the mouse and the axis definition of view/.

#include "scan/RecadrageScan.h"
#include "shell/EspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "view/DefinitionAxe.h"
#include "view/LecturePoint.h"
#include "view/NavigationVue.h"
#include "view/SourisVue.h"
#include "view/TraceVue.h"

#include <filesystem>

namespace {

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

// The point batch rebuilt under the wait cursor; after a cancellation it stays stale, so that the
// next preparation builds it again.
void ReconstruirePoints(TEspaceTravail& w) {
    w.CurseurAttente();
    try {
        const TOptionsPoints options{.Onglet = w.OngletActif,
                                     .VoirPoints = w.CkBxVoirPoints,
                                     .TaillePointsIndex = w.TaillePointsIndex,
                                     .MasseVolRemplissage = w.Etude.MasseVolRemplissage,
                                     .NiveauRemplissage = w.Etude.NiveauRemplissage,
                                     .CouleursReleve = w.CouleursReleve};
        TLotPoints lot = ConstruireLotPoints(w.Scan.CubesAffiches, w.Scan.CooMax.Z, options,
                                             [&w](const std::string& t) { w.AffiInfo(1, t); });
        lot.Version = w.Scene.Points.Version + 1;
        lot.Liberable = true;
        w.Scene.Points = std::move(lot);
        w.Vue.PointsPerimes = false;
    } catch (...) {
        w.Plateforme.AfficherStatut(1, "");
        w.FinCurseurAttente();
        throw;
    }
    w.Plateforme.AfficherStatut(1, "");
    w.FinCurseurAttente();
}

} // namespace

void TEspaceTravail::PreparerProjection(std::int32_t largeur, std::int32_t hauteur) {
    PreparerCamera(Vue, largeur, hauteur);
}

void TEspaceTravail::CalculerRotMatrix(TmatGL16& matrice) {
    CalculerMatriceRotation(Vue, matrice);
}

void TEspaceTravail::OrienterVue(int code) {
    OrienterCamera(Vue, code);
    Plateforme.RedessinerVue();
}

void TEspaceTravail::ActualiserRotZ() {
    TexteEdRotZ = TexteAngleRotZ(Vue.AngRotZdeg);
    AppliquerRotZ(Vue);
    RetracerTout();
}

void TEspaceTravail::BtActualiserRotClick(const std::string& texteEdRotZ) {
    Vue.AngRotZdeg = LireAngleRotZ(texteEdRotZ);
    ActualiserRotZ();
}

void TEspaceTravail::AppliquerRotationTapee() {
    if (TexteEdRotZ != TexteAngleRotZ(Vue.AngRotZdeg)) BtActualiserRotClick(TexteEdRotZ);
}

void TEspaceTravail::ChoisirCouleursReleve(bool couleurs) {
    if (CouleursReleve == couleurs) return;
    CouleursReleve = couleurs;
    RetracerPoints();
}

void TEspaceTravail::DeplacerVue(std::int32_t dx, std::int32_t dy) {
    DeplacerCentre(Vue, dx, dy);
}

void TEspaceTravail::FormMouseWheel(std::int32_t delta, TPointEcran pointeur, bool& traite) {
    if (!ZoomerMolette(Vue, delta, pointeur, Plateforme.ShiftEnfonce())) return;
    traite = true;
    Vue.EnMouvement = true;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::ToutVoir() {
    ::ToutVoir(Vue);
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SBtEchPlusClick() {
    ZoomerBouton(Vue, true);
    Vue.EnMouvement = true;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SBtEchMoinsClick() {
    ZoomerBouton(Vue, false);
    Vue.EnMouvement = true;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::VGLMouseDown(std::int32_t X, std::int32_t Y) {
    CommencerGlissement(Vue, {X, Y});
}

void TEspaceTravail::VGLMouseMove(TBoutonsSouris boutons, std::int32_t X, std::int32_t Y) {
    if (!ScanPret || Drawing) return;
    // The selection is a step of the preparation: on the study's pages the points are not shown
    // in red, and a band there would select points the user cannot see selected.
    if (OngletActif != 0) boutons.Gauche = false;
    try {
        if (GlisserSouris(Vue, BandeSelection, boutons, {X, Y}, Plateforme.ShiftEnfonce())) {
            Vue.EnMouvement = true;
            Plateforme.RedessinerVue();
        }
    } catch (const std::exception& e) {
        Plateforme.AfficherErreur(std::string("msmove ") + MessageErreur(e));
    }
}

void TEspaceTravail::VGLMouseUp(std::int32_t X, std::int32_t Y, bool gauche, bool mesurer) {
    if (TerminerBande(Vue, BandeSelection, Scan.CubesAffiches, {X, Y})) {
        Plateforme.RedessinerVue();
        return;
    }
    // The end of a drag (a turn of the camera ending over the cloud) is never a click.
    const bool clic = gauche && !Vue.Glisse;
    if (clic && ModeDefinirAxeX != 0) {
        const TCube* cube = CubeSousPointeur(X, Y);
        if (!cube) return;
        PrendrePointAxe(cube->CooMoyPts);
    } else if (clic && ScanPret) {
        LirePoint(X, Y, mesurer);
    }
    Plateforme.RedessinerVue();
}

void TEspaceTravail::LirePoint(std::int32_t X, std::int32_t Y, bool mesurer) {
    const TCube* cube = CubeSousPointeur(X, Y);
    if (!cube) {
        // The previous read-out would pass for this point's.
        Plateforme.AfficherStatut(0, "aucun point");
        return;
    }
    const TV3R point = CoordonneesDuLeve(cube->CooMoyPts, Scan.Decalage);
    Plateforme.AfficherStatut(0,
                              TexteLecturePoint(point, mesurer ? PointLu : std::optional<TV3R>()));
    PointLu = point;
}

void TEspaceTravail::SelectionnerRectangle(std::int32_t X, std::int32_t Y) {
    SelectionnerDansRectangle(Vue, Vue.DebutGlissementSelection, {X, Y}, Scan.CubesAffiches);
}

const TCube* TEspaceTravail::CubeSousPointeur(std::int32_t X, std::int32_t Y) const {
    return CubeProche(Vue, Scan.CubesAffiches, {X, Y});
}

void TEspaceTravail::PreparerScene() {
    if (ScanPret && !Drawing && Vue.PointsPerimes) ReconstruirePoints(*this);
}

TSceneVue* TEspaceTravail::VGLDraw(std::int32_t largeur, std::int32_t hauteur) {
    if (!ScanPret || Drawing) return nullptr;
    TDessinEnCours enCours(Drawing);
    PreparerProjection(largeur, hauteur);
    PoserCamera(Scene, Vue);
    Scene.EnMouvement = Vue.EnMouvement;
    const TEtudeTracee etude{.RecModl = Etude.RecModl,
                             .Quartier1 = Etude.Quartier1,
                             .Quartier2 = Etude.Quartier2,
                             .ArcAretier = Etude.ArcAretier,
                             .NbArcsVoute = Etude.NbArcsVoute,
                             .PtFrontSel1a4 = PtFrontSel1a4};
    Scene.Traces = TracesEtude(etude, Scan.CooMax.Z, OngletActif);
    ActualiserRepere(Scene.Repere, Vue);
    return &Scene;
}

void TEspaceTravail::GelerMenus() {
    svgetatmenu = Plateforme.EtatMenus();
    Plateforme.FixerEtatMenus(std::string(svgetatmenu.size(), 'F'));
}

void TEspaceTravail::RestaurerMenus() {
    if (svgetatmenu.empty()) return;
    Plateforme.FixerEtatMenus(svgetatmenu);
    Plateforme.AfficherStatut(1, "");
    svgetatmenu.clear();
}

void TEspaceTravail::MiDefinirAxeXClick() {
    AffiInfo(1, "Saisir le point origine (échap pour annuler)");
    ModeDefinirAxeX = 1;
    GelerMenus();
}

void TEspaceTravail::PrendrePointAxe(const TV3S& q) {
    switch (DesignerPointAxe(ModeDefinirAxeX, NvCooOrig, NvCooX, q)) {
    case TEtapeAxe::Aucune:
        return;
    case TEtapeAxe::OrigineRetenue:
        AffiInfo(1, "sélectionner le 2è point (échap pour annuler)");
        return;
    case TEtapeAxe::AxeIndefini:
        Plateforme.AfficherErreur(MsgAxeIndefini);
        return;
    case TEtapeAxe::AxeDefini:
        break;
    }
    Vue.PointsPerimes = true;
    // The menus come back before the recalculation rather than after it: while they are frozen,
    // an Esc restores them and asks "Annuler?" at once, from the key handler, where Oui cannot
    // stop the recalculation. Given back, an Esc cancels it at its next progress text.
    RestaurerMenus();
    AffiInfo(1, "recalcul ...");
    RecalculerRepere(NvCooOrig, NvCooX);
    Plateforme.AfficherStatut(1, "");
}

void TEspaceTravail::RecalculerRepere(const TV3S& origine, const TV3S& pointX) {
    const std::optional<TRotationAxe> rotation = RotationAxe(origine, pointX);
    if (!rotation) throw EErreur(MsgAxeIndefini);
    CurseurAttente();
    const bool pret = ScanPret;
    ScanPret = false;
    const TSortieProgression sortie = [this](const std::string& t) { AffiInfo(1, t); };
    std::string message;
    bool recadre = false, echec = false;
    try {
        // The scan first: it takes its new frame only once rebuilt whole, so that a stop leaves
        // both it and the point source file as they were.
        const TRecadrage recadrage = RecadrerScan(
            Scan, [&r = *rotation](const TV3S& p) { return r.Appliquer(p); },
            PFsansext + ".recadrage", sortie);
        std::uint64_t traites = std::uint64_t(recadrage.NbPoints);
        if (recadrage.NbPoints > 0) {
            // Shown in its new frame, and to be saved.
            Scan.ScanModifie = true;
            Scan.ModifieSansRetour = true;
            CalculerEncombrement();
            OrienterVue(1);
            PointLu.reset();
            Etude.ChangerDeRepere(
                [r = *rotation, coin = recadrage.Coin](const TV2R& p) { return r.Plan(p, coin); });
            recadre = true;
        }
        if (std::filesystem::exists(CheminFs(PFsansext + ".ANSCSRC")))
            traites = RecrireSourceDansRepere(PFsansext, *rotation, sortie).NbPoints;
        message = std::to_string(traites) + " points traités";
    } catch (const std::exception& e) {
        message = MessageErreur(e);
        echec = true;
    }
    ScanPret = pret;
    RetracerTout();
    FinCurseurAttente();
    if (echec)
        Plateforme.AfficherErreur(message);
    else
        Plateforme.AfficherMessage(message);
    if (recadre) ReprendreEtape();
}

void TEspaceTravail::ReprendreEtape() {
    // What the current step shows is built again on the moved quarter; a step that cannot be
    // built sends the study back to its first step.
    const bool reussi = Executer([this] {
        if (OngletActif >= 1) ActualiserStructure();
        if (OngletActif >= 2) CalculerCharges();
    });
    if (!reussi) ChangerOnglet(0);
    RetracerTout();
}
