#include "ScanEssai.h"
#include "scan/CoinsCubes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// A scan built from points that all lie in the level-0 cell at the origin.
struct TScanPoints {
    TEtatScan Scan;
    explicit TScanPoints(const std::vector<TPointScan>& points) {
        ConstruireDepuisPoints(Scan, points);
    }
    TCube* Racine() const { return Scan.Grille.at(0); }
    std::vector<TCube*> Chaine(int niveau) const {
        std::vector<TCube*> chaine;
        Scan.PourChaqueCubeDuNiveau(niveau, [&](TCube* c) { chaine.push_back(c); });
        return chaine;
    }
};

} // namespace

TEST(Cubes, UnPointSurLaFaceSuperieureVaDansLaDerniereTranche) {
    // 4.975 truncates to 4; 5 (the upper face) is lowered to 4; below the corner gives 0.
    EXPECT_EQ(IndiceEnfant(0.199f, 0, double(TailleNiv[2])), 4);
    EXPECT_EQ(IndiceEnfant(0.2f, 0, double(TailleNiv[2])), 4);
    EXPECT_EQ(IndiceEnfant(1.0f, 0, double(TailleNiv[1])), 4);
    EXPECT_EQ(IndiceEnfant(-1e-7f, 0, double(TailleNiv[1])), 0);
    EXPECT_EQ(IndiceEnfant(NAN, 0, double(TailleNiv[1])), 4);

    TScanPoints s({{0.199f, 0.01f, 0.01f}, {0.2f - 1e-7f, 0.01f, 0.01f}});
    // Level 1 cube at X = 0: both points in its slice i = 4 of 4 cm children.
    TCube* niv1 = s.Scan.Enfant(s.Racine(), 0);
    ASSERT_NE(niv1, nullptr);
    EXPECT_NE(s.Scan.Enfant(niv1, 4 * 25), nullptr);
    EXPECT_EQ(s.Scan.NbEnfants(niv1), 1);
    EXPECT_EQ(s.Scan.NbCubesNiv[0], 1);
    EXPECT_EQ(s.Scan.NbCubesNiv[1], 1);
    EXPECT_EQ(s.Scan.CooOriCube(s.Scan.Enfant(niv1, 4 * 25)), (TV3S{0.16f, 0, 0}));
}

TEST(Cubes, MoyennesDesCouleursEtDesPositions) {
    TScanPoints s({{0.5f, 0.5f, 0.5f, {10, 20, 30, 0}}, {0.5001f, 0.5f, 0.5f, {11, 20, 30, 0}}});
    TCube* feuille = s.Scan.PremierCubeNiv[4];
    ASSERT_NE(feuille, nullptr);
    EXPECT_EQ(s.Scan.NbCubesNiv[4], 1);
    EXPECT_EQ(feuille->ColCube[0], 10); // 10.5 rounded down
    EXPECT_EQ(feuille->nbptscube, 2);
    // (0.5 + 0.5001) / 2, the float nearest 0.50005 (0x1.00068ep-1).
    EXPECT_EQ(feuille->CooMoyPts, (TV3S{0.50005f, 0.5f, 0.5f}));
    EXPECT_EQ(s.Racine()->nbptscube, 2);
    EXPECT_EQ(s.Racine()->CooMoyPts, feuille->CooMoyPts);
}

TEST(Cubes, LesMoyennesDeNombreuxPointsRestentSurLesPoints) {
    // Far from the origin a 32-bit sum loses the millimetres after a few hundred points.
    struct TCas {
        const char* Nom;
        int Nb;
        float Ecart; // each point within +/- Ecart of the centre
    };
    const TV3S centre{30000.25f, 20000.25f, 100.25f};
    std::mt19937 alea(17);
    for (const TCas& cas : {TCas{"mille points a 0,4 mm", 1000, 0.0004f},
                            TCas{"un million de copies", 1000000, 0.0f}}) {
        std::vector<TPointScan> points;
        TV3R somme;
        for (int k = 0; k < cas.Nb; ++k) {
            std::uniform_real_distribution<float> ecart(-cas.Ecart, cas.Ecart);
            const TPointScan p{centre.X + ecart(alea), centre.Y + ecart(alea),
                               centre.Z + ecart(alea)};
            somme = AddV3R(somme, {p.X, p.Y, p.Z});
            points.push_back(p);
        }
        const TV3S attendu{float(somme.X / cas.Nb), float(somme.Y / cas.Nb),
                           float(somme.Z / cas.Nb)};
        TEtatScan scan;
        ConstruireDepuisPoints(scan, points);
        TCube* racine = scan.PremierCubeNiv[0];
        ASSERT_EQ(scan.NbCubesNiv[0], 1) << cas.Nom;
        EXPECT_EQ(racine->nbptscube, cas.Nb) << cas.Nom;
        EXPECT_EQ(racine->CooMoyPts, attendu) << cas.Nom;
        if (cas.Ecart == 0) {
            EXPECT_EQ(attendu, centre);
            EXPECT_EQ(scan.PremierCubeNiv[4]->CooMoyPts, centre);
        }
    }
}

TEST(Cubes, LaChaineRestePropreQuandOnDetruitAuMilieu) {
    TScanPoints s({{0.1f, 0.1f, 0.1f}, {0.4f, 0.1f, 0.1f}, {0.7f, 0.1f, 0.1f}});
    TEtatScan& scan = s.Scan;
    ASSERT_EQ(scan.NbCubesNiv[1], 3);
    const std::vector<TCube*> avant = s.Chaine(1);
    ASSERT_EQ(avant.size(), 3u);
    EXPECT_EQ(avant[0], scan.PremierCubeNiv[1]);
    EXPECT_EQ(scan.CooOriCube(avant[0]).X, 0.6f); // the newest cube heads the chain
    scan.DetruireCube(avant[1]);
    EXPECT_EQ(scan.NbCubesNiv[1], 2);
    EXPECT_EQ(scan.NbCubesNiv[4], 2);
    EXPECT_EQ(s.Chaine(1), (std::vector<TCube*>{avant[0], avant[2]}));
    // Destroying the head moves it to the next cube.
    scan.DetruireCube(avant[0]);
    EXPECT_EQ(scan.PremierCubeNiv[1], avant[2]);
    EXPECT_EQ(s.Chaine(1), (std::vector<TCube*>{avant[2]}));
    EXPECT_EQ(scan.NbEnfants(s.Racine()), 1);
    int vus = 0;
    scan.PourChaqueCubeDuNiveau(4, [&](TCube* c) {
        ++vus;
        EXPECT_EQ(scan.CubeParent(scan.CubeParent(scan.CubeParent(scan.CubeParent(c)))),
                  s.Racine());
    });
    EXPECT_EQ(vus, 1);
}

TEST(Cubes, CompactageDesBranchesSupprimees) {
    TScanPoints s({{0.1f, 0.1f, 0.1f}, {0.7f, 0.1f, 0.1f}});
    TEtatScan& scan = s.Scan;
    TCube* racine = s.Racine();
    TCube* gardee = scan.PremierCubeNiv[4]; // the newest leaf: the point at X = 0.7
    const TV3S moyenneRacine = racine->CooMoyPts;

    // One leaf left: its ancestors stay and keep their old means.
    scan.MarquerSupprime(s.Chaine(4).at(1), true);
    EXPECT_FALSE(scan.Compacter(racine));
    EXPECT_EQ(scan.NbCubesNiv, (std::array<std::int32_t, 5>{1, 1, 1, 1, 1}));
    EXPECT_EQ(scan.PremierCubeNiv[4], gardee);
    EXPECT_EQ(racine->CooMoyPts, moyenneRacine);

    // Every leaf deleted: the whole branch goes, the level-0 cube included.
    scan.MarquerSupprime(gardee, true);
    EXPECT_TRUE(scan.Compacter(racine));
    scan.DetruireCube(racine);
    EXPECT_EQ(scan.NbCubesNiv, (std::array<std::int32_t, 5>{}));
    for (TCube* tete : scan.PremierCubeNiv)
        EXPECT_EQ(tete, nullptr);
    EXPECT_EQ(scan.Grille, (std::vector<TCube*>{nullptr}));
}

TEST(Cubes, AnnulerLaSuppressionEffaceTousLesEtats) {
    TScanPoints s({{0.1f, 0.1f, 0.1f}});
    s.Scan.MarquerSupprime(s.Racine(), true);
    s.Scan.PourChaqueCubeDuNiveau(4, [](TCube* c) { c->etatSP |= EtatSelectionne | EtatMasque; });
    s.Scan.MarquerSupprime(s.Racine(), false);
    for (int n = 0; n < NbNiveaux; ++n)
        s.Scan.PourChaqueCubeDuNiveau(n, [](TCube* c) { EXPECT_EQ(c->etatSP, 0); });
}
