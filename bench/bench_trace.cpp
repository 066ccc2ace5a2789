// The 3D view's drawing under the X server's software OpenGL, on a synthetic vault of 1e5 to 1e7
// points in a 800 x 600 view:
// - Construction: a frame whose point batch has a new version (the batch is built, then drawn
//   whole: in slices over several turns of the event loop once it is too large for one frame);
// - Navigation: a frame with new matrices only (the retained batch is re-executed), with a
//   selection in one piece, then with colours changing at every few points;
// - ListeAffichage: compiling the same batch as a display list, the other way to retain it;
// - Reference: a bare window drawing the same number of black points from a buffer, with the
//   same pipeline, as the yardstick of a navigation frame; also at the moving picture's budget;
// - EnMouvement: a navigation frame while the view moves (the thinned picture);
// - ChangementNiveau: the window's road from level 2 to level 4 on a loaded vault, timed until the
//   first picture is on screen (cubes chosen: choix_s, batch built: lot_s, first picture, thinned
//   when the batch is too large for one frame: image_s); apart, untimed, the whole picture drawn
//   in slices after it (complet_s); and the memory the window then holds per point (resident
//   size less the size before loading, free pages given back: the load's own peak is not in it).
// Run under Xvfb (tests/ihm/sous-xvfb.sh bench_trace).

#include "EcritureVoute.h"
#include "PlateformeConsole.h"
#include "VouteSynthetique.h"
#include "geometry/UtilsGeom.h"
#include "shell/EspaceTravail.h"
#include "view/GLbox.h"
#include "view/Projection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTest>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int L = 800, H = 600;

// The vault's points, framed by the camera; the camera turns by a
// step at each navigation.
struct TBanc {
    TSceneVue Scene;
    TV3R Centre;
    double Rayon = 0;
    int Pas = 0;

    explicit TBanc(std::int64_t n) {
        TParametresVoute p;
        p.NbPoints = n;
        TV3R mini{1e30, 1e30, 1e30}, maxi{-1e30, -1e30, -1e30};
        TLotPoints& lot = Scene.Points;
        lot.AfficherPts = true;
        lot.Sommets.reserve(std::size_t(n));
        lot.Couleurs.reserve(std::size_t(n));
        GenererVoute(p, [&](const TPointGenere& g) {
            lot.Sommets.push_back(V3RToV3S(g.P));
            lot.Couleurs.push_back(NoirVue);
            for (int a = 0; a < 3; ++a) {
                mini[a] = std::min(mini[a], g.P[a]);
                maxi[a] = std::max(maxi[a], g.P[a]);
            }
        });
        Centre = {(mini.X + maxi.X) / 2, (mini.Y + maxi.Y) / 2, (mini.Z + maxi.Z) / 2};
        Rayon = std::sqrt(std::pow(maxi.X - mini.X, 2) + std::pow(maxi.Y - mini.Y, 2) +
                          std::pow(maxi.Z - mini.Z, 2)) /
                2;
        Scene.Repere.s = L / 15;
        Scene.Repere.Faces = DessinerRepere(Scene.Repere.s);
        Scene.Repere.Projection = MatriceOrtho(0, L, 0, H, -1000, 1000);
        Colorier(false);
        Tourner();
    }

    // Black with a selection of a sixth of the points in one piece, or one point in ten red.
    void Colorier(bool melees) {
        std::vector<TCouleurVue>& c = Scene.Points.Couleurs;
        for (std::size_t i = 0; i < c.size(); ++i)
            c[i] =
                (melees ? i % 10 == 0 : i >= c.size() / 3 && i < c.size() / 2) ? RougeVue : NoirVue;
        ++Scene.Points.Version;
    }

    void Tourner() {
        ++Pas;
        TmatGL16 r = IdentiteGL16();
        M3ToGL(RotM3Angles({0.1 * Pas, 0, 0.37 * Pas}), r);
        const double e = Rayon / std::max(L, H);
        Scene.Projection = MatriceOrtho(-e * L, e * L, -e * H, e * H, -1000, 1000);
        Scene.ModeleVue = Translater(r, -Centre.X, -Centre.Y, -Centre.Z);
        Scene.Repere.ModeleVue =
            MultiplierGL16(Translater(IdentiteGL16(), Scene.Repere.s, Scene.Repere.s, 0), r);
    }
};

// One bench at a time: the previous one is freed before the next is generated.
TBanc& Banc(std::int64_t n) {
    static std::unique_ptr<TBanc> banc;
    if (!banc || std::int64_t(banc->Scene.Points.Sommets.size()) != n) {
        banc.reset();
        banc = std::make_unique<TBanc>(n);
    }
    return *banc;
}

// The view, shown once; its scene is the current bench's.
TGLbox& Vue() {
    static TGLbox* vue = [] {
        auto* v = new TGLbox;
        v->resize(L, H);
        v->show();
        if (!QTest::qWaitForWindowExposed(v) || !v->InitOK())
            throw std::runtime_error("pas de vue OpenGL");
        return v;
    }();
    return *vue;
}

void Attendre(const std::function<bool()>& fait) {
    QElapsedTimer attente;
    attente.start();
    while (!fait()) {
        if (attente.elapsed() > 60000) throw std::runtime_error("la vue ne s'est pas redessinée");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// Asks for a drawing, as the window does, and waits until its first picture is on the screen:
// the event that counts the paint also swaps the buffers, and a software renderer swaps only what
// it has finished drawing.
void Image(TGLbox& vue) {
    const auto peintures = vue.NbPeintures();
    vue.Redessiner();
    Attendre([&] { return vue.NbPeintures() != peintures; });
}

// The same, and then until the picture shown has nothing left to draw: a batch too large for one
// frame is first shown thinned, then whole once its slices are drawn.
void ImageAchevee(TGLbox& vue) {
    const auto achevees = vue.NbImagesAchevees();
    Image(vue);
    Attendre([&] { return vue.NbImagesAchevees() != achevees; });
}

void Preparer(TGLbox& vue, TBanc& banc) {
    vue.FixerScene([&banc](std::int32_t l, std::int32_t h) {
        banc.Scene.Viewport = {0, 0, l, h};
        return &banc.Scene;
    });
    ++banc.Scene.Points.Version;
    ImageAchevee(vue);
}

void Construction(benchmark::State& etat) {
    TBanc& banc = Banc(etat.range(0));
    TGLbox& vue = Vue();
    Preparer(vue, banc);
    const auto avant = vue.NbConstructionsPoints();
    for (auto _ : etat) {
        ++banc.Scene.Points.Version;
        ImageAchevee(vue);
    }
    if (vue.NbConstructionsPoints() - avant != std::int64_t(etat.iterations()))
        etat.SkipWithError("le lot n'a pas été reconstruit à chaque image");
}

void Naviguer(benchmark::State& etat, bool couleursMelees) {
    TBanc& banc = Banc(etat.range(0));
    TGLbox& vue = Vue();
    banc.Colorier(couleursMelees);
    Preparer(vue, banc);
    const auto avant = vue.NbConstructionsPoints();
    for (auto _ : etat) {
        banc.Tourner();
        ImageAchevee(vue);
    }
    if (vue.NbConstructionsPoints() != avant)
        etat.SkipWithError("la navigation a reconstruit le lot");
    banc.Colorier(false);
}

void Navigation(benchmark::State& etat) {
    Naviguer(etat, false);
}

void EnMouvement(benchmark::State& etat) {
    TBanc& banc = Banc(etat.range(0));
    banc.Scene.EnMouvement = true;
    Naviguer(etat, false);
    banc.Scene.EnMouvement = false;
    etat.counters["points"] = double(Vue().NbPointsTraces());
}

// Resident size of this process, in bytes, once the allocator has given back its free pages.
double OctetsResidents() {
    ::malloc_trim(0);
    std::ifstream statut("/proc/self/status");
    std::string ligne;
    while (std::getline(statut, ligne))
        if (ligne.rfind("VmRSS:", 0) == 0) return std::stod(ligne.substr(6)) * 1024;
    return 0;
}

void ChangementNiveau(benchmark::State& etat) {
    namespace fs = std::filesystem;
    const std::int64_t n = etat.range(0);
    const double avant = OctetsResidents();
    static TPlateformeConsole plateforme;
    TEspaceTravail travail(plateforme);
    {
        const char* choisi = std::getenv("ARKALUNE_BENCH_DOSSIER");
        std::string dossier =
            ((choisi ? fs::path(choisi) : fs::temp_directory_path()) / "arkalune-trace-XXXXXX")
                .string();
        if (!::mkdtemp(dossier.data())) throw std::runtime_error("dossier temporaire");
        const std::string chemin = (fs::path(dossier) / "voute.xyz").string();
        TParametresVoute p;
        p.NbPoints = n;
        EcrireVoute(p, chemin);
        const bool charge = travail.ChargerScan(chemin);
        fs::remove_all(dossier);
        if (!charge) throw std::runtime_error("la voûte générée n'a pas pu être chargée");
    }
    TGLbox& vue = Vue();
    vue.FixerScene([&travail](std::int32_t l, std::int32_t h) { return travail.VGLDraw(l, h); });
    // Seconds of each step of the last change: cubes chosen, batch built, first picture, and
    // apart the whole picture after it.
    std::array<double, 4> etapes{};
    using Horloge = std::chrono::steady_clock;
    const auto Secondes = [](Horloge::time_point de, Horloge::time_point a) {
        return std::chrono::duration<double>(a - de).count();
    };
    // Timed until the first picture (when `mesure`); then, apart, until the whole one.
    const auto Niveau = [&](int niveau, bool mesure) {
        const auto t0 = Horloge::now();
        travail.FixerNiveauAffiche(niveau);
        const auto t1 = Horloge::now();
        travail.PreparerScene();
        const auto t2 = Horloge::now();
        const auto achevees = vue.NbImagesAchevees();
        Image(vue);
        const auto t3 = Horloge::now();
        if (mesure) etat.PauseTiming();
        Attendre([&] { return vue.NbImagesAchevees() != achevees; });
        etapes = {Secondes(t0, t1), Secondes(t1, t2), Secondes(t2, t3),
                  Secondes(t3, Horloge::now())};
        if (mesure) etat.ResumeTiming();
    };
    for (auto _ : etat) {
        etat.PauseTiming();
        Niveau(2, false);
        etat.ResumeTiming();
        Niveau(4, true);
    }
    etat.counters["choix_s"] = etapes[0];
    etat.counters["lot_s"] = etapes[1];
    etat.counters["image_s"] = etapes[2];
    etat.counters["complet_s"] = etapes[3];
    etat.counters["cubes"] = double(travail.Scan.CubesAffiches.size());
    etat.counters["octets/point"] = (OctetsResidents() - avant) / double(n);
    vue.FixerScene({});
}

// Colours that change at every few points: each point carries its own.
void NavigationCouleursMelees(benchmark::State& etat) {
    Naviguer(etat, true);
}

// A bare window and context, outside the widgets.
struct TFenetreNue {
    QWindow Fenetre;
    QOpenGLContext Contexte;
    TFenetreNue() {
        QSurfaceFormat f;
        f.setProfile(QSurfaceFormat::CompatibilityProfile);
        f.setDepthBufferSize(16);
        Fenetre.setSurfaceType(QSurface::OpenGLSurface);
        Fenetre.setFormat(f);
        Fenetre.resize(L, H);
        Fenetre.show();
        if (!QTest::qWaitForWindowExposed(&Fenetre)) throw std::runtime_error("fenêtre nue");
        Contexte.setFormat(f);
        if (!Contexte.create() || !Contexte.makeCurrent(&Fenetre))
            throw std::runtime_error("contexte de la fenêtre nue");
    }
};

void ListeAffichage(benchmark::State& etat) {
    TBanc& banc = Banc(etat.range(0));
    TFenetreNue nue;
    const TLotPoints& lot = banc.Scene.Points;
    const GLuint liste = glGenLists(1);
    for (auto _ : etat) {
        glNewList(liste, GL_COMPILE);
        glBegin(GL_POINTS);
        for (std::size_t i = 0; i < lot.Sommets.size(); ++i) {
            glColor3ubv(&lot.Couleurs[i].R);
            glVertex3fv(&lot.Sommets[i].X);
        }
        glEnd();
        glEndList();
        glFinish();
    }
    glDeleteLists(liste, 1);
}

void Reference(benchmark::State& etat) {
    TBanc& banc = Banc(etat.range(0));
    TFenetreNue nue;
    QOpenGLFunctions gl(&nue.Contexte);
    const TLotPoints& lot = banc.Scene.Points;
    GLuint tampon = 0;
    gl.glGenBuffers(1, &tampon);
    gl.glBindBuffer(GL_ARRAY_BUFFER, tampon);
    gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(lot.Sommets.size() * sizeof(TV3S)),
                    lot.Sommets.data(), GL_STATIC_DRAW);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, L, H);
    for (auto _ : etat) {
        banc.Tourner();
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(banc.Scene.Projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(banc.Scene.ModeleVue.data());
        glColor3ub(0, 0, 0);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glDrawArrays(GL_POINTS, 0, GLsizei(lot.Sommets.size()));
        glDisableClientState(GL_VERTEX_ARRAY);
        nue.Contexte.swapBuffers(&nue.Fenetre);
        glFinish();
    }
    gl.glDeleteBuffers(1, &tampon);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Sizes from ARKALUNE_BENCH_POINTS ("100000,1000000"), by default 1e5, 1e6 and 1e7.
    std::vector<std::int64_t> tailles = {100000, 1000000, 10000000};
    if (const char* choisies = std::getenv("ARKALUNE_BENCH_POINTS")) {
        tailles.clear();
        for (const char* c = choisies; *c;) {
            char* fin = nullptr;
            tailles.push_back(std::strtoll(c, &fin, 10));
            c = *fin ? fin + 1 : fin;
        }
    }
    // The level changes first: their memory is measured on a process that holds nothing else.
    for (std::int64_t n : tailles)
        benchmark::RegisterBenchmark("ChangementNiveau", ChangementNiveau)
            ->Arg(n)
            ->Iterations(n >= 10000000 ? 1 : 3)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("Reference", Reference)
        ->Arg(std::int64_t(PointsParImageEnMouvement))
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (std::int64_t n : tailles) {
        const int fois = n >= 10000000 ? 3 : 10;
        using TMesure = void (*)(benchmark::State&);
        const std::pair<const char*, TMesure> mesures[] = {
            {"Construction", Construction},
            {"Navigation", Navigation},
            {"EnMouvement", EnMouvement},
            {"NavigationCouleursMelees", NavigationCouleursMelees},
            {"ListeAffichage", ListeAffichage},
            {"Reference", Reference}};
        for (const auto& [nom, fonction] : mesures)
            benchmark::RegisterBenchmark(nom, fonction)
                ->Arg(n)
                ->Iterations(fois)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
