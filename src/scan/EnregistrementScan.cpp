// Saving the cubes of one level as a binary scan file (version 3) or as XYZ text.

#include "scan/FichierArkl.h"
#include "scan/FormatXYZ.h"
#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"
#include "util/Progression.h"

#include <vector>

namespace {

TEnTeteArkl EnTeteDeTravail(TEspaceTravail& t, int niveau) {
    TEnTeteArkl e;
    e.RecModl = t.Etude.RecModl;
    e.TaillePointsIndex = t.TaillePointsIndex;
    e.LargeurAretier = t.Champs.GEdLargeurAretier.ValeurI();
    e.NbArcsVoute = t.Champs.GEdNbArcsVoute.ValeurI();
    e.MlinAretier = t.Champs.GEdMlinAretier.ValeurI();
    e.MvolRemplissage = t.Champs.GEdMvolRemplissage.ValeurI();
    e.MsurfVoute = t.Champs.GEdMsurfVoute.ValeurI();
    e.NivRemplissage = t.Champs.GEdNivRemplissage.ValeurD();
    e.NiveauPoints = niveau;
    e.NbPoints = t.Scan.NbCubesNiv[niveau];
    e.CooMin = t.Scan.CooMin;
    e.CooMax = t.Scan.CooMax;
    e.NiveauAffiche = t.Scan.NivAffiche;
    e.AngRotZdeg = t.Vue.AngRotZdeg;
    return e;
}

} // namespace

bool TEspaceTravail::EnregistrerScan(int genre, int niveau) {
    if (genre != 1 && genre != 2) return false;
    if (niveau < 0 || niveau > Scan.NivMax) throw EErreur("niveau à enregistrer invalide");
    // Without a scan there is nothing to write, and an empty file must not replace a good one.
    if (Scan.NbCubesTotal() == 0) throw EErreur("aucun scan à enregistrer");
    CurseurAttente();
    try {
        if (Scan.ScanModifie) CompacterScan();
        if (genre == 1) {
            TFichierTemporaire fichier(PFsansext + ".arkl");
            const std::int64_t version = 3;
            fichier.Ecrire(&version, sizeof version);
            const auto enTete = EncoderEnTeteV3(EnTeteDeTravail(*this, niveau));
            fichier.Ecrire(enTete.data(), enTete.size());
            const std::int64_t total = Scan.NbCubesNiv[niveau];
            std::vector<TPointScan> lot;
            lot.reserve(4096);
            std::int64_t ecrits = 0;
            TProgression progression = TProgression::Pourcentage(
                [this](const std::string& t) { AffiInfo(1, t); }, "écriture ", total);
            for (TCube* c = Scan.PremierCubeNiv[niveau]; c; c = c->SvtNiv) {
                lot.push_back({c->CooMoyPts.X, c->CooMoyPts.Y, c->CooMoyPts.Z, c->ColCube});
                if (lot.size() == lot.capacity()) {
                    fichier.Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
                    lot.clear();
                }
                progression.Avancer(++ecrits);
            }
            fichier.Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
            fichier.Valider();
        } else {
            TFichierTemporaire fichier(PFsansext + ".xyz");
            std::string texte;
            for (TCube* c = Scan.PremierCubeNiv[niveau]; c; c = c->SvtNiv) {
                AjouterLigneXYZ(texte, c->CooMoyPts, c->ColCube);
                if (texte.size() > (std::size_t(1) << 20)) {
                    fichier.Ecrire(texte.data(), texte.size());
                    texte.clear();
                }
            }
            fichier.Ecrire(texte.data(), texte.size());
            fichier.Valider();
        }
    } catch (...) {
        // The previous file is intact and the scan still needs saving: ScanModifie stays.
        Plateforme.AfficherStatut(1, "");
        FinCurseurAttente();
        throw;
    }
    Plateforme.AfficherStatut(1, "");
    Scan.ScanModifie = false;
    FinCurseurAttente();
    return true;
}
