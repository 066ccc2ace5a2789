// The 3D view control on a real X server: what it draws where the camera math says, what it
// keeps between paints, the rubber band over it, the clipboard, and a missing context.

#include "geometry/UtilsGeom.h"
#include "view/BandeSelection.h"
#include "view/GLbox.h"
#include "view/Projection.h"
#include "view/SurfaceGL.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int L = 240, H = 180;

bool EstNoir(QRgb c) {
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool EstRouge(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

class VueGL : public ::testing::Test {
protected:
    void SetUp() override {
        scene.Projection = MatriceOrtho(-12, 12, -9, 9, -1000, 1000);
        Tourner(0.3, 0.5);
        scene.Points.AfficherPts = true;
        scene.Points.Sommets = {{-8, -5, 1}, {-3, 6, -2}, {2, -1, 3}, {7, 4, 0}, {5, -6, -1}};
        scene.Points.Couleurs.assign(scene.Points.Sommets.size(), NoirVue);
        scene.Points.Version = 1;
        vue.resize(L, H);
        vue.FixerRapportEchec(
            [this](const QString& legende, const QString&) { echecs << legende; });
        vue.FixerScene([this](std::int32_t l, std::int32_t h) {
            scene.Viewport = {0, 0, l, h};
            return &scene;
        });
        vue.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&vue));
    }

    void Tourner(double x, double z) {
        TmatGL16 m = IdentiteGL16();
        M3ToGL(RotM3Angles({x, 0, z}), m);
        scene.ModeleVue = m;
    }

    // Where the camera math puts the point: column and row of the picture, rows from the top.
    QPoint Pixel(const TV3S& p) const {
        TV3R w;
        EXPECT_TRUE(
            ProjeterPoint({p.X, p.Y, p.Z}, scene.ModeleVue, scene.Projection, scene.Viewport, w));
        return {int(std::floor(w.X)), H - 1 - int(std::floor(w.Y))};
    }

    // One black pixel for each point, where it projects, and no other.
    void VerifierPoints(const QImage& image) const {
        ASSERT_EQ(image.size(), QSize(L, H));
        int noirs = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < L; ++x)
                noirs += EstNoir(image.pixel(x, y));
        EXPECT_EQ(noirs, int(scene.Points.Sommets.size()));
        for (const TV3S& p : scene.Points.Sommets)
            EXPECT_TRUE(EstNoir(image.pixel(Pixel(p)))) << p.X << " " << p.Y << " " << p.Z;
    }

    TSceneVue scene;
    TGLbox vue;
    QStringList echecs;
};

// A batch of more than a million points, held by the graphics library in several blocks and drawn
// in slices that straddle them, with runs of one colour and with a colour per point: every point
// where the camera puts it, in its colour.
TEST_F(VueGL, UnGrandLotParBlocsEtParTranchesMontreChaquePoint) {
    const std::vector<TV3S> vus = scene.Points.Sommets;
    std::vector<TV3S> grand(1200000, vus[0]);
    for (std::size_t i = 1; i < vus.size(); ++i)
        grand[grand.size() - 1 - 300000 * (i - 1)] = vus[i];
    scene.MaxPointsEnMouvement = 1000;
    scene.MaxPointsParTranche = 70000;
    for (bool parPoint : {false, true}) {
        // Alternate colours cut the batch into too many runs: each point then carries its own.
        scene.Points.Sommets = grand;
        scene.Points.Couleurs.assign(grand.size(), NoirVue);
        if (parPoint)
            for (std::size_t i = 0; i < grand.size(); i += 2)
                scene.Points.Couleurs[i] = TCouleurVue{0, 0, 1};
        ++scene.Points.Version;
        const QImage image = vue.ImageCourante();
        EXPECT_EQ(vue.NbPointsTraces(), std::int64_t(grand.size()));
        scene.Points.Sommets = vus;
        VerifierPoints(image);
    }
}

TEST_F(VueGL, PointsNoirsSurBlancLaOuLesProjetteLaCamera) {
    EXPECT_TRUE(vue.InitOK());
    EXPECT_TRUE(echecs.isEmpty());
    const QImage image = vue.ImageCourante();
    VerifierPoints(image);
    EXPECT_EQ(image.pixel(3, 3), qRgb(255, 255, 255));
    // The origin mark: 5 red pixels across.
    const QPoint o = Pixel({0, 0, 0});
    EXPECT_TRUE(EstRouge(image.pixel(o + QPoint(2, 0))));
    EXPECT_TRUE(EstRouge(image.pixel(o - QPoint(2, 0))));
}

TEST_F(VueGL, LaNavigationRetraceSansReconstruireUneVersionNouvelleReconstruit) {
    scene.Repere.s = L / 15;
    scene.Repere.Faces = DessinerRepere(scene.Repere.s);
    scene.Repere.Projection = MatriceOrtho(0, L, 0, H, -1000, 1000);
    scene.Repere.ModeleVue = Translater(IdentiteGL16(), scene.Repere.s, scene.Repere.s, 0);
    ++scene.Repere.Version;
    VerifierPoints(vue.ImageCourante());
    const auto points = vue.NbConstructionsPoints(), repere = vue.NbConstructionsRepere();
    const auto peintures = vue.NbPeintures();
    EXPECT_GE(points, 1);

    Tourner(-0.7, 1.9);
    scene.Projection = MatriceOrtho(-10, 14, -8, 10, -1000, 1000);
    vue.Redessiner();
    EXPECT_TRUE(QTest::qWaitFor([&] { return vue.NbPeintures() > peintures; }));
    const QImage image = vue.ImageCourante();
    VerifierPoints(image);
    EXPECT_EQ(vue.NbConstructionsPoints(), points);
    EXPECT_EQ(vue.NbConstructionsRepere(), repere);
    // The axes symbol sits in the lower-left corner: the cones of X (green) and Y (red).
    const int s = scene.Repere.s, pointe = s + s * 17 / 20;
    EXPECT_EQ(image.pixel(pointe, H - 1 - s), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(s, H - 1 - pointe), qRgb(255, 0, 0));

    // A new batch: a point turned red, one point fewer.
    scene.Points.Couleurs[0] = RougeVue;
    scene.Points.Sommets.pop_back();
    scene.Points.Couleurs.pop_back();
    ++scene.Points.Version;
    const QImage apres = vue.ImageCourante();
    EXPECT_EQ(vue.NbConstructionsPoints(), points + 1);
    EXPECT_EQ(vue.NbConstructionsRepere(), repere);
    EXPECT_TRUE(EstRouge(apres.pixel(Pixel(scene.Points.Sommets[0]))));

    // Another source of scenes: its versions say nothing of what was built.
    TSceneVue autre = scene;
    autre.Points.Couleurs[0] = NoirVue;
    vue.FixerScene([&](std::int32_t, std::int32_t) { return &autre; });
    EXPECT_TRUE(EstNoir(vue.ImageCourante().pixel(Pixel(scene.Points.Sommets[0]))));
    EXPECT_EQ(vue.NbConstructionsPoints(), points + 2);
    EXPECT_EQ(vue.NbConstructionsRepere(), repere + 1);
}

TEST_F(VueGL, ChaquePointASaCouleurQuEllesSeSuiventOuSeMelent) {
    // A lattice of points on pixel centres, one every 4 pixels.
    scene.Projection = MatriceOrtho(0, L, 0, H, -1000, 1000);
    scene.ModeleVue = IdentiteGL16();
    scene.Points.Sommets.clear();
    for (int y = 2; y < H; y += 4)
        for (int x = 2; x < L; x += 4)
            scene.Points.Sommets.push_back({float(x) + 0.5f, float(y) + 0.5f, 0});
    const std::size_t n = scene.Points.Sommets.size();
    ASSERT_GT(n, 2000u);
    const std::function<TCouleurVue(std::size_t)> motifs[] = {
        [&](std::size_t i) { return i >= n / 3 && i < n / 2 ? RougeVue : NoirVue; },
        [](std::size_t i) { return i % 2 ? RougeVue : (i % 3 ? CyanVue : NoirVue); },
    };
    for (const auto& motif : motifs) {
        scene.Points.Couleurs.clear();
        for (std::size_t i = 0; i < n; ++i)
            scene.Points.Couleurs.push_back(motif(i));
        ++scene.Points.Version;
        const QImage image = vue.ImageCourante();
        int fautes = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const TCouleurVue c = scene.Points.Couleurs[i];
            fautes += image.pixel(Pixel(scene.Points.Sommets[i])) != qRgb(c.R, c.V, c.B);
        }
        EXPECT_EQ(fautes, 0);
    }
}

TEST_F(VueGL, UnTraceQuiDemandeASeRetracerNeBouclePas) {
    vue.FixerScene([this](std::int32_t l, std::int32_t h) {
        vue.Redessiner();
        scene.Viewport = {0, 0, l, h};
        return &scene;
    });
    const auto peintures = vue.NbPeintures();
    vue.Redessiner();
    EXPECT_TRUE(QTest::qWaitFor([&] { return vue.NbPeintures() > peintures; }));
    QTest::qWait(200);
    EXPECT_EQ(vue.NbPeintures(), peintures + 1);
}

// A view larger than the graphics card can draw into shows nothing and says why, once; back to a
// drawable size, it draws again.
TEST_F(VueGL, UneVueTropGrandePourLaCarteLeDitEtNeMontreRien) {
    QStringList erreurs;
    QObject::connect(&vue, &TGLbox::ErreurTrace, [&](const QString& m) { erreurs << m; });
    vue.resize(30000, 40);
    EXPECT_TRUE(vue.ImageCourante().isNull());
    EXPECT_TRUE(vue.ImageCourante().isNull());
    QTest::qWait(50);
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].startsWith("la vue de 30000 × 40 pixels dépasse ce que la carte "
                                      "graphique peut dessiner"))
        << erreurs[0].toStdString();
    vue.resize(L, H);
    QTest::qWait(50);
    VerifierPoints(vue.ImageCourante());
}

// The view's buffers and lists are released while its native window still exists, with the
// context current on it: the window container destroys that window before deleting the view's.
TEST_F(VueGL, LesObjetsGLSontLiberesAvantQueLaFenetreNativeDisparaisse) {
    ASSERT_FALSE(vue.ImageCourante().isNull());
    TSurfaceGL* surface = nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (auto* s = dynamic_cast<TSurfaceGL*>(w)) surface = s;
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(surface->Pret());
    surface->destroy();
    EXPECT_FALSE(surface->Pret());
}

TEST_F(VueGL, LaBandeSeDessineParDessusSansRetracerLaVue) {
    QTest::qWait(100);
    const auto peintures = vue.NbPeintures();

    TBandeSelection b;
    for (int x : {60, 90, 150}) {
        b.Rafraichir({30, 20}, {x, 130}, 0);
        vue.AfficherBande(b);
        QTest::qWait(30);
    }
    EXPECT_TRUE(vue.BandeVisible());
    EXPECT_EQ(vue.NbPeintures(), peintures);

    // On screen: dashes one pixel inside the corners, the 3D picture still beneath.
    auto ecran = [&] { return vue.screen()->grabWindow(vue.winId()).toImage(); };
    QImage image = ecran();
    EXPECT_TRUE(EstRouge(image.pixel(31, 21)));
    EXPECT_FALSE(EstRouge(image.pixel(30, 20)));
    EXPECT_FALSE(EstRouge(image.pixel(100, 75)));
    EXPECT_TRUE(EstNoir(image.pixel(Pixel(scene.Points.Sommets[2]))));

    b.Masquer();
    vue.AfficherBande(b);
    EXPECT_FALSE(vue.BandeVisible());
    image = ecran();
    EXPECT_FALSE(EstRouge(image.pixel(31, 21)));
    EXPECT_EQ(vue.NbPeintures(), peintures);
}

TEST_F(VueGL, CopieDeLImageDeLaVueDansLePressePapier) {
    QGuiApplication::clipboard()->clear();
    const auto peintures = vue.NbPeintures();
    ASSERT_TRUE(vue.CopyToClipboard());
    EXPECT_EQ(vue.NbPeintures(), peintures); // the picture shown, not a new drawing
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(image.size(), QSize(L, H) * vue.devicePixelRatio());
    VerifierPoints(image);
}

TEST_F(VueGL, RapportSurLeMaterielEtModesDAffichage) {
    const QStringList info = vue.InfoSurMateriel();
    ASSERT_GT(info.size(), 14);
    EXPECT_EQ(info[0], QString::fromUtf8("Écran :"));
    EXPECT_TRUE(info[8].startsWith("    Version : ") && info[8].size() > 14);
    EXPECT_TRUE(info[14].startsWith(QString(17, ' ') + "GL_"));
    EXPECT_FALSE(vue.ObtenirResolutions().isEmpty());
    EXPECT_EQ(vue.FlagPixels(), 33);
}

TEST_F(VueGL, SourisMoletteEtTouchesSignalees) {
    QStringList recu;
    auto texte = [](TPointEcran p) { return QString("%1,%2").arg(p.X).arg(p.Y); };
    QObject::connect(&vue, &TGLbox::SourisEnfoncee, [&](TPointEcran p, Qt::MouseButton b, bool s) {
        recu << QString("enfoncee %1 %2 %3").arg(texte(p)).arg(int(b)).arg(s);
    });
    QObject::connect(&vue, &TGLbox::SourisDeplacee, [&](TPointEcran p, TBoutonsSouris b, bool s) {
        recu << QString("deplacee %1 %2%3 %4").arg(texte(p)).arg(b.Gauche).arg(b.Milieu).arg(s);
    });
    QObject::connect(&vue, &TGLbox::SourisRelachee, [&](TPointEcran p, Qt::MouseButton b, bool s) {
        recu << QString("relachee %1 %2 %3").arg(texte(p)).arg(int(b)).arg(s);
    });
    QObject::connect(&vue, &TGLbox::MoletteTournee, [&](std::int32_t d, TPointEcran p, bool s) {
        recu << QString("molette %1 %2 %3").arg(d).arg(texte(p)).arg(s);
    });
    QObject::connect(&vue, &TGLbox::ToucheEnfoncee, [&](int touche, Qt::KeyboardModifiers) {
        recu << QString("touche %1").arg(touche);
    });
    const QPointF a(10, 20), b(30, 40);
    QMouseEvent presse(QEvent::MouseButtonPress, a, vue.mapToGlobal(a), Qt::MiddleButton,
                       Qt::MiddleButton, Qt::ShiftModifier);
    QMouseEvent bouge(QEvent::MouseMove, b, vue.mapToGlobal(b), Qt::NoButton,
                      Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier);
    QMouseEvent lache(QEvent::MouseButtonRelease, b, vue.mapToGlobal(b), Qt::MiddleButton,
                      Qt::NoButton, Qt::NoModifier);
    QWheelEvent molette(a, vue.mapToGlobal(a), {}, {0, -120}, Qt::NoButton, Qt::ShiftModifier,
                        Qt::NoScrollPhase, false);
    for (QEvent* e : std::initializer_list<QEvent*>{&presse, &bouge, &lache, &molette})
        QApplication::sendEvent(&vue, e);
    QTest::keyClick(&vue, Qt::Key_Escape);
    EXPECT_EQ(recu,
              QStringList({"enfoncee 10,20 4 1", "deplacee 30,40 11 0", "relachee 30,40 4 0",
                           "molette -120 10,20 1", QString("touche %1").arg(int(Qt::Key_Escape))}));
}

// Run alone with the window system's OpenGL turned off (QT_XCB_GL_INTEGRATION=none).
TEST(VueSansContexte, LegendeClaireEtVueInerte) {
    if (qEnvironmentVariable("QT_XCB_GL_INTEGRATION") != "none")
        GTEST_SKIP() << "seulement sans OpenGL";
    QStringList echecs;
    int appels = 0;
    TGLbox vue;
    vue.FixerRapportEchec([&](const QString& legende, const QString&) { echecs << legende; });
    vue.FixerScene([&](std::int32_t, std::int32_t) -> TSceneVue* {
        ++appels;
        return nullptr;
    });
    vue.resize(L, H);
    vue.show();
    QTest::qWait(200);
    EXPECT_EQ(echecs, QStringList({QString::fromUtf8("Création de la passerelle OpenGL")}));
    EXPECT_FALSE(vue.InitOK());
    EXPECT_EQ(appels, 0);
    EXPECT_EQ(vue.InfoSurMateriel(), QStringList({QString::fromUtf8(InfoNonInitialise)}));
    EXPECT_FALSE(vue.CopyToClipboard());
    vue.Redessiner();
    QTest::qWait(50);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
