#include "scan/ConstructionGrille.h"
#include "support/AttendreErreur.h"
#include "util/Erreurs.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Grille, UneMargeDUnCentimetreAutourDeLaBoite) {
    struct Cas {
        TV3S mini, maxi;
        std::array<std::int32_t, 3> orig, dim;
    };
    const Cas cas[] = {
        // 0.005 - 0.01 falls into the cell below; one spare cell above the last one.
        {{0.005f, 0.5f, 0.5f}, {2.3f, 0.5f, 0.5f}, {-1, 0, 0}, {5, 2, 2}},
        {{-3.5f, -0.005f, 10}, {-1.2f, 0.005f, 10}, {-4, -1, 9}, {4, 3, 3}},
        {{0.995f, 0.995f, 0.995f}, {0.995f, 0.995f, 0.995f}, {0, 0, 0}, {3, 3, 3}},
        // Out there 32-bit floats are 0.125 apart: the margin rounds away.
        {{1650000, 8200000, 40}, {1650001, 8200001, 41}, {1650000, 8200000, 39}, {3, 3, 4}},
    };
    for (const Cas& c : cas) {
        const TDimensionsGrille g = DimensionnerGrille(c.mini, c.maxi);
        EXPECT_EQ(g.Orig, c.orig);
        EXPECT_EQ(g.Dim, c.dim);
    }
}

TEST(Grille, GrandeEtendueAcceptee) {
    // 1 000 001 x 1 000 001 x 11 cells: the grid only holds the occupied ones.
    const TDimensionsGrille g = DimensionnerGrille({0, 0, 0}, {1e6f, 1e6f, 10});
    EXPECT_EQ(g.Orig, (std::array<std::int32_t, 3>{-1, -1, -1}));
    EXPECT_EQ(g.Dim, (std::array<std::int32_t, 3>{1000003, 1000003, 13}));
}

TEST(Grille, EtendueRefusee) {
    AttendreErreur<EErreur>(
        [] {
            DimensionnerGrille({0, 0, 0}, {3e9f, 1, 10});
        },
        "étendue du scan trop grande pour la grille : X de 0 à 3e+09, Y de 0 "
        "à 1, Z de 0 à 10 (cellules de 1 m non numérotables sur 32 bits)");
    const TV3S refuses[][2] = {
        {{0, 0, 0}, {INFINITY, 1, 1}},
        {{NAN, 0, 0}, {1, 1, 1}},
        {{3e9f, 0, 0}, {3e9f, 1, 1}},   // beyond the 32-bit cell indices
        {{-3e9f, 0, 0}, {-3e9f, 1, 1}}, // below them
    };
    for (const auto& b : refuses) {
        try {
            DimensionnerGrille(b[0], b[1]);
            ADD_FAILURE() << "boîte acceptée";
        } catch (const EErreur& e) {
            EXPECT_EQ(std::string(e.what()).rfind("étendue du scan trop grande", 0), 0u);
        }
    }
}

// Memory running out while the cubes are built is said in the program's words, not the library's.
TEST(Grille, MemoireEpuiseeDiteEnFrancais) {
    TEtatScan scan;
    scan.NbPoints = 1;
    AttendreErreur<EErreur>(
        [&] {
            ConstruireGrille(scan, DimensionnerGrille({0, 0, 0}, {1, 1, 1}),
                             [](const TRecevoirLot&) { throw std::bad_alloc(); }, {});
        },
        "erreur enregistrement de point : mémoire insuffisante");
}
