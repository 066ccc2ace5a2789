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
    std::vector<bool> Selectionnes(const std::vector<TCube*>& cubes) const {
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
    const std::vector<TCube*> cubes = {
        AjouterCube(70, 235, 0),          AjouterCube(40.01f, 220.01f, 5),
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
