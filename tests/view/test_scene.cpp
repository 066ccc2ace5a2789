#include "VueEssai.h"

#include "util/Erreurs.h"
#include "view/Projection.h"
#include "view/TraceVue.h"

#include <deque>

namespace {

struct TScene : TVueEssai {
    void SetUp() override {
        T.ScanPret = true;
        T.Scan.CooMax = {10, 10, 1};
        T.Vue.RayonStruc = 10;
        T.Vue.CoefZoom = 1;
        T.Vue.CentreRotAbs = {5, 5, 0};
        T.OrienterVue(3);
    }
    // As the window does: the batch prepared, then the paint.
    const TSceneVue& Tracer(int largeur = 300, int hauteur = 200) {
        T.PreparerScene();
        const TSceneVue* s = T.VGLDraw(largeur, hauteur);
        EXPECT_NE(s, nullptr);
        return *s;
    }
};

// Cubes of a displayed level held by the test, without a scan.
struct TCubesAffiches {
    std::deque<TCube> Cubes;
    TListeCubes Pointeurs;
    void Ajouter(float x, float y, float z, std::uint8_t etat = 0, TV4By couleur = {}) {
        TCube& c = Cubes.emplace_back();
        c.CooMoyPts = {x, y, z};
        c.ColCube = couleur;
        c.nbptscube = 1;
        c.etatSP = etat;
        Pointeurs.push_back(&c);
    }
};

TPtArc PointArc(double x, double y, double z) {
    return {{x, y}, z};
}

TArc Arc(std::initializer_list<TPtArc> pts) {
    TArc a;
    a.pts = pts;
    a.nclav = std::int32_t(a.pts.size()) - 1;
    return a;
}

} // namespace

TEST_F(TScene, RienATracerSansScanNiPendantUnTrace) {
    T.ScanPret = false;
    EXPECT_EQ(T.VGLDraw(300, 200), nullptr);
    T.ScanPret = true;
    T.Drawing = true;
    EXPECT_EQ(T.VGLDraw(300, 200), nullptr);
    EXPECT_TRUE(T.Drawing);
    T.Drawing = false;
    Tracer();
    EXPECT_FALSE(T.Drawing);
}

TEST(TConstructionScene, CouleursEtPointsOmisSelonLOnglet) {
    TCubesAffiches cubes;
    cubes.Ajouter(1, 1, 1);                               // ordinary, at the top of the box
    cubes.Ajouter(2, 2, 1, EtatSelectionne);              // selected
    cubes.Ajouter(3, 3, -1);                              // low
    cubes.Ajouter(4, 4, -1, EtatSelectionne);             // low and selected
    cubes.Ajouter(5, 5, 0, EtatSelectionne | EtatMasque); // never drawn
    cubes.Ajouter(6, 6, 0, EtatSupprime);                 // never drawn
    const TCouleurVue N = NoirVue, R = RougeVue, C = CyanVue;
    struct Cas {
        int onglet;
        double masseVol, niveau;
        std::vector<TCouleurVue> couleurs;
    };
    const Cas cas[] = {
        {0, 0, 0, {N, R, N, R}},     {1, 0, 0, {N, N, N, N}},    {2, 0, 5, {N, N, N, N}},
        {2, 100, 0, {N, N, C, C}},   {2, 100, -1, {N, N, C, C}}, {2, 100, -2, {N, N, N, N}},
        {2, 100, 0.5, {C, C, C, C}}, {0, 100, 0, {N, R, N, R}},  {3, 100, 0, {N, N, N, N}}};
    for (const Cas& c : cas) {
        std::vector<std::string> textes;
        const TLotPoints lot = ConstruireLotPoints(
            cubes.Pointeurs, 1,
            {.Onglet = c.onglet, .MasseVolRemplissage = c.masseVol, .NiveauRemplissage = c.niveau},
            [&](const std::string& t) { textes.push_back(t); });
        EXPECT_TRUE(lot.AfficherPts);
        EXPECT_EQ(lot.Couleurs, c.couleurs) << c.onglet << " " << c.masseVol << " " << c.niveau;
        EXPECT_EQ(lot.Sommets, (std::vector<TV3S>{{1, 1, 1}, {2, 2, 1}, {3, 3, -1}, {4, 4, -1}}));
        EXPECT_EQ(textes,
                  (std::vector<std::string>{"préparation du tracé", "affichage des points ..."}));
    }
}

TEST(TConstructionScene, CouleursDuReleve) {
    TCubesAffiches cubes;
    cubes.Ajouter(1, 1, 1, 0, {10, 120, 200, 7});
    cubes.Ajouter(2, 2, 1, EtatSelectionne, {10, 120, 200, 7});
    cubes.Ajouter(3, 3, -1, 0, {255, 0, 0, 0}); // pure red in the survey
    cubes.Ajouter(4, 4, -1);                    // a survey without colours
    const TCouleurVue B{10, 120, 200}, R = RougeVue, r{254, 0, 0}, N = NoirVue, C = CyanVue;
    struct Cas {
        int onglet;
        double masseVol;
        std::vector<TCouleurVue> couleurs;
    };
    const Cas cas[] = {{0, 0, {B, R, r, N}}, {1, 0, {B, B, r, N}}, {2, 100, {B, B, C, C}}};
    for (const Cas& c : cas) {
        const TLotPoints lot = ConstruireLotPoints(
            cubes.Pointeurs, 1,
            {.Onglet = c.onglet, .MasseVolRemplissage = c.masseVol, .CouleursReleve = true},
            [](const std::string&) {});
        EXPECT_EQ(lot.Couleurs, c.couleurs) << c.onglet;
    }
}

TEST_F(TScene, LeChoixDesCouleursReconstruitLesPoints) {
    TCube* c = AjouterCube(1, 1, 1);
    c->ColCube = {30, 60, 90, 0};
    const std::uint64_t version = Tracer().Points.Version;
    T.ChoisirCouleursReleve(true);
    const TSceneVue& s = Tracer();
    EXPECT_GT(s.Points.Version, version);
    EXPECT_EQ(s.Points.Couleurs, (std::vector<TCouleurVue>{{30, 60, 90}}));
    T.ChoisirCouleursReleve(false);
    EXPECT_EQ(Tracer().Points.Couleurs, (std::vector<TCouleurVue>{NoirVue}));
}

TEST_F(TScene, LeTraceSuitLOngletEtLeRemplissage) {
    AjouterCube(1, 1, 1);
    AjouterCube(3, 3, -1, EtatSelectionne);
    T.OngletActif = 2;
    T.Etude.MasseVolRemplissage = 100;
    T.Etude.NiveauRemplissage = -1;
    EXPECT_EQ(Tracer().Points.Couleurs, (std::vector<TCouleurVue>{NoirVue, CyanVue}));
    T.OngletActif = 0;
    T.RetracerPoints();
    EXPECT_EQ(Tracer().Points.Couleurs, (std::vector<TCouleurVue>{NoirVue, RougeVue}));
}

TEST_F(TScene, CaseADecocherEtTailleDesPoints) {
    AjouterCube(1, 1, 1);
    T.TaillePointsIndex = 3;
    EXPECT_EQ(Tracer().Points.TaillePoints, 4);

    T.CkBxVoirPoints = false;
    T.OngletActif = 1;
    T.RetracerTout();
    const TSceneVue& s = Tracer();
    EXPECT_FALSE(s.Points.AfficherPts);
    EXPECT_TRUE(s.Points.Sommets.empty());
    EXPECT_FALSE(s.Traces.empty());
    EXPECT_FALSE(s.Repere.Faces.empty());
}

TEST_F(TScene, ReconstruitSeulementApresInvalidation) {
    TCube* c = AjouterCube(1, 1, 1);
    const TSceneVue& s = Tracer();
    const std::uint64_t points = s.Points.Version, repere = s.Repere.Version;
    EXPECT_EQ(Banc.Plateforme.Statuts,
              (std::vector<std::string>{"préparation du tracé", "affichage des points ...", ""}));
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);

    // Navigation only re-executes: a selection made meanwhile does not show yet.
    c->etatSP = EtatSelectionne;
    T.Vue.CoefZoom = 2;
    Tracer();
    EXPECT_EQ(s.Points.Version, points);
    EXPECT_EQ(s.Points.Couleurs, std::vector<TCouleurVue>{NoirVue});
    EXPECT_EQ(Banc.Plateforme.Statuts.size(), 3u);

    T.RetracerPoints();
    Tracer();
    EXPECT_EQ(s.Points.Version, points + 1);
    EXPECT_EQ(s.Repere.Version, repere);
    EXPECT_EQ(s.Points.Couleurs, std::vector<TCouleurVue>{RougeVue});

    T.RetracerTout();
    Tracer();
    EXPECT_EQ(s.Points.Version, points + 2);
    EXPECT_EQ(s.Repere.Version, repere + 1);
}

TEST_F(TScene, LeTraceNeConstruitRienEtNeDemandeRien) {
    AjouterCube(1, 1, 1);
    Tracer();
    AjouterCube(2, 2, 1);
    T.RetracerPoints();
    // An Esc pending: a progress text would ask "Annuler?" from inside the paint.
    T.Echap = true;
    const std::size_t statuts = Banc.Plateforme.Statuts.size();
    const int traitements = Banc.Plateforme.Traitements;
    const TSceneVue* s = T.VGLDraw(300, 200);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Points.Sommets.size(), 1u); // the batch as it was prepared
    EXPECT_TRUE(T.Vue.PointsPerimes);
    EXPECT_EQ(Banc.Plateforme.Statuts.size(), statuts);
    EXPECT_EQ(Banc.Plateforme.Traitements, traitements);
    EXPECT_TRUE(Banc.Plateforme.Questions.empty());
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);

    // Nothing to prepare while a drawing runs or before a scan is ready.
    for (bool dessin : {true, false}) {
        T.Drawing = dessin;
        T.ScanPret = dessin;
        T.PreparerScene();
        EXPECT_TRUE(T.Vue.PointsPerimes);
    }
    T.Drawing = false;
    T.ScanPret = true;
    T.Echap = false;
    EXPECT_EQ(Tracer().Points.Sommets.size(), 2u);
}

TEST_F(TScene, AbandonPendantLaConstructionDesPoints) {
    AjouterCube(1, 1, 1);
    T.Echap = true;
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_THROW(T.PreparerScene(), EStopError);
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);
    EXPECT_EQ(Banc.Plateforme.Statuts, std::vector<std::string>{""});
    EXPECT_TRUE(T.Vue.PointsPerimes);
    // The next drawing builds the batch.
    EXPECT_EQ(Tracer().Points.Sommets.size(), 1u);
}

TEST_F(TScene, SymboleDesAxes) {
    for (double angle : {0.0, 90.0}) {
        T.BtActualiserRotClick(angle == 0 ? "0" : "90");
        const TSymboleAxes& r = Tracer(150, 100).Repere;
        ASSERT_EQ(r.s, 10);
        ASSERT_EQ(r.Faces.size(), 3u * 48);
        // In the view from above the X arrow runs 13 pixels to the right of the symbol's origin,
        // which sits 10 pixels from the left and bottom edges, whatever the display rotation.
        TV3R origine, pointe;
        ASSERT_TRUE(ProjeterPoint({0, 0, 0}, r.ModeleVue, r.Projection, {0, 0, 150, 100}, origine));
        ASSERT_TRUE(ProjeterPoint({13, 0, 0}, r.ModeleVue, r.Projection, {0, 0, 150, 100}, pointe));
        EXPECT_NEAR(origine.X, 10, 1e-9);
        EXPECT_NEAR(origine.Y, 10, 1e-9);
        EXPECT_NEAR(pointe.X, 23, 1e-9) << angle;
        EXPECT_NEAR(pointe.Y, 10, 1e-9) << angle;
    }

    const std::vector<TFaceFleche> faces = DessinerRepere(10);
    const TCouleurVue couleurs[3] = {VertVue, RougeVue, BleuVue};
    const double longueurs[3] = {13, 10, 10};
    for (int axe = 0; axe < 3; ++axe) {
        double bout = 0;
        for (int f = 0; f < 48; ++f) {
            const TFaceFleche& face = faces[std::size_t(axe * 48 + f)];
            EXPECT_EQ(face.Couleur, couleurs[axe]);
            for (int k = 0; k < face.NbSommets; ++k)
                bout = std::max(bout, face.Sommets[k][axe]);
        }
        EXPECT_DOUBLE_EQ(bout, longueurs[axe]);
    }

    // X arrow: shaft sides face away from the axis, the ring at the cone's base faces back, the
    // cone's sides face away from the axis and forwards.
    auto radial = [](const TFaceFleche& f) {
        TV3R centre;
        for (int k = 0; k < f.NbSommets; ++k)
            centre = AddV3R(centre, f.Sommets[k]);
        return f.Normale.Y * centre.Y + f.Normale.Z * centre.Z;
    };
    for (int k = 0; k < 16; ++k) {
        const TFaceFleche& fut = faces[std::size_t(k)];
        const TFaceFleche& anneau = faces[std::size_t(16 + 2 * k)];
        const TFaceFleche& cone = faces[std::size_t(17 + 2 * k)];
        EXPECT_EQ(fut.NbSommets, 4);
        EXPECT_EQ(fut.Normale.X, 0);
        EXPECT_GT(radial(fut), 0);
        EXPECT_EQ(anneau.NbSommets, 4);
        EXPECT_LT(anneau.Normale.X, 0);
        EXPECT_EQ(anneau.Normale.Y, 0);
        EXPECT_EQ(anneau.Normale.Z, 0);
        EXPECT_EQ(cone.NbSommets, 3);
        EXPECT_GT(cone.Normale.X, 0);
        EXPECT_GT(radial(cone), 0);
    }
    EXPECT_EQ(faces[0].Sommets[0].Z, 0.05 * 10 * -0.5);
    EXPECT_EQ(faces[0].Sommets[2].X, 8);
}

TEST(TConstructionScene, StructureEtArcsSelonLOnglet) {
    TRectangleModelisation r;
    TQuartier q1, q2;
    TArcAretier aretier;
    r.XYcle = {0, 0};
    r.XYL1 = {4, 0};
    r.XYapp = {4, 4};
    r.XYL2 = {0, 4};
    r.Bord1 = {{0.1, 0}, {4, 3.9}};
    r.Bord2 = {{0, 0.1}, {3.9, 4}};
    TEtudeTracee etude{.RecModl = r,
                       .Quartier1 = q1,
                       .Quartier2 = q2,
                       .ArcAretier = aretier,
                       .NbArcsVoute = 2,
                       .PtFrontSel1a4 = 3};
    q1.Arcs = {Arc({PointArc(1, 0, 5), PointArc(1, 1, 4)}),
               Arc({PointArc(2, 0, 5), PointArc(2, 1, 4.5), PointArc(2, 2, 3)}),
               Arc({PointArc(9, 9, 9), PointArc(9, 9, 9)})}; // beyond NbArcsVoute
    q2.Arcs = {Arc({PointArc(0, 1, 5), PointArc(1, 1, 4)}),
               Arc({PointArc(0, 2, 5), PointArc(1, 2, 4), PointArc(2, 2, 3)})};
    aretier.AA = Arc({PointArc(0, 0, 6), PointArc(1, 1, 4), PointArc(2, 2, 3)});

    const float zHaut = 1;
    EXPECT_TRUE(TracesEtude(etude, zHaut, 0).empty());

    const std::vector<TTrace> traces = TracesEtude(etude, zHaut, 1);
    ASSERT_EQ(traces.size(), 4u + 4 * 2 + 2);
    const double z = 2; // above the cloud
    EXPECT_EQ(traces[0].Genre, TGenreTrace::BoucleFermee);
    EXPECT_EQ(traces[0].Couleur, RougeVue);
    EXPECT_EQ(traces[0].Taille, 3);
    EXPECT_EQ(traces[0].Sommets, (std::vector<TV3R>{{0, 0, z}, {4, 0, z}, {4, 4, z}, {0, 4, z}}));
    EXPECT_EQ(traces[1].Genre, TGenreTrace::LigneBrisee);
    EXPECT_EQ(traces[1].Sommets, (std::vector<TV3R>{{0, 0, z}, {4, 4, z}}));
    EXPECT_EQ(traces[2].Genre, TGenreTrace::Points);
    EXPECT_EQ(traces[2].Taille, 9);
    EXPECT_EQ(traces[2].Sommets, (std::vector<TV3R>{{4, 4, z}}));
    EXPECT_EQ(traces[3].Couleur, VertVue);
    EXPECT_EQ(traces[3].Sommets,
              (std::vector<TV3R>{{0.1, 0, z}, {4, 3.9, z}, {3.9, 4, z}, {0, 0.1, z}}));
    // Each arc: its line, then its points enlarged; the rib's last, in red.
    EXPECT_EQ(traces[6].Sommets, (std::vector<TV3R>{{2, 0, 5}, {2, 1, 4.5}, {2, 2, 3}}));
    for (std::size_t n = 4; n < traces.size(); ++n) {
        const bool ligne = n % 2 == 0;
        EXPECT_EQ(traces[n].Genre, ligne ? TGenreTrace::LigneBrisee : TGenreTrace::Points);
        EXPECT_EQ(traces[n].Taille, ligne ? 3 : 5);
        EXPECT_EQ(traces[n].Couleur, n < 12 ? BleuVue : RougeVue);
        EXPECT_EQ(traces[n].Sommets, traces[n - (ligne ? 0 : 1)].Sommets);
    }
    EXPECT_EQ(traces[12].Sommets.front(), (TV3R{0, 0, 6}));

    etude.PtFrontSel1a4 = 0;
    EXPECT_EQ(TracesEtude(etude, zHaut, 1).size(), 3u + 4 * 2 + 2);
    EXPECT_EQ(TracesEtude(etude, zHaut, 2).size(), 4u * 2 + 2);
}

TEST_F(TScene, StructureAuDessusDeLaBoite) {
    T.PtFrontSel1a4 = 3;
    T.OngletActif = 1;
    const std::vector<TTrace> traces = Tracer().Traces;
    ASSERT_EQ(traces.size(), 4u);
    EXPECT_EQ(traces[2].Sommets, (std::vector<TV3R>{{0, 0, 2}})); // the springing, 1 m above
}

TEST(TConstructionScene, PasDeLApercuEnMouvement) {
    struct Cas {
        std::size_t nb, max, pas;
    };
    const Cas cas[] = {{0, 0, 1},   {10, 0, 1},  {10, 10, 1},           {11, 10, 2},
                       {20, 10, 2}, {21, 10, 3}, {18200000, 50000, 364}};
    for (const Cas& c : cas) {
        EXPECT_EQ(PasEchantillon(c.nb, c.max), c.pas) << c.nb << " " << c.max;
        if (c.max) {
            EXPECT_LE((c.nb + c.pas - 1) / c.pas, c.max);
        }
    }
}

TEST_F(TScene, LaNavigationDessineEnMouvement) {
    AjouterCube(1, 1, 1);
    EXPECT_FALSE(Tracer().EnMouvement);
    bool traite = false;
    T.FormMouseWheel(120, {10, 10}, traite);
    EXPECT_TRUE(Tracer().EnMouvement);
    // The batch is not rebuilt by a motion.
    const std::uint64_t version = Tracer().Points.Version;
    T.Vue.EnMouvement = false;
    T.SBtEchPlusClick();
    EXPECT_TRUE(Tracer().EnMouvement);
    EXPECT_EQ(Tracer().Points.Version, version);
}
