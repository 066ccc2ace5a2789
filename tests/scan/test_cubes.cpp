#include "scan/UArkaluneGlb.h"

#include <gtest/gtest.h>

namespace {

// A scan holding one level-0 cube at the origin.
struct TScanUnCube {
    TEtatScan Scan;
    TCube* Racine;
    TScanUnCube() { Racine = Scan.CreerCube(nullptr, 0, 0, {0, 0, 0}); }
    void Point(float x, float y, float z, TV4By c = {}) {
        Racine->EnregistrerUnPoint(Scan, x, y, z, c);
    }
    void Moyennes() {
        TV3S s;
        std::array<std::int64_t, 4> c;
        std::int32_t n;
        Racine->CalculerLesMoyennes(s, c, n);
    }
};

} // namespace

TEST(Cubes, UnPointSurLaFaceSuperieureVaDansLaDerniereTranche) {
    TScanUnCube s;
    s.Point(0.199f, 0.01f, 0.01f);
    s.Point(0.2f - 1e-7f, 0.01f, 0.01f);
    // Level 1 cube at X = 0: both points in its slice i = 4 of 4 cm children.
    TCube* niv1 = s.Racine->Enfant(0);
    ASSERT_NE(niv1, nullptr);
    EXPECT_NE(niv1->Enfant(4 * 25), nullptr);
    EXPECT_EQ(niv1->NbEnfants(), 1);
    EXPECT_EQ(s.Scan.NbCubesNiv[0], 1);
    EXPECT_EQ(s.Scan.NbCubesNiv[1], 1);

    // A point exactly on the upper face of the level-0 cube stays in its last slices.
    s.Point(1.0f, 1.0f, 1.0f);
    EXPECT_NE(s.Racine->Enfant(124), nullptr);
}

TEST(Cubes, MoyennesDesCouleursEtDesPositions) {
    TScanUnCube s;
    s.Point(0.5f, 0.5f, 0.5f, {10, 20, 30, 0});
    s.Point(0.5001f, 0.5f, 0.5f, {11, 20, 30, 0});
    TCube* feuille = s.Scan.PremierCubeNiv[4];
    ASSERT_NE(feuille, nullptr);
    EXPECT_EQ(s.Scan.NbCubesNiv[4], 1);
    EXPECT_EQ(feuille->nbptscube, -2);
    EXPECT_EQ(feuille->ColCube[0], 10); // 10.5 rounded down
    s.Moyennes();
    EXPECT_EQ(feuille->nbptscube, 2);
    // (0.5 + 0.5001) / 2, the float nearest 0.50005 (0x1.00068ep-1).
    EXPECT_EQ(feuille->CooMoyPts, (TV3S{0.50005f, 0.5f, 0.5f}));
    EXPECT_EQ(s.Racine->nbptscube, 2);
    EXPECT_EQ(s.Racine->CooMoyPts, feuille->CooMoyPts);

    // A second computation gives the same counts and means.
    s.Moyennes();
    EXPECT_EQ(s.Racine->nbptscube, 2);
    EXPECT_EQ(s.Racine->CooMoyPts, (TV3S{0.50005f, 0.5f, 0.5f}));
}

TEST(Cubes, LaChaineRestePropreQuandOnDetruitAuMilieu) {
    TScanUnCube s;
    for (int n = 0; n < 3; ++n)
        s.Point(0.1f + 0.3f * float(n), 0.1f, 0.1f);
    ASSERT_EQ(s.Scan.NbCubesNiv[1], 3);
    TCube* tete = s.Scan.PremierCubeNiv[1];
    TCube* milieu = tete->SvtNiv;
    TCube* queue = milieu->SvtNiv;
    s.Scan.DetruireCube(milieu);
    EXPECT_EQ(s.Scan.NbCubesNiv[1], 2);
    EXPECT_EQ(s.Scan.NbCubesNiv[4], 2);
    EXPECT_EQ(tete->SvtNiv, queue);
    EXPECT_EQ(queue->SvtNiv, nullptr);
    EXPECT_EQ(s.Racine->NbEnfants(), 2);
    int vus = 0;
    s.Scan.PourChaqueCubeDuNiveau(4, [&](TCube* c) {
        ++vus;
        EXPECT_NE(c->CubeParent->CubeParent->CubeParent->CubeParent, nullptr);
    });
    EXPECT_EQ(vus, 2);
}

TEST(Cubes, CompactageDesBranchesSupprimees) {
    TScanUnCube s;
    s.Point(0.1f, 0.1f, 0.1f);
    s.Point(0.7f, 0.1f, 0.1f);
    s.Moyennes();
    TCube* gardee = s.Scan.PremierCubeNiv[4]; // the newest leaf: the point at X = 0.7
    const TV3S moyenneRacine = s.Racine->CooMoyPts;

    // One leaf left: its ancestors stay and keep their old means.
    s.Scan.PremierCubeNiv[4]->SvtNiv->MarquerSupprime(true);
    EXPECT_FALSE(s.Racine->Compacter(s.Scan));
    EXPECT_EQ(s.Scan.NbCubesNiv, (std::array<std::int32_t, 5>{1, 1, 1, 1, 1}));
    EXPECT_EQ(s.Scan.PremierCubeNiv[4], gardee);
    EXPECT_EQ(s.Racine->CooMoyPts, moyenneRacine);

    // Every leaf deleted: the whole branch goes, the level-0 cube included.
    gardee->MarquerSupprime(true);
    EXPECT_TRUE(s.Racine->Compacter(s.Scan));
    s.Scan.DetruireCube(s.Racine);
    EXPECT_EQ(s.Scan.NbCubesNiv, (std::array<std::int32_t, 5>{}));
    for (TCube* tete : s.Scan.PremierCubeNiv)
        EXPECT_EQ(tete, nullptr);
}

TEST(Cubes, AnnulerLaSuppressionEffaceTousLesEtats) {
    TScanUnCube s;
    s.Point(0.1f, 0.1f, 0.1f);
    s.Racine->MarquerSupprime(true);
    s.Scan.PourChaqueCubeDuNiveau(4, [](TCube* c) { c->etatSP |= EtatSelectionne | EtatMasque; });
    s.Racine->MarquerSupprime(false);
    for (int n = 0; n < NbNiveaux; ++n)
        s.Scan.PourChaqueCubeDuNiveau(n, [](TCube* c) { EXPECT_EQ(c->etatSP, 0); });
}
