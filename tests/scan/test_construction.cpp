// The grid built at once from the sorted paths of the points must be the one that recording the
// points one by one in file order gives: same cubes, same chain order, same means to the bit.

#include "ScanEssai.h"
#include "scan/CoinsCubes.h"
#include "scan/TriRadix.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <tuple>

namespace {

// Recording point by point into a tree of pointers, as the cubes were first built.
class TArbreReference {
public:
    explicit TArbreReference(int nivMax) : nivMax_(nivMax) {}

    void Enregistrer(const TEtatScan& grille, const TPointScan& p) {
        const TCellule cellule{int(std::floor(double(p.X)) - grille.OrigGrille[0]),
                               int(std::floor(double(p.Y)) - grille.OrigGrille[1]),
                               int(std::floor(double(p.Z)) - grille.OrigGrille[2])};
        std::unique_ptr<TNoeud>& racine = racines_[cellule];
        if (!racine)
            racine = Creer(0, CoinCellule(grille.OrigGrille, cellule[0], cellule[1], cellule[2]));
        TNoeud* c = racine.get();
        while (c->Niveau < nivMax_) {
            TV3S coin = c->Coin;
            const int slot = SlotEnfant(coin, c->Niveau, p.X, p.Y, p.Z);
            if (!c->Enfants[slot]) c->Enfants[slot] = Creer(c->Niveau + 1, coin);
            c = c->Enfants[slot].get();
        }
        c->Somme = AddV3R(c->Somme, {p.X, p.Y, p.Z});
        for (int n = 0; n < 4; ++n)
            c->SommeCol[n] += p.Couleur[n];
        c->Nb += 1;
    }

    void CalculerLesMoyennes() {
        for (auto& [cellule, racine] : racines_)
            Moyennes(*racine);
    }

    // Each level's cubes, newest first: (mean, colour, count).
    void Comparer(const TEtatScan& scan) const {
        for (int n = 0; n < NbNiveaux; ++n) {
            std::vector<const TNoeud*> attendus(chaines_[n].rbegin(), chaines_[n].rend());
            ASSERT_EQ(scan.NbCubesNiv[n], std::int32_t(attendus.size())) << "niveau " << n;
            std::size_t k = 0;
            scan.PourChaqueCubeDuNiveau(n, [&](const TCube* c) {
                const TNoeud& e = *attendus[k++];
                EXPECT_EQ(c->CooMoyPts, e.Coo) << "niveau " << n << ", cube " << k;
                EXPECT_EQ(c->ColCube, e.Col) << "niveau " << n << ", cube " << k;
                EXPECT_EQ(c->nbptscube, e.Nb) << "niveau " << n << ", cube " << k;
                EXPECT_EQ(scan.CooOriCube(c), e.Coin) << "niveau " << n << ", cube " << k;
            });
        }
    }

private:
    struct TNoeud {
        int Niveau = 0;
        TV3S Coin, Coo;
        TV3R Somme;
        std::array<std::int64_t, 4> SommeCol{};
        TV4By Col{};
        std::int32_t Nb = 0;
        std::array<std::unique_ptr<TNoeud>, 125> Enfants;
    };
    struct TSommes {
        TV3R Coo;
        std::array<std::int64_t, 4> Col{};
        std::int32_t Nb = 0;
    };

    std::unique_ptr<TNoeud> Creer(int niveau, const TV3S& coin) {
        auto c = std::make_unique<TNoeud>();
        c->Niveau = niveau;
        c->Coin = coin;
        chaines_[niveau].push_back(c.get());
        return c;
    }

    TSommes Moyennes(TNoeud& c) {
        TSommes s;
        if (c.Niveau == nivMax_) {
            s.Coo = c.Somme;
            s.Col = c.SommeCol;
            s.Nb = c.Nb;
        }
        for (auto& e : c.Enfants) {
            if (!e) continue;
            const TSommes se = Moyennes(*e);
            s.Coo = AddV3R(s.Coo, se.Coo);
            for (int q = 0; q < 4; ++q)
                s.Col[q] += se.Col[q];
            s.Nb += se.Nb;
        }
        c.Nb = s.Nb;
        c.Coo = {float(s.Coo.X / double(s.Nb)), float(s.Coo.Y / double(s.Nb)),
                 float(s.Coo.Z / double(s.Nb))};
        for (int q = 0; q < 4; ++q)
            c.Col[q] = std::uint8_t(s.Col[q] / s.Nb);
        return s;
    }

    int nivMax_;
    std::map<TCellule, std::unique_ptr<TNoeud>> racines_;
    std::array<std::vector<TNoeud*>, NbNiveaux> chaines_;
};

// Points that share cubes at every level, repeat exactly, and sit on cube faces.
std::vector<TPointScan> NuageAleatoire(unsigned graine, int nb) {
    std::mt19937 alea(graine);
    std::uniform_real_distribution<float> dans(-1.5f, 2.5f);
    std::uniform_int_distribution<int> octet(0, 255), genre(0, 3), pas(-1500, 2500);
    std::vector<TPointScan> points;
    for (int n = 0; n < nb; ++n) {
        TPointScan p{
            dans(alea),
            dans(alea),
            dans(alea) / 4,
            {std::uint8_t(octet(alea)), std::uint8_t(octet(alea)), std::uint8_t(octet(alea)), 0}};
        const int g = genre(alea);
        if (g == 0 && !points.empty()) { // the same place as an earlier point, another colour
            const TPointScan& avant = points[std::size_t(alea()) % points.size()];
            p.X = avant.X, p.Y = avant.Y, p.Z = avant.Z;
        } else if (g == 1) { // on the faces of the 1.6 mm cubes
            p.X = float(pas(alea)) * TailleNiv[4], p.Y = float(pas(alea)) * 0.04f;
        } else if (g == 2) { // a few crowded cubes
            p.X = 0.3f + float(n % 7) * 1e-4f, p.Y = 0.5f, p.Z = 0.1f + float(n % 3) * 1e-4f;
        }
        points.push_back(p);
    }
    return points;
}

// The scan built from `points`, the work cut in `parties`, against the reference.
void ComparerPointParPoint(const std::vector<TPointScan>& points, int nivMax,
                           int parties = PartiesParDefaut()) {
    TEtatScan scan;
    ConstruireDepuisPoints(scan, points, nivMax, parties);
    TArbreReference reference(nivMax);
    for (const TPointScan& p : points)
        reference.Enregistrer(scan, p);
    reference.CalculerLesMoyennes();
    reference.Comparer(scan);
    // The grid lists the occupied cells only, X outermost, then Y, then Z.
    EXPECT_EQ(scan.Grille.size(), std::size_t(scan.NbCubesNiv[0]));
    EXPECT_TRUE(std::is_sorted(scan.CellulesGrille.begin(), scan.CellulesGrille.end()));
    for (std::size_t n = 0; n < scan.Grille.size(); ++n)
        EXPECT_EQ(scan.CooOriCube(scan.Grille[n]),
                  CoinCellule(scan.OrigGrille, scan.CellulesGrille[n][0], scan.CellulesGrille[n][1],
                              scan.CellulesGrille[n][2]));
}

} // namespace

TEST(Construction, MemesCubesChainesEtMoyennesQuePointParPoint) {
    for (unsigned graine : {1u, 2u, 3u}) {
        for (int nivMax : {4, 2, 0}) {
            SCOPED_TRACE("graine " + std::to_string(graine) + ", niveau " + std::to_string(nivMax));
            ComparerPointParPoint(NuageAleatoire(graine, 20000), nivMax);
        }
    }
}

// One thread or many, and more parts than cubes of a level: the same scan to the bit.
TEST(Construction, MemeScanQuelQueSoitLeNombreDeFils) {
    const std::vector<TPointScan> points = NuageAleatoire(6, 20000);
    for (const int parties : {1, 3, 64})
        for (const int nivMax : {4, 0}) {
            SCOPED_TRACE(std::to_string(parties) + " parties, niveau " + std::to_string(nivMax));
            ComparerPointParPoint(points, nivMax, parties);
        }
}

// A deepest cube of more points than its short colour sums hold, white ones that would carry
// out of them, among others.
TEST(Construction, CubeTropPeuplePourLesSommesCourtes) {
    std::vector<TPointScan> points = NuageAleatoire(5, 3000);
    for (int n = 0; n < 70000; ++n)
        points.insert(points.begin() + n % 2000,
                      {0.7001f + float(n % 5) * 1e-4f, 0.2f, 0.1f, {255, 255, 254, 255}});
    ComparerPointParPoint(points, 4);
}

// A cube's colour is the mean of its points' colours whatever their order: the same points
// loaded in file order and reversed give every cube the same colour.
TEST(Construction, CouleurIndependanteDeLOrdre) {
    std::vector<TPointScan> points = NuageAleatoire(4, 20000);
    using TCouleurs = std::map<std::tuple<int, float, float, float>, TV4By>;
    const auto couleurs = [&] {
        TEtatScan scan;
        ConstruireDepuisPoints(scan, points);
        TCouleurs parCube;
        for (int n = 0; n < NbNiveaux; ++n)
            scan.PourChaqueCubeDuNiveau(n, [&](const TCube* c) {
                const TV3S coin = scan.CooOriCube(c);
                parCube[{n, coin.X, coin.Y, coin.Z}] = c->ColCube;
            });
        return parCube;
    };
    const TCouleurs dansLOrdre = couleurs();
    std::reverse(points.begin(), points.end());
    EXPECT_EQ(couleurs(), dansLOrdre);
}

// The sort goes through its keys in slices, telling its progress between them: on more keys
// than a few slices it is still the stable sort, and the progress only grows, to its total.
TEST(Construction, TriParTranchesStable) {
    std::mt19937_64 tirage(7);
    const std::size_t n = 700001;
    std::vector<std::uint64_t> cles(n);
    for (std::uint64_t& c : cles)
        c = tirage() & ((std::uint64_t(1) << 30) - 1) & ~std::uint64_t(0xFFF0); // many ties
    TGrandVecteur<std::uint32_t> valeurs(n);
    std::iota(valeurs.begin(), valeurs.end(), 0u);
    TGrandVecteur<std::uint32_t> attendu = valeurs;
    std::stable_sort(attendu.begin(), attendu.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return cles[a] < cles[b]; });
    TGrandVecteur<std::uint64_t> triees(cles.begin(), cles.end());
    std::int64_t dernier = 0, total = 0, rapports = 0;
    TrierParCle(triees, valeurs, 30, [&](std::int64_t fait, std::int64_t t) {
        EXPECT_GE(fait, dernier);
        dernier = fait;
        total = t;
        ++rapports;
    });
    EXPECT_EQ(valeurs, attendu);
    EXPECT_TRUE(std::is_sorted(triees.begin(), triees.end()));
    EXPECT_EQ(dernier, total);
    EXPECT_GT(rapports, 12);
}
