#include "scan/EnregistrementScan.h"

#include "scan/CubesArkl.h"
#include "scan/FormatXYZ.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/StringUtils.h"

#include <vector>

std::string CheminEnregistrement(const std::string& sansExtension, const std::string& extension,
                                 const std::string& propre) {
    return sansExtension + (MinusculesAscii(extension) == propre ? extension : propre);
}

void VerifierEnregistrable(const TEtatScan& scan, int niveau) {
    if (niveau < 0 || niveau > scan.NivMax) throw EErreur("niveau à enregistrer invalide");
    // Without a scan there is nothing to write, and an empty file must not replace a good one.
    if (scan.NbCubesTotal() == 0) throw EErreur("aucun scan à enregistrer");
}

void EcrireScanArkl(const TEtatScan& scan, int niveau, TEnTeteArkl enTete,
                    const std::string& chemin, const TSortieProgression& sortie) {
    enTete.NiveauPoints = niveau;
    enTete.NbPoints = scan.NbCubesNiv[niveau];
    enTete.CooMin = scan.CooMin;
    enTete.CooMax = scan.CooMax;
    enTete.Decalage = scan.Decalage;
    enTete.AvecCubes = true;
    TFichierTemporaire fichier(chemin);
    const std::int64_t version = VersionEcrite(enTete);
    fichier.Ecrire(&version, sizeof version);
    const auto octets = EncoderEnTete(enTete);
    fichier.Ecrire(octets.data(), TailleEnTete(version));
    const std::int64_t total = scan.NbCubesNiv[niveau];
    std::vector<TPointScan> lot;
    lot.reserve(4096);
    std::int64_t ecrits = 0;
    TProgression progression = TProgression::Pourcentage(sortie, "écriture ", total);
    scan.PourChaqueCubeDuNiveau(niveau, [&](const TCube* c) {
        lot.push_back({c->CooMoyPts.X, c->CooMoyPts.Y, c->CooMoyPts.Z, c->ColCube});
        if (lot.size() == lot.capacity()) {
            fichier.Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
            lot.clear();
        }
        progression.Avancer(++ecrits);
    });
    fichier.Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
    TCubesArkl::Ecrire(scan, niveau, fichier);
    fichier.Valider();
}

void EcrireScanXYZ(const TEtatScan& scan, int niveau, const std::string& chemin) {
    TFichierTemporaire fichier(chemin);
    std::string texte;
    scan.PourChaqueCubeDuNiveau(niveau, [&](const TCube* c) {
        AjouterLigneXYZ(texte, CoordonneesDuLeve(c->CooMoyPts, scan.Decalage), c->ColCube);
        if (texte.size() > (std::size_t(1) << 20)) {
            fichier.Ecrire(texte.data(), texte.size());
            texte.clear();
        }
    });
    fichier.Ecrire(texte.data(), texte.size());
    fichier.Valider();
}
