#include "geometry/UtilsVect.h"

#include <gtest/gtest.h>

TEST(UtilsVect, NormalisationRefuseLeVecteurNul) {
    TV2R v{0, 0};
    double l = -1;
    EXPECT_FALSE(NormalizeV2R(v, l));
    EXPECT_EQ(v, (TV2R{0, 0}));
    EXPECT_EQ(l, 0);

    v = {3, 4};
    EXPECT_TRUE(NormalizeV2R(v, l));
    EXPECT_DOUBLE_EQ(v.X, 0.6);
    EXPECT_DOUBLE_EQ(v.Y, 0.8);
    EXPECT_EQ(l, 5);
}

TEST(UtilsVect, LesFormes32BitsArrondissentUneSeuleFois) {
    // 0.1f + 0.2f computed in double then rounded once.
    const TV3S s = AddV3S({0.1f, 1e8f, -3}, {0.2f, 1, 3});
    EXPECT_EQ(s.X, static_cast<float>(double(0.1f) + double(0.2f)));
    EXPECT_EQ(s.Y, 1e8f); // 1e8 + 1 is not representable as a float
    EXPECT_EQ(s.Z, 0.0f);
    EXPECT_EQ(V3RToV3S({1.0 / 3, 0, 0}).X, 1.0f / 3);
}

TEST(UtilsVect, ProduitsMatriciels) {
    const TV3x3R a = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    const TV3R v{1, 0, -1};
    EXPECT_EQ(MulM3V3(a, v), (TV3R{-2, -2, -2}));
    EXPECT_EQ(MulTM3V3(a, v), (TV3R{-6, -6, -6}));
    const TV3x3R p = MulM3M3(a, a);
    EXPECT_EQ(p[0][0], 30);
    EXPECT_EQ(p[2][1], 126);
    EXPECT_EQ(CrossV3R({1, 0, 0}, {0, 1, 0}), (TV3R{0, 0, 1}));
    const TV2x2R m = {{{1, 2}, {3, 4}}};
    EXPECT_EQ(MulM2V2(m, {1, 1}), (TV2R{3, 7}));
    EXPECT_EQ(MulTM2V2(m, {1, 1}), (TV2R{4, 6}));
}
