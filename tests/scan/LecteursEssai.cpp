#include "LecteursEssai.h"

#include "ScanEssai.h"

#include <filesystem>

TLuEssai LirePoints(TLecteurPoints lecteur, const std::string& chemin) {
    TLuEssai lu;
    lu.Bilan = lecteur(chemin,
                       [&](const TPointLu* lot, std::size_t n) {
                           lu.Points.insert(lu.Points.end(), lot, lot + n);
                       },
                       {});
    TCouleursSeizeBits couleurs;
    for (const TPointLu& p : lu.Points)
        couleurs.Ajouter(p);
    for (TPointLu& p : lu.Points)
        p.Couleur = couleurs.Couleur(p.Couleur, p.CouleurPoidsFaible);
    return lu;
}

void VerifierRefus(const std::vector<TRefusEssai>& cas) {
    for (const TRefusEssai& c : cas) {
        SCOPED_TRACE(c.nom);
        TDossierTemporaire dossier;
        TBancEssai banc;
        EcrireFichier(dossier.Chemin("avant.xyz"), XYZGrille(100));
        ASSERT_TRUE(banc.Travail.ChargerScan(dossier.Chemin("avant.xyz")));
        std::filesystem::remove(dossier.Chemin("avant.xyz"));
        const std::string chemin = dossier.Chemin(c.nom);
        EcrireFichier(chemin, c.contenu);
        EXPECT_FALSE(banc.Travail.ChargerScan(chemin));
        EXPECT_EQ(banc.Plateforme.Messages,
                  std::vector<std::string>{"fichier « " + chemin + " » : " + c.raison});
        EXPECT_EQ(banc.Travail.Scan.NbPoints, 0);
        EXPECT_EQ(banc.Travail.Scan.NbCubesTotal(), 0);
        std::size_t fichiers = 0;
        for ([[maybe_unused]] const auto& f :
             std::filesystem::directory_iterator(dossier.Chemin("")))
            ++fichiers;
        EXPECT_EQ(fichiers, 1u);
    }
}
