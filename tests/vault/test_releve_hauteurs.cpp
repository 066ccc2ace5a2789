// The index of heights against the scan of every displayed cube that it replaces: on random
// clouds full of ties (duplicates in plan, equal distances, distances equal only once rounded to
// 32 bits), deleted cubes, strays, positions that are not finite and queries far outside, the
// index must give the same height for every query, whether it holds every cube or only those of
// a zone, and whatever the order of the cubes.

#include "NuageEssai.h"
#include "scan/UArkaluneGlb.h"
#include "vault/ReleveHauteurs.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <random>
#include <sstream>

namespace {

constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

double Distance2(const TV2R& p, const TCube* c) {
    const double dx = p.X - double(c->CooMoyPts.X);
    const double dy = p.Y - double(c->CooMoyPts.Y);
    return dx * dx + dy * dy;
}

// The reference: every cube that is not deleted, the nearest by the exact distance, the highest
// of equally near ones; not a number when there is none.
float HauteurParBalayage(const TListeCubes& cubes, const TV2R& p) {
    double distanceMin = INFINITY;
    float z = Nan;
    for (const TCube* c : cubes) {
        if (c->etatSP & EtatSupprime) continue;
        const double d = Distance2(p, c);
        if (d < distanceMin || (d == distanceMin && c->CooMoyPts.Z > z)) {
            distanceMin = d;
            z = c->CooMoyPts.Z;
        }
    }
    return z;
}

bool MemeHauteur(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Cubes owned by the test; each one's height is its rank, so that a height names its cube.
struct TNuageCubes {
    std::deque<TCube> stock;
    TListeCubes cubes;
    void Ajouter(float x, float y, std::uint8_t etat = 0) {
        TCube& c = stock.emplace_back();
        c.CooMoyPts = {x, y, float(cubes.size())};
        c.etatSP = etat;
        cubes.push_back(&c);
    }
};

// How often the minimum is shared, to show that the clouds do test the ties.
struct TEgalites {
    int exactes = 0;   // same distance in double, different positions
    int arrondies = 0; // different distances in double, the same once rounded
};

void Compter(const TListeCubes& cubes, const TV2R& p, TEgalites& egalites) {
    float distanceMin = PlusGrandReel;
    for (const TCube* c : cubes)
        distanceMin = std::min(distanceMin, static_cast<float>(Distance2(p, c)));
    std::vector<double> ex;
    for (const TCube* c : cubes)
        if (static_cast<float>(Distance2(p, c)) == distanceMin) ex.push_back(Distance2(p, c));
    std::sort(ex.begin(), ex.end());
    for (std::size_t k = 1; k < ex.size(); ++k)
        (ex[k] == ex[k - 1] ? egalites.exactes : egalites.arrondies) += 1;
}

// Every query answered by the index as by the scan, the index prepared for `zone` when it is
// given (the queries reaching well beyond it); the first few that are not, listed.
void VerifierIdentique(const TListeCubes& cubes, const std::vector<TV2R>& requetes,
                       const std::vector<TV2R>& zone = {}) {
    TReleveHauteurs releve(cubes);
    if (!zone.empty()) releve.PreparerZone(zone);
    std::vector<TV2R> aVerifier = requetes;
    // A lattice over the zone and a little beyond, where a search near its edge may have its
    // answer outside.
    if (zone.size() >= 2 && std::isfinite(zone[0].X + zone[1].X + zone[0].Y + zone[1].Y)) {
        const TV2R a = zone[0], b = zone[1];
        for (int i = -10; i <= 50; ++i)
            for (int j = -10; j <= 50; ++j)
                aVerifier.push_back({a.X + (b.X - a.X) * i / 40.0, a.Y + (b.Y - a.Y) * j / 40.0});
    }
    std::ostringstream ecarts;
    int nbEcarts = 0;
    // The same cubes in reverse order give the same heights.
    TListeCubes renverses(cubes.rbegin(), cubes.rend());
    TReleveHauteurs releveRenverse(renverses);
    if (!zone.empty()) releveRenverse.PreparerZone(zone);
    for (const TV2R& p : aVerifier) {
        const float attendu = HauteurParBalayage(cubes, p);
        const float obtenu = releve.HauteurAuPoint(p).Z;
        if ((!MemeHauteur(obtenu, attendu) ||
             !MemeHauteur(releveRenverse.HauteurAuPoint(p).Z, attendu)) &&
            nbEcarts++ < 5)
            ecarts << "(" << p.X << ", " << p.Y << ") : cube " << obtenu << " au lieu de "
                   << attendu << "\n";
    }
    EXPECT_EQ(nbEcarts, 0) << ecarts.str();
}

// A cloud of `n` cubes from `graine`, and queries against it.
struct TCas {
    TNuageCubes nuage;
    std::vector<TV2R> requetes;
};

TCas CasAleatoire(unsigned graine, int n) {
    TCas cas;
    std::mt19937_64 alea(graine);
    const auto uniforme = [&alea](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(alea);
    };
    const auto entier = [&alea](int a, int b) {
        return std::uniform_int_distribution<int>(a, b)(alea);
    };
    TNuageCubes& nuage = cas.nuage;
    // A first cube that cannot be the nearest of anything on odd seeds: it is still the answer
    // when no distance is finite.
    if (graine % 2) nuage.Ajouter(Nan, 1);
    // Circles around centres that no float can hold, nothing inside them: positions rounded to
    // 32 bits put the distances to the centre a few units of the last place apart, several of
    // the nearest rounding to the same 32-bit distance.
    std::vector<TV2R> centres;
    for (const TV2R c : {TV2R{-3, -3}, TV2R{-3, 3}, TV2R{-3, 9}, TV2R{-9, -3}})
        centres.push_back({c.X + uniforme(-0.01, 0.01), c.Y + uniforme(-0.01, 0.01)});
    // Strays beyond the thousandth of each side that the grid leaves out, or far more on the
    // last seeds, where they stretch the grid over kilometres.
    const int ecarts = graine <= 4 ? 8 : 300;
    while (int(nuage.cubes.size()) < n) {
        const int genre = entier(0, 9999);
        if (genre < 3000) {
            nuage.Ajouter(float(uniforme(0, 10)), float(uniforme(0, 8)));
        } else if (genre < 3500) { // deleted, often nearer than any other
            nuage.Ajouter(float(uniforme(0, 10)), float(uniforme(0, 8)), EtatSupprime);
        } else if (genre < 5000) { // a lattice: equal distances from its nodes and middles
            nuage.Ajouter(0.25f * float(entier(0, 40)), 0.25f * float(entier(0, 32)));
        } else if (genre < 6500 && !nuage.cubes.empty()) { // the same plan position again
            const TCube* c = nuage.cubes[std::size_t(entier(0, int(nuage.cubes.size()) - 1))];
            nuage.Ajouter(c->CooMoyPts.X, c->CooMoyPts.Y);
        } else if (genre < 9500 - ecarts) {
            const TV2R& c = centres[std::size_t(entier(0, 3))];
            const double angle = uniforme(0, 2 * 3.141592653589793);
            nuage.Ajouter(float(c.X + 2.5 * std::cos(angle)), float(c.Y + 2.5 * std::sin(angle)));
        } else if (genre < 9500) {
            const float loin[] = {float(uniforme(-1, 1) * 1e4), 1e30f, -3e38f};
            nuage.Ajouter(loin[entier(0, 2)], float(uniforme(-1, 1) * 3e6));
        } else if (genre < 9600) {
            const float nonFinis[] = {Nan, Inf, -Inf};
            nuage.Ajouter(nonFinis[entier(0, 2)], float(uniforme(0, 8)));
        } else { // lone cubes in a sparse band beside the survey
            nuage.Ajouter(float(uniforme(12, 20)), float(uniforme(-4, 12)));
        }
    }
    for (int k = 0; k < 1500; ++k)
        cas.requetes.push_back({uniforme(-1, 22), uniforme(-5, 13)});
    for (const TV2R& c : centres)
        cas.requetes.push_back(c);
    for (int k = 0; k < 200; ++k) {
        cas.requetes.push_back({0.125 * entier(-2, 82), 0.125 * entier(-2, 66)});
        const TV3S& c = nuage.cubes[std::size_t(entier(0, n - 1))]->CooMoyPts;
        cas.requetes.push_back({c.X, c.Y});
    }
    const double loin[][2] = {
        {1e5, 3},    {-1e7, -1e7}, {5, 4e6},          {1e20, 0},     {1e300, 1e300},
        {-1e300, 5}, {3e38, 3e38}, {std::nan(""), 1}, {INFINITY, 2}, {-INFINITY, -INFINITY}};
    for (const auto& q : loin)
        cas.requetes.push_back({q[0], q[1]});
    return cas;
}

} // namespace

TEST(ReleveHauteurs, MemeCubeQueLeBalayageSurDesNuagesAleatoires) {
    TEgalites egalites;
    for (unsigned graine = 1; graine <= 6; ++graine) {
        SCOPED_TRACE("graine " + std::to_string(graine));
        const TCas cas = CasAleatoire(graine, 1500 + 700 * int(graine));
        VerifierIdentique(cas.nuage.cubes, cas.requetes);
        // Zones of a few cubes whose searches often end outside, one on the sparse band, one
        // on the strays' side, one holding no cube, one across everything.
        const std::vector<std::vector<TV2R>> zones = {
            {{2, 2}, {2.5, 2.2}}, {{0.1, 0.1}, {9.9, 7.9}}, {{13, -3}, {19, 11}},
            {{-3, 9}, {-2.9, 9}}, {{40, 40}, {41, 41}},     {{-1e4, -3e6}, {1e4, 3e6}},
            {{5, 4}, {NAN, 1}}};
        for (const std::vector<TV2R>& zone : zones)
            VerifierIdentique(cas.nuage.cubes, cas.requetes, zone);
        for (const TV2R& p : cas.requetes)
            Compter(cas.nuage.cubes, p, egalites);
    }
    // The clouds do hold both kinds of ties, or the test would prove less than it claims.
    EXPECT_GT(egalites.exactes, 100);
    EXPECT_GT(egalites.arrondies, 20);
}

TEST(ReleveHauteurs, NuagesDegeneres) {
    const struct {
        const char* nom;
        std::vector<std::array<float, 2>> positions;
    } cas[] = {
        {"un seul cube", {{2, 3}}},
        {"tous au même point", {{1, 1}, {1, 1}, {1, 1}}},
        {"sur une verticale", {{4, 0}, {4, 1}, {4, 0.5f}, {4, 1}, {4, 2}}},
        {"sur une horizontale", {{0, 4}, {1, 4}, {0.5f, 4}, {1, 4}}},
        {"aucun fini", {{Nan, 1}, {Inf, 2}, {Nan, Nan}}},
        {"un fini après le premier", {{Nan, 1}, {3, 3}}},
        {"un écart lointain", {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {1e6f, -1e6f}}},
        {"loin de tout", {{3e38f, 3e38f}, {-3e38f, -3e38f}}},
    };
    const std::vector<TV2R> requetes = {{0, 0},     {0.5, 0.5},    {4, 0.75},    {1, 4},
                                        {-1e9, 7},  {1e6, -1e6},   {2e38, 2e38}, {1e300, 0},
                                        {NAN, NAN}, {3, -INFINITY}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        TNuageCubes nuage;
        for (const auto& p : c.positions)
            nuage.Ajouter(p[0], p[1]);
        VerifierIdentique(nuage.cubes, requetes);
        VerifierIdentique(nuage.cubes, requetes, {{0, 0}, {1, 1}});
    }
}

// A cube just outside the zone is nearer than any inside to the points by the zone's edge, or as
// near and higher: they are answered from every cube, the others from the zone.
TEST(ReleveHauteurs, UnCubeHorsDeLaZonePeutEtreLePlusProche) {
    TNuageCubes nuage;
    for (const auto& p : {std::array<float, 2>{0, 0}, {1.5f, 0}, {2, 0}, {2.1f, 0.1f}, {2.3f, 0}})
        nuage.Ajouter(p[0], p[1]);
    std::vector<TV2R> requetes;
    for (int k = 0; k <= 80; ++k)
        requetes.push_back({1.6 + k * 0.01, 0.05});
    VerifierIdentique(nuage.cubes, requetes, {{1.9, 0}, {2.0, 0}});

    // Two cubes at 0.5 m from the query, the higher one outside the zone (which reaches 0.25 m
    // beyond its points): a tie must not be settled inside.
    TNuageCubes egaux;
    egaux.Ajouter(0, 0);
    egaux.Ajouter(1, 0);
    egaux.cubes[0]->CooMoyPts.Z = 3;
    egaux.cubes[1]->CooMoyPts.Z = 7;
    TReleveHauteurs releve(egaux.cubes);
    releve.PreparerZone({{0, 0}, {0.5, 0}});
    EXPECT_EQ(releve.HauteurAuPoint({0.5, 0}).Z, 7.0f);
}

// A pier under the springing: cubes on one vertical, listed in every order. The height is the
// top of the column whatever the order, and the spread of the nearest cubes tells the column.
TEST(ReleveHauteurs, ColonneDeCubesDeMemePositionEnPlan) {
    std::vector<float> hauteurs = {39.733f, 39.98f, 38.5f, 39.1f};
    std::sort(hauteurs.begin(), hauteurs.end());
    do {
        std::deque<TCube> stock;
        TListeCubes cubes;
        for (float z : hauteurs) {
            stock.emplace_back().CooMoyPts = {2.5f, 1.25f, z};
            cubes.push_back(&stock.back());
        }
        stock.emplace_back().CooMoyPts = {2.6f, 1.25f, 45.0f}; // 10 cm aside
        cubes.push_back(&stock.back());
        TReleveHauteurs releve(cubes);
        const THauteurLue h = releve.HauteurAuPoint({2.4, 1.25});
        EXPECT_EQ(h.Z, 39.98f);
        EXPECT_NEAR(h.Distance, 0.1, 1e-6);
        const TEtendueHauteurs e = releve.EtendueAuPoint({2.4, 1.25}, 0.04);
        EXPECT_EQ(e.NbCubes, 4);
        EXPECT_EQ(e.ZMin, 38.5f);
        EXPECT_EQ(e.ZMax, 39.98f);
        // One cube's edge more reaches the cube aside.
        EXPECT_EQ(releve.EtendueAuPoint({2.4, 1.25}, 0.2).ZMax, 45.0f);
    } while (std::next_permutation(hauteurs.begin(), hauteurs.end()));
}

using ReleveAffiches = TEtudeEssai;

// The index is kept between rebuilds, but not past a deletion: deleted cubes no longer count,
// compacted or not, and undoing the deletion brings them back.
TEST_F(ReleveAffiches, SuitLesSuppressions) {
    Charger({.hauteur = [](double x, double y) { return x + 10 * y; }});
    T.ActualiserStructure();
    const auto hauteurs = [this] {
        std::vector<double> z;
        for (const TPtArc& p : T.Etude.ArcAretier.AA.pts)
            z.push_back(p.Zarc);
        return z;
    };
    const std::vector<double> avant = hauteurs();
    // The springing corner deleted: its highest cubes no longer give the rib's end.
    const auto supprimerLesBords = [this] {
        for (TCube* c : T.Scan.CubesAffiches)
            if (c->CooMoyPts.X > 7.5f && c->CooMoyPts.Y > 7.5f) c->etatSP |= EtatSelectionne;
        T.SupprimerSelection();
    };
    supprimerLesBords();
    T.ActualiserStructure();
    const std::vector<double> supprimes = hauteurs();
    EXPECT_LT(supprimes.back(), avant.back());
    T.AnnulerSuppressions();
    T.ActualiserStructure();
    EXPECT_EQ(hauteurs(), avant);
    supprimerLesBords();
    T.CompacterScan();
    T.ActualiserStructure();
    EXPECT_EQ(hauteurs(), supprimes);
}
