// What makes the save question come, and what a save may replace.

#include "ScanEssai.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The scan of 3000 points saved with a study (quarter 1 placed), then loaded from that file.
struct DonneesModifiees : TScanCharge {
    std::string Arkl;
    void SetUp() override {
        TScanCharge::SetUp();
        ASSERT_TRUE(T.ChangerOnglet(1));
        ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
        Arkl = Dossier.Chemin("scan.arkl");
        ASSERT_TRUE(T.ChargerScan(Arkl));
    }
    // Whether closing or opening now asks the question (answered Non).
    bool Question() {
        const std::size_t avant = Banc.Plateforme.Questions.size();
        Banc.Plateforme.Reponses = {TReponse::Non};
        EXPECT_TRUE(T.DemanderEnregistrement());
        Banc.Plateforme.Reponses.clear();
        return Banc.Plateforme.Questions.size() > avant;
    }
};

} // namespace

TEST_F(DonneesModifiees, ToutCeQuUnEnregistrementGarderaitFaitPoserLaQuestion) {
    struct TCas {
        const char* nom;
        std::function<void(TEspaceTravail&)> changer;
    };
    const TCas cas[] = {
        {"point de frontière",
         [](TEspaceTravail& t) {
             t.ChangerOnglet(1);
             t.CmBxPtFrontIndex = 2; // "appui arc"
             t.CmBxPtFrontCloseUp();
             t.SBtDeplClick(1);
         }},
        {"quartier",
         [](TEspaceTravail& t) {
             t.ChangerOnglet(1);
             t.BtDeplacerQuartEtudieClick();
         }},
        {"rotation", [](TEspaceTravail& t) { t.BtActualiserRotClick("30"); }},
        {"largeur", [](TEspaceTravail& t) { t.Champs.GEdLargeurAretier.TypeText("30"); }},
        {"arcs", [](TEspaceTravail& t) { t.Champs.GEdNbArcsVoute.TypeText("7"); }},
        {"masse linéaire", [](TEspaceTravail& t) { t.Champs.GEdMlinAretier.TypeText("120"); }},
        {"masse surfacique", [](TEspaceTravail& t) { t.Champs.GEdMsurfVoute.TypeText("160"); }},
        {"masse volumique",
         [](TEspaceTravail& t) { t.Champs.GEdMvolRemplissage.TypeText("1600"); }},
        {"niveau du remplissage",
         [](TEspaceTravail& t) { t.Champs.GEdNivRemplissage.TypeText("-1.5"); }},
        {"niveau affiché", [](TEspaceTravail& t) { t.FixerNiveauAffiche(1); }},
        {"taille des points", [](TEspaceTravail& t) { t.TaillePointsIndex = 2; }},
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        ASSERT_TRUE(T.ChargerScan(Arkl));
        c.changer(T);
        EXPECT_TRUE(Question());
        // Undoing the deletions is no undoing of the study.
        T.AnnulerSuppressions();
        EXPECT_TRUE(Question());
        // Oui saves it, in the scan's own file: nothing is left to ask.
        Banc.Plateforme.Reponses = {TReponse::Oui};
        EXPECT_TRUE(T.DemanderEnregistrement());
        EXPECT_FALSE(Question());
        EXPECT_EQ(T.FichierScan, Arkl);
    }
}

TEST_F(DonneesModifiees, LEtudeSuivieSansRienChangerNeDemandeRien) {
    for (int onglet : {1, 2, 3})
        ASSERT_TRUE(T.ChangerOnglet(onglet));
    EXPECT_FALSE(Question());
    // A value changed and put back is no change.
    T.BtActualiserRotClick("12.5");
    T.BtActualiserRotClick("0");
    T.Champs.GEdNbArcsVoute.TypeText("9");
    T.Champs.GEdNbArcsVoute.TypeText("5");
    EXPECT_FALSE(Question());
    // Deletions still count, until they are undone.
    T.SupprimerPointsMasques();
    EXPECT_TRUE(Question());
    T.AnnulerSuppressions();
    EXPECT_FALSE(Question());
}

TEST_F(DonneesModifiees, EnregistrerDemandeAvantDeRemplacerUnAutreFichier) {
    // The scan comes from scan.xyz again; its save goes to scan.arkl, another study's file.
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("scan.xyz")));
    EcrireFichier(Arkl, "autre étude");
    const std::string question = "le fichier « " + Arkl + " » existe déjà, le remplacer?";

    for (TReponse refus : {TReponse::Non, TReponse::Annulee}) {
        Banc.Plateforme.Reponses = {refus};
        EXPECT_FALSE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
        EXPECT_EQ(Banc.Plateforme.Questions.back(), question);
        EXPECT_EQ(LireFichier(Arkl), "autre étude");
    }
    // Closing with deletions pending: Oui to the save, Non to the replacement keeps the window.
    T.SupprimerSelection();
    Banc.Plateforme.Reponses = {TReponse::Oui, TReponse::Non};
    EXPECT_FALSE(T.DemanderEnregistrement());
    EXPECT_EQ(LireFichier(Arkl), "autre étude");
    EXPECT_TRUE(T.Scan.ScanModifie);

    Banc.Plateforme.Reponses = {TReponse::Oui};
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
    EXPECT_NE(LireFichier(Arkl), "autre étude");
    EXPECT_EQ(Banc.Plateforme.Titre, "Calcul de voûte nervurée - " + Arkl);
    // Now the scan's own file: replaced without a word.
    const std::size_t questions = Banc.Plateforme.Questions.size();
    T.SupprimerSelection();
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
    EXPECT_EQ(Banc.Plateforme.Questions.size(), questions);
}

TEST_F(DonneesModifiees, EnregistrerSousNommeLeFichierEcrit) {
    struct TCas {
        const char* choisi;
        const TFormatScan* format; // the dialog's filter; none for every file
        const char* ecrit;
        bool question; // another file of the written name was there
    };
    const TCas cas[] = {
        {"sans-extension", nullptr, "sans-extension.arkl", false},
        {"note.txt", nullptr, "note.txt.arkl", false},
        {"texte.XYZ", nullptr, "texte.XYZ", false},
        {"choisi.arkl", nullptr, "choisi.arkl", false}, // the dialog asked for this one
        {"autre", nullptr, "autre.arkl", true},         // it asked for "autre", not "autre.arkl"
        {"mince.xyz", &FormatArkl(), "mince.arkl", false},
        {"texte2", &FormatXYZ(), "texte2.xyz", false},
    };
    EcrireFichier(Dossier.Chemin("choisi.arkl"), "x");
    EcrireFichier(Dossier.Chemin("autre.arkl"), "x");
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.choisi);
        const std::size_t questions = Banc.Plateforme.Questions.size();
        Banc.Plateforme.Reponses = {TReponse::Oui};
        ASSERT_TRUE(T.EnregistrerSous(Dossier.Chemin(c.choisi), c.format, T.Scan.NivMax));
        Banc.Plateforme.Reponses.clear();
        EXPECT_EQ(Banc.Plateforme.Questions.size() - questions, c.question ? 1u : 0u);
        const std::string ecrit = Dossier.Chemin(c.ecrit);
        EXPECT_GT(fs::file_size(ecrit), 100u);
        EXPECT_EQ(T.FichierScan, ecrit);
        EXPECT_EQ(Banc.Plateforme.Titre, "Calcul de voûte nervurée - " + ecrit);
        TBancEssai relu;
        EXPECT_TRUE(relu.Travail.ChargerScan(ecrit));
    }

    // A failed save changes neither the title nor the file that "Enregistrer" writes.
    const std::string titre = Banc.Plateforme.Titre;
    const std::string avant = T.PFsansext;
    EXPECT_FALSE(T.Executer(
        [&] { T.EnregistrerSous(Dossier.Chemin("absent/scan.arkl"), nullptr, T.Scan.NivMax); }));
    EXPECT_EQ(Banc.Plateforme.Titre, titre);
    EXPECT_EQ(T.PFsansext, avant);
    EXPECT_FALSE(fs::exists(Dossier.Chemin("absent")));
}
