#include "geometry/UtilsGeom.h"

#include <gtest/gtest.h>

TEST(UtilsGeom, IntersectionDeSegments) {
    TV2R i{-7, -7};
    // Parallel lines: the output point is left as it was.
    EXPECT_FALSE(IntersectLines(LineCoefs({0, 0}, {1, 0}), LineCoefs({0, 1}, {1, 1}), i));
    EXPECT_EQ(i, (TV2R{-7, -7}));

    // The point is written even when it lies outside the second segment.
    EXPECT_FALSE(IntersectSegments({0, 0}, {2, 0}, {1, 1}, {1, 3}, i));
    EXPECT_EQ(i, (TV2R{1, 0}));

    EXPECT_TRUE(IntersectSegments({0, 0}, {2, 2}, {0, 2}, {2, 0}, i));
    EXPECT_EQ(i, (TV2R{1, 1}));

    // An end point counts as on the segment.
    EXPECT_TRUE(IntersectSegments({0, 0}, {2, 0}, {2, -1}, {2, 1}, i));
}

TEST(UtilsGeom, AireSigneeDuPolygone) {
    EXPECT_EQ(PolygonArea({{0, 0}, {1, 0}, {1, 1}, {0, 1}}), 1);
    EXPECT_EQ(PolygonArea({{0, 1}, {1, 1}, {1, 0}, {0, 0}}), -1);
    EXPECT_EQ(PolygonArea({{3, 4}}), 0);
    EXPECT_EQ(PolygonArea({{3, 4}, {5, 6}}), 0);
}

TEST(UtilsGeom, ChangementsDeBase) {
    const TV2R r = MulM2V2(RotM2Angle(Pi / 2), {1, 0});
    EXPECT_NEAR(r.X, 0, 1e-15);
    EXPECT_NEAR(r.Y, -1, 1e-15);
    EXPECT_EQ(MulM2V2(Mcb22({0, 0}, {0, 2}), {0, 1}), (TV2R{1, 0}));

    double d = -1;
    const TV2x2R nulle = Mcb22FromPoints({1, 1}, {1, 1}, d);
    EXPECT_EQ(d, 0);
    for (auto& ligne : nulle)
        for (double e : ligne)
            EXPECT_EQ(e, 0);

    const TV2x2R m = Mcb22({1, 2}, {4, 6});
    const TV2R local = GlobalToLocal2(m, {1, 2}, {4, 6});
    EXPECT_NEAR(local.X, 5, 1e-12);
    EXPECT_NEAR(local.Y, 0, 1e-12);
    const TV2R retour = LocalToGlobal2(m, {1, 2}, local);
    EXPECT_NEAR(retour.X, 4, 1e-12);
    EXPECT_NEAR(retour.Y, 6, 1e-12);
}

TEST(UtilsGeom, RotationsEtMatricesGL) {
    const TV3x3R id = RotM3Angles({0, 0, 0});
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(id[l][c], l == c ? 1 : 0);

    const TV3x3R rz = RotM3Angles({0, 0, Pi / 2});
    EXPECT_NEAR(rz[0][1], 1, 1e-15);
    EXPECT_NEAR(rz[1][0], -1, 1e-15);

    TmatGL16 m;
    for (int n = 0; n < 16; ++n)
        m[n] = n + 0.5;
    const TmatGL16 avant = m;
    M3ToGL(GLToM3(m), m);
    EXPECT_EQ(m, avant);
    EXPECT_EQ(GLToM3(m)[0][1], m[4]); // row 0, column 1 sits at index 4
}
