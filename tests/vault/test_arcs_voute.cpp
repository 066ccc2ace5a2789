#include "NuageEssai.h"
#include "vault/ReleveHauteurs.h"

#include <cmath>

namespace {

void ExpectPoint(const TV2R& p, double x, double y) {
    EXPECT_NEAR(p.X, x, 1e-5);
    EXPECT_NEAR(p.Y, y, 1e-5);
}

} // namespace

using ArcsVoute = TEtudeEssai;

TEST_F(ArcsVoute, DecompositionDUneBaieCarree) {
    Charger();
    T.ActualiserStructure();
    const TQuartier& q1 = T.Etude.Quartier1;
    ASSERT_EQ(q1.Arcs.size(), 5u);
    const struct {
        int arc;
        TV2R debut, fin;
    } cas[] = {{1, {4.52728, 4}, {4.52728, 4.38586}},
               {3, {6.07071, 4}, {6.07071, 5.92929}},
               {5, {7.61414, 4}, {7.61414, 7.47272}}};
    for (const auto& c : cas) {
        const TArc& a = q1.Arcs[std::size_t(c.arc - 1)];
        ExpectPoint(a.pts.front().XYarc, c.debut.X, c.debut.Y);
        ExpectPoint(a.pts.back().XYarc, c.fin.X, c.fin.Y);
    }
    EXPECT_NEAR(q1.LargeurArcs, 0.77172, 1e-5);
    EXPECT_NEAR(q1.kX, 0.70711, 1e-5);
    EXPECT_NEAR(q1.kY, 0.70711, 1e-5);
    // The other half-quarter's arcs run parallel to X.
    EXPECT_NEAR(T.Etude.Quartier2.kX, 0.70711, 1e-5);
    EXPECT_NEAR(T.Etude.Quartier2.kY, -0.70711, 1e-5);
    for (const TArc& a : T.Etude.Quartier2.Arcs)
        EXPECT_NEAR(a.pts.front().XYarc.Y, a.pts.back().XYarc.Y, 1e-12);
    // Intermediate points equally spaced.
    const TArc& a5 = q1.Arcs[4];
    for (std::size_t j = 1; j < a5.pts.size(); ++j)
        EXPECT_NEAR(a5.pts[j].XYarc.Y - a5.pts[j - 1].XYarc.Y, (7.47272 - 4) / 5, 1e-5);
}

TEST_F(ArcsVoute, NombresDePointsEtDeClaveaux) {
    Charger();
    for (int n : {3, 5, 20}) {
        T.Champs.GEdNbArcsVoute.TypeText(std::to_string(n));
        T.ActualiserStructure();
        for (const TQuartier* q : {&T.Etude.Quartier1, &T.Etude.Quartier2}) {
            ASSERT_EQ(q->Arcs.size(), std::size_t(n));
            for (int i = 1; i <= n; ++i) {
                const TArc& a = q->Arcs[std::size_t(i - 1)];
                EXPECT_EQ(a.nclav, i);
                EXPECT_EQ(a.pts.size(), std::size_t(i + 1));
                EXPECT_EQ(a.claveaux.size(), std::size_t(i));
            }
        }
        EXPECT_EQ(T.Etude.ArcAretier.AA.nclav, n + 1);
        EXPECT_EQ(T.Etude.ArcAretier.AA.pts.size(), std::size_t(n + 2));
        EXPECT_EQ(T.Etude.ArcAretier.AA.claveaux.size(), std::size_t(n + 1));
    }
}

TEST_F(ArcsVoute, PlanHorizontal) {
    // The survey is kept 2 m lower, its lowest whole metre at 0.
    Charger({.hauteur = [](double, double) { return 2.5; }});
    ASSERT_EQ(T.Scan.Decalage[2], 2);
    T.ActualiserStructure();
    EXPECT_EQ(T.Etude.Z0, 0.5f);
    for (const TArc* a :
         {&T.Etude.Quartier1.Arcs[3], &T.Etude.Quartier2.Arcs[4], &T.Etude.ArcAretier.AA}) {
        for (const TPtArc& p : a->pts)
            EXPECT_EQ(p.Zarc, 0.5);
        for (std::size_t j = 0; j < a->claveaux.size(); ++j) {
            const TV2R d = SubV2R(a->pts[j + 1].XYarc, a->pts[j].XYarc);
            EXPECT_EQ(a->claveaux[j].lgrclav, static_cast<float>(NormV2R(d)));
            EXPECT_EQ(a->claveaux[j].XYZclav.Z, 0.5);
        }
    }
    // The rib: from the key to the middle of the two edges' springing ends.
    const TArc& aa = T.Etude.ArcAretier.AA;
    EXPECT_EQ(aa.pts.front().XYarc, T.Etude.RecModl.XYcle);
    ExpectPoint(aa.pts.back().XYarc, (8 + 7.85858) / 2, (7.85858 + 8) / 2);
}

TEST_F(ArcsVoute, HauteurDuCubeLePlusProche) {
    Charger(
        {.x1 = 1, .y1 = 1, .pas = 0.5, .hauteur = [](double x, double y) { return x + 10 * y; }});
    const TListeCubes& cubes = T.Scan.CubesAffiches;
    ASSERT_EQ(cubes.size(), 9u);
    auto hauteur = [&cubes](const TV2R& p) { return TReleveHauteurs(cubes).HauteurAuPoint(p).Z; };
    EXPECT_EQ(hauteur({0.9, 0.1}), 1.0f);
    EXPECT_EQ(hauteur({0.2, 0.8}), 10.0f);
    // Selected and masked cubes count; deleted ones do not.
    for (TCube* c : cubes)
        c->etatSP = EtatMasque | EtatSelectionne;
    EXPECT_EQ(hauteur({1.4, 1.4}), 11.0f);
    for (TCube* c : cubes)
        if (c->CooMoyPts.Z == 11.0f) c->etatSP = EtatSupprime;
    EXPECT_NE(hauteur({1.4, 1.4}), 11.0f);
    // Two cubes at the same distance: the higher, in either order.
    TCube* a = cubes[0];
    TCube* b = cubes[1];
    a->CooMoyPts = {5, 5, 1};
    b->CooMoyPts = {7, 5, 2};
    EXPECT_EQ(hauteur({6, 5}), 2.0f);
    std::swap(T.Scan.CubesAffiches[0], T.Scan.CubesAffiches[1]);
    EXPECT_EQ(hauteur({6, 5}), 2.0f);
}

TEST_F(ArcsVoute, LesHauteursDependentDuNiveauAffiche) {
    TNuage baie;
    baie.pas = 0.1;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    T.ActualiserStructure();
    const double fin = T.Etude.ArcAretier.AA.pts.back().Zarc;
    // Metre cubes: the mean of the points of the nearest one, here the corner point alone in
    // the cube beyond the last row.
    T.FixerNiveauAffiche(0);
    T.ActualiserStructure();
    EXPECT_NE(T.Etude.ArcAretier.AA.pts.back().Zarc, fin);
    EXPECT_EQ(T.Etude.ArcAretier.AA.pts.back().Zarc, 0);
}

TEST_F(ArcsVoute, MilieuDeCoteALAppui) {
    Charger();
    T.ActualiserStructure();
    T.Etude.RecModl.XYL1 = T.Etude.RecModl.XYapp;
    ASSERT_NO_THROW(T.ActualiserStructure());
    // Said, not divided by zero: no direction, hence no thrust from those arcs.
    ASSERT_FALSE(Banc.Plateforme.Messages.empty());
    EXPECT_NE(Banc.Plateforme.Messages.back().find("« quartier 1 » est à l'appui de l'arc"),
              std::string::npos);
    EXPECT_EQ(T.Etude.Quartier1.kX, 0.0f);
    EXPECT_EQ(T.Etude.Quartier1.kY, 0.0f);
    EXPECT_NE(T.Etude.Quartier2.kX, 0.0f);
}
