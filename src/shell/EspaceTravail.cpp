#include "shell/EspaceTravail.h"

#include "util/Erreurs.h"
#include "view/NavigationVue.h"

TEspaceTravail::TEspaceTravail(TPlateforme& plateforme) : Plateforme(plateforme) {}

bool TEspaceTravail::DemanderAbandon() {
    if (!Echap) return false;
    Echap = false;
    return Plateforme.Demander("Annuler?", TReponse::Oui) == TReponse::Oui;
}

void TEspaceTravail::AffiInfo(int panneau, const std::string& texte) {
    if (DemanderAbandon()) throw EStopError();
    Plateforme.AfficherStatut(panneau, texte);
    Plateforme.TraiterMessages();
}

void TEspaceTravail::AffiInfoSansArret(int panneau, const std::string& texte) {
    Plateforme.AfficherStatut(panneau, texte);
    Plateforme.TraiterMessages();
    Echap = false;
}

void TEspaceTravail::ToucheEchap() {
    // While the axis's points are awaited nothing runs: Esc leaves the designation, without the
    // question that stops a running operation.
    if (ModeDefinirAxeX != 0 || !svgetatmenu.empty()) {
        ModeDefinirAxeX = 0;
        RestaurerMenus();
        return;
    }
    Echap = true;
}

void TEspaceTravail::CurseurAttente() {
    curseurs_.EmpilerCurseur(Plateforme, TPileCurseurs::CurseurSablier);
}

void TEspaceTravail::FinCurseurAttente() {
    curseurs_.DepilerCurseur(Plateforme);
}

void TEspaceTravail::FixerTitre(const std::string& nom) {
    Titre = std::string(TitreFenetre) + " - " + nom;
    Plateforme.FixerTitre(Titre);
}

void TEspaceTravail::ReinitialiserTravail() {
    ScanPret = false;
    Scan.NbPoints = 0;
    // No rotation about Z: the angle shown and used by the camera, the text of its field and the
    // matrices that turn the frontier moves, the results and the axes go back together.
    Vue.AngRotZdeg = 0;
    TexteEdRotZ = TexteAngleRotZ(Vue.AngRotZdeg);
    Vue.rotmatrixrepere = IdentiteGL16();
    Vue.McbRotZ2 = {{{1, 0}, {0, 1}}};
    Vue.PointsPerimes = true;
    Vue.ReperePerime = true;
    // Back to the first page of the study, through its page change (the 3D view shown again).
    PCavctChanging();
    PCavctChange(0);
    Scan.Vider();
    Corps = {};
    ReleveAffiches.Oublier();
    PointLu.reset();
}

bool TEspaceTravail::DemanderEnregistrement() {
    if (!ScanPret) return true;
    AppliquerRotationTapee();
    if (!DonneesModifiees()) return true;
    const TReponse r =
        Plateforme.Demander("les données ont été modifiées, enregistrer?", TReponse::Oui);
    if (r == TReponse::Annulee) return false;
    if (r == TReponse::Oui && DonneesModifiees()) return EnregistrerScan(FormatArkl(), Scan.NivMax);
    return true;
}

void TEspaceTravail::RetracerTout() {
    Vue.PointsPerimes = true;
    Vue.ReperePerime = true;
    Plateforme.RedessinerVue();
}

void TEspaceTravail::RetracerPoints() {
    Vue.PointsPerimes = true;
    Plateforme.RedessinerVue();
}
