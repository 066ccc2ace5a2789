#include "NuageEssai.h"
#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"

namespace {

TNuage Baie() {
    TNuage b;
    b.x0 = 100;
    b.x1 = 107;
    b.y0 = 50;
    b.y1 = 55;
    b.pas = 0.1;
    b.hauteur = Dome(b, 20, 3);
    return b;
}

} // namespace

struct CommandeEtude : TEtudeEssai {
    std::string scan;
    void SetUp() override {
        scan = Dossier.Chemin("baie.xyz");
        EcrireFichier(scan, XYZNuage(Baie()));
    }
};

// The command goes through the four tabs exactly as a user of the window would.
TEST_F(CommandeEtude, LeParcoursDesQuatreOnglets) {
    // The report names the minute of the calculation: the two roads must not straddle one.
    FixerEnvironnement("SOURCE_DATE_EPOCH", "1796428800");
    const TResultatCommande r = LancerCalcul(
        scan +
        " --niveau 3 --rotation-z 15 --quartier 2 --largeur 30 --arcs 4 --masse-lin 200 "
        "--masse-surf 250 --masse-vol 1500 --niveau-remplissage -0.5 --rapport " +
        Dossier.Chemin("rapport.html") + " --json " + Dossier.Chemin("etude.json"));
    ASSERT_EQ(r.code, 0) << r.erreurs;

    ASSERT_TRUE(T.ChargerScan(scan));
    T.FixerNiveauAffiche(3);
    T.BtActualiserRotClick("15");
    T.ChangerOnglet(1);
    T.Champs.GEdLargeurAretier.TypeText("30");
    T.Champs.GEdNbArcsVoute.TypeText("4");
    T.Etude.RecModl.Q1a4 = 2;
    T.PlacerQuartier();
    T.Champs.GEdMlinAretier.TypeText("200");
    T.Champs.GEdMsurfVoute.TypeText("250");
    T.Champs.GEdMvolRemplissage.TypeText("1500");
    T.Champs.GEdNivRemplissage.TypeText("-0.5");
    T.ChangerOnglet(2);
    T.ChangerOnglet(3);

    EXPECT_EQ(r.sortie, T.Etude.LbResultats + "\n");
    EXPECT_EQ(LireFichier(Dossier.Chemin("rapport.html")), T.Etude.ResulNdC);
    EXPECT_EQ(LireFichier(Dossier.Chemin("etude.json")), T.EtudeEnJson() + "\n");
    EXPECT_NE(T.Etude.ResulNdC.find("Quadrant étudié : X-,Y+"), std::string::npos);
    EXPECT_NE(T.Etude.ResulNdC.find("Voûte décomposée en 4 arcs"), std::string::npos);
    FixerEnvironnement("SOURCE_DATE_EPOCH", std::nullopt);
}

TEST_F(CommandeEtude, JsonSurLaSortieStandard) {
    const TResultatCommande r = LancerCalcul(scan + " --json -");
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.sortie.rfind("{\"scan\":{\"NivMax\":4,\"NbPoints\":3621,\"NbCubesNiv\":[", 0), 0u);
    EXPECT_EQ(r.sortie.substr(r.sortie.size() - 2), "}\n");
    // A 32-bit value as its exact value, in the shortest form that reads back.
    EXPECT_NE(r.sortie.find("\"LargeurAretierM\":0.20000000298023224,\"NbArcsVoute\":5,"),
              std::string::npos);
    EXPECT_NE(r.sortie.find("\"MasseLinAretier\":100,\"MasseSurfVoute\":150,"
                            "\"MasseVolRemplissage\":0,\"NiveauRemplissage\":0,\"AngRotZdeg\":0,"),
              std::string::npos);
    EXPECT_NE(r.sortie.find(",\"LbResultats\":\"Actions à l'appui de l'arêtier (daN) : FX = "),
              std::string::npos);
}

// The box of a survey is given in its shifted frame, with the shift that brings it back; a
// survey that starts at the origin carries none.
TEST_F(CommandeEtude, LeDecalageDuReleveDansLeJson) {
    const std::string national = Dossier.Chemin("national.xyz");
    EcrireFichier(national, "651652.37 6858203.61 40\r\n651653.5 6858204.25 41\r\n");
    const TResultatCommande r = LancerCalcul(national + " --json -");
    EXPECT_NE(r.sortie.find("\"NivAffiche\":2,\"Decalage\":[651652,6858203,40]},"),
              std::string::npos)
        << r.sortie.substr(0, 300);
    EXPECT_NE(LancerCalcul(scan + " --json -").sortie.find("\"Decalage\":[100,50,20]"),
              std::string::npos);
    const std::string origine = Dossier.Chemin("origine.xyz");
    TNuage bas = Baie();
    bas.x0 = bas.y0 = 0;
    bas.x1 = 7;
    bas.y1 = 5;
    bas.hauteur = Dome(bas, 0, 3);
    EcrireFichier(origine, XYZNuage(bas));
    EXPECT_EQ(LancerCalcul(origine + " --json -").sortie.find("Decalage"), std::string::npos);
}

// A stray return far from the vault stays in the scan but neither places the quarter nor frames
// the view: the study gives what the vault alone gives, and the load says which point it set apart.
TEST_F(CommandeEtude, UnPointEcarteNeDeplacePasLeQuartier) {
    const TResultatCommande propre = LancerCalcul(scan);
    ASSERT_EQ(propre.code, 0) << propre.erreurs;
    EXPECT_EQ(propre.erreurs, "");
    struct TCas {
        std::string Ligne, Cite;
    };
    for (const TCas& cas : {TCas{"0 0 0\r\n", "(0.000, 0.000, 0.000)"},
                            TCas{"10100 52 20\r\n", "(10100.000, 52.000, 20.000)"}}) {
        for (const bool enTete : {true, false}) {
            const std::string chemin = Dossier.Chemin("ecarte.xyz");
            EcrireFichier(chemin,
                          enTete ? cas.Ligne + XYZNuage(Baie()) : XYZNuage(Baie()) + cas.Ligne);
            const TResultatCommande r = LancerCalcul(chemin);
            ASSERT_EQ(r.code, 0) << r.erreurs;
            EXPECT_EQ(r.sortie, propre.sortie) << cas.Ligne;
            EXPECT_NE(r.erreurs.find("1 point écarté du corps du relevé, hors de la boîte de "
                                     "l'étude : " +
                                     cas.Cite),
                      std::string::npos)
                << r.erreurs;

            ASSERT_TRUE(T.ChargerScan(chemin));
            EXPECT_NE(T.Proprietes().find(cas.Cite), std::string::npos);
            EXPECT_EQ(T.Corps.NbEcartes, 1);
            // Still in the scan, beyond the box of the study.
            EXPECT_GT(T.Scan.CooMax.X - T.Scan.CooMin.X, 90.0f);
            EXPECT_LT(T.Corps.Max.X - T.Corps.Min.X, 8.0f);
        }
    }
}

// The whole study of the bay with a fill, to the last bit of each real: the coordinates rounded
// once to 32 bits at the load, the loads of the voussoirs rounded at each step. Any change of a
// rounding shows here; a deliberate one rewrites the file (the command below, --json to it).
TEST_F(CommandeEtude, LEtudeCompleteAuBitPres) {
    FixerEnvironnement("SOURCE_DATE_EPOCH", "1796428800"); // the date the report names, fixed
    const TResultatCommande r =
        LancerCalcul(scan + " --quartier 2 --arcs 4 --masse-vol 1600 --niveau-remplissage -0.37 "
                            "--json -");
    FixerEnvironnement("SOURCE_DATE_EPOCH", std::nullopt);
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_EQ(r.sortie, LireFichier(ATTENDUS_VAULT "/baie-remplie.json"));
}

TEST_F(CommandeEtude, ExpressionDansUnChamp) {
    const TResultatCommande r = LancerCalcul(scan + " --arcs =2*3 --json -");
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_NE(r.sortie.find("\"NbArcsVoute\":6,"), std::string::npos);
}

TEST_F(CommandeEtude, LaVirguleDecimaleDesValeurs) {
    const TResultatCommande r =
        LancerCalcul(scan + " --niveau-remplissage -1,5 --rotation-z 12,5 --json -");
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_NE(r.sortie.find("\"NiveauRemplissage\":-1.5,"), std::string::npos);
    EXPECT_NE(r.sortie.find("\"AngRotZdeg\":12.5"), std::string::npos);
}

TEST_F(CommandeEtude, LeQuartierEnregistreEstRepris) {
    const std::string arkl = Dossier.Chemin("baie.arkl");
    ASSERT_EQ(LancerCalcul(scan + " --quartier 3 --enregistrer " + arkl).code, 0);
    const TResultatCommande r = LancerCalcul(arkl + " --rapport " + Dossier.Chemin("r.html"));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    EXPECT_NE(LireFichier(Dossier.Chemin("r.html")).find("Quadrant étudié : X-,Y-"),
              std::string::npos);
    // An XYZ scan starts on quarter 1.
    ASSERT_EQ(LancerCalcul(scan + " --rapport " + Dossier.Chemin("r.html")).code, 0);
    EXPECT_NE(LireFichier(Dossier.Chemin("r.html")).find("Quadrant étudié : X+,Y+"),
              std::string::npos);
}

TEST_F(CommandeEtude, ErreursDUsageAvantLeChargement) {
    // The file does not exist: each error is found before any load.
    const std::string absent = Dossier.Chemin("absent.xyz");
    const struct {
        const char* args;
        const char* option;
    } cas[] = {
        {"--arcs 50", "--arcs"},
        {"--largeur abc", "--largeur"},
        {"--masse-surf 5", "--masse-surf"},
        {"--masse-vol", "--masse-vol"},
        {"--quartier 5", "--quartier"},
        {"--rotation-z douze", "--rotation-z"},
        {"--rotation-z 1e400", "--rotation-z"},
        {"--masse-lin =1,5*1000", "« ,5*1000 »"},    // not 1
        {"--largeur 20,5", "--largeur"},             // not 205
        {"--masse-surf '=150 + 20 daN'", "« daN »"}, // not 170
        {"--proprietes --json -", "--json"},
    };
    for (const auto& c : cas) {
        const TResultatCommande r = LancerCalcul(absent + " " + c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        EXPECT_EQ(r.erreurs.rfind("arkalune-calcul : ", 0), 0u) << r.erreurs;
        EXPECT_NE(r.erreurs.find(c.option), std::string::npos) << r.erreurs;
        EXPECT_TRUE(r.sortie.empty());
    }
}
