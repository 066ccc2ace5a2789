// The scan commands: each wires the workspace's state and platform to the scan's functions.

#include "scan/ChargementScan.h"
#include "scan/EditionPoints.h"
#include "scan/EnregistrementScan.h"
#include "shell/EspaceTravail.h"
#include "view/NavigationVue.h"

#include "util/DossierModifiable.h"
#include "util/Fichiers.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

TSortieProgression SortieStatutSansArret(TEspaceTravail& t) {
    return [&t](const std::string& texte) { t.AffiInfoSansArret(1, texte); };
}

// A step on millions of cubes that is not stopped (it changes them all or none): the window is
// served meanwhile, and `texte` shown once it lasts, saying that Esc will not stop it.
template <class F> void SansArret(TEspaceTravail& t, const char* texte, F&& etape) {
    TProgression attente = TProgression::Patience(
        SortieStatutSansArret(t), std::string(texte) + " (ne peut pas être interrompu)");
    etape([&] { attente.Entretenir(); });
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
    t.Champs.CkBxNivAppui = e.NiveauAppui.has_value();
    if (e.NiveauAppui) t.Champs.GEdNivAppui.EcrireValeurD(*e.NiveauAppui);
    if (e.Version >= 3) {
        t.Vue.AngRotZdeg = std::isfinite(e.AngRotZdeg) ? e.AngRotZdeg : 0.0;
        t.ActualiserRotZ();
    }
}

// Two headers store the same study and display: the frontier points, the six values, the
// displayed level, the point size, the rotation and the springing level (the rib's frame and
// edges follow from them).
bool MemeEtude(const TEnTeteArkl& a, const TEnTeteArkl& b) {
    for (int n = 1; n <= 4; ++n)
        if (std::memcmp(&a.RecModl.XYfront(n), &b.RecModl.XYfront(n), sizeof(TV2R)) != 0)
            return false;
    return a.RecModl.Q1a4 == b.RecModl.Q1a4 && a.TaillePointsIndex == b.TaillePointsIndex &&
           a.LargeurAretier == b.LargeurAretier && a.NbArcsVoute == b.NbArcsVoute &&
           a.MlinAretier == b.MlinAretier && a.MvolRemplissage == b.MvolRemplissage &&
           a.MsurfVoute == b.MsurfVoute &&
           std::memcmp(&a.NivRemplissage, &b.NivRemplissage, sizeof(double)) == 0 &&
           a.NiveauAffiche == b.NiveauAffiche && a.NiveauAppui == b.NiveauAppui &&
           std::memcmp(&a.AngRotZdeg, &b.AngRotZdeg, sizeof(double)) == 0;
}

// The list of recent files must not depend on the folder the program was started from.
std::string CheminAbsolu(const std::string& chemin) {
    std::error_code erreur;
    const fs::path absolu = fs::absolute(CheminFs(chemin), erreur);
    return erreur ? chemin : TexteChemin(absolu.lexically_normal());
}

bool MemeFichier(const std::string& a, const std::string& b) {
    std::error_code erreur;
    return !a.empty() && !b.empty() && fs::equivalent(CheminFs(a), CheminFs(b), erreur);
}

} // namespace

TSortieProgression TEspaceTravail::SortieStatut() {
    return [this](const std::string& texte) { AffiInfo(1, texte); };
}

// The header of a saved file as the study, the fields and the view stand.
TEnTeteArkl TEspaceTravail::EnTeteDeTravail() {
    TEnTeteArkl e;
    e.RecModl = Etude.RecModl;
    e.TaillePointsIndex = TaillePointsIndex;
    e.LargeurAretier = Champs.GEdLargeurAretier.ValeurI();
    e.NbArcsVoute = Champs.GEdNbArcsVoute.ValeurI();
    e.MlinAretier = Champs.GEdMlinAretier.ValeurI();
    e.MvolRemplissage = Champs.GEdMvolRemplissage.ValeurI();
    e.MsurfVoute = Champs.GEdMsurfVoute.ValeurI();
    e.NivRemplissage = Champs.GEdNivRemplissage.ValeurD();
    e.NiveauAppui = NiveauAppuiImpose();
    e.NiveauAffiche = Scan.NivAffiche;
    e.AngRotZdeg = Vue.AngRotZdeg;
    return e;
}

bool TEspaceTravail::DonneesModifiees() {
    // Without a cube there is nothing a save could write.
    if (Scan.NbCubesTotal() == 0) return false;
    return Scan.ScanModifie || !MemeEtude(EnTeteDeTravail(), etudeEnregistree_);
}

bool TEspaceTravail::ChargerScan(const std::string& chemin) {
    FixerTitre(chemin);
    OngletActif = 0;
    ScanPret = false;
    CurseurAttente();
    const fs::path p = CheminFs(chemin);
    PFsansext = TexteChemin(p.parent_path() / p.stem());
    ExtScan = TexteChemin(p.extension());
    DernierScan = TexteChemin(p.parent_path());
    ReinitialiserTravail();
    // The scan that had deletions pending has been dropped (saved or not): the new one has none.
    Scan.ScanModifie = false;
    Scan.ModifieSansRetour = false;

    int niveauAffiche = 2;
    BilanChargement.clear();
    NbIgnores = 0;
    bool reussi = false;
    try {
        const TScanLu lu = ChargerFichierScan(Scan, chemin, SortieStatut(), ZoneDeChargement);
        CalculerEncombrement();
        AppliquerEnTete(*this, lu.EnTete);
        niveauAffiche = lu.NiveauAffiche;
        BilanChargement = lu.Bilan;
        NbIgnores = lu.NbIgnores;
        reussi = true;
    } catch (const std::exception& e) {
        Plateforme.AfficherErreur(MessageErreur(e));
        ReinitialiserTravail();
    }
    TerminerChargement(niveauAffiche, reussi ? chemin : std::string());
    // The summary stays in the first panel, which the progress texts leave alone.
    Plateforme.AfficherStatut(0, reussi
                                     ? std::to_string(Scan.NbPoints) + " points chargés" +
                                           (BilanChargement.empty() ? "" : " ; " + BilanChargement)
                                     : std::string());
    return reussi;
}

bool TEspaceTravail::OuvrirScan(const std::string& chemin) {
    const bool reussi = ChargerScan(chemin);
    if (reussi && NbIgnores > 0)
        Plateforme.AfficherErreur("« " + TexteChemin(CheminFs(chemin).filename()) +
                                  " » : " + BilanChargement);
    return reussi;
}

void TEspaceTravail::TerminerChargement(int niveauAffiche, const std::string& fichier) {
    FixerNiveauAffiche(niveauAffiche);
    ScanPret = true;
    OrienterVue(1);
    FinCurseurAttente();
    RetracerTout();
    // The title names only a file that holds what is shown.
    FichierScan = fichier;
    if (!fichier.empty()) Recents.Ajouter(CheminAbsolu(fichier));
    if (fichier.empty()) {
        Titre = TitreFenetre;
        Plateforme.FixerTitre(Titre);
    }
    etudeEnregistree_ = EnTeteDeTravail();
}

bool TEspaceTravail::EnregistrerScan(const TFormatScan& format, int niveau) {
    const std::string cible = CheminEnregistrement(PFsansext, ExtScan, format.Extensions.front());
    const fs::path dossier = CheminFs(cible).parent_path();
    if (!PFsansext.empty() && !DossierModifiable(TexteChemin(dossier.empty() ? "." : dossier))) {
        const std::string ailleurs = Plateforme.EnregistrerAilleurs(cible);
        if (ailleurs.empty())
            throw EErreur("« " + TexteChemin(dossier) +
                          " » n'accepte pas de fichier : enregistrez sous un autre nom");
        return EnregistrerSous(ailleurs, &format, niveau);
    }
    return EcrireScan(format, niveau, {});
}

bool TEspaceTravail::EnregistrerSous(const std::string& chemin, const TFormatScan* format,
                                     int niveau) {
    const fs::path p = CheminFs(chemin);
    std::string sansExtension = TexteChemin(p.parent_path() / p.stem());
    std::string extension = TexteChemin(p.extension());
    if (format == nullptr) format = FormatSelonExtension(chemin);
    if (format == nullptr || format->Ecrivain == nullptr) {
        // A name of no written kind is kept whole: the binary scan file's extension is added.
        sansExtension = chemin;
        extension.clear();
        format = &FormatArkl();
    }
    const std::string avantSansExtension = std::exchange(PFsansext, sansExtension);
    const std::string avantExtension = std::exchange(ExtScan, extension);
    bool ecrit = false;
    try {
        ecrit = EcrireScan(*format, niveau, chemin);
    } catch (...) {
        PFsansext = avantSansExtension;
        ExtScan = avantExtension;
        throw;
    }
    if (!ecrit) {
        PFsansext = avantSansExtension;
        ExtScan = avantExtension;
    }
    return ecrit;
}

bool TEspaceTravail::RemplacementPermis(const std::string& cible,
                                        const std::string& remplacementAccepte) {
    std::error_code erreur;
    if (!fs::exists(CheminFs(cible), erreur) || MemeFichier(cible, FichierScan) ||
        MemeFichier(cible, remplacementAccepte))
        return true;
    return Plateforme.Demander("le fichier « " + cible + " » existe déjà, le remplacer?",
                               TReponse::Non) == TReponse::Oui;
}

bool TEspaceTravail::EcrireScan(const TFormatScan& format, int niveau,
                                const std::string& remplacementAccepte) {
    if (format.Ecrivain == nullptr) return false;
    VerifierEnregistrable(Scan, niveau);
    const std::string cible = CheminEnregistrement(PFsansext, ExtScan, format.Extensions.front());
    AppliquerRotationTapee();
    // The study's file keeps the fields' values: a refused text would be stored as a number
    // that the next reading refuses, the valid value it replaced lost.
    if (&format == &FormatArkl())
        if (const std::string refus = Champs.ValeurRefusee(); !refus.empty())
            throw EErreur("« " + TexteChemin(CheminFs(cible).filename()) +
                          " » n'est pas enregistré : " + refus);
    if (!RemplacementPermis(cible, remplacementAccepte)) return false;
    CurseurAttente();
    TEnTeteArkl enTete;
    try {
        if (Scan.ScanModifie) CompacterScan();
        enTete = EnTeteDeTravail();
        format.Ecrivain(Scan, niveau, enTete, cible, SortieStatut());
    } catch (...) {
        // The previous file is intact and the scan still needs saving: ScanModifie stays.
        Plateforme.AfficherStatut(1, "");
        FinCurseurAttente();
        throw;
    }
    Plateforme.AfficherStatut(1, "");
    Scan.ScanModifie = false;
    Scan.ModifieSansRetour = false;
    // Only the binary scan file keeps the study: with another format it is still to be saved.
    if (&format == &FormatArkl()) etudeEnregistree_ = enTete;
    FichierScan = cible;
    Recents.Ajouter(CheminAbsolu(cible));
    FixerTitre(cible);
    FinCurseurAttente();
    return true;
}

void TEspaceTravail::CalculerEncombrement() {
    Corps = CorpsDuLeve(Scan);
    CadrerVue(Vue, Corps.Min, Corps.Max);
}

void TEspaceTravail::FixerNiveauAffiche(int niveau) {
    SansArret(*this, "changement du niveau d'affichage ...",
              [&](const auto& entretenir) { ::FixerNiveauAffiche(Scan, niveau, entretenir); });
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
    SansArret(*this, "suppression ...", [&](const auto& entretenir) {
        SupprimerAffiches(Scan, EtatSelectionne, entretenir);
    });
    RetracerPoints();
}

void TEspaceTravail::SupprimerPointsMasques() {
    SansArret(*this, "suppression ...",
              [&](const auto& entretenir) { SupprimerAffiches(Scan, EtatMasque, entretenir); });
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
        ::CompacterScan(Scan, SortieStatut(), SortieStatutSansArret(*this));
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
    // The box of an empty scan is the reals' limits: no figure to give.
    if (Scan.NbCubesTotal() == 0) return "aucun scan chargé";
    const std::string ecartes = TexteEcartes(Corps);
    return ::Proprietes(Scan) + (ecartes.empty() ? "" : "\r\n" + ecartes);
}
