// The 3D view in the main window on a real X server: the picture where the camera math puts the
// cloud, the rubber band, navigation without rebuilding the points, "Définir axe X", the copy.

#include "FenetreEssai.h"
#include "Modales.h"
#include "scan/Decalage.h"
#include "view/GLbox.h"
#include "view/LecturePoint.h"
#include "view/NavigationVue.h"
#include "view/Projection.h"
#include "view/SourisVue.h"
#include "view/SurfaceGL.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

using TPixels = std::set<std::pair<int, int>>;

bool EstNoir(QRgb c) {
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool EstRouge(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

// Every menu item, depth first in menu order.
void ParcourirActions(const QList<QAction*>& actions, std::vector<QAction*>& toutes) {
    for (QAction* a : actions) {
        toutes.push_back(a);
        if (a->menu()) ParcourirActions(a->menu()->actions(), toutes);
    }
}

struct VueFenetre : ::testing::Test {
    TDossierTemporaire Dossier;
    std::unique_ptr<TFArkalune> f = FenetrePrete();
    TGLbox* Vue = nullptr;

    TEspaceTravail& T() { return f->Travail(); }

    void SetUp() override {
        f->OuvrirFichier(QString::fromStdString(CopieExemple(Dossier)));
        Vue = &Enfant<TGLbox>(*f, "VGL");
        ASSERT_TRUE(T().ScanPret);
        ASSERT_TRUE(Prete());
    }

    // The point batch rebuilt and no command running.
    bool Prete() {
        return Attendre([&] { return !f->Occupe() && !T().Vue.PointsPerimes; });
    }

    QImage Image() { return Vue->ImageCourante().convertToFormat(QImage::Format_RGB32); }

    // Where the last drawing's camera puts p: column, and row from the top.
    std::pair<int, int> Pixel(const TV3S& p) {
        const TEtatVue& v = T().Vue;
        TV3R w;
        EXPECT_TRUE(ProjeterPoint({p.X, p.Y, p.Z}, v.mvmatrix, v.projmatrix, v.viewport, w));
        return {int(std::floor(w.X)), v.VGLheight - 1 - int(std::floor(w.Y))};
    }

    // The pixels of the drawn cubes that `retenir` keeps, within the view.
    template <class F> TPixels PixelsCubes(F&& retenir) {
        TPixels pixels;
        for (const TCube* c : T().Scan.CubesAffiches) {
            if ((c->etatSP & (EtatMasque | EtatSupprime)) || !retenir(*c)) continue;
            const auto p = Pixel(c->CooMoyPts);
            if (p.first >= 0 && p.second >= 0 && p.first < Vue->width() && p.second < Vue->height())
                pixels.insert(p);
        }
        return pixels;
    }

    // The pixels of that colour, but for the axes symbol in the lower-left corner and the origin
    // mark, which are no cubes.
    template <class F> TPixels PixelsImage(const QImage& image, F&& couleur) {
        const int cote = 5 * (image.width() / 15) / 2;
        const auto origine = Pixel({0, 0, 0});
        TPixels pixels;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (couleur(image.pixel(x, y)) && !(x < cote && y >= image.height() - cote) &&
                    !(std::abs(x - origine.first) <= 3 && std::abs(y - origine.second) <= 3))
                    pixels.insert({x, y});
        return pixels;
    }

    // The picture and the camera agree: nearly every projected cube is a pixel of that colour, and
    // nearly every pixel of that colour is a projected cube (the rest: rounding at pixel edges).
    static void Concordance(const TPixels& projetes, const TPixels& colores) {
        ASSERT_GT(projetes.size(), 50u);
        std::size_t communs = 0;
        for (const auto& p : projetes)
            communs += colores.count(p);
        EXPECT_GE(double(communs), 0.97 * double(projetes.size()));
        EXPECT_GE(double(communs), 0.97 * double(colores.size()));
    }

    void VerifierNuage() {
        const QImage image = Image();
        ASSERT_EQ(image.size(), Vue->size());
        const TPixels noirs = PixelsImage(image, EstNoir);
        // White around the cloud.
        EXPECT_GT(PixelsImage(image, [](QRgb c) { return c == qRgb(255, 255, 255); }).size(),
                  std::size_t(image.width() * image.height() / 3));
        Concordance(PixelsCubes([](const TCube&) { return true; }), noirs);
    }

    void Souris(QEvent::Type type, QPoint p, Qt::MouseButton bouton, Qt::MouseButtons boutons,
                Qt::KeyboardModifiers touches = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(p), Vue->mapToGlobal(QPointF(p)), bouton, boutons, touches);
        QApplication::sendEvent(Vue, &e);
    }
    void Molette(QWidget& sous, QPoint pVue, int delta, Qt::KeyboardModifiers touches = {}) {
        const QPointF global = Vue->mapToGlobal(QPointF(pVue));
        QWheelEvent e(sous.mapFromGlobal(global), global, {}, {0, delta}, Qt::NoButton, touches,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&sous, &e);
    }
    // The cubes drawn in the middle of the view selected, as a rubber band would, and drawn red.
    bool SelectionnerMilieu() {
        T().Vue.DebutGlissementSelection = {Vue->width() / 3, Vue->height() / 3};
        T().SelectionnerRectangle(Vue->width() / 2, Vue->height() * 2 / 3);
        T().RetracerPoints();
        return Prete();
    }
    void Cliquer(QPoint p) {
        Souris(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Souris(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
};

} // namespace

TEST_F(VueFenetre, LeNuageEstDessineOuLaCameraLeProjette) {
    VerifierNuage();
    EXPECT_EQ(Vue->cursor().shape(), Qt::CrossCursor);
    // Copied from the first three tabs: the picture of the view.
    QGuiApplication::clipboard()->clear();
    Enfant<QAbstractButton>(*f, "BtResulPP").click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), Vue->size());
}

// Once the graphics library holds the whole batch, the window gives its copy back; a new context
// (the view's native window destroyed and made again) has the batch built again from the cubes.
TEST_F(VueFenetre, UnNouveauContexteFaitRefaireLeLotRendu) {
    ASSERT_TRUE(Attendre([&] { return T().Scene.Points.Rendu; }));
    EXPECT_EQ(T().Scene.Points.Sommets.capacity(), 0u);
    EXPECT_EQ(T().Scene.Points.Couleurs.capacity(), 0u);
    TSurfaceGL* surface = nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (auto* s = dynamic_cast<TSurfaceGL*>(w)) surface = s;
    ASSERT_NE(surface, nullptr);
    const std::uint64_t version = T().Scene.Points.Version;
    surface->destroy();
    ASSERT_FALSE(surface->Pret());
    surface->create();
    surface->show();
    ASSERT_TRUE(Attendre([&] { return surface->Pret() && T().Scene.Points.Version > version; }));
    ASSERT_TRUE(Prete());
    VerifierNuage();
}

TEST_F(VueFenetre, UneBandeSelectionneLesCubesQuiRougissent) {
    Image();
    QTest::qWait(100); // the paints asked for so far
    const std::int64_t peintures = Vue->NbPeintures();
    const std::int64_t constructions = Vue->NbConstructionsPoints();
    const QPoint a(Vue->width() / 3, Vue->height() / 3), b(Vue->width() / 2, Vue->height() * 2 / 3);
    // The cubes the rectangle holds in the picture seen before the drag.
    const TPixels dedans = PixelsCubes([&](const TCube& c) {
        const auto p = Pixel(c.CooMoyPts);
        return p.first > a.x() && p.first < b.x() && p.second > a.y() && p.second < b.y();
    });

    Souris(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    for (int pas = 1; pas <= 4; ++pas)
        Souris(QEvent::MouseMove, a + (b - a) * pas / 4, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Vue->BandeVisible());
    QTest::qWait(50);
    EXPECT_EQ(Vue->NbPeintures(), peintures); // the picture is not drawn again under the band
    Souris(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(Vue->BandeVisible());
    ASSERT_TRUE(Prete());
    const TPixels rouges = PixelsImage(Image(), EstRouge);
    EXPECT_EQ(Vue->NbConstructionsPoints(), constructions + 1);
    TPixels selectionnes =
        PixelsCubes([](const TCube& c) { return (c.etatSP & EtatSelectionne) != 0; });
    EXPECT_GE(selectionnes.size(), dedans.size());
    Concordance(selectionnes, rouges);
}

TEST_F(VueFenetre, LaNavigationSuitLaCameraSansReconstruireLesPoints) {
    Image();
    const std::int64_t constructions = Vue->NbConstructionsPoints();
    const QPoint p(Vue->width() / 4, Vue->height() / 3);
    struct TPas {
        const char* nom;
        std::function<void()> geste;
        std::function<void(TEtatVue&)> calcul; // the same step through the camera math
    };
    const int l = Vue->width();
    const TPas pas[] = {
        {"molette", [&] { Molette(*Vue, p, 120); },
         [&](TEtatVue& v) {
             ZoomerMolette(v, 120, {p.x(), p.y()}, false);
         }},
        // Anywhere over the window, and Shift as it was at the event.
        {"molette Maj hors de la vue",
         [&] { Molette(Enfant<QWidget>(*f, "PnTop"), p, -120, Qt::ShiftModifier); },
         [&](TEtatVue& v) {
             ZoomerMolette(v, -120, {p.x(), p.y()}, true);
         }},
        {"+", [&] { Enfant<QAbstractButton>(*f, "SBtEchPlus").click(); },
         [](TEtatVue& v) { ZoomerBouton(v, true); }},
        {"-", [&] { Enfant<QAbstractButton>(*f, "SBtEchMoins").click(); },
         [](TEtatVue& v) { ZoomerBouton(v, false); }},
        {"Z", [&] { Enfant<QAbstractButton>(*f, "SBtVueSvtZ").click(); },
         [](TEtatVue& v) { OrienterCamera(v, 3); }},
        {"X", [&] { Enfant<QAbstractButton>(*f, "SBtVueSvtX").click(); },
         [](TEtatVue& v) { OrienterCamera(v, 2); }},
        {"bouton du milieu",
         [&] {
             Souris(QEvent::MouseButtonPress, p, Qt::MiddleButton, Qt::MiddleButton);
             Souris(QEvent::MouseMove, p + QPoint(25, 0), Qt::NoButton, Qt::MiddleButton);
             Souris(QEvent::MouseButtonRelease, p + QPoint(25, 0), Qt::MiddleButton, {});
         },
         [&](TEtatVue& v) { v.LongAbsDeg -= int(std::nearbyint(25.0 * 90 / l)); }},
        {"Maj bouton du milieu",
         [&] {
             Souris(QEvent::MouseButtonPress, p, Qt::MiddleButton, Qt::MiddleButton,
                    Qt::ShiftModifier);
             Souris(QEvent::MouseMove, p + QPoint(0, 30), Qt::NoButton, Qt::MiddleButton,
                    Qt::ShiftModifier);
             Souris(QEvent::MouseButtonRelease, p + QPoint(0, 30), Qt::MiddleButton, {},
                    Qt::ShiftModifier);
         },
         [](TEtatVue& v) { DeplacerCentre(v, 0, 30); }},
    };
    for (const TPas& e : pas) {
        SCOPED_TRACE(e.nom);
        TEtatVue attendu = T().Vue;
        e.calcul(attendu);
        const QImage avant = Image();
        e.geste();
        // The full picture, once the motion has paused.
        ASSERT_TRUE(Prete());
        ASSERT_TRUE(Attendre([&] { return !T().Vue.EnMouvement; }));
        const TEtatVue& v = T().Vue;
        EXPECT_EQ(v.CoefZoom, attendu.CoefZoom);
        EXPECT_EQ(v.CentreRotAbs, attendu.CentreRotAbs);
        EXPECT_EQ(v.LongAbsDeg, attendu.LongAbsDeg);
        EXPECT_EQ(v.LatAbsDeg, attendu.LatAbsDeg);
        EXPECT_NE(Image(), avant);
        VerifierNuage();
    }
    EXPECT_EQ(Vue->NbConstructionsPoints(), constructions);
}

TEST_F(VueFenetre, LesCouleursDuReleveEtLaSelectionEnRouge) {
    Enfant<QAction>(*f, "MiCouleursReleve").trigger();
    ASSERT_TRUE(Prete());
    EXPECT_TRUE(Enfant<QAction>(*f, "MiCouleursReleve").isChecked());
    EXPECT_FALSE(Enfant<QAction>(*f, "MiCouleursNoir").isChecked());
    // Each pixel where cubes fall has the mean colour of one of them (the frontmost wins).
    const auto VerifierCouleurs = [&] {
        const QImage image = Image();
        std::map<std::pair<int, int>, std::vector<QRgb>> attendues;
        for (const TCube* c : T().Scan.CubesAffiches) {
            if (c->etatSP & (EtatMasque | EtatSupprime)) continue;
            const auto p = Pixel(c->CooMoyPts);
            const QRgb couleur = (c->etatSP & EtatSelectionne)
                                     ? qRgb(255, 0, 0)
                                     : qRgb(c->ColCube[0], c->ColCube[1], c->ColCube[2]);
            attendues[p].push_back(couleur);
        }
        const TPixels retenus = PixelsImage(image, [](QRgb) { return true; });
        std::size_t vus = 0, justes = 0, noirs = 0;
        for (const auto& [p, couleurs] : attendues) {
            if (!retenus.count(p)) continue;
            const QRgb c = image.pixel(p.first, p.second);
            ++vus;
            noirs += EstNoir(c);
            justes += std::any_of(couleurs.begin(), couleurs.end(), [c](QRgb a) {
                return std::abs(qRed(a) - qRed(c)) <= 2 && std::abs(qGreen(a) - qGreen(c)) <= 2 &&
                       std::abs(qBlue(a) - qBlue(c)) <= 2;
            });
        }
        ASSERT_GT(vus, 1000u);
        EXPECT_GE(double(justes), 0.97 * double(vus));
        EXPECT_LT(noirs, vus / 100); // the survey's colours, not black
    };
    VerifierCouleurs();

    // A selection stays pure red, and red is nowhere else.
    ASSERT_TRUE(SelectionnerMilieu());
    VerifierCouleurs();
    const TPixels selectionnes =
        PixelsCubes([](const TCube& c) { return (c.etatSP & EtatSelectionne) != 0; });
    Concordance(selectionnes, PixelsImage(Image(), [](QRgb c) { return c == qRgb(255, 0, 0); }));

    T().Deselectionner();
    Enfant<QAction>(*f, "MiCouleursNoir").trigger();
    ASSERT_TRUE(Prete());
    VerifierNuage();
}

TEST_F(VueFenetre, UnClicLitLePointEtCtrlLaDistance) {
    Image();
    // Two drawn cubes, far apart on the screen.
    const TListeCubes& cubes = T().Scan.CubesAffiches;
    const TCube* a = cubes.front();
    const TCube* b = cubes.back();
    const auto pa = Pixel(a->CooMoyPts), pb = Pixel(b->CooMoyPts);
    const auto Lu = [&](std::pair<int, int> p) {
        const TCube* c = T().CubeSousPointeur(p.first, p.second);
        EXPECT_NE(c, nullptr);
        return CoordonneesDuLeve(c->CooMoyPts, T().Scan.Decalage);
    };
    const TV3R la = Lu(pa), lb = Lu(pb);
    auto& panneau = Enfant<QLabel>(*f, "SBinfo0");
    Cliquer({pa.first, pa.second});
    EXPECT_EQ(panneau.text().toStdString(), TexteLecturePoint(la, std::nullopt));
    Souris(QEvent::MouseButtonPress, {pb.first, pb.second}, Qt::LeftButton, Qt::LeftButton,
           Qt::ControlModifier);
    Souris(QEvent::MouseButtonRelease, {pb.first, pb.second}, Qt::LeftButton, Qt::NoButton,
           Qt::ControlModifier);
    const std::string texte = panneau.text().toStdString();
    EXPECT_EQ(texte, TexteLecturePoint(lb, la));
    EXPECT_NE(texte.find(" ; distance : "), std::string::npos);
    // Nothing was selected by the clicks.
    EXPECT_TRUE(std::none_of(cubes.begin(), cubes.end(),
                             [](const TCube* c) { return c->etatSP & EtatSelectionne; }));
}

// A new batch too large for one frame is shown thinned at once; the whole picture is drawn slice
// by slice over later turns of the event loop, the thinned one staying on screen meanwhile, and
// replaces it once complete.
TEST_F(VueFenetre, UnNouveauLotDAbordApercuPuisEntierParTranches) {
    T().Scene.MaxPointsEnMouvement = 2000;
    T().Scene.MaxPointsParTranche = 500;
    const auto Selectionne = [](const TCube& c) { return (c.etatSP & EtatSelectionne) != 0; };
    const auto NonSelectionne = [](const TCube& c) { return (c.etatSP & EtatSelectionne) == 0; };
    const std::int64_t peintures = Vue->NbPeintures(), achevees = Vue->NbImagesAchevees();
    T().Vue.DebutGlissementSelection = {Vue->width() / 3, Vue->height() / 3};
    T().SelectionnerRectangle(Vue->width() / 2, Vue->height() * 2 / 3);
    T().RetracerPoints();

    // One turn of the event loop at a time, until the whole picture is shown.
    int toursEnAttente = 0;
    QImage apercu;
    QElapsedTimer limite;
    limite.start();
    while (Vue->NbImagesAchevees() == achevees && limite.elapsed() < 20000) {
        QCoreApplication::processEvents();
        if (Vue->NbPeintures() == peintures || Vue->NbImagesAchevees() != achevees) continue;
        ++toursEnAttente;
        if (apercu.isNull()) {
            EXPECT_LE(Vue->NbPointsTraces(), 2000);
            apercu = Vue->ImageAffichee().convertToFormat(QImage::Format_RGB32);
        }
    }
    ASSERT_GT(Vue->NbImagesAchevees(), achevees);
    EXPECT_EQ(Vue->NbPeintures(), peintures + 1);
    EXPECT_GT(toursEnAttente, 3);
    ASSERT_FALSE(apercu.isNull());
    // The thinned picture: no red where nothing is selected, nor black where something is.
    const TPixels noirs = PixelsImage(apercu, EstNoir), rouges = PixelsImage(apercu, EstRouge);
    const std::size_t tous = T().Scan.CubesAffiches.size();
    EXPECT_GT(noirs.size(), 200u);
    EXPECT_GT(rouges.size(), 20u);
    EXPECT_LT(noirs.size() + rouges.size(), tous / 2);
    for (const auto& [colores, projetes] : {std::pair(noirs, PixelsCubes(NonSelectionne)),
                                            std::pair(rouges, PixelsCubes(Selectionne))}) {
        std::size_t communs = 0;
        for (const auto& p : colores)
            communs += projetes.count(p);
        EXPECT_GE(double(communs), 0.97 * double(colores.size()));
    }

    // Then the whole picture, as drawn in one piece.
    EXPECT_EQ(Vue->NbPointsTraces(), std::int64_t(tous));
    const QImage entiere = Vue->ImageAffichee().convertToFormat(QImage::Format_RGB32);
    Concordance(PixelsCubes(NonSelectionne), PixelsImage(entiere, EstNoir));
    Concordance(PixelsCubes(Selectionne), PixelsImage(entiere, EstRouge));
    EXPECT_EQ(entiere, Image());
}

TEST_F(VueFenetre, EnMouvementUnApercuPuisToutApresLaPause) {
    T().Scene.MaxPointsEnMouvement = 2000;
    ASSERT_TRUE(SelectionnerMilieu());
    Image();
    const std::int64_t tous = Vue->NbPointsTraces();
    ASSERT_GT(tous, 4 * 2000);
    const auto Selectionne = [](const TCube& c) { return (c.etatSP & EtatSelectionne) != 0; };
    const auto NonSelectionne = [](const TCube& c) { return (c.etatSP & EtatSelectionne) == 0; };
    // Every coloured pixel is a cube of that colour where the camera puts it.
    const auto Inclus = [](const TPixels& colores, const TPixels& projetes) {
        std::size_t communs = 0;
        for (const auto& p : colores)
            communs += projetes.count(p);
        EXPECT_GE(double(communs), 0.97 * double(colores.size()));
    };

    const std::int64_t constructions = Vue->NbConstructionsPoints();
    Molette(*Vue, QPoint(Vue->width() / 4, Vue->height() / 3), 120);
    ASSERT_TRUE(T().Vue.EnMouvement);
    const QImage apercu = Image();
    EXPECT_LE(Vue->NbPointsTraces(), 2000);
    EXPECT_GT(Vue->NbPointsTraces(), 1000);
    const TPixels noirs = PixelsImage(apercu, EstNoir);
    const TPixels rouges = PixelsImage(apercu, EstRouge);
    EXPECT_GT(noirs.size(), 200u);
    EXPECT_GT(rouges.size(), 20u);
    EXPECT_LT(noirs.size() + rouges.size(), std::size_t(tous) / 2);
    Inclus(noirs, PixelsCubes(NonSelectionne));
    Inclus(rouges, PixelsCubes(Selectionne));

    // After the pause, the whole batch again, without rebuilding it.
    ASSERT_TRUE(Attendre([&] { return !T().Vue.EnMouvement && Vue->NbPointsTraces() == tous; }));
    const QImage entiere = Image();
    EXPECT_EQ(Vue->NbPointsTraces(), tous);
    Concordance(PixelsCubes(NonSelectionne), PixelsImage(entiere, EstNoir));
    Concordance(PixelsCubes(Selectionne), PixelsImage(entiere, EstRouge));
    EXPECT_EQ(Vue->NbConstructionsPoints(), constructions);
}

TEST_F(VueFenetre, UnChampEnCoursDeSaisieGardeLeClavier) {
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    auto& rotZ = Enfant<QLineEdit>(*f, "EdRotZ");
    rotZ.setFocus();
    ASSERT_TRUE(Attendre([&] { return rotZ.hasFocus(); }));
    Souris(QEvent::MouseMove, {20, 20}, Qt::NoButton, {});
    EXPECT_TRUE(rotZ.hasFocus());
    Enfant<QWidget>(*f, "CkBxVoirPoints").setFocus();
    Souris(QEvent::MouseMove, {30, 30}, Qt::NoButton, {});
    EXPECT_TRUE(Attendre([&] { return Vue->hasFocus(); }));
}

TEST_F(VueFenetre, DefinirAxeXGeleLesMenusPuisRecadreLeScan) {
    std::vector<QAction*> actions;
    ParcourirActions(f->menuBar()->actions(), actions);
    Enfant<QAction>(*f, "MiAnnulerSuppressions").setEnabled(false);
    std::vector<bool> avant;
    for (QAction* a : actions)
        avant.push_back(a->isEnabled());
    const auto etats = [&] {
        std::vector<bool> e;
        for (QAction* a : actions)
            e.push_back(a->isEnabled());
        return e;
    };
    auto& definir = Enfant<QAction>(*f, "MiDefinirAxeX");

    // Esc while the origin is awaited leaves the designation without a question: the menus
    // back as they were, the prompt gone.
    {
        definir.trigger();
        EXPECT_EQ(etats(), std::vector<bool>(actions.size(), false));
        TReponsesModales modales({Non});
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : f.get(), Qt::Key_Escape);
        QTest::qWait(100);
        EXPECT_TRUE(modales.Textes().isEmpty());
        EXPECT_EQ(etats(), avant);
        EXPECT_EQ(T().ModeDefinirAxeX, 0);
        EXPECT_EQ(Enfant<QLabel>(*f, "SBinfo1").text(), "");
    }

    // Two points designated: the leftmost and the rightmost cubes of the picture.
    Image();
    const TCube *gauche = nullptr, *droite = nullptr;
    for (const TCube* c : T().Scan.CubesAffiches) {
        const int x = Pixel(c->CooMoyPts).first;
        if (!gauche || x < Pixel(gauche->CooMoyPts).first) gauche = c;
        if (!droite || x > Pixel(droite->CooMoyPts).first) droite = c;
    }
    const auto point = [&](const TCube* c) {
        const auto p = Pixel(c->CooMoyPts);
        return QPoint(p.first, p.second);
    };
    const QPoint pGauche = point(gauche), pDroite = point(droite);
    const std::int32_t points = T().Scan.NbCubesNiv[std::size_t(T().Scan.NivMax)];
    definir.trigger();
    // A turn of the camera that ends over the cloud designates nothing; a click whose pointer
    // moves two pixels is still a click.
    const TEtatVue camera = T().Vue;
    Souris(QEvent::MouseButtonPress, pGauche + QPoint(0, 60), Qt::MiddleButton, Qt::MiddleButton);
    Souris(QEvent::MouseMove, pGauche, Qt::NoButton, Qt::MiddleButton);
    Souris(QEvent::MouseButtonRelease, pGauche, Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(T().ModeDefinirAxeX, 1);
    EXPECT_NE(T().Vue.LatAbsDeg, camera.LatAbsDeg);
    T().Vue = camera;
    T().RetracerTout();
    Image();
    Souris(QEvent::MouseButtonPress, pGauche, Qt::LeftButton, Qt::LeftButton);
    Souris(QEvent::MouseMove, pGauche + QPoint(2, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(Vue->BandeVisible());
    Souris(QEvent::MouseButtonRelease, pGauche + QPoint(2, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(T().ModeDefinirAxeX, 2);
    EXPECT_EQ(etats(), std::vector<bool>(actions.size(), false));
    TReponsesModales modales({Valider});
    Cliquer(pDroite);
    EXPECT_EQ(modales.Textes(), QStringList{QString::number(points) + " points traités"});
    EXPECT_EQ(etats(), avant);

    // The scan in its new frame, shown, and to be saved.
    EXPECT_TRUE(T().ScanPret);
    EXPECT_TRUE(T().Scan.ScanModifie);
    EXPECT_EQ(T().Scan.CooMin, (TV3S{0, 0, 0}));
    EXPECT_EQ(T().Scan.NbPoints, points);
    ASSERT_TRUE(Prete());
    VerifierNuage();
    // Undoing the deletions does not take the new frame back.
    auto& annuler = Enfant<QAction>(*f, "MiAnnulerSuppressions");
    annuler.setEnabled(true);
    annuler.trigger();
    EXPECT_TRUE(T().Scan.ScanModifie);
}

namespace {

// How many displayed cubes the last drawing puts inside the view, of how many.
std::pair<std::size_t, std::size_t> CubesDansLaVue(const TEspaceTravail& t) {
    std::size_t dedans = 0;
    for (const TCube* c : t.Scan.CubesAffiches) {
        TV3R w;
        const TEtatVue& v = t.Vue;
        if (ProjeterPoint({c->CooMoyPts.X, c->CooMoyPts.Y, c->CooMoyPts.Z}, v.mvmatrix,
                          v.projmatrix, v.viewport, w) &&
            w.X >= 0 && w.Y >= 0 && w.X <= v.VGLwidth && w.Y <= v.VGLheight)
            ++dedans;
    }
    return {dedans, t.Scan.CubesAffiches.size()};
}

} // namespace

TEST_F(VueFenetre, LeScanEntierAuChargementEtParToutVoir) {
    // The window's own proportions: much wider than high.
    ASSERT_GT(Vue->width(), 2 * Vue->height());
    Image();
    auto [dedans, tous] = CubesDansLaVue(T());
    EXPECT_EQ(dedans, tous);

    // "+" magnifies by a quarter a click: three clicks push the vault's sides out of the view.
    const double zoom = T().Vue.CoefZoom;
    for (int n = 0; n < 3; ++n)
        QTest::mouseClick(&Enfant<QAbstractButton>(*f, "SBtEchPlus"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(T().Vue.CoefZoom, zoom * 1.25 * 1.25 * 1.25);
    Souris(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton,
           Qt::ShiftModifier);
    Souris(QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::MiddleButton, Qt::ShiftModifier);
    Souris(QEvent::MouseButtonRelease, {160, 130}, Qt::MiddleButton, Qt::NoButton);
    ASSERT_TRUE(Prete());
    Image();
    std::tie(dedans, tous) = CubesDansLaVue(T());
    EXPECT_LT(dedans, tous);

    // "Tout voir", from the menu or its key, in any orientation.
    auto& toutVoir = Enfant<QAction>(*f, "MiToutVoir");
    EXPECT_EQ(toutVoir.text(), "Tout voir");
    EXPECT_EQ(toutVoir.shortcut(), QKeySequence(Qt::Key_Home));
    Enfant<QAction>(*f, "MiVueZ").trigger();
    toutVoir.trigger();
    ASSERT_TRUE(Prete());
    Image();
    std::tie(dedans, tous) = CubesDansLaVue(T());
    EXPECT_EQ(dedans, tous);
}

TEST_F(VueFenetre, UnChargementEchoueNeLaissePlusRienDeLAncienScan) {
    const std::string mauvais = Dossier.Chemin("mauvais.xyz");
    EcrireFichier(mauvais, "pas un point\r\n");
    ASSERT_GT(PixelsImage(Image(), EstNoir).size(), 1000u);
    std::size_t noirsPendantLeMessage = 0;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    TReponsesModales modales({[&](QWidget& boite) {
        // The picture on screen while the user reads why.
        Vue->CopyToClipboard();
        noirsPendantLeMessage =
            PixelsImage(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                        EstNoir)
                .size();
        icone = static_cast<QMessageBox&>(boite).icon();
        Valider(boite);
    }});
    f->OuvrirFichier(QString::fromStdString(mauvais));
    ASSERT_TRUE(modales.Epuisees());
    EXPECT_TRUE(modales.Textes().value(0).startsWith("aucun point"));
    EXPECT_EQ(icone, QMessageBox::Warning);
    EXPECT_EQ(noirsPendantLeMessage, 0u);
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Calcul de voûte nervurée"));
    EXPECT_EQ(Enfant<QLabel>(*f, "SBinfo0").text(), "");

    // "Propriétés" says there is no scan rather than the limits of the reals.
    TReponsesModales proprietes({Valider});
    Enfant<QAction>(*f, "MiProprietes").trigger();
    EXPECT_EQ(proprietes.Textes(), QStringList{QString::fromUtf8("aucun scan chargé")});
}

TEST_F(VueFenetre, LeBilanDuChargementResteAffiche) {
    // Half the lines with decimal commas: not points of an XYZ file.
    std::string texte;
    for (int k = 0; k < 400; ++k)
        texte += k % 2 ? "1,5 2,5 3\r\n" : std::to_string(k / 100.0) + " 2 3\r\n";
    const std::string moitie = Dossier.Chemin("moitie.xyz");
    EcrireFichier(moitie, texte);
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    TReponsesModales modales({[&](QWidget& boite) {
        icone = static_cast<QMessageBox&>(boite).icon();
        Valider(boite);
    }});
    f->OuvrirFichier(QString::fromStdString(moitie));
    ASSERT_TRUE(modales.Epuisees());
    EXPECT_EQ(modales.Textes().value(0),
              QString::fromUtf8("« moitie.xyz » : 200 lignes ignorées (ce ne sont pas des points "
                                "X Y Z)"));
    EXPECT_EQ(icone, QMessageBox::Warning);
    // Still there once the view has drawn the points and the progress texts have come and gone.
    ASSERT_TRUE(Prete());
    Image();
    QTest::qWait(50);
    EXPECT_EQ(Enfant<QLabel>(*f, "SBinfo0").text(),
              QString::fromUtf8("200 points chargés ; 200 lignes ignorées (ce ne sont pas des "
                                "points X Y Z)"));
}

TEST_F(VueFenetre, RafraichirDonneLeClavierALaVue) {
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    auto& rotZ = Enfant<QLineEdit>(*f, "EdRotZ");
    rotZ.setFocus();
    ASSERT_TRUE(Attendre([&] { return rotZ.hasFocus(); }));
    Enfant<QAction>(*f, "rafraichir1").trigger();
    EXPECT_TRUE(Attendre([&] { return Vue->hasFocus(); }));
}
