#include "ScanEssai.h"
#include "scan/EnregistrementScan.h"
#include "scan/FormatXYZ.h"
#include "support/AttendreErreur.h"
#include "support/CommandeSysteme.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

template <class T> T A(const std::string& octets, std::size_t decalage) {
    T v;
    std::memcpy(&v, octets.data() + decalage, sizeof v);
    return v;
}

// The size of a file of the cubes down to `niveau`: the version word and header, the records,
// then the counts of the levels, the cells and each level's arrays.
std::size_t TailleArkl(const TEtatScan& s, int niveau) {
    std::size_t taille = 8 + 328 + 16 * std::size_t(s.NbCubesNiv[std::size_t(niveau)]) + 40 +
                         12 * std::size_t(s.NbCubesNiv[0]);
    for (int n = 0; n <= niveau; ++n)
        taille += std::size_t(s.NbCubesNiv[std::size_t(n)]) *
                  (8 + (n < niveau ? 17 : 0) + (n > 0 ? 1 : 0));
    return taille;
}

using Enregistrement = TScanCharge;
using Ecriture = TScanSeul;

} // namespace

TEST_F(Enregistrement, FichierBinaireEtRelecture) {
    T.TaillePointsIndex = 2;
    T.BtActualiserRotClick("12.5");
    T.Etude.RecModl.Q1a4 = 3;
    T.Etude.RecModl.XYapp = {1.25, -7};
    T.FixerNiveauAffiche(3);
    const std::int32_t cubes2 = T.Scan.NbCubesNiv[2];
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 2));

    // The survey lies at X = 100 m, Y = 200 m, Z = 40 m: it is kept shifted, with the cubes.
    const std::string f = LireFichier(Dossier.Chemin("scan.arkl"));
    ASSERT_EQ(f.size(), TailleArkl(T.Scan, 2));
    EXPECT_EQ(A<std::int64_t>(f, 0), 6);
    EXPECT_EQ(A<std::int32_t>(f, 8), 3);         // Q1a4
    EXPECT_EQ(A<double>(f, 8 + 168), 1.25);      // XYapp.X
    EXPECT_EQ(A<std::int32_t>(f, 8 + 200), 2);   // point size item
    EXPECT_EQ(A<std::int32_t>(f, 8 + 204), 20);  // rib width
    EXPECT_EQ(A<std::int32_t>(f, 8 + 208), 5);   // arcs
    EXPECT_EQ(A<std::int32_t>(f, 8 + 212), 100); // linear mass
    EXPECT_EQ(A<std::int32_t>(f, 8 + 216), 0);   // fill density
    EXPECT_EQ(A<std::int32_t>(f, 8 + 220), 150); // surface mass
    EXPECT_EQ(A<double>(f, 8 + 224), 0.0);       // fill level
    EXPECT_EQ(A<std::int64_t>(f, 8 + 232), 2);   // level of the points
    EXPECT_EQ(A<std::int64_t>(f, 8 + 240), cubes2);
    EXPECT_EQ(A<float>(f, 8 + 248), T.Scan.CooMin.X);
    EXPECT_EQ(A<float>(f, 8 + 268), T.Scan.CooMax.Z);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 272), 3); // displayed level
    EXPECT_EQ(A<double>(f, 8 + 280), 12.5);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 288), 100);
    // First record: the head of the level's chain, the newest cube.
    const TCube* tete = T.Scan.PremierCubeNiv[2];
    EXPECT_EQ(A<float>(f, 336), tete->CooMoyPts.X);
    EXPECT_EQ(A<std::uint8_t>(f, 336 + 12), tete->ColCube[0]);

    TBancEssai relu;
    // The user had checked the frontier box with the key chosen: the load unchecks it, which
    // moves the choice to the first side's middle, and checks it again.
    relu.Travail.CkBxEdFront = true;
    relu.Travail.CmBxPtFrontIndex = 0;
    ASSERT_TRUE(relu.Travail.ChargerScan(Dossier.Chemin("scan.arkl")));
    const TEtatScan& s = relu.Travail.Scan;
    EXPECT_EQ(s.NivMax, 2);
    EXPECT_EQ(s.NbPoints, cubes2);
    EXPECT_EQ(s.NbCubesNiv[2], cubes2);
    EXPECT_EQ(s.NbCubesNiv[3], 0);
    EXPECT_EQ(s.NivAffiche, 2); // 3 lowered to the file's deepest level
    EXPECT_EQ(relu.Travail.Etude.RecModl.Q1a4, 3);
    EXPECT_EQ(relu.Travail.Etude.RecModl.XYapp, (TV2R{1.25, -7}));
    EXPECT_EQ(relu.Travail.TaillePointsIndex, 2);
    EXPECT_EQ(relu.Travail.Vue.AngRotZdeg, 12.5);
    EXPECT_EQ(relu.Travail.TexteEdRotZ, "12.5"); // the field shows the angle kept, unrounded
    EXPECT_EQ(relu.Travail.PtFrontSel1a4, 2);
    EXPECT_TRUE(relu.Travail.CkBxEdFront);
}

// A saved scan opens as it was, without being built again: every level's cubes in their
// chains' order with their means, colours, counts, corners and children, down to the level
// saved; after deletions too, which the save compacts away first.
TEST_F(Enregistrement, UnScanRouvertEstCeluiEnregistre) {
    T.FixerNiveauAffiche(1);
    for (std::size_t k = 0; k < T.Scan.CubesAffiches.size(); k += 3)
        T.Scan.CubesAffiches[k]->etatSP |= EtatSelectionne;
    T.SupprimerSelection();
    for (const int niveau : {4, 2}) {
        SCOPED_TRACE("niveau " + std::to_string(niveau));
        ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), niveau));
        TBancEssai relu;
        ASSERT_TRUE(relu.Travail.ChargerScan(Dossier.Chemin("scan.arkl")));
        const TEtatScan& s = relu.Travail.Scan;
        EXPECT_EQ(s.NivMax, niveau);
        EXPECT_EQ(s.CellulesGrille.size(), s.Grille.size());
        for (int n = 0; n < NbNiveaux; ++n) {
            std::vector<const TCube*> ecrits, lus;
            if (n <= niveau)
                T.Scan.PourChaqueCubeDuNiveau(n, [&](const TCube* c) { ecrits.push_back(c); });
            s.PourChaqueCubeDuNiveau(n, [&](const TCube* c) { lus.push_back(c); });
            ASSERT_EQ(lus.size(), ecrits.size()) << "niveau " << n;
            for (std::size_t k = 0; k < lus.size(); ++k) {
                const TCube& a = *ecrits[k];
                const TCube& b = *lus[k];
                EXPECT_EQ(b.CooMoyPts, a.CooMoyPts);
                EXPECT_EQ(b.ColCube, a.ColCube);
                EXPECT_EQ(b.nbptscube, a.nbptscube);
                EXPECT_EQ(b.NivCube, a.NivCube);
                EXPECT_EQ(s.CooOriCube(&b), T.Scan.CooOriCube(&a));
                EXPECT_EQ(s.NbEnfants(&b), n < niveau ? T.Scan.NbEnfants(&a) : 0);
            }
        }
    }
}

TEST_F(Enregistrement, UnLeveDecaleGardeSonDecalage) {
    // A local frame's shift is not worth a word on loading.
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("scan.xyz")));
    EXPECT_EQ(Banc.Plateforme.Panneau0, "3000 points chargés");
    EcrireFichier(Dossier.Chemin("leve.xyz"), XYZGrille(3000, 651100, 6858200));
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("leve.xyz")));
    const TDecalage decalage{651100, 6858200, 40};
    ASSERT_EQ(T.Scan.Decalage, decalage);
    EXPECT_EQ(Banc.Plateforme.Panneau0,
              "3000 points chargés ; origine des coordonnées déplacée en X = 651100 m, "
              "Y = 6858200 m, Z = 40 m");
    const std::string proprietes = T.Proprietes();
    const std::string derniere =
        "\r\nOrigine des coordonnées : X = 651100 m, Y = 6858200 m, Z = 40 m";
    EXPECT_EQ(proprietes.substr(proprietes.size() - derniere.size()), derniere);

    // Binary: the header of version 3 followed by the shift.
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 4));
    const std::string f = LireFichier(Dossier.Chemin("leve.arkl"));
    ASSERT_EQ(f.size(), TailleArkl(T.Scan, 4));
    EXPECT_EQ(A<std::int64_t>(f, 0), 6);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 240), T.Scan.NbCubesNiv[4]);
    EXPECT_EQ(A<float>(f, 8 + 248), T.Scan.CooMin.X);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 288), 651100);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 296), 6858200);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 304), 40);
    EXPECT_EQ(A<float>(f, 336), T.Scan.PremierCubeNiv[4]->CooMoyPts.X);
    TBancEssai relu;
    ASSERT_TRUE(relu.Travail.ChargerScan(Dossier.Chemin("leve.arkl")));
    EXPECT_EQ(relu.Travail.Scan.Decalage, decalage);
    EXPECT_EQ(relu.Travail.Scan.CooMin, T.Scan.CooMin);
    EXPECT_EQ(relu.Travail.Scan.NbCubesNiv, T.Scan.NbCubesNiv);
    EXPECT_EQ(relu.Travail.Proprietes(), proprietes);

    // XYZ text: the survey's own coordinates, the shift added back in 64 bits.
    EcrireFichier(Dossier.Chemin("un.xyz"), "651652.37 6858203.61 40.5 1 2 3\r\n");
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("un.xyz")));
    T.PFsansext = Dossier.Chemin("un-enregistre");
    ASSERT_TRUE(T.EnregistrerScan(FormatXYZ(), 4));
    // 32-bit values of the grid coordinates themselves would give 651652.375 and 6858203.5;
    // shifted to the whole metre below them, the point keeps its millimetres and more.
    EXPECT_EQ(LireFichier(Dossier.Chemin("un-enregistre.xyz")),
              "651652.37000000 6858203.61000001 40.50000000  001 002 003\r\n");
}

TEST_F(Enregistrement, ProgressionDeLEcritureBinaire) {
    ASSERT_EQ(T.Scan.NbCubesNiv[0], 3);
    const std::size_t avant = Banc.Plateforme.Statuts.size();
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 0));
    const std::vector<std::string> textes(Banc.Plateforme.Statuts.begin() + std::ptrdiff_t(avant),
                                          Banc.Plateforme.Statuts.end());
    EXPECT_EQ(textes,
              (std::vector<std::string>{"écriture 33 %", "écriture 67 %", "écriture 100 %", ""}));
}

TEST_F(Enregistrement, TexteXYZDuNiveauAffiche) {
    T.PFsansext = Dossier.Chemin("mince");
    ASSERT_TRUE(T.EnregistrerScan(FormatXYZ(), 1));
    const std::string f = LireFichier(Dossier.Chemin("mince.xyz"));
    std::size_t lignes = 0;
    for (char c : f)
        lignes += c == '\n';
    EXPECT_EQ(lignes, std::size_t(T.Scan.NbCubesNiv[1]));
    EXPECT_EQ(f.find('\n'), f.find("\r\n") + 1);

    TBancEssai relu;
    ASSERT_TRUE(relu.Travail.ChargerScan(Dossier.Chemin("mince.xyz")));
    EXPECT_EQ(relu.Travail.Scan.NbPoints, T.Scan.NbCubesNiv[1]);
}

TEST_F(Enregistrement, LExtensionTapeeEstGardeePourSonGenre) {
    if (SousWindows) GTEST_SKIP() << "sous Windows deux noms ne diffèrent pas par la casse seule";
    struct Cas {
        const char* extension;
        const TFormatScan& format;
        const char* ecrit;
    };
    const Cas cas[] = {
        {".ARKL", FormatArkl(), "scan.ARKL"}, {".Xyz", FormatXYZ(), "scan.Xyz"},
        {".arkl", FormatArkl(), "scan.arkl"}, {".XYZ", FormatArkl(), "scan.arkl"},
        {".ARKL", FormatXYZ(), "scan.xyz"},   {"", FormatArkl(), "scan.arkl"},
        {".txt", FormatXYZ(), "scan.xyz"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.extension) + " " + c.format.Nom);
        TDossierTemporaire dossier;
        // Another file that differs only in case is left alone.
        EcrireFichier(dossier.Chemin("scan.arkl"), "autre");
        EcrireFichier(dossier.Chemin("scan.xyz"), "autre");
        T.PFsansext = dossier.Chemin("scan");
        T.ExtScan = c.extension;
        // Replacing a file that is not the scan's own is asked first.
        Banc.Plateforme.Reponses = {TReponse::Oui};
        ASSERT_TRUE(T.EnregistrerScan(c.format, 0));
        for (const char* nom : {"scan.arkl", "scan.xyz"})
            if (std::string(nom) != c.ecrit) {
                EXPECT_EQ(LireFichier(dossier.Chemin(nom)), "autre");
            }
        EXPECT_NE(LireFichier(dossier.Chemin(c.ecrit)), "autre");
    }
    // "Enregistrer" writes a scan opened as "voute.ARKL" back to that file, asking nothing.
    Banc.Plateforme.Reponses.clear();
    const std::size_t questions = Banc.Plateforme.Questions.size();
    T.PFsansext = Dossier.Chemin("voute");
    T.ExtScan = ".ARKL";
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 2));
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("voute.ARKL")));
    T.SupprimerSelection();
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
    EXPECT_FALSE(fs::exists(Dossier.Chemin("voute.arkl")));
    EXPECT_TRUE(fs::exists(Dossier.Chemin("voute.ARKL")));
    EXPECT_EQ(Banc.Plateforme.Questions.size(), questions);
}

TEST_F(Enregistrement, UnEchecLaisseLAncienFichierIntact) {
    // A first save tells how many times a save lets the window process its messages.
    T.SupprimerSelection(); // marks the scan modified: the save compacts first
    const int avant = Banc.Plateforme.Traitements;
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 4));
    const int parEnregistrement = Banc.Plateforme.Traitements - avant;

    EcrireFichier(Dossier.Chemin("scan.arkl"), "ancien contenu");
    T.SupprimerSelection();
    // Esc near the end of the writing of the records.
    Banc.Plateforme.EchapAuTraitement = Banc.Plateforme.Traitements + parEnregistrement - 5;
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_FALSE(T.Executer([&] { T.EnregistrerScan(FormatArkl(), 4); }));
    EXPECT_EQ(Banc.Plateforme.Messages.back(), "abandon");
    EXPECT_EQ(LireFichier(Dossier.Chemin("scan.arkl")), "ancien contenu");
    EXPECT_TRUE(T.Scan.ScanModifie); // still to be saved
    std::size_t fichiers = 0;
    for ([[maybe_unused]] const auto& f : fs::directory_iterator(Dossier.Dossier()))
        ++fichiers;
    EXPECT_EQ(fichiers, 2u); // no temporary file left behind

    // A folder that does not exist, with nobody to choose another: a clear message, nothing
    // written.
    T.PFsansext = Dossier.Chemin("absent/scan");
    EXPECT_FALSE(T.Executer([&] { T.EnregistrerScan(FormatArkl(), 4); }));
    EXPECT_NE(Banc.Plateforme.Messages.back().find("absent » n'accepte pas de fichier"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Dossier.Chemin("absent")));
}

TEST_F(Enregistrement, QuestionAvantDAbandonnerUnScanModifie) {
    T.SupprimerSelection();
    Banc.Plateforme.Reponses = {TReponse::Annulee};
    EXPECT_FALSE(T.DemanderEnregistrement());
    EXPECT_EQ(T.Scan.NbPoints, 3000); // nothing dropped

    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_TRUE(T.DemanderEnregistrement());
    EXPECT_EQ(Banc.Plateforme.Questions.back(), "les données ont été modifiées, enregistrer?");
    EXPECT_TRUE(fs::exists(Dossier.Chemin("scan.arkl")));
    // Saved, not dropped: a file dialog cancelled after the question leaves it in place.
    EXPECT_TRUE(T.ScanPret);
    EXPECT_EQ(T.Scan.NbPoints, 3000);
    EXPECT_FALSE(T.Scan.ScanModifie);

    // Nothing modified: no question.
    const std::size_t questions = Banc.Plateforme.Questions.size();
    EXPECT_TRUE(T.DemanderEnregistrement());
    EXPECT_EQ(Banc.Plateforme.Questions.size(), questions);
}

// The scan's folder takes no file (an installed sample's; here one that does not exist):
// "Enregistrer", from the menu or the question, writes where the user chooses, or, cancelled,
// says why and writes nothing.
TEST_F(Enregistrement, UnDossierQuiNAccepteRienFaitChoisirOuEnregistrer) {
    T.SupprimerSelection();
    T.PFsansext = Dossier.Chemin("installe/scan");
    EXPECT_FALSE(T.Executer([&] { T.EnregistrerScan(FormatArkl(), T.Scan.NivMax); }));
    EXPECT_EQ(Banc.Plateforme.Messages.back(),
              "« " + Dossier.Chemin("installe") +
                  " » n'accepte pas de fichier : enregistrez sous un autre nom");
    EXPECT_TRUE(T.Scan.ScanModifie);

    Banc.Plateforme.Ailleurs = Dossier.Chemin("copie.arkl");
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_TRUE(T.DemanderEnregistrement());
    EXPECT_EQ(Banc.Plateforme.CiblesAilleurs,
              std::vector<std::string>(2, Dossier.Chemin("installe/scan.arkl")));
    EXPECT_TRUE(fs::exists(Dossier.Chemin("copie.arkl")));
    EXPECT_FALSE(fs::exists(Dossier.Chemin("installe")));
    EXPECT_EQ(T.PFsansext, Dossier.Chemin("copie"));
    EXPECT_FALSE(T.Scan.ScanModifie);
}

TEST_F(Enregistrement, UnNouveauScanNHeritePasDesSuppressionsDuPrecedent) {
    T.SupprimerSelection();
    Banc.Plateforme.Reponses = {TReponse::Non};
    ASSERT_TRUE(T.DemanderEnregistrement());
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("scan.xyz")));
    EXPECT_FALSE(T.Scan.ScanModifie);
}

TEST_F(Enregistrement, SansScanRienNEstEcrit) {
    EcrireFichier(Dossier.Chemin("bon.arkl"), "ancien contenu");
    EcrireFichier(Dossier.Chemin("bon.xyz"), "pas un point\r\n");
    EXPECT_FALSE(T.ChargerScan(Dossier.Chemin("bon.xyz"))); // the load fails: empty workspace
    EXPECT_FALSE(T.Executer([&] { T.EnregistrerScan(FormatArkl(), T.Scan.NivMax); }));
    EXPECT_EQ(Banc.Plateforme.Messages.back(), "aucun scan à enregistrer");
    EXPECT_EQ(LireFichier(Dossier.Chemin("bon.arkl")), "ancien contenu");
}

TEST_F(Ecriture, LEnTeteDecritLesRecordsEcrits) {
    // What the caller gives about the records is replaced by what is written.
    TEnTeteArkl e;
    e.NiveauPoints = 4;
    e.NbPoints = 999;
    e.RecModl.Q1a4 = 2;
    e.NiveauAffiche = 1;
    EcrireScanArkl(Scan, 1, e, Dossier.Chemin("n1.arkl"), Sortie);
    const std::string f = LireFichier(Dossier.Chemin("n1.arkl"));
    const std::int32_t cubes1 = Scan.NbCubesNiv[1];
    ASSERT_EQ(f.size(), TailleArkl(Scan, 1));
    EXPECT_EQ(A<std::int32_t>(f, 8), 2);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 232), 1);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 240), cubes1);
    EXPECT_EQ(A<float>(f, 8 + 248), Scan.CooMin.X);
    EXPECT_EQ(A<float>(f, 8 + 268), Scan.CooMax.Z);
    EXPECT_EQ(A<std::int64_t>(f, 8 + 272), 1);
    EXPECT_EQ(Textes.back(), "écriture 100 %");

    EcrireScanXYZ(Scan, 0, Dossier.Chemin("n0.xyz"));
    std::string attendu;
    Scan.PourChaqueCubeDuNiveau(0, [&](const TCube* c) {
        const TV3S& p = c->CooMoyPts;
        AjouterLigneXYZ(attendu, CoordonneesDuLeve(p, Scan.Decalage), c->ColCube);
    });
    EXPECT_EQ(LireFichier(Dossier.Chemin("n0.xyz")), attendu);
}

TEST_F(Ecriture, NiveauAbsentOuScanVideRefuses) {
    for (int niveau : {-1, 5})
        AttendreErreur<EErreur>([&] { VerifierEnregistrable(Scan, niveau); },
                                "niveau à enregistrer invalide");
    Scan.NivMax = 2;
    AttendreErreur<EErreur>([&] { VerifierEnregistrable(Scan, 3); },
                            "niveau à enregistrer invalide");
    EXPECT_NO_THROW(VerifierEnregistrable(Scan, 0));
    TEtatScan vide;
    AttendreErreur<EErreur>([&] { VerifierEnregistrable(vide, 4); }, "aucun scan à enregistrer");
}
