// The scan commands: each wires the workspace's state and platform to the scan's functions.

#include "scan/ChargementScan.h"
#include "scan/EditionPoints.h"
#include "scan/EnregistrementScan.h"
#include "shell/EspaceTravail.h"
#include "view/NavigationVue.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Progress texts go to the status bar, where Esc may stop the operation.
TSortieProgression SortieStatut(TEspaceTravail& t) {
    return [&t](const std::string& texte) { t.AffiInfo(1, texte); };
}

// What a binary scan file carried for the study, the fields and the view, by its version. XYZ
// text carries nothing: its study starts with no quarter.
void AppliquerEnTete(TEspaceTravail& t, const std::optional<TEnTeteArkl>& enTete) {
    if (!enTete) {
        t.Etude.RecModl.Q1a4 = 0;
        return;
    }
    const TEnTeteArkl& e = *enTete;
    if (e.Version >= 2) {
        t.Etude.RecModl = e.RecModl;
        t.TaillePointsIndex = std::clamp(e.TaillePointsIndex, 0, 3);
        t.Champs.GEdLargeurAretier.EcrireValeurI(e.LargeurAretier);
        t.Champs.GEdNbArcsVoute.EcrireValeurI(e.NbArcsVoute);
        t.Champs.GEdMlinAretier.EcrireValeurI(e.MlinAretier);
        t.Champs.GEdMvolRemplissage.EcrireValeurI(e.MvolRemplissage);
        t.Champs.GEdMsurfVoute.EcrireValeurI(e.MsurfVoute);
        t.Champs.GEdNivRemplissage.EcrireValeurD(e.NivRemplissage);
        t.FixerCkBxEdFront(false);
    }
    if (e.Version >= 3) {
        t.Vue.AngRotZdeg = std::isfinite(e.AngRotZdeg) ? e.AngRotZdeg : 0.0;
        t.ActualiserRotZ();
    }
}

// The header of a saved file as the study, the fields and the view stand.
TEnTeteArkl EnTeteDeTravail(TEspaceTravail& t) {
    TEnTeteArkl e;
    e.RecModl = t.Etude.RecModl;
    e.TaillePointsIndex = t.TaillePointsIndex;
    e.LargeurAretier = t.Champs.GEdLargeurAretier.ValeurI();
    e.NbArcsVoute = t.Champs.GEdNbArcsVoute.ValeurI();
    e.MlinAretier = t.Champs.GEdMlinAretier.ValeurI();
    e.MvolRemplissage = t.Champs.GEdMvolRemplissage.ValeurI();
    e.MsurfVoute = t.Champs.GEdMsurfVoute.ValeurI();
    e.NivRemplissage = t.Champs.GEdNivRemplissage.ValeurD();
    e.NiveauAffiche = t.Scan.NivAffiche;
    e.AngRotZdeg = t.Vue.AngRotZdeg;
    return e;
}

} // namespace

bool TEspaceTravail::ChargerScan(const std::string& chemin) {
    FixerTitre(chemin);
    OngletActif = 0;
    ScanPret = false;
    CurseurAttente();
    const fs::path p(chemin);
    PFsansext = (p.parent_path() / p.stem()).string();
    ExtScan = p.extension().string();
    DernierScan = p.parent_path().string();
    ReinitialiserTravail();
    // The scan that had deletions pending has been dropped (saved or not): the new one has none.
    Scan.ScanModifie = false;
    Scan.ModifieSansRetour = false;

    int niveauAffiche = 2;
    BilanChargement.clear();
    bool reussi = false;
    try {
        const TScanLu lu = ChargerFichierScan(Scan, chemin, SortieStatut(*this));
        CalculerEncombrement();
        AppliquerEnTete(*this, lu.EnTete);
        niveauAffiche = lu.NiveauAffiche;
        BilanChargement = lu.Bilan;
        reussi = true;
    } catch (const std::exception& e) {
        Plateforme.AfficherMessage(MessageErreur(e));
        ReinitialiserTravail();
    }
    TerminerChargement(niveauAffiche);
    if (!BilanChargement.empty()) Plateforme.AfficherStatut(1, BilanChargement);
    return reussi;
}

void TEspaceTravail::TerminerChargement(int niveauAffiche) {
    FixerNiveauAffiche(niveauAffiche);
    ScanPret = true;
    OrienterVue(1);
    FinCurseurAttente();
    RetracerTout();
}

bool TEspaceTravail::EnregistrerScan(const TFormatScan& format, int niveau) {
    if (format.Ecrivain == nullptr) return false;
    VerifierEnregistrable(Scan, niveau);
    CurseurAttente();
    try {
        if (Scan.ScanModifie) CompacterScan();
        format.Ecrivain(Scan, niveau, EnTeteDeTravail(*this),
                        CheminEnregistrement(PFsansext, ExtScan, format.Extensions.front()),
                        SortieStatut(*this));
    } catch (...) {
        // The previous file is intact and the scan still needs saving: ScanModifie stays.
        Plateforme.AfficherStatut(1, "");
        FinCurseurAttente();
        throw;
    }
    Plateforme.AfficherStatut(1, "");
    Scan.ScanModifie = false;
    Scan.ModifieSansRetour = false;
    FinCurseurAttente();
    return true;
}

void TEspaceTravail::CalculerEncombrement() {
    Corps = CorpsDuLeve(Scan);
    CadrerVue(Vue, Corps.Min, Corps.Max);
}

void TEspaceTravail::FixerNiveauAffiche(int niveau) {
    ::FixerNiveauAffiche(Scan, niveau);
    RetracerPoints();
}

void TEspaceTravail::Deselectionner() {
    ::Deselectionner(Scan);
    RetracerPoints();
}

void TEspaceTravail::MasquerSelection() {
    ::MasquerSelection(Scan);
    RetracerPoints();
}

void TEspaceTravail::Demasquer() {
    ::Demasquer(Scan);
    RetracerPoints();
}

void TEspaceTravail::InverserMasque() {
    ::InverserMasque(Scan);
    RetracerPoints();
}

void TEspaceTravail::SupprimerSelection() {
    SupprimerAffiches(Scan, EtatSelectionne);
    RetracerPoints();
}

void TEspaceTravail::SupprimerPointsMasques() {
    SupprimerAffiches(Scan, EtatMasque);
    RetracerPoints();
}

void TEspaceTravail::AnnulerSuppressions() {
    ::AnnulerSuppressions(Scan);
    RetracerPoints();
}

void TEspaceTravail::CompacterScan() {
    if (!Scan.ScanModifie) return;
    CurseurAttente();
    try {
        ::CompacterScan(Scan, SortieStatut(*this));
    } catch (...) {
        FinCurseurAttente();
        CalculerEncombrement();
        RetracerTout();
        throw;
    }
    FinCurseurAttente();
    CalculerEncombrement();
    RetracerTout();
    OrienterVue(1);
}

std::string TEspaceTravail::Proprietes() const {
    const std::string ecartes = TexteEcartes(Corps);
    return ::Proprietes(Scan) + (ecartes.empty() ? "" : "\r\n" + ecartes);
}
