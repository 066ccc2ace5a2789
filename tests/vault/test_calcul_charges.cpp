#include "NuageEssai.h"
#include "geometry/UtilsGeom.h"
#include "support/AttendreErreur.h"
#include "util/Erreurs.h"
#include "vault/EtudeVoute.h"

#include <cmath>

namespace {

// An arc through the given points, its voussoirs measured.
TArc Arc(std::initializer_list<TV3R> points) {
    TArc a;
    for (const TV3R& p : points) {
        TPtArc pt;
        pt.FixerXYZarc(p);
        a.pts.push_back(pt);
    }
    a.nclav = std::int32_t(a.pts.size()) - 1;
    for (std::size_t j = 0; j + 1 < a.pts.size(); ++j) {
        const TV3R u = a.pts[j].XYZarc(), v = a.pts[j + 1].XYZarc();
        a.claveaux.push_back({ScaleV3R(AddV3R(u, v), 0.5), float(NormV3R(SubV3R(v, u))), 0});
    }
    return a;
}

constexpr float K = 0.70711f;

} // namespace

// A study built by hand: no scan, no workspace.
struct ChargesDUnArc : ::testing::Test {
    TEtudeVoute E;
    TQuartier Q;
    void SetUp() override {
        Q.LargeurArcs = 1;
        Q.kX = K;
        Q.kY = K;
        E.MasseSurfVoute = 100;
    }
};

TEST_F(ChargesDUnArc, AvecEtSansRemplissage) {
    const struct {
        TV3R debut, fin;
        double masseVol, niveau;
        float z0;
        double G, V, H;
    } cas[] = {
        // f = 1: H = 1.25 M.
        {{0, 0, 1}, {1, 0, 0}, 0, 0, 0, 141.42, 141.42, 88.388},
        // Fill to the key (Z0 = 1): 0.5 m above the voussoir's centre.
        {{0, 0, 1}, {1, 0, 0}, 1000, 0, 1, 848.53, 848.53, 530.33},
        // A fill level below the centre adds nothing.
        {{0, 0, 1}, {1, 0, 0}, 1000, -0.6, 1, 141.42, 141.42, 88.388},
        // Ridge end below the rib end: the rise is taken as 0.05.
        {{0, 0, 0}, {1, 0, 1}, 0, 0, 0, 141.42, 141.42, 70.711 * 1.25 / 0.05},
    };
    for (const auto& c : cas) {
        Q.Arcs = {Arc({c.debut, c.fin})};
        E.MasseVolRemplissage = c.masseVol;
        E.NiveauRemplissage = c.niveau;
        E.Z0 = c.z0;
        E.ChargerArc(Q, 0);
        const TArc& a = Q.Arcs[0];
        EXPECT_NEAR(a.claveaux[0].G, c.G, 0.01) << c.masseVol << " " << c.niveau;
        EXPECT_NEAR(a.EffAppui.Z, c.V, 0.01);
        EXPECT_NEAR(a.EffAppui.X, c.H * K, 0.01);
        EXPECT_EQ(a.EffAppui.X, a.EffAppui.Y);
    }
    EXPECT_NEAR(Q.Arcs[0].EffAppui.X, 1767.77 * K, 0.05);
}

TEST_F(ChargesDUnArc, AuxArrondisDe32Bits) {
    Q.Arcs = {Arc({{0, 0, 1}, {1, 0, 0}})};
    E.ChargerArc(Q, 0);
    // The voussoir: length sqrt(2) as a float, 1.41421354; times 100 daN/m², 141.421354,
    // rounded to the float 141.421356. M about the middle point: -G * 0.5 + G * 1 = G / 2,
    // exact in 32 bits.
    EXPECT_EQ(Q.Arcs[0].claveaux[0].G, 141.421356f);
    EXPECT_EQ(Q.Arcs[0].EffAppui.Z, double(141.421356f));
    EXPECT_EQ(Q.Arcs[0].EffAppui.X, double(70.7106781f) * 1.25 * double(K));
}

// One vault arc a side, each bringing about (5, +-4, 25) to the rib's middle point; the rib
// along +X from (0, 0, 2) to (2, 0, zAppui), no view rotation.
struct AppuiDUnAretier : ChargesDUnArc {
    void Construire(double zAppui) {
        E.NbArcsVoute = 1;
        for (TQuartier* q : {&E.Quartier1, &E.Quartier2}) {
            q->Arcs = {Arc({{0, 0, 1}, {1, 0, 0}})};
            q->LargeurArcs = float(25 / (std::sqrt(2.0) * 100));
            q->kX = 0.32f;
            q->kY = q == &E.Quartier1 ? 0.256f : -0.256f;
        }
        E.Z0 = 1;
        E.ArcAretier.AA = Arc({{0, 0, 2}, {1, 0, 1}, {2, 0, zAppui}});
        E.RecModl.McbA = {{{1, 0}, {0, 1}}};
    }
};

TEST_F(AppuiDUnAretier, AppuiDeLAretier) {
    Construire(0);
    const TChargesEtude charges{.MasseLinAretier = 100, .MasseSurfVoute = 100};
    E.CalculerCharges(charges, RotM2Angle(0));
    const TV3R c = E.ArcAretier.ChargesDesVoutes[1];
    EXPECT_NEAR(c.X, 10, 1e-4);
    EXPECT_EQ(c.Y, 0);
    EXPECT_NEAR(c.Z, 50, 1e-4);
    EXPECT_EQ(E.ArcAretier.ChargesDesVoutes.size(), 3u);
    EXPECT_NEAR(E.ArcAretier.AA.claveaux[0].G, 141.42, 0.01);
    EXPECT_NEAR(E.EffortsSurAppui.X, 211.78, 0.01);
    EXPECT_EQ(E.EffortsSurAppui.Y, 0);
    EXPECT_NEAR(E.EffortsSurAppui.Z, 332.84, 0.01);
    EXPECT_EQ(E.LbResultats, "Actions à l'appui de l'arêtier (daN) : FX = 212, FY = 0 , FZ = -333");
    EXPECT_NE(E.ResulNdC.find("   FX= 212<BR><BR>   FY= 0<BR><BR>   FZ= -333<BR>"),
              std::string::npos);

    // The same actions seen with the view turned by 90 degrees: (a, b) becomes (-b, a).
    const TV3R sansRotation = E.EffortsSurAppui;
    E.CalculerCharges(charges, RotM2Angle(Pi / 2));
    EXPECT_NEAR(E.EffortsSurAppui.X, -sansRotation.Y, 1e-9);
    EXPECT_NEAR(E.EffortsSurAppui.Y, sansRotation.X, 1e-9);
    EXPECT_EQ(E.EffortsSurAppui.Z, sansRotation.Z);
}

// A rib without rise (below 1 mm) has no thrust to report; loads that give no finite effort
// are refused, not printed as infinite.
TEST_F(AppuiDUnAretier, SansFlecheOuSansResultatFini) {
    const char* const refus = "calcul impossible : les charges données mènent à des efforts qui "
                              "ne sont pas des nombres finis (vérifiez les masses et le niveau du "
                              "remplissage)";
    const char* const nonCalculables =
        "Actions à l'appui de l'arêtier (daN) : FX et FY non calculables (flèche de l'arc "
        "d'arêtier nulle), FZ = ";
    const struct {
        double zAppui;
        double masseVol, niveau;
        const char* legende; // the caption's start, or nullptr when refused
    } cas[] = {
        {0, 0, 0, "Actions à l'appui de l'arêtier (daN) : FX = 212, FY = 0 , FZ = -333"},
        {2, 0, 0, nonCalculables},
        {1.9995, 0, 0, nonCalculables}, // 0.5 mm: a thrust of millions of daN before
        {2.0005, 0, 0, nonCalculables},
        {1.998, 0, 0, "Actions à l'appui de l'arêtier (daN) : FX = 2"},
        // No fill adds nothing, whatever its level.
        {0, 0, 1e300, "Actions à l'appui de l'arêtier (daN) : FX = 212, FY = 0 , FZ = -333"},
        {0, 1000, 1e300, nullptr},
        {0, 1000, -1e300, "Actions à l'appui de l'arêtier (daN) : FX = 212, FY = 0 , FZ = -333"},
        {2, 1000, 1e300, nullptr},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.zAppui << " " << c.masseVol << " " << c.niveau);
        Construire(c.zAppui);
        E.LbResultats = "précédent";
        E.ResulNdC = "précédent";
        const TChargesEtude charges{.MasseLinAretier = 100,
                                    .MasseSurfVoute = 100,
                                    .MasseVolRemplissage = c.masseVol,
                                    .NiveauRemplissage = c.niveau};
        if (!c.legende) {
            AttendreErreur<EErreur>([&] { E.CalculerCharges(charges, RotM2Angle(0)); }, refus);
            EXPECT_EQ(E.LbResultats, " ");
            EXPECT_TRUE(E.ResulNdC.empty());
            continue;
        }
        E.CalculerCharges(charges, RotM2Angle(0));
        EXPECT_EQ(E.LbResultats.rfind(c.legende, 0), 0u) << E.LbResultats;
        for (const char* mot : {"inf", "nan"})
            EXPECT_EQ(E.ResulNdC.find(mot), std::string::npos) << mot;
    }
}

// A dome over an 8 m bay, studied as far as its loads.
struct CalculCharges : TEtudeEssai {
    void CalculerDome() {
        TNuage baie;
        baie.pas = 0.1;
        baie.hauteur = Dome(baie, 10, 3);
        Charger(baie);
        T.ActualiserStructure();
        T.CalculerCharges();
    }
};

// The view's turn reaches the efforts through the workspace's command.
TEST_F(CalculCharges, LaRotationDeLaVueTourneLesEfforts) {
    CalculerDome();
    const TV3R sansRotation = T.Etude.EffortsSurAppui;
    T.BtActualiserRotClick("90");
    T.CalculerCharges();
    EXPECT_NEAR(T.Etude.EffortsSurAppui.X, -sansRotation.Y, 1e-9 * std::fabs(sansRotation.Y));
    EXPECT_NEAR(T.Etude.EffortsSurAppui.Y, sansRotation.X, 1e-9 * std::fabs(sansRotation.X));
    EXPECT_EQ(T.Etude.EffortsSurAppui.Z, sansRotation.Z);
}

TEST_F(CalculCharges, UneBaieSymetriquePousseDansLAxeDeLAretier) {
    CalculerDome();
    ASSERT_TRUE(T.Etude.AppuiCalculable);
    // The rib of quarter 1 goes along (1, 1): the two horizontal parts are equal.
    EXPECT_NEAR(T.Etude.EffortsSurAppui.X, T.Etude.EffortsSurAppui.Y,
                1e-6 * std::fabs(T.Etude.EffortsSurAppui.X));
    EXPECT_GT(T.Etude.EffortsSurAppui.X, 0);
    for (std::size_t k = 1; k <= 5; ++k)
        EXPECT_NEAR(T.Etude.ArcAretier.ChargesDesVoutes[k].Y, 0,
                    1e-6 * T.Etude.ArcAretier.ChargesDesVoutes[k].Z);
}

TEST_F(CalculCharges, FlecheNulleDeLAretier) {
    Charger(); // a horizontal plane: the springing at the key's height
    T.ActualiserStructure();
    T.CalculerCharges();
    EXPECT_FALSE(T.Etude.AppuiCalculable);
    EXPECT_EQ(
        T.Etude.LbResultats.rfind("Actions à l'appui de l'arêtier (daN) : FX et FY non calculables "
                                  "(flèche de l'arc d'arêtier nulle), FZ = -",
                                  0),
        0u);
    EXPECT_NE(T.Etude.ResulNdC.find("FX et FY non calculables"), std::string::npos);
    for (const char* mot : {"inf", "nan"}) {
        EXPECT_EQ(T.Etude.LbResultats.find(mot), std::string::npos);
        EXPECT_EQ(T.Etude.ResulNdC.find(mot), std::string::npos);
    }
}

TEST_F(CalculCharges, SansStructureLeCalculEstRefuse) {
    Charger();
    EXPECT_THROW(T.CalculerCharges(), EErreur);
    EXPECT_EQ(T.Etude.LbResultats, " ");
    EXPECT_TRUE(T.Etude.ResulNdC.empty());
}
