#include "scan/ConstructionGrille.h"

#include "scan/CoinsCubes.h"
#include "scan/TableCellules.h"
#include "scan/TriRadix.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>
#include <vector>

TDimensionsGrille DimensionnerGrille(const TV3S& mini, const TV3S& maxi) {
    std::array<double, 3> orig{}, dim{};
    for (int a = 0; a < 3; ++a) {
        const float lo = static_cast<float>(double(mini[a]) - 0.01);
        const float hi = static_cast<float>(double(maxi[a]) + 0.01);
        orig[a] = std::floor(double(lo));
        dim[a] = std::floor(double(hi)) - orig[a] + 2;
    }
    bool sain = true;
    for (int a = 0; a < 3; ++a)
        sain = sain && std::isfinite(orig[a]) && std::isfinite(dim[a]) && dim[a] >= 1 &&
               orig[a] >= std::numeric_limits<std::int32_t>::min() &&
               orig[a] + dim[a] <= std::numeric_limits<std::int32_t>::max();
    if (!sain)
        throw EErreur(Formater("étendue du scan trop grande pour la grille : X de %g à %g, Y de %g "
                               "à %g, Z de %g à %g (cellules de 1 m non numérotables sur 32 bits)",
                               double(mini.X), double(maxi.X), double(mini.Y), double(maxi.Y),
                               double(mini.Z), double(maxi.Z)));
    TDimensionsGrille d;
    for (int a = 0; a < 3; ++a) {
        d.Orig[a] = static_cast<std::int32_t>(orig[a]);
        d.Dim[a] = static_cast<std::int32_t>(dim[a]);
    }
    return d;
}

namespace {

constexpr int BitsSlot = 7; // a slot, 0 to 124
constexpr std::uint32_t Aucun = UINT32_MAX;

// The colour sums of a deepest cube take 24 bits a channel while its points' colours are summed:
// they hold the sums of 65 793 points; a cube of more points has 64-bit sums beside the cubes.
constexpr std::int32_t PointsSommesCourtes = 65793;
using TSommesCouleurs = std::array<std::int64_t, 4>;

// Four 24-bit sums in three 32-bit words: channels 0 to 2 in the low bits of each word, the bytes
// of channel 3 in their high bits.
TSommesCouleurs Deballer(const std::array<std::uint32_t, 3>& mots) {
    return {mots[0] & 0xFFFFFFu, mots[1] & 0xFFFFFFu, mots[2] & 0xFFFFFFu,
            (mots[0] >> 24) | (mots[1] >> 24) << 8 | (mots[2] >> 24) << 16};
}

std::array<std::uint32_t, 3> Emballer(const TSommesCouleurs& s) {
    std::array<std::uint32_t, 3> mots{};
    for (std::size_t k = 0; k < 3; ++k)
        mots[k] = std::uint32_t(s[k]) | (std::uint32_t(s[3] >> (8 * k)) & 0xFFu) << 24;
    return mots;
}

// A mean rounded once to 32 bits.
TV3S Moyenne(const TV3R& somme, double n) {
    return {static_cast<float>(somme.X / n), static_cast<float>(somme.Y / n),
            static_cast<float>(somme.Z / n)};
}

template <class V> void Liberer(V& v) {
    V().swap(v);
}

// A loop over millions of items keeps the window served: every few thousand items.
constexpr std::size_t ItemsEntreEntretiens = 4096;

// The texts of a step by hundredths ("tri : 12%"), from the fraction of its work done: each
// hundredth once, from 0 on, and the last one again while it lasts.
class TCentiemes {
public:
    TCentiemes(const TSortieProgression& sortie, const char* etape)
        : progression_(TProgression::ParPas(sortie, etape, 1)) {}

    // `fait` of `total` units of the part that runs from hundredth `debut` to `fin`.
    void Atteindre(int debut, int fin, std::int64_t fait, std::int64_t total) {
        const std::int64_t c =
            debut + (total > 0 ? std::int64_t(fin - debut) * fait / total : fin - debut);
        if (c > dernier_) {
            dernier_ = c;
            progression_.Avancer(c);
        } else {
            progression_.Entretenir();
        }
    }
    void Entretenir() { progression_.Entretenir(); }

private:
    TProgression progression_;
    std::int64_t dernier_ = -1;
};

// Grows `v` to n cleared items a slice at a time: the system's fresh pages take most of the
// time, and the window is served between slices.
template <class V>
void AgrandirParTranches(V& v, std::size_t n, TCentiemes& centiemes,
                         const typename V::value_type& valeur = {}) {
    v.reserve(n);
    while (v.size() < n) {
        v.resize(std::min(n, v.size() + (std::size_t(1) << 18)), valeur);
        centiemes.Entretenir();
    }
}

} // namespace

// Builds every level at once instead of point by point: each point's path of slots is computed
// from its coordinates alone, and a stable sort by path gives the cubes of every level in path
// order, with the points of each deepest cube in file order. The records are then read twice
// in file order, each going into its deepest cube: first its coordinates are summed there, then
// its colour, in the cube's own memory. Last, the first record to reach a cube gives the cube's
// place in its level's chain (newest first).
class TConstructionCubes {
public:
    TConstructionCubes(TEtatScan& scan, const TParcourirPoints& parcourir, int parties)
        : scan_(scan), parcourir_(parcourir), nivMax_(scan.NivMax), total_(scan.NbPoints),
          parties_(std::max(parties, 1)) {}

    // The texts: "tri : " while the paths are read (to 30%) and sorted, then "construction : "
    // while the cubes are made (to 25%), the records placed in them (to 95%) and the means and
    // chains made. Shown from 100 records on: a small file loads without a word.
    std::int64_t Construire(const TSortieProgression& sortie) {
        const TSortieProgression montree = total_ >= 100 ? sortie : TSortieProgression();
        TCentiemes tri(montree, "tri : "), construction(montree, "construction : ");
        {
            TGrandVecteur<std::uint64_t> cles;
            TGrandVecteur<std::uint32_t> indices;
            const int bits = LireChemins(cles, indices, tri);
            TrierParCle(
                cles, indices, bits,
                [&](std::int64_t fait, std::int64_t total) { tri.Atteindre(30, 100, fait, total); },
                parties_);
            CompterEtPlacer(cles, indices, construction);
            FaireLesCubes(cles, construction);
        }
        SommerLesCoordonnees(construction);
        SommerLesCouleurs(construction);
        Relier();
        MettreEnChaine(construction);
        scan_.InstallerCubes(std::move(niveaux_), std::move(cellules_));
        return horsGrille_;
    }

private:
    TEtatScan& scan_;
    const TParcourirPoints& parcourir_;
    const int nivMax_;
    const std::int64_t total_;
    const int parties_;
    std::int64_t horsGrille_ = 0;
    std::vector<TCellule> cellules_; // occupied, in the grid's order
    std::array<std::uint32_t, NbNiveaux> nbCubes_{};
    std::array<TNiveauCubes, NbNiveaux> niveaux_;
    // Per record: the place of its deepest cube; Aucun outside the grid.
    TGrandVecteur<std::uint32_t> feuilleDe_;
    // The colour sums of the cubes too crowded for 24-bit ones.
    std::vector<TSommesCouleurs> sommesLongues_;

    int Decalage(int niveau) const { return BitsSlot * (nivMax_ - niveau); }

    // Each record in the grid gets the key (cell, slot at each level); returns the key's bits.
    int LireChemins(TGrandVecteur<std::uint64_t>& cles, TGrandVecteur<std::uint32_t>& indices,
                    TCentiemes& tri) {
        cles.reserve(std::size_t(total_));
        indices.reserve(std::size_t(total_));
        TTableCellules table;
        TCheminsLot chemins;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            CalculerLesChemins(lot, n, chemins);
            // The cells are numbered in the order they are met: here, in file order.
            for (std::size_t q = 0; q < n; ++q, ++i) {
                const TCellule& cellule = chemins.Cellules[q];
                if (cellule[0] < 0) {
                    ++horsGrille_;
                    continue;
                }
                cles.push_back((std::uint64_t(table.Numero(cellule)) << Decalage(0)) |
                               chemins.Slots[q]);
                indices.push_back(std::uint32_t(i));
            }
            tri.Atteindre(0, 30, i, total_);
        });
        // Cells numbered in the grid's order: X index, then Y, then Z.
        const std::vector<TCellule>& rencontrees = table.Cellules();
        std::vector<std::uint32_t> ordre(rencontrees.size());
        std::iota(ordre.begin(), ordre.end(), 0u);
        std::sort(ordre.begin(), ordre.end(), [&](std::uint32_t a, std::uint32_t b) {
            return rencontrees[a] < rencontrees[b];
        });
        std::vector<std::uint32_t> rang(ordre.size());
        for (std::size_t r = 0; r < ordre.size(); ++r) {
            rang[ordre[r]] = std::uint32_t(r);
            cellules_.push_back(rencontrees[ordre[r]]);
        }
        const int decalage = Decalage(0);
        const std::uint64_t masque = (std::uint64_t(1) << decalage) - 1;
        for (std::size_t p = 0; p < cles.size(); ++p) {
            cles[p] = (std::uint64_t(rang[cles[p] >> decalage]) << decalage) | (cles[p] & masque);
            if (p % ItemsEntreEntretiens == 0) tri.Entretenir();
        }
        return decalage +
               (cellules_.empty() ? 0 : static_cast<int>(std::bit_width(cellules_.size() - 1)));
    }

    // The paths of a batch of records but for their cells' numbers, which depend on the order
    // the cells are met in. Per record: its cell (first index -1 outside the grid), the corner
    // of its deepest cube so far, its slots so far.
    struct TCheminsLot {
        std::vector<TCellule> Cellules;
        std::vector<TV3S> Coins;
        std::vector<std::uint32_t> Slots;
    };

    TCellule CelluleDe(const TPointScan& pt) const {
        const std::array<std::int32_t, 3>& orig = scan_.OrigGrille;
        const std::array<std::int32_t, 3>& dim = scan_.DimGrille;
        const double cx = std::floor(double(pt.X)) - orig[0];
        const double cy = std::floor(double(pt.Y)) - orig[1];
        const double cz = std::floor(double(pt.Z)) - orig[2];
        if (!(cx >= 0 && cx < dim[0] && cy >= 0 && cy < dim[1] && cz >= 0 && cz < dim[2]))
            return {-1, 0, 0};
        return {int(cx), int(cy), int(cz)};
    }

    // A part of the n records on each thread: the paths of different records do not depend on
    // each other.
    void CalculerLesChemins(const TPointScan* lot, std::size_t n, TCheminsLot& chemins) const {
        chemins.Cellules.resize(n);
        chemins.Coins.resize(n);
        chemins.Slots.assign(n, 0);
        FaireEnParties(parties_, [&](int partie) {
            const std::size_t debut = DebutPartie(n, partie, parties_);
            const std::size_t fin = DebutPartie(n, partie + 1, parties_);
            for (std::size_t q = debut; q < fin; ++q) {
                const TCellule c = chemins.Cellules[q] = CelluleDe(lot[q]);
                if (c[0] >= 0) chemins.Coins[q] = CoinCellule(scan_.OrigGrille, c[0], c[1], c[2]);
            }
            // Level by level: the slots of one record depend on each other, those of different
            // records do not, so their divisions overlap.
            for (int niveau = 0; niveau < nivMax_; ++niveau)
                for (std::size_t q = debut; q < fin; ++q) {
                    if (chemins.Cellules[q][0] < 0) continue;
                    const TPointScan& pt = lot[q];
                    chemins.Slots[q] =
                        (chemins.Slots[q] << BitsSlot) |
                        std::uint32_t(SlotEnfant(chemins.Coins[q], niveau, pt.X, pt.Y, pt.Z));
                }
        });
    }

    // The coarsest level whose cube changes from the key `avant` to `cle` (nivMax_ + 1: none).
    int PremierNiveauNouveau(std::uint64_t avant, std::uint64_t cle) const {
        const std::uint64_t d = cle ^ avant;
        if (d == 0) return nivMax_ + 1;
        // The level's key bits start at Decalage(niveau): the highest bit that differs tells.
        const int haut = static_cast<int>(std::bit_width(d)) - 1;
        return std::max(0, nivMax_ - haut / BitsSlot);
    }
    int PremierNiveauNouveau(const TGrandVecteur<std::uint64_t>& cles, std::size_t p) const {
        return p == 0 ? 0 : PremierNiveauNouveau(cles[p - 1], cles[p]);
    }

    // The cubes of each level, and each record's deepest cube by its place in path order.
    void CompterEtPlacer(const TGrandVecteur<std::uint64_t>& cles,
                         TGrandVecteur<std::uint32_t>& indices, TCentiemes& construction) {
        construction.Atteindre(0, 8, 0, 1);
        AgrandirParTranches(feuilleDe_, std::size_t(total_), construction, Aucun);
        for (std::size_t p = 0; p < cles.size(); ++p) {
            for (int n = PremierNiveauNouveau(cles, p); n <= nivMax_; ++n)
                ++nbCubes_[n];
            feuilleDe_[indices[p]] = nbCubes_[nivMax_] - 1;
            if (p % ItemsEntreEntretiens == 0)
                construction.Atteindre(0, 8, std::int64_t(p), std::int64_t(cles.size()));
        }
        Liberer(indices);
    }

    // A deepest cube's values and parent link hold six 32-bit words while its points are summed.
    static std::array<std::uint32_t, 6> Mots(const TCube& c) {
        return {std::bit_cast<std::uint32_t>(c.CooMoyPts.X),
                std::bit_cast<std::uint32_t>(c.CooMoyPts.Y),
                std::bit_cast<std::uint32_t>(c.CooMoyPts.Z),
                std::bit_cast<std::uint32_t>(c.ColCube),
                std::bit_cast<std::uint32_t>(c.nbptscube),
                c.parent_};
    }
    static void RangerMots(TCube& c, const std::array<std::uint32_t, 6>& m) {
        c.CooMoyPts = {std::bit_cast<float>(m[0]), std::bit_cast<float>(m[1]),
                       std::bit_cast<float>(m[2])};
        c.ColCube = std::bit_cast<TV4By>(m[3]);
        c.nbptscube = std::bit_cast<std::int32_t>(m[4]);
        c.parent_ = m[5];
    }
    static std::uint64_t Mot64(std::uint32_t bas, std::uint32_t haut) {
        return std::uint64_t(bas) | std::uint64_t(haut) << 32;
    }
    // The deepest cube's key while the cubes are made: in its first two words.
    static std::uint64_t CleDe(const TCube& c) {
        const std::array<std::uint32_t, 6> m = Mots(c);
        return Mot64(m[0], m[1]);
    }
    // The sums of the coordinates, in all six words.
    static TV3R SommeDe(const TCube& c) {
        const std::array<std::uint32_t, 6> m = Mots(c);
        return {std::bit_cast<double>(Mot64(m[0], m[1])), std::bit_cast<double>(Mot64(m[2], m[3])),
                std::bit_cast<double>(Mot64(m[4], m[5]))};
    }
    static void RangerSomme(TCube& c, const TV3R& s) {
        std::array<std::uint32_t, 6> m{};
        for (std::size_t a = 0; a < 3; ++a) {
            const std::uint64_t v = std::bit_cast<std::uint64_t>(s[int(a)]);
            m[2 * a] = std::uint32_t(v);
            m[2 * a + 1] = std::uint32_t(v >> 32);
        }
        RangerMots(c, m);
    }
    // The colour sums, in the words that follow the mean.
    static std::array<std::uint32_t, 3> MotsCouleurs(const TCube& c) {
        const std::array<std::uint32_t, 6> m = Mots(c);
        return {m[3], m[4], m[5]};
    }
    static void RangerMotsCouleurs(TCube& c, const std::array<std::uint32_t, 3>& couleurs) {
        std::array<std::uint32_t, 6> m = Mots(c);
        std::copy(couleurs.begin(), couleurs.end(), m.begin() + 3);
        RangerMots(c, m);
    }

    // The cubes of every level in path order, with their levels, slots, parents and children.
    // The deepest cubes come first and receive their keys: the keys of the records are released
    // before the other levels take their memory.
    void FaireLesCubes(TGrandVecteur<std::uint64_t>& cles, TCentiemes& construction) {
        TGrandVecteur<TCube>& feuilles = niveaux_[nivMax_].Cubes;
        AgrandirParTranches(feuilles, nbCubes_[nivMax_], construction);
        for (std::size_t p = 0, f = 0; p < cles.size(); ++p)
            if (p == 0 || cles[p] != cles[p - 1]) {
                std::array<std::uint32_t, 6> m{};
                m[0] = std::uint32_t(cles[p]);
                m[1] = std::uint32_t(cles[p] >> 32);
                RangerMots(feuilles[f++], m);
            }
        Liberer(cles);
        for (int n = 0; n <= nivMax_; ++n) {
            TNiveauCubes& niv = niveaux_[n];
            AgrandirParTranches(niv.Chaine, nbCubes_[n], construction);
            if (n == nivMax_) continue;
            AgrandirParTranches(niv.Cubes, nbCubes_[n], construction);
            AgrandirParTranches(niv.PremierEnfant, nbCubes_[n], construction);
            AgrandirParTranches(niv.NbEnfants, nbCubes_[n], construction);
        }
        construction.Atteindre(8, 15, 1, 1);
        std::array<std::uint32_t, NbNiveaux> vus{};
        for (std::uint32_t f = 0; f < nbCubes_[nivMax_]; ++f) {
            const std::uint64_t cle = CleDe(feuilles[f]);
            for (int n = f == 0 ? 0 : PremierNiveauNouveau(CleDe(feuilles[f - 1]), cle);
                 n <= nivMax_; ++n) {
                const std::uint32_t place = vus[n]++;
                TCube& c = niveaux_[n].Cubes[place];
                c.NivCube = std::uint8_t(n);
                if (n == 0) continue;
                const std::uint32_t parent = vus[n - 1] - 1;
                c.parent_ = parent;
                c.indexParent = std::uint8_t(((cle >> Decalage(n)) & 127) + 1);
                TNiveauCubes& niv = niveaux_[n - 1];
                if (niv.NbEnfants[parent]++ == 0) niv.PremierEnfant[parent] = place;
            }
            if (f % ItemsEntreEntretiens == 0) construction.Atteindre(15, 25, f, nbCubes_[nivMax_]);
        }
    }

    // The cubes jump about their levels: those of a record some way ahead are asked for.
    static constexpr std::size_t AvanceFeuille = 32;

    // The records read again in file order, each given to ajouter(its deepest cube, record)
    // on the thread of its cube: the deepest cubes are cut in runs, one on each thread, and each
    // cube sees its records in file order. demander(cube) is told of the cubes a little
    // ahead.
    template <class D, class A>
    void Repartir(int debut, int fin, TCentiemes& construction, D&& demander, A&& ajouter) {
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            const std::uint32_t* feuilleDe = feuilleDe_.data() + i;
            FaireEnParties(parties_, [&](int partie) {
                const std::uint32_t bas =
                    std::uint32_t(DebutPartie(nbCubes_[nivMax_], partie, parties_));
                const std::uint32_t haut =
                    std::uint32_t(DebutPartie(nbCubes_[nivMax_], partie + 1, parties_));
                for (std::size_t q = 0; q < n; ++q) {
                    if (q + AvanceFeuille < n) {
                        const std::uint32_t f = feuilleDe[q + AvanceFeuille];
                        if (f >= bas && f < haut) demander(f);
                    }
                    const std::uint32_t f = feuilleDe[q];
                    if (f >= bas && f < haut) ajouter(f, lot[q]);
                }
            });
            i += std::int64_t(n);
            // Here, where a stop may be thrown: not inside the parts.
            construction.Atteindre(debut, fin, i, total_);
        });
    }

    // First reading: each deepest cube sums its points' coordinates in 64-bit reals, in file
    // order, its count kept in its chain's place. The means and counts of every cube follow.
    void SommerLesCoordonnees(TCentiemes& construction) {
        TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        std::uint32_t* nombres = niveaux_[nivMax_].Chaine.data();
        Repartir(
            25, 55, construction,
            [&](std::uint32_t f) {
                __builtin_prefetch(&feuilles[f], 1);
                __builtin_prefetch(&nombres[f], 1);
            },
            [&](std::uint32_t f, const TPointScan& pt) {
                const TV3R somme = nombres[f]++ == 0 ? TV3R{} : SommeDe(feuilles[f]);
                RangerSomme(feuilles[f], AddV3R(somme, {pt.X, pt.Y, pt.Z}));
            });
        ParArbres(construction, 60, [&](std::uint32_t place) { MoyennesCoordonnees(0, place); });
        // The crowded cubes get their 64-bit colour sums.
        for (std::uint32_t f = 0; f < nbCubes_[nivMax_]; ++f)
            if (nombres[f] > std::uint32_t(PointsSommesCourtes)) {
                feuilles[f].parent_ = std::uint32_t(sommesLongues_.size());
                sommesLongues_.emplace_back();
            }
    }

    // Second reading: each deepest cube sums its points' colours. Then the colours of every
    // cube, and the counts of the deepest cubes in their place.
    void SommerLesCouleurs(TCentiemes& construction) {
        TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        const std::uint32_t* nombres = niveaux_[nivMax_].Chaine.data();
        Repartir(
            60, 90, construction, [&](std::uint32_t f) { __builtin_prefetch(&feuilles[f], 1); },
            [&](std::uint32_t f, const TPointScan& pt) {
                TCube& c = feuilles[f];
                if (nombres[f] > std::uint32_t(PointsSommesCourtes)) {
                    TSommesCouleurs& l = sommesLongues_[c.parent_];
                    for (std::size_t k = 0; k < 4; ++k)
                        l[k] += pt.Couleur[k];
                    return;
                }
                TSommesCouleurs s = Deballer(MotsCouleurs(c));
                for (std::size_t k = 0; k < 4; ++k)
                    s[k] += pt.Couleur[k];
                RangerMotsCouleurs(c, Emballer(s));
            });
        ParArbres(construction, 95, [&](std::uint32_t place) { MoyennesCouleurs(0, place); });
        Liberer(sommesLongues_);
    }

    // f(place) for every level-0 cube, the progress reaching `centieme` hundredths. The level-0
    // cubes are cut into runs holding about as many deepest cubes, one run on each thread: their
    // subtrees are apart.
    template <class F> void ParArbres(TCentiemes& construction, int centieme, F&& f) {
        const auto premiereFeuille = [&](std::uint32_t place) {
            for (int n = 0; n < nivMax_; ++n)
                place = niveaux_[n].PremierEnfant[place];
            return place;
        };
        // Run p starts at the first level-0 cube whose subtree starts in part p of the deepest
        // cubes.
        std::vector<std::uint32_t> debuts(std::size_t(parties_) + 1, nbCubes_[0]);
        for (int p = 0; p < parties_; ++p) {
            const std::size_t feuille = DebutPartie(nbCubes_[nivMax_], p, parties_);
            std::uint32_t bas = 0, haut = nbCubes_[0];
            while (bas < haut) {
                const std::uint32_t m = bas + (haut - bas) / 2;
                if (premiereFeuille(m) < feuille)
                    bas = m + 1;
                else
                    haut = m;
            }
            debuts[std::size_t(p)] = bas;
        }
        // In slices of each run, the window served between them.
        constexpr std::uint32_t Tranches = 32;
        for (std::uint32_t t = 0; t < Tranches; ++t) {
            FaireEnParties(parties_, [&](int partie) {
                const std::uint32_t debut = debuts[std::size_t(partie)];
                const std::uint64_t longueur = debuts[std::size_t(partie) + 1] - debut;
                for (std::uint32_t place = debut + std::uint32_t(longueur * t / Tranches);
                     place < debut + std::uint32_t(longueur * (t + 1) / Tranches); ++place)
                    f(place);
            });
            construction.Atteindre(centieme - 5, centieme, t + 1, Tranches);
        }
    }

    struct TSommeCoordonnees {
        TV3R Coo;
        std::int32_t Nb = 0;
    };

    // The means and counts of a cube's subtree, from the children in slot order; returns its
    // sums. The deepest cubes' counts stay in their chain's places, their words after the mean
    // cleared for the colour sums.
    TSommeCoordonnees MoyennesCoordonnees(int niveau, std::uint32_t place) {
        TNiveauCubes& niv = niveaux_[niveau];
        TCube& c = niv.Cubes[place];
        TSommeCoordonnees s;
        if (niveau == nivMax_) {
            s = {SommeDe(c), std::int32_t(niv.Chaine[place])};
            RangerMots(c, {});
        } else {
            const std::uint32_t premier = niv.PremierEnfant[place];
            for (std::uint32_t e = premier; e < premier + niv.NbEnfants[place]; ++e) {
                const TSommeCoordonnees se = MoyennesCoordonnees(niveau + 1, e);
                s.Coo = AddV3R(s.Coo, se.Coo);
                s.Nb += se.Nb;
            }
            c.nbptscube = s.Nb;
        }
        c.CooMoyPts = Moyenne(s.Coo, s.Nb);
        return s;
    }

    // The colours of a cube's subtree, from the children in slot order; returns its sums.
    TSommesCouleurs MoyennesCouleurs(int niveau, std::uint32_t place) {
        TNiveauCubes& niv = niveaux_[niveau];
        TCube& c = niv.Cubes[place];
        TSommesCouleurs s{};
        if (niveau == nivMax_) {
            const std::int32_t nb = std::int32_t(niv.Chaine[place]);
            s = nb > PointsSommesCourtes ? sommesLongues_[c.parent_] : Deballer(MotsCouleurs(c));
            c.nbptscube = nb;
        } else {
            const std::uint32_t premier = niv.PremierEnfant[place];
            for (std::uint32_t e = premier; e < premier + niv.NbEnfants[place]; ++e) {
                const TSommesCouleurs se = MoyennesCouleurs(niveau + 1, e);
                for (std::size_t k = 0; k < 4; ++k)
                    s[k] += se[k];
            }
        }
        for (std::size_t k = 0; k < 4; ++k)
            c.ColCube[k] = static_cast<std::uint8_t>(s[k] / c.nbptscube);
        return s;
    }

    // The deepest cubes' parents, whose places held colour sums.
    void Relier() {
        if (nivMax_ == 0) return;
        const TNiveauCubes& parents = niveaux_[nivMax_ - 1];
        TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        for (std::uint32_t p = 0; p < nbCubes_[nivMax_ - 1]; ++p) {
            const std::uint32_t premier = parents.PremierEnfant[p];
            for (std::uint32_t e = premier; e < premier + parents.NbEnfants[p]; ++e)
                feuilles[e].parent_ = p;
        }
    }

    // The first record to reach a cube makes it the newest of its level so far; its ancestors
    // that it is also the first to reach follow.
    void Creer(std::array<std::uint32_t, NbNiveaux>& restants,
               std::array<std::vector<bool>, NbNiveaux>& atteints, std::uint32_t feuille) {
        std::uint32_t place = feuille;
        for (int n = nivMax_;; --n) {
            if (atteints[n][place]) return;
            atteints[n][place] = true;
            niveaux_[n].Chaine[--restants[n]] = place;
            if (n == 0) return;
            place = niveaux_[n].Cubes[place].parent_;
        }
    }

    // The chains, from the records' deepest cubes in file order.
    void MettreEnChaine(TCentiemes& construction) {
        constexpr std::size_t AvanceParent = 16;
        std::array<std::vector<bool>, NbNiveaux> atteints;
        for (int n = 0; n <= nivMax_; ++n)
            atteints[n].resize(nbCubes_[n]);
        std::array<std::uint32_t, NbNiveaux> restants = nbCubes_;
        const std::uint32_t* feuilleDe = feuilleDe_.data();
        const std::size_t nb = feuilleDe_.size();
        const TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        const TCube* parents = nivMax_ > 0 ? niveaux_[nivMax_ - 1].Cubes.data() : nullptr;
        for (std::size_t k = 0; k < nb; ++k) {
            // A new deepest cube reads its parent's place, then the parent.
            if (k + AvanceFeuille < nb) {
                const std::uint32_t f = feuilleDe[k + AvanceFeuille];
                if (f != Aucun) __builtin_prefetch(&feuilles[f]);
            }
            if (parents && k + AvanceParent < nb) {
                const std::uint32_t f = feuilleDe[k + AvanceParent];
                if (f != Aucun) __builtin_prefetch(&parents[feuilles[f].parent_]);
            }
            if (feuilleDe[k] != Aucun) Creer(restants, atteints, feuilleDe[k]);
            if (k % ItemsEntreEntretiens == 0)
                construction.Atteindre(95, 100, std::int64_t(k), std::int64_t(nb));
        }
        construction.Atteindre(95, 100, 1, 1);
        Liberer(feuilleDe_);
    }
};

void LireParLots(TFichierLecture& fichier, std::int64_t nb, const TRecevoirLot& recevoir) {
    std::vector<TPointScan> lot(std::size_t(std::min<std::int64_t>(nb, RecordsParLot)));
    for (std::int64_t lus = 0; lus < nb;) {
        const std::size_t n = std::size_t(std::min<std::int64_t>(nb - lus, RecordsParLot));
        fichier.LireExact(lot.data(), n * sizeof(TPointScan));
        recevoir(lot.data(), n);
        lus += std::int64_t(n);
    }
}

std::int64_t ConstruireGrille(TEtatScan& scan, const TDimensionsGrille& dimensions,
                              const TParcourirPoints& parcourir, const TSortieProgression& sortie,
                              int parties) {
    scan.OrigGrille = dimensions.Orig;
    scan.DimGrille = dimensions.Dim;
    try {
        return TConstructionCubes(scan, parcourir, parties).Construire(sortie);
    } catch (const std::bad_alloc& e) {
        throw EErreur("erreur enregistrement de point : " + MessageErreur(e));
    }
}
