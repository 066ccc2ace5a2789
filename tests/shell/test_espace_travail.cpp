#include "support/PlateformeScriptee.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

TEST(EspaceTravail, LeCurseurDAttenteSEmboite) {
    TBancEssai b;
    b.Plateforme.Curseur = 7;
    b.Travail.CurseurAttente();
    b.Travail.CurseurAttente();
    EXPECT_EQ(b.Plateforme.Curseur, -11);
    b.Travail.FinCurseurAttente();
    EXPECT_EQ(b.Plateforme.Curseur, -11);
    b.Travail.FinCurseurAttente();
    EXPECT_EQ(b.Plateforme.Curseur, 7);
    b.Travail.FinCurseurAttente(); // nothing left to pop
    EXPECT_EQ(b.Plateforme.Curseur, 7);
}

TEST(EspaceTravail, EchapDemandeAuTexteSuivant) {
    TBancEssai b;
    b.Travail.AffiInfo(1, "un");
    EXPECT_TRUE(b.Plateforme.Questions.empty());

    // Non: the text is shown and Esc is consumed.
    b.Travail.ToucheEchap();
    b.Plateforme.Reponses = {TReponse::Non};
    b.Travail.AffiInfo(1, "deux");
    EXPECT_EQ(b.Plateforme.Questions, std::vector<std::string>{"Annuler?"});
    EXPECT_EQ(b.Plateforme.Statuts, (std::vector<std::string>{"un", "deux"}));
    b.Travail.AffiInfo(1, "trois");
    EXPECT_EQ(b.Plateforme.Questions.size(), 1u);

    // Oui: "abandon", the text is not shown.
    b.Travail.ToucheEchap();
    b.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_THROW(b.Travail.AffiInfo(1, "quatre"), EStopError);
    EXPECT_EQ(b.Plateforme.Statuts.back(), "trois");
    EXPECT_FALSE(b.Travail.Echap);
    EXPECT_EQ(b.Plateforme.Traitements, 3);
}

TEST(EspaceTravail, UneErreurDeCommandeEstMontree) {
    TBancEssai b;
    EXPECT_FALSE(b.Travail.Executer([] { throw EErreur("trop loin"); }));
    EXPECT_TRUE(b.Travail.Executer([] {}));
    EXPECT_EQ(b.Plateforme.Messages, std::vector<std::string>{"trop loin"});
}

TEST(EspaceTravail, LaReinitialisationGardeCeQuiDoitSurvivre) {
    TBancEssai b;
    TEspaceTravail& t = b.Travail;
    t.ScanPret = true;
    t.Scan.ScanModifie = true;
    t.Scan.NivMax = 2;
    t.BtActualiserRotClick("30");
    t.OngletActif = 3;
    t.ReinitialiserTravail();
    EXPECT_FALSE(t.ScanPret);
    EXPECT_EQ(t.OngletActif, 0);
    EXPECT_TRUE(t.Scan.ScanModifie);
    EXPECT_EQ(t.Scan.NivMax, 2);
    // The rotation about Z goes, its angle and text with its matrices.
    EXPECT_EQ(t.Vue.McbRotZ2, (TV2x2R{{{1, 0}, {0, 1}}}));
    EXPECT_EQ(t.Vue.rotmatrixrepere, IdentiteGL16());
    EXPECT_EQ(t.Vue.AngRotZdeg, 0);
    EXPECT_EQ(t.TexteEdRotZ, "0");
}
