#include "VueEssai.h"

namespace {

struct TSouris : TVueEssai {
    void SetUp() override { VueDeDessusUnMetreParPixel(400, 300); }

    // A drag with the left button from a to b, with one move between.
    void Glisser(TPointEcran a, TPointEcran b) {
        T.VGLMouseDown(a.X, a.Y);
        T.VGLMouseMove({true, false}, b.X, b.Y);
        T.VGLMouseUp(b.X, b.Y);
    }
    std::vector<bool> Selectionnes(const TListeCubes& cubes) const {
        std::vector<bool> r;
        for (const TCube* c : cubes)
            r.push_back(c->etatSP & EtatSelectionne);
        return r;
    }
};

constexpr TBoutonsSouris Milieu{false, true};

} // namespace

TEST_F(TSouris, RotationParPasDeDixPixels) {
    T.VGLMouseDown(100, 100);
    const int redessins = Banc.Plateforme.Redessins;
    T.VGLMouseMove(Milieu, 109, 91); // 9 pixels: nothing yet
    EXPECT_EQ(T.Vue.DebutGlissementSelection, (TPointEcran{100, 100}));
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins);
    EXPECT_EQ(T.Vue.mouseold, (TPointEcran{109, 91}));

    // In a view 800 pixels wide, 10 pixels to the right turn by Round(1.125) = 1 degree.
    T.VGLDraw(800, 300);
    T.VGLMouseMove(Milieu, 110, 100);
    EXPECT_EQ(T.Vue.LongAbsDeg, -91);
    EXPECT_EQ(T.Vue.LatAbsDeg, 90);
    EXPECT_EQ(T.Vue.DebutGlissementSelection, (TPointEcran{110, 100}));
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins + 1);

    // 1800 pixels wide: Round(0.5) = 0, the step is consumed; 30 pixels: Round(1.5) = 2; down
    // 20 pixels of 300: Round(6) = 6 degrees up.
    T.VGLDraw(1800, 300);
    T.VGLMouseMove(Milieu, 120, 100);
    EXPECT_EQ(T.Vue.LongAbsDeg, -91);
    EXPECT_EQ(T.Vue.DebutGlissementSelection, (TPointEcran{120, 100}));
    T.VGLMouseMove(Milieu, 150, 120);
    EXPECT_EQ(T.Vue.LongAbsDeg, -93);
    EXPECT_EQ(T.Vue.LatAbsDeg, 96);
}

TEST_F(TSouris, DeplacementAvecShift) {
    Banc.Plateforme.Shift = true;
    T.VGLMouseDown(100, 100);
    T.VGLMouseMove(Milieu, 120, 90);
    // 1 m per pixel: the centre moves against the pointer, y downwards on the screen.
    EXPECT_NEAR(T.Vue.CentreRotAbs.X, 200 - 20, 1e-5);
    EXPECT_NEAR(T.Vue.CentreRotAbs.Y, 150 - 10, 1e-5);
    EXPECT_NEAR(T.Vue.CentreRotAbs.Z, 0, 1e-5);
    EXPECT_EQ(T.Vue.LongAbsDeg, -90);
}

TEST_F(TSouris, DeplacementIgnoreSansScanPendantUnTraceOuSurPlace) {
    T.VGLMouseDown(0, 0);
    T.VGLMouseMove(Milieu, 50, 50);
    const TEtatVue avant = T.Vue;
    T.ScanPret = false;
    T.VGLMouseMove(Milieu, 70, 70);
    T.ScanPret = true;
    T.Drawing = true;
    T.VGLMouseMove(Milieu, 90, 90);
    T.Drawing = false;
    EXPECT_EQ(T.Vue.mouseold, avant.mouseold);
    EXPECT_EQ(T.Vue.LongAbsDeg, avant.LongAbsDeg);

    // The anchor moved on the previous step; moving back to the last position seen does nothing.
    T.VGLMouseDown(0, 0);
    T.VGLMouseMove(Milieu, 50, 50);
    EXPECT_EQ(T.Vue.DebutGlissementSelection, (TPointEcran{0, 0}));
}

TEST_F(TSouris, BandeDeSelectionSuitLePointeur) {
    T.VGLMouseDown(100, 50);
    T.VGLMouseMove({true, false}, 40, 80);
    const TBandeSelection& b = T.BandeSelection;
    EXPECT_TRUE(b.Visible);
    EXPECT_EQ(b.g, 40);
    EXPECT_EQ(b.d, 100);
    EXPECT_EQ(b.h, 50);
    EXPECT_EQ(b.b, 80);
    EXPECT_EQ(b.lrg, 60);
    EXPECT_EQ(b.ht, 30);
    EXPECT_EQ(b.modeaffi, 0);
    EXPECT_EQ(b.p1sel, (TPointEcran{100, 50}));
    T.VGLMouseMove({true, false}, 130, 20);
    EXPECT_EQ(T.Vue.DebutGlissementSelection, (TPointEcran{100, 50}));
    EXPECT_EQ(b.g, 100);
    EXPECT_EQ(b.d, 130);
    EXPECT_EQ(b.h, 20);
    EXPECT_EQ(b.b, 50);
    // The middle button takes precedence over the left one.
    T.VGLMouseMove({true, true}, 10, 10);
    EXPECT_EQ(b.g, 100);
}

TEST_F(TSouris, SelectionDansUneVueDeTroisCentsPixels) {
    // Dragging from (100, 50) to (40, 80) selects x 40 to 100 and, from the bottom, y 220 to 250.
    const TListeCubes cubes = {AjouterCube(70, 235, 0),          AjouterCube(40.01f, 220.01f, 5),
                               AjouterCube(99.99f, 249.99f, -3), AjouterCube(39.99f, 235, 0),
                               AjouterCube(70, 219.99f, 0),      AjouterCube(70, 250.01f, 0),
                               AjouterCube(100.01f, 235, 0)};
    TCube* masque = AjouterCube(70, 230, 0, EtatMasque);
    TCube* supprime = AjouterCube(70, 230, 0, EtatSupprime);
    const int redessins = Banc.Plateforme.Redessins;
    T.Vue.PointsPerimes = false;
    Glisser({100, 50}, {40, 80});

    EXPECT_EQ(Selectionnes(cubes),
              (std::vector<bool>{true, true, true, false, false, false, false}));
    EXPECT_EQ(masque->etatSP, EtatMasque);
    EXPECT_EQ(supprime->etatSP, EtatSupprime | EtatSelectionne);
    EXPECT_FALSE(T.BandeSelection.Visible);
    EXPECT_TRUE(T.Vue.PointsPerimes);
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins + 1);

    // A second drag adds to the selection.
    Glisser({60, 81}, {80, 79});
    EXPECT_EQ(Selectionnes(cubes),
              (std::vector<bool>{true, true, true, false, true, false, false}));
}

TEST_F(TSouris, BornesIncluses) {
    // The view centre projects exactly onto pixel (200, 150).
    TCube* centre = AjouterCube(200, 150, 0);
    TCube* voisin = AjouterCube(200.01f, 150, 0);
    Glisser({200, 100}, {200, 150}); // vertical: only the pictures exactly at x = 200
    EXPECT_TRUE(centre->etatSP & EtatSelectionne);
    EXPECT_FALSE(voisin->etatSP & EtatSelectionne);
}

TEST_F(TSouris, CliquerSansGlisserNeSelectionneRien) {
    TCube* c = AjouterCube(70, 235, 0);
    const int redessins = Banc.Plateforme.Redessins;
    T.VGLMouseDown(70, 65);
    T.VGLMouseUp(70, 65);
    EXPECT_EQ(c->etatSP, 0);
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins + 1);
}

TEST_F(TSouris, RelacheHorsDeLaVue) {
    TCube* haut = AjouterCube(380, 305, 0); // above the view's top edge
    Glisser({350, 10}, {450, -20});
    EXPECT_TRUE(haut->etatSP & EtatSelectionne);
}

TEST_F(TSouris, PointDesigneLePlusProche) {
    TCube* a = AjouterCube(200, 150, 0);
    TCube* b = AjouterCube(203, 150, 0);
    AjouterCube(201, 151, 0, EtatMasque);
    AjouterCube(202, 150, 0, EtatSupprime);
    // Mouse y counts from the top: window row 150 is mouse row 150 in a view 300 high.
    const std::pair<TPointEcran, const TCube*> cas[] = {
        {{202, 150}, b},       {{201, 150}, a},       {{196, 150}, a},
        {{195, 150}, nullptr}, {{200, 145}, nullptr}, {{200, 146}, a},
        {{200, 154}, a},       {{200, 155}, nullptr}, {{201, 149}, a}};
    for (auto [pointeur, attendu] : cas)
        EXPECT_EQ(T.CubeSousPointeur(pointeur.X, pointeur.Y), attendu)
            << pointeur.X << ", " << pointeur.Y;
}

TEST_F(TSouris, LePlusEnAvantSousLePointeur) {
    // Seen from above, two cubes at one pixel: the higher one is the one shown.
    for (const bool basDAbord : {true, false}) {
        CubesPoses.clear();
        T.Scan.CubesAffiches.clear();
        TCube* bas = nullptr;
        TCube* haut = nullptr;
        if (basDAbord) bas = AjouterCube(200, 150, -3);
        haut = AjouterCube(200.3f, 150, 2);
        if (!basDAbord) bas = AjouterCube(200, 150, -3);
        AjouterCube(203, 150, 9); // in front, but 3 pixels away
        EXPECT_EQ(T.CubeSousPointeur(200, 150), haut) << basDAbord;
        EXPECT_NE(T.CubeSousPointeur(200, 150), bas);
    }
    // Two cubes within one pixel at one depth: the same one, whichever comes first.
    for (const bool gaucheDAbord : {true, false}) {
        CubesPoses.clear();
        T.Scan.CubesAffiches.clear();
        const float x[2] = {200.2f, 199.8f};
        AjouterCube(x[gaucheDAbord ? 1 : 0], 150, 1);
        AjouterCube(x[gaucheDAbord ? 0 : 1], 150, 1);
        EXPECT_EQ(T.CubeSousPointeur(200, 150)->CooMoyPts.X, 199.8f) << gaucheDAbord;
    }
}

TEST_F(TSouris, LectureDesCoordonneesEtDistance) {
    T.ScanPret = true;
    T.Scan.Decalage = {652000, 6862000, 0};
    AjouterCube(100.125f, 150.5f, 45.25f);
    AjouterCube(103.125f, 154.5f, 45.25f);
    AjouterCube(300, 100, 1);
    struct TClic {
        TPointEcran p;
        bool gauche, ctrl;
        const char* panneau0; // the first panel afterwards
    };
    const TClic clics[] = {
        {{100, 150}, true, false, "X = 652100.125 Y = 6862150.500 Z = 45.250"},
        // With Ctrl: the distance to the previous point (3, 4, 0).
        {{103, 146}, true, true, "X = 652103.125 Y = 6862154.500 Z = 45.250 ; distance : 5.000 m"},
        // Nothing drawn there: said, rather than the previous read-out left as if it were this
        // point's; another button reads nothing.
        {{50, 50}, true, true, "aucun point"},
        {{300, 200}, false, false, "aucun point"},
        // Without Ctrl, no distance; then Ctrl measures from that one.
        {{300, 200}, true, false, "X = 652300.000 Y = 6862100.000 Z = 1.000"},
        {{100, 150},
         true,
         true,
         "X = 652100.125 Y = 6862150.500 Z = 45.250 ; distance : 210.851 m"},
    };
    for (const TClic& c : clics) {
        T.VGLMouseDown(c.p.X, c.p.Y);
        T.VGLMouseUp(c.p.X, c.p.Y, c.gauche, c.ctrl);
        EXPECT_EQ(Banc.Plateforme.Panneau0, c.panneau0) << c.p.X << ", " << c.p.Y;
    }
    // A drag selects as before and reads nothing.
    Banc.Plateforme.Panneau0.clear();
    T.VGLMouseDown(90, 140);
    T.VGLMouseMove({true, false}, 110, 160);
    T.VGLMouseUp(110, 160, true, false);
    EXPECT_EQ(Banc.Plateforme.Panneau0, "");
    EXPECT_TRUE(T.Scan.CubesAffiches[0]->etatSP & EtatSelectionne);
    // A new scan forgets the point measured from.
    T.ReinitialiserTravail();
    EXPECT_FALSE(T.PointLu);
}

// A click whose pointer moves less than the drag distance stays a click: no band, the point read
// out; a band only selects on the preparation's page, where the selection shows in red.
TEST_F(TSouris, UnClicQuiBougeUnPeuEtLaBandeHorsPreparation) {
    T.ScanPret = true;
    T.Vue.DistanceGlissement = 4;
    AjouterCube(100, 150, 0);
    T.VGLMouseDown(100, 150);
    T.VGLMouseMove({true, false}, 102, 151);
    EXPECT_FALSE(T.BandeSelection.Visible);
    T.VGLMouseUp(102, 151, true, false);
    EXPECT_EQ(Banc.Plateforme.Panneau0, "X = 100.000 Y = 150.000 Z = 0.000");
    EXPECT_EQ(Selectionnes(T.Scan.CubesAffiches), std::vector<bool>{false});

    for (const int onglet : {1, 2, 0}) {
        T.OngletActif = onglet;
        Glisser({90, 140}, {110 + onglet, 160});
        EXPECT_EQ(Selectionnes(T.Scan.CubesAffiches), std::vector<bool>{onglet == 0}) << onglet;
    }
}
