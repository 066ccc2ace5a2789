#include "VueEssai.h"

#include "geometry/UtilsGeom.h"
#include "view/NavigationVue.h"
#include "view/Projection.h"

#include <cmath>
#include <random>

namespace {

// The camera's functions on a bare view state.
struct TCamera : ::testing::Test {
    TEtatVue V;
    TV3R Pixel(const TV3S& p) const { return PixelVue(V, p); }
};

// The camera's commands in a workspace: redraws, the shift key, the rotation field.
using TCommandesCamera = TVueEssai;

// The cloud point shown at mouse position (mx, my), from the matrices of the last drawing.
TV3R PointSousPointeur(const TEtatVue& v, double mx, double my) {
    const double px = 2 * v.EchAff * (mx - v.VGLwidth / 2.0);
    const double py = 2 * v.EchAff * (v.VGLheight / 2.0 - my);
    const TV3S& c = v.CentreRotAbs;
    return AddV3R({c.X, c.Y, c.Z}, MulTM3V3(GLToM3(v.mvmatrix), {px, py, 0}));
}

} // namespace

TEST_F(TCamera, CadrageDUneBoiteDeQuatreSurTrois) {
    V.CoefZoom = 3;
    CadrerVue(V, {0, 0, 0}, {4, 3, 0});
    EXPECT_EQ(V.RayonStruc, 2.5);
    EXPECT_EQ(V.CentreRotAbs, (TV3S{2, 1.5f, 0}));
    EXPECT_EQ(V.CoefZoom, 1);

    // Seen from above in a wide view, the box is whole: its 3 m fill the 400 pixels of the
    // height, but for a margin of a tenth.
    OrienterCamera(V, 3);
    PreparerCamera(V, 800, 400);
    EXPECT_DOUBLE_EQ(V.EchAff, 1.5 / 400 * 1.1);
    EXPECT_DOUBLE_EQ(V.CoefZoom, 2.5 / (V.EchAff * 800));
    EXPECT_EQ(V.viewport, (TViewport{0, 0, 800, 400}));
    EXPECT_EQ(V.VGLcentreH, 400);
    EXPECT_EQ(V.VGLcentreV, 200);
    const TV3R coin = Pixel({4, 3, 0});
    EXPECT_NEAR(coin.Y, 200 + 200 / 1.1, 1e-9);
    EXPECT_NEAR(coin.X, 400 + 2 / (2 * V.EchAff), 1e-9);
    const TV3R oppose = Pixel({0, 0, 0});
    EXPECT_NEAR(oppose.X, 800 - coin.X, 1e-9);
    EXPECT_NEAR(oppose.Y, 400 - coin.Y, 1e-9);

    // Framed once: the next drawings keep the zoom the user gives.
    V.CoefZoom = 7;
    PreparerCamera(V, 800, 400);
    EXPECT_EQ(V.CoefZoom, 7);
    EXPECT_DOUBLE_EQ(V.EchAff, 2.5 / 7 / 800);
}

TEST_F(TCamera, ToutVoirRameneLaBoiteEntiereSelonLOrientation) {
    // A bay of 8 x 6 m, 5 m high, in a view as wide as the window's (765 x 295).
    CadrerVue(V, {10, 20, 30}, {18, 26, 35});
    struct TCas {
        int orientation;
        double ex, ey; // half extents across and up the screen
    };
    for (const TCas& c : {TCas{1, 4, 2.5}, TCas{2, 3, 2.5}, TCas{3, 4, 3}}) {
        SCOPED_TRACE(c.orientation);
        V.CoefZoom = 5;
        V.CentreRotAbs = {0, 0, 0};
        OrienterCamera(V, c.orientation);
        ToutVoir(V);
        PreparerCamera(V, 765, 295);
        EXPECT_EQ(V.CentreRotAbs, (TV3S{14, 23, 32.5f}));
        EXPECT_NEAR(V.EchAff, std::max(c.ex / 765, c.ey / 295) * 1.1, 1e-12);
        // Every corner is inside the view.
        for (int k = 0; k < 8; ++k) {
            const TV3R p =
                Pixel({k & 1 ? 18.0f : 10.0f, k & 2 ? 26.0f : 20.0f, k & 4 ? 35.0f : 30.0f});
            EXPECT_GE(p.X, 0);
            EXPECT_LE(p.X, 765);
            EXPECT_GE(p.Y, 0);
            EXPECT_LE(p.Y, 295);
        }
    }
}

TEST_F(TCommandesCamera, LEncombrementCadreLaBoite) {
    T.Scan.CooMin = {0, 0, 0};
    T.Scan.CooMax = {4, 3, 0};
    T.Vue.CoefZoom = 3;
    T.CalculerEncombrement();
    EXPECT_EQ(T.Vue.RayonStruc, 2.5);
    EXPECT_EQ(T.Vue.CentreRotAbs, (TV3S{2, 1.5f, 0}));
    EXPECT_EQ(T.Vue.CoefZoom, 1);
}

// The matrices of a drawing against the camera's definition, recomputed from its angles.
TEST_F(TCamera, MatricesRecalculeesPourDesEtatsAuHasard) {
    std::mt19937 alea(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int essai = 0; essai < 200; ++essai) {
        const int largeur = 50 + int(alea() % 1500), hauteur = 50 + int(alea() % 1000);
        V.LongAbsDeg = int(alea() % 1441) - 720;
        V.LatAbsDeg = int(alea() % 1441) - 720;
        V.AngRotZdeg = 400 * u(alea);
        V.CentreRotAbs = {float(100 * u(alea)), float(100 * u(alea)), float(10 * u(alea))};
        V.RayonStruc = 1 + 50 * (u(alea) + 1);
        V.CoefZoom = std::exp(3 * u(alea));
        const int longitude = V.LongAbsDeg, latitude = V.LatAbsDeg;
        PreparerCamera(V, largeur, hauteur);

        const double E = V.RayonStruc / V.CoefZoom / std::max(largeur, hauteur);
        EXPECT_DOUBLE_EQ(V.EchAff, E);
        const double L = (longitude - V.AngRotZdeg) * Pi / 180, phi = latitude * Pi / 180;
        const double droite[3] = {-std::sin(L), std::cos(L), 0};
        const double haut[3] = {-std::cos(L) * std::sin(phi), -std::sin(L) * std::sin(phi),
                                std::cos(phi)};
        const double vers[3] = {std::cos(L) * std::cos(phi), std::sin(L) * std::cos(phi),
                                std::sin(phi)};
        for (int n = 0; n < 5; ++n) {
            const TV3S p{float(V.CentreRotAbs.X + 80 * u(alea)),
                         float(V.CentreRotAbs.Y + 80 * u(alea)),
                         float(V.CentreRotAbs.Z + 1500 * u(alea))};
            const double d[3] = {double(p.X) - V.CentreRotAbs.X, double(p.Y) - V.CentreRotAbs.Y,
                                 double(p.Z) - V.CentreRotAbs.Z};
            double e[3] = {};
            for (int a = 0; a < 3; ++a) {
                e[0] += droite[a] * d[a];
                e[1] += haut[a] * d[a];
                e[2] += vers[a] * d[a];
            }
            const TV3R w = Pixel(p);
            const double tolerance = 1e-9 * (1 + std::abs(e[0]) + std::abs(e[1])) / E;
            EXPECT_NEAR(w.X, largeur / 2.0 + e[0] / (2 * E), tolerance);
            EXPECT_NEAR(w.Y, hauteur / 2.0 + e[1] / (2 * E), tolerance);
            // Depth 0 to 1 over the eye range +1000 (nearest) to -1000.
            EXPECT_NEAR(w.Z, (1 - e[2] / 1000) / 2, 1e-9);
        }
    }
}

TEST_F(TCamera, AnglesRamenesDansUnTour) {
    const std::pair<int, int> cas[] = {{365, 5},     {-360, 0}, {359, 359},
                                       {-359, -359}, {720, 0},  {-725, -5}};
    for (auto [avant, apres] : cas) {
        V.LongAbsDeg = avant;
        V.LatAbsDeg = avant;
        CalculerMatriceRotation(V, V.rotmatrix);
        EXPECT_EQ(V.LongAbsDeg, apres) << avant;
        EXPECT_EQ(V.LatAbsDeg, apres) << avant;
    }
}

TEST_F(TCommandesCamera, VuesSuivantLesAxes) {
    struct Cas {
        int code;
        TV3R droite, haut;
    };
    const Cas cas[] = {
        {1, {1, 0, 0}, {0, 0, 1}}, {2, {0, 1, 0}, {0, 0, 1}}, {3, {1, 0, 0}, {0, 1, 0}}};
    for (const Cas& c : cas) {
        const int redessins = Banc.Plateforme.Redessins;
        T.OrienterVue(c.code);
        EXPECT_EQ(Banc.Plateforme.Redessins, redessins + 1);
        T.CalculerRotMatrix(T.Vue.rotmatrix);
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(T.Vue.MCBproj3[0][a], c.droite[a], 1e-15) << c.code;
            EXPECT_NEAR(T.Vue.MCBproj3[1][a], c.haut[a], 1e-15) << c.code;
        }
    }
    T.OrienterVue(7); // no such view: the angles stay
    EXPECT_EQ(T.Vue.LongAbsDeg, -90);
    EXPECT_EQ(T.Vue.LatAbsDeg, 90);
}

TEST_F(TCamera, AngleLuDansLeChampRotationZ) {
    const std::pair<const char*, double> textes[] = {
        {"12.7", 12.7}, {"abc", 0}, {"", 0},    {" -45 ", -45}, {"\t8\t", 8}, {"12,7", 12.7},
        {"1.2,7", 0},   {"nan", 0}, {"inf", 0}, {"1e400", 0},   {"-1e400", 0}};
    for (auto [texte, angle] : textes)
        EXPECT_EQ(LireAngleRotZ(texte), angle) << texte;
    // What the field shows reads back as the same angle: a second "Actualiser" changes nothing.
    for (const double angle : {12.7, 30.0, -0.1, 1e-20, 359.99999999999994}) {
        EXPECT_EQ(LireAngleRotZ(TexteAngleRotZ(angle)), angle) << angle;
    }
    EXPECT_EQ(TexteAngleRotZ(12.7), "12.7");
    EXPECT_EQ(TexteAngleRotZ(30), "30");
}

TEST_F(TCommandesCamera, RotationZAffichee) {
    T.Vue.CentreRotAbs = {10, 20, 0};
    T.Vue.RayonStruc = 10;
    T.Vue.CoefZoom = 1;
    T.OrienterVue(3);
    T.Vue.PointsPerimes = T.Vue.ReperePerime = false;
    T.BtActualiserRotClick("90");
    EXPECT_TRUE(T.Vue.PointsPerimes && T.Vue.ReperePerime);
    // The cloud's +X now points up the screen.
    T.PreparerProjection(400, 400);
    const TV3R centre = Pixel(T.Vue.CentreRotAbs), x = Pixel({11, 20, 0});
    EXPECT_NEAR(x.X - centre.X, 0, 1e-9);
    EXPECT_GT(x.Y - centre.Y, 10);
    const TV2R deplacement = MulM2V2(T.Vue.McbRotZ2, {1, 0});
    EXPECT_NEAR(deplacement.X, 0, 1e-15);
    EXPECT_NEAR(deplacement.Y, -1, 1e-15);
    EXPECT_NEAR(T.Vue.rotmatrixrepere[1], -1, 1e-15); // row 1, column 0: -sin
    EXPECT_NEAR(T.Vue.rotmatrixrepere[4], 1, 1e-15);

    T.BtActualiserRotClick(" 12.7 ");
    EXPECT_EQ(T.Vue.AngRotZdeg, 12.7);
    EXPECT_EQ(T.TexteEdRotZ, "12.7");
    T.BtActualiserRotClick("1e400");
    EXPECT_EQ(T.Vue.AngRotZdeg, 0);
    EXPECT_EQ(T.TexteEdRotZ, "0");
}

TEST_F(TCommandesCamera, MoletteParPasAvecPlancher) {
    T.Vue.RayonStruc = 5;
    T.OrienterVue(1);
    struct Cas {
        bool shift;
        int delta;
        double avant, apres;
    };
    const Cas cas[] = {{false, 120, 1, 1.1},
                       {false, -120, 1, 1 / 1.1},
                       {true, 1, 1, 2},
                       {true, -480, 1, 0.5},
                       {true, -120, 0.15, 0.1}};
    for (const Cas& c : cas) {
        Banc.Plateforme.Shift = c.shift;
        T.Vue.CoefZoom = c.avant;
        T.Vue.CentreRotAbs = {1, 2, 3};
        T.PreparerProjection(600, 400);
        bool traite = false;
        T.FormMouseWheel(c.delta, {300, 200}, traite);
        EXPECT_DOUBLE_EQ(T.Vue.CoefZoom, c.apres);
        EXPECT_TRUE(traite);
        // About the view centre, the centre stays.
        EXPECT_EQ(T.Vue.CentreRotAbs, (TV3S{1, 2, 3}));
    }

    // At the floor a further step out does nothing, not even a redraw.
    T.PreparerProjection(600, 400);
    const int redessins = Banc.Plateforme.Redessins;
    bool traite = false;
    T.FormMouseWheel(-120, {10, 10}, traite);
    EXPECT_EQ(T.Vue.CoefZoom, 0.1);
    EXPECT_FALSE(traite);
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins);
}

TEST_F(TCamera, MoletteGardeLePointSousLePointeur) {
    V.RayonStruc = 20;
    V.CoefZoom = 1.3;
    V.CentreRotAbs = {5, -3, 2};
    V.LongAbsDeg = -30;
    V.LatAbsDeg = 25;
    V.AngRotZdeg = 12;
    for (TPointEcran pointeur :
         {TPointEcran{50, 320}, TPointEcran{590, 10}, TPointEcran{-40, 700}}) {
        for (int delta : {120, -120}) {
            PreparerCamera(V, 640, 480);
            const TV3R sous = PointSousPointeur(V, pointeur.X, pointeur.Y);
            EXPECT_TRUE(ZoomerMolette(V, delta, pointeur, false));
            PreparerCamera(V, 640, 480);
            const TV3R w = Pixel(V3RToV3S(sous));
            EXPECT_NEAR(w.X, pointeur.X, 1e-3);
            EXPECT_NEAR(w.Y, 480 - pointeur.Y, 1e-3);
        }
    }
}

TEST_F(TCommandesCamera, BoutonsPlusEtMoinsDUnQuart) {
    T.Vue.CoefZoom = 1;
    T.Vue.CentreRotAbs = {1, 2, 3};
    T.SBtEchPlusClick();
    EXPECT_DOUBLE_EQ(T.Vue.CoefZoom, 1.25);
    T.SBtEchMoinsClick();
    T.SBtEchMoinsClick();
    EXPECT_DOUBLE_EQ(T.Vue.CoefZoom, 0.8);
    // Out no further than the wheel goes.
    T.Vue.CoefZoom = 0.11;
    T.SBtEchMoinsClick();
    EXPECT_DOUBLE_EQ(T.Vue.CoefZoom, 0.1);
    EXPECT_EQ(T.Vue.CentreRotAbs, (TV3S{1, 2, 3}));
    EXPECT_EQ(Banc.Plateforme.Redessins, 4);
}

TEST_F(TCamera, DeplacementSuitLePointeur) {
    // Top view, 1 cm per half pixel: 20 pixels to the right move the centre by 0.4 m to -X.
    V.CentreRotAbs = {0, 0, 0};
    V.RayonStruc = 8;
    V.CoefZoom = 1;
    OrienterCamera(V, 3);
    PreparerCamera(V, 800, 400);
    ASSERT_EQ(V.EchAff, 0.01);
    DeplacerCentre(V, 20, 0);
    EXPECT_NEAR(V.CentreRotAbs.X, -0.4, 1e-7);
    EXPECT_NEAR(V.CentreRotAbs.Y, 0, 1e-7);
    EXPECT_NEAR(V.CentreRotAbs.Z, 0, 1e-7);

    // Any view: the point that was under the pointer follows it.
    V.LongAbsDeg = 33;
    V.LatAbsDeg = -50;
    V.AngRotZdeg = 7;
    PreparerCamera(V, 500, 300);
    const TV3R sous = PointSousPointeur(V, 100, 100);
    DeplacerCentre(V, -37, 58);
    PreparerCamera(V, 500, 300);
    const TV3R w = Pixel(V3RToV3S(sous));
    EXPECT_NEAR(w.X, 100 - 37, 1e-3);
    EXPECT_NEAR(w.Y, 300 - (100 + 58), 1e-3);
}
