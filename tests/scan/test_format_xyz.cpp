#include "scan/FormatXYZ.h"

#include <gtest/gtest.h>

TEST(FormatXYZ, LignesQuiSontDesPoints) {
    struct Cas {
        const char* ligne;
        TV3R p;
        TV4By couleur;
    };
    const Cas cas[] = {
        {"1.5 2.25 -3 255 0 17", {1.5, 2.25, -3}, {255, 0, 17, 0}},
        {"1.5 2.25 -3", {1.5, 2.25, -3}, {0, 0, 0, 0}},
        {"  1.5\t2.25   -3\t 300 -1 x", {1.5, 2.25, -3}, {44, 255, 0, 0}},
        {"1e3 +2 -.5 1 2 3 99 99\r", {1000, 2, -0.5}, {1, 2, 3, 0}},
        // Read in full: a survey's grid coordinates are shifted before they become 32-bit.
        {"1650000.123 8200000.456 40.1", {1650000.123, 8200000.456, 40.1}, {}},
    };
    for (const Cas& c : cas) {
        TV3R p;
        TV4By couleur{9, 9, 9, 9};
        ASSERT_TRUE(LireLigneXYZ(c.ligne, p, couleur)) << c.ligne;
        EXPECT_EQ(p, c.p) << c.ligne;
        EXPECT_EQ(couleur, c.couleur) << c.ligne;
    }
}

TEST(FormatXYZ, LignesQuiNeSontPasDesPoints) {
    for (const char* ligne :
         {"", "   ", "X Y Z", "1.5 2.25", "1,5 2,25 3", "nan 1 2", "1 inf 2", "1 2 -infinity",
          "0x10 1 2", "1 2 3abc", "# 1 2 3", "+-1 2 3", "1 ++2 3"}) {
        TV3R p;
        TV4By couleur;
        EXPECT_FALSE(LireLigneXYZ(ligne, p, couleur)) << "«" << ligne << "»";
    }
}

TEST(FormatXYZ, EcritureAvecHuitDecimalesEtTroisChiffresDeCouleur) {
    std::string s;
    AjouterLigneXYZ(s, {double(1.10000002f), 2, 3}, {7, 8, 9, 42});
    AjouterLigneXYZ(s, {-0.5, 6858203.61, 0}, {255, 0, 100, 0});
    EXPECT_EQ(s, "1.10000002 2.00000000 3.00000000  007 008 009\r\n"
                 "-0.50000000 6858203.61000000 0.00000000  255 000 100\r\n");
}
