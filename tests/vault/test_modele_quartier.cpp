#include "NuageEssai.h"
#include "support/LancerCalcul.h"
#include "util/Erreurs.h"

#include <cmath>

namespace {

void ExpectPoint(const TV2R& p, double x, double y, double tolerance = 1e-5) {
    EXPECT_NEAR(p.X, x, tolerance);
    EXPECT_NEAR(p.Y, y, tolerance);
}

} // namespace

using ModeleQuartier = TEtudeEssai;

TEST_F(ModeleQuartier, PlacementDesQuatreQuartiers) {
    Charger();
    const struct {
        int q;
        TV2R appui, l1, l2;
    } cas[] = {
        {1, {8, 8}, {8, 4}, {4, 8}},
        {2, {0, 8}, {4, 8}, {0, 4}},
        {3, {0, 0}, {0, 4}, {4, 0}},
        {4, {8, 0}, {4, 0}, {8, 4}},
    };
    for (const auto& c : cas) {
        T.Etude.RecModl.Q1a4 = c.q;
        T.PlacerQuartier();
        EXPECT_EQ(T.Etude.RecModl.XYcle, (TV2R{4, 4})) << c.q;
        EXPECT_EQ(T.Etude.RecModl.XYapp, c.appui) << c.q;
        EXPECT_EQ(T.Etude.RecModl.XYL1, c.l1) << c.q;
        EXPECT_EQ(T.Etude.RecModl.XYL2, c.l2) << c.q;
        EXPECT_TRUE(T.StructureConstruite()) << c.q;
    }
}

TEST_F(ModeleQuartier, CentreEtDemiTaillesArrondisA32Bits) {
    // Y from 0.3f to 5 (the survey shifted by 50 m): the exact centre is not a 32-bit value.
    Charger({.x0 = 100, .x1 = 106.3, .y0 = 50.3, .y1 = 55, .pas = 0.1});
    ASSERT_EQ(T.Scan.Decalage[1], 50);
    T.Etude.RecModl.Q1a4 = 3;
    T.PlacerQuartier();
    const double yc = double(T.Scan.CooMin.Y) + double(T.Scan.CooMax.Y);
    ASSERT_NE(static_cast<float>(yc / 2), yc / 2);
    const float attendu = static_cast<float>(yc / 2);
    EXPECT_EQ(T.Etude.RecModl.XYcle.Y, double(attendu));
    EXPECT_EQ(T.Etude.RecModl.XYL1.Y, double(attendu));
    const float hy = static_cast<float>((double(T.Scan.CooMax.Y) - T.Scan.CooMin.Y) / 2);
    EXPECT_EQ(T.Etude.RecModl.XYapp.Y, double(attendu) - double(hy));
}

TEST_F(ModeleQuartier, RepereEtBordsDeLAretier) {
    Charger();
    T.ActualiserStructure(); // no quarter placed yet: quarter 1
    ASSERT_EQ(T.Etude.RecModl.Q1a4, 1);
    EXPECT_EQ(T.Etude.LargeurAretierM, 0.2f);
    const double r = std::sqrt(0.5);
    EXPECT_NEAR(T.Etude.RecModl.McbA[0][0], r, 1e-15);
    EXPECT_NEAR(T.Etude.RecModl.McbA[0][1], r, 1e-15);
    EXPECT_NEAR(T.Etude.RecModl.McbA[1][0], -r, 1e-15);
    EXPECT_NEAR(T.Etude.RecModl.McbA[1][1], r, 1e-15);
    ExpectPoint(T.Etude.RecModl.Bord1.Pori, 4.14142, 4);
    ExpectPoint(T.Etude.RecModl.Bord1.Px, 8, 7.85858);
    ExpectPoint(T.Etude.RecModl.Bord2.Pori, 4, 4.14142);
    ExpectPoint(T.Etude.RecModl.Bord2.Px, 7.85858, 8);
    // Half the 32-bit width: 0.1f, not 0.1.
    EXPECT_NEAR(T.Etude.RecModl.Bord1.Pori.X - 4, double(0.1f) * 2 * r, 1e-13);
}

TEST_F(ModeleQuartier, QuartierSuivant) {
    Charger();
    for (const auto& [avant, apres] : {std::pair{0, 1}, {1, 2}, {3, 4}, {4, 1}, {-3, 2}, {9, 2}}) {
        T.Etude.RecModl.Q1a4 = avant;
        T.BtDeplacerQuartEtudieClick();
        EXPECT_EQ(T.Etude.RecModl.Q1a4, apres) << avant;
    }
    // Points moved by hand are replaced by the placed ones.
    T.Etude.RecModl.XYL1 = {7, 7};
    T.Etude.RecModl.Q1a4 = 4;
    T.BtDeplacerQuartEtudieClick();
    EXPECT_EQ(T.Etude.RecModl.XYL1, (TV2R{8, 4}));
}

TEST_F(ModeleQuartier, DeplacementDUnPointDeFrontiere) {
    Charger();
    T.ActualiserStructure();
    const TQuartier arcsAvant = T.Etude.Quartier1;
    const TVecteur2D bordAvant = T.Etude.RecModl.Bord1;

    T.PtFrontSel1a4 = 0; // nothing selected: nothing moves
    T.SBtDeplClick(1);
    EXPECT_EQ(T.Etude.RecModl.XYL1, (TV2R{8, 4}));

    T.CmBxPtFrontIndex = 2; // "appui arc"
    T.CmBxPtFrontCloseUp();
    ASSERT_EQ(T.PtFrontSel1a4, 3);
    const struct {
        int tag;
        bool shift;
        double dx, dy;
    } cas[] = {
        {1, false, 0.02f, 0}, {2, false, -0.02f, 0}, {3, true, 0, 0.1f}, {4, true, 0, -0.1f}};
    for (const auto& c : cas) {
        const TV2R avant = T.Etude.RecModl.XYapp;
        Banc.Plateforme.Shift = c.shift;
        T.SBtDeplClick(c.tag);
        EXPECT_EQ(T.Etude.RecModl.XYapp.X - avant.X, c.dx) << c.tag;
        EXPECT_EQ(T.Etude.RecModl.XYapp.Y - avant.Y, c.dy) << c.tag;
    }
    // The edges follow at once; the arcs wait for the next rebuild.
    T.SBtDeplClick(1);
    EXPECT_NE(T.Etude.RecModl.Bord1, bordAvant);
    EXPECT_EQ(T.Etude.Quartier1.Arcs[4].pts[5].XYarc, arcsAvant.Arcs[4].pts[5].XYarc);
    T.BtRafraichirStructureClick();
    EXPECT_NE(T.Etude.Quartier1.Arcs[4].pts[5].XYarc, arcsAvant.Arcs[4].pts[5].XYarc);
}

TEST_F(ModeleQuartier, DeplacementDansLesAxesDeLaVue) {
    Charger();
    T.ActualiserStructure();
    T.BtActualiserRotClick("90");
    T.CmBxPtFrontIndex = 1; // "quartier 1"
    T.CmBxPtFrontCloseUp();
    T.SBtDeplClick(1); // right in the view: down the Y of the cloud
    ExpectPoint(T.Etude.RecModl.XYL1, 8, 4 - double(0.02f), 1e-12);
}

TEST_F(ModeleQuartier, PointDeFrontiereSurLAxeDeLAretier) {
    Charger();
    T.ActualiserStructure();
    T.Etude.RecModl.XYL1 = {6, 6};
    T.Etude.CalculerBordsAretier();
    // s = 0: both edges on the axis, and the lines from the key and the springing through XYL1
    // are that axis itself: the edge ends stay at the key and the springing.
    ExpectPoint(T.Etude.RecModl.Bord1.Pori, 4, 4, 1e-12);
    ExpectPoint(T.Etude.RecModl.Bord1.Px, 8, 8, 1e-12);
    ExpectPoint(T.Etude.RecModl.Bord2.Pori, 4, 4, 1e-12);
    ExpectPoint(T.Etude.RecModl.Bord2.Px, 8, 8, 1e-12);
    ASSERT_NO_THROW(T.ActualiserStructure());
    for (const TArc& a : T.Etude.Quartier1.Arcs)
        for (const TPtArc& p : a.pts)
            EXPECT_TRUE(std::isfinite(p.XYarc.X + p.XYarc.Y + p.Zarc));
}

TEST_F(ModeleQuartier, ChampsInvalidesLesValeursPrecedentesRestent) {
    Charger();
    T.Champs.GEdLargeurAretier.TypeText("35");
    T.Champs.GEdNbArcsVoute.TypeText("7");
    T.ActualiserStructure();
    EXPECT_EQ(T.Etude.LargeurAretierM, 0.35f);
    EXPECT_EQ(T.Etude.NbArcsVoute, 7);
    T.Champs.GEdLargeurAretier.TypeText("4");
    T.Champs.GEdNbArcsVoute.TypeText("21");
    T.ActualiserStructure();
    EXPECT_EQ(T.Etude.LargeurAretierM, 0.35f);
    EXPECT_EQ(T.Etude.NbArcsVoute, 7);
    EXPECT_EQ(T.Etude.Quartier2.Arcs.size(), 7u);
}

TEST_F(ModeleQuartier, SansPointAfficheLaReconstructionEstRefusee) {
    // No scan at all: nothing placed, a French message.
    EXPECT_FALSE(T.Executer([&] { T.ActualiserStructure(); }));
    ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
    EXPECT_NE(Banc.Plateforme.Messages[0].find("aucun point affiché"), std::string::npos);
    EXPECT_EQ(T.Etude.RecModl.Q1a4, 0);
    EXPECT_FALSE(T.Executer([&] { T.BtDeplacerQuartEtudieClick(); }));
    EXPECT_EQ(T.Etude.RecModl.Q1a4, 0);

    // A structure built, then no displayed cube: it stays as it was, with its parameters.
    Charger();
    T.ActualiserStructure();
    const std::vector<TPtArc> pts = T.Etude.ArcAretier.AA.pts;
    T.Scan.CubesAffiches.clear();
    T.Champs.GEdNbArcsVoute.TypeText("8");
    EXPECT_THROW(T.ActualiserStructure(), EErreur);
    EXPECT_EQ(T.Etude.NbArcsVoute, 5);
    ASSERT_EQ(T.Etude.ArcAretier.AA.pts.size(), pts.size());
    EXPECT_EQ(T.Etude.ArcAretier.AA.pts.back().Zarc, pts.back().Zarc);
    EXPECT_TRUE(T.StructureConstruite());
}

TEST(EditionFrontiere, LaCleNeSeChoisitQueLaCaseCochee) {
    TBancEssai banc;
    TEspaceTravail& t = banc.Travail;
    ASSERT_FALSE(t.CkBxEdFront);
    t.CmBxPtFrontIndex = 0; // "clé arc", the box unchecked: its click moves on to "quartier 1"
    t.CmBxPtFrontCloseUp();
    EXPECT_TRUE(t.CkBxEdFront);
    EXPECT_EQ(t.CmBxPtFrontIndex, 1);
    EXPECT_EQ(t.PtFrontSel1a4, 2);
    t.CmBxPtFrontIndex = 0; // checked now: the key
    t.CmBxPtFrontCloseUp();
    EXPECT_EQ(t.PtFrontSel1a4, 1);
    t.CmBxPtFrontIndex = -1;
    t.CmBxPtFrontCloseUp();
    EXPECT_EQ(t.PtFrontSel1a4, 0);
}

TEST_F(ModeleQuartier, UnQuartSansPointEstRefuse) {
    // Two squares of survey on one diagonal of the bay: quarters 2 and 4 hold no point.
    TNuage bas{.x0 = 0, .x1 = 3.5, .y0 = 0, .y1 = 3.5};
    TNuage haut{.x0 = 4.5, .x1 = 8, .y0 = 4.5, .y1 = 8};
    const std::string chemin = Dossier.Chemin("diagonale.xyz");
    EcrireFichier(chemin, XYZNuage(bas) + XYZNuage(haut));
    ASSERT_TRUE(T.ChargerScan(chemin));
    ASSERT_TRUE(T.ChangerOnglet(1));
    for (int q : {1, 2, 3, 4}) {
        SCOPED_TRACE(q);
        const bool vide = q % 2 == 0;
        T.Etude.RecModl.Q1a4 = q;
        const std::size_t messages = Banc.Plateforme.Messages.size();
        EXPECT_EQ(T.Executer([&] { T.PlacerQuartier(); }), !vide);
        // Never a result on it: the step to the loads is refused with the reason.
        EXPECT_EQ(T.Executer([&] { ASSERT_TRUE(T.ChangerOnglet(2)); }), !vide);
        if (vide) {
            ASSERT_EQ(Banc.Plateforme.Messages.size(), messages + 2);
            EXPECT_NE(Banc.Plateforme.Messages[messages].find("ne contient aucun point"),
                      std::string::npos);
            EXPECT_EQ(T.Etude.LbResultats, " ");
        }
        T.Executer([&] { T.ChangerOnglet(1); });
    }

    // A quarter whose frontier points were all moved off the survey.
    T.Etude.RecModl.Q1a4 = 1;
    T.PlacerQuartier();
    for (int n = 1; n <= 4; ++n)
        T.Etude.RecModl.XYfront(n).X += 20;
    EXPECT_THROW(T.ActualiserStructure(), EErreur);

    // The batch command refuses it too, with nothing on its standard output.
    const TResultatCommande calcul = LancerCalcul("'" + chemin + "' --quartier 2");
    EXPECT_EQ(calcul.code, 1);
    EXPECT_EQ(calcul.sortie, "");
    EXPECT_NE(calcul.erreurs.find("ne contient aucun point"), std::string::npos);
}

TEST_F(ModeleQuartier, DefinirAxeXEmporteLeQuartEtudie) {
    const TNuage baie;
    TNuage dome = baie;
    dome.hauteur = Dome(baie, 2, 3);
    Charger(dome);
    for (int t : {1, 2})
        ASSERT_TRUE(T.ChangerOnglet(t));
    const TRectangleModelisation avant = T.Etude.RecModl;
    const double poids = T.Etude.EffortsSurAppui.Z;

    // The new X along the old +Y: a point (x, y) goes to (y, 8 - x), the bay's lower corner
    // (turned) at the origin.
    T.RecalculerRepere({0, 0, 2}, {0, 1, 2});
    ASSERT_EQ(T.Scan.CooMin, (TV3S{0, 0, 0}));
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        ExpectPoint(T.Etude.RecModl.XYfront(n), avant.XYfront(n).Y, 8 - avant.XYfront(n).X);
    }
    // The step shown is built again on it: the same quarter of the vault, the same weight.
    EXPECT_EQ(T.OngletActif, 2);
    EXPECT_TRUE(T.StructureConstruite());
    EXPECT_NEAR(T.Etude.EffortsSurAppui.Z, poids, 1e-6 * std::fabs(poids));
    EXPECT_NE(T.Etude.LbResultats, " ");
}
