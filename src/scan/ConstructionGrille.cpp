#include "scan/ConstructionGrille.h"

#include "scan/CoinsCubes.h"
#include "scan/TableCellules.h"
#include "scan/TriRadix.h"
#include "util/EnDeux.h"
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

// Coordinates summed in 64-bit reals and colours in 64-bit integers: a 32-bit sum drifts by
// metres over a million points, and a 32-bit colour sum wraps past 8.4 million.
struct TSommes {
    TV3R Coo;
    std::array<std::int64_t, 4> Couleurs{};
    std::int32_t Nb = 0;
};

// While the records are placed, a deepest cube holds its negated count, and in the 16 bytes of its
// mean and colour the sums of its points' colours, 32 bits a channel: the mean is then the same
// whatever the order of the points. 32 bits hold the sums of 16 843 009 points; a cube that
// reaches that many moves its sums to 64-bit ones beside the cubes and keeps their index.
constexpr std::int32_t PointsSommesCourtes = 16843009;

std::array<std::uint32_t, 4> SommesCourtes(const TCube& c) {
    return {std::bit_cast<std::uint32_t>(c.CooMoyPts.X),
            std::bit_cast<std::uint32_t>(c.CooMoyPts.Y),
            std::bit_cast<std::uint32_t>(c.CooMoyPts.Z), std::bit_cast<std::uint32_t>(c.ColCube)};
}

void RangerSommesCourtes(TCube& c, const std::array<std::uint32_t, 4>& s) {
    c.CooMoyPts = {std::bit_cast<float>(s[0]), std::bit_cast<float>(s[1]),
                   std::bit_cast<float>(s[2])};
    c.ColCube = std::bit_cast<TV4By>(s[3]);
}

using TSommesCouleurs = std::array<std::int64_t, 4>;

// A point recorded in its deepest cube; `somme` holds the sum of the coordinates, `longues` the
// 64-bit colour sums of the crowded cubes.
void Enregistrer(TCube& c, TV3R& somme, const TPointScan& pt,
                 std::vector<TSommesCouleurs>& longues) {
    somme = AddV3R(somme, {pt.X, pt.Y, pt.Z});
    if (-c.nbptscube < PointsSommesCourtes) {
        std::array<std::uint32_t, 4> s =
            c.nbptscube == 0 ? std::array<std::uint32_t, 4>{} : SommesCourtes(c);
        for (int n = 0; n < 4; ++n)
            s[n] += pt.Couleur[n];
        RangerSommesCourtes(c, s);
    } else {
        if (-c.nbptscube == PointsSommesCourtes) {
            const std::array<std::uint32_t, 4> s = SommesCourtes(c);
            longues.push_back({s[0], s[1], s[2], s[3]});
            RangerSommesCourtes(c, {std::uint32_t(longues.size() - 1), 0, 0, 0});
        }
        TSommesCouleurs& l = longues[SommesCourtes(c)[0]];
        for (int n = 0; n < 4; ++n)
            l[n] += pt.Couleur[n];
    }
    c.nbptscube -= 1;
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
// order, with the points of each deepest cube in file order. The records are then read again in
// file order: each goes into its deepest cube, and the first record to reach a cube gives the
// cube's place in its level's chain (newest first).
class TConstructionCubes {
public:
    TConstructionCubes(TEtatScan& scan, const TParcourirPoints& parcourir)
        : scan_(scan), parcourir_(parcourir), nivMax_(scan.NivMax), total_(scan.NbPoints) {}

    // The texts: "tri : " while the paths are read (to 30%) and sorted, then "construction : "
    // while the cubes are made (to 25%), the records placed in them (to 95%) and the means
    // computed. Shown from 100 records on: a small file loads without a word.
    std::int64_t Construire(const TSortieProgression& sortie) {
        const TSortieProgression montree = total_ >= 100 ? sortie : TSortieProgression();
        TCentiemes tri(montree, "tri : "), construction(montree, "construction : ");
        {
            TGrandVecteur<std::uint64_t> cles;
            TGrandVecteur<std::uint32_t> indices;
            const int bits = LireChemins(cles, indices, tri);
            TrierParCle(cles, indices, bits, [&](std::int64_t fait, std::int64_t total) {
                tri.Atteindre(30, 100, fait, total);
            });
            CompterEtPlacer(cles, indices, construction);
            FaireLesCubes(cles, construction);
        }
        EnregistrerLesPoints(construction);
        LesMoyennes(construction);
        scan_.InstallerCubes(std::move(niveaux_), std::move(cellules_));
        return horsGrille_;
    }

private:
    TEtatScan& scan_;
    const TParcourirPoints& parcourir_;
    const int nivMax_;
    const std::int64_t total_;
    std::int64_t horsGrille_ = 0;
    std::vector<TCellule> cellules_; // occupied, in the grid's order
    std::array<std::uint32_t, NbNiveaux> nbCubes_{};
    std::array<TNiveauCubes, NbNiveaux> niveaux_;
    // Per record: the place of its deepest cube; Aucun outside the grid.
    TGrandVecteur<std::uint32_t> feuilleDe_;
    // Per deepest cube, until the means: the sum of its points' coordinates.
    TGrandVecteur<TV3R> sommesFeuilles_;
    // The colour sums of the cubes too crowded for 32-bit ones.
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

    // Half of the n records on each thread: the paths of different records do not depend on
    // each other.
    void CalculerLesChemins(const TPointScan* lot, std::size_t n, TCheminsLot& chemins) const {
        chemins.Cellules.resize(n);
        chemins.Coins.resize(n);
        chemins.Slots.assign(n, 0);
        FaireEnDeux([&](int moitie) {
            const std::size_t debut = DebutMoitie(n, moitie), fin = FinMoitie(n, moitie);
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

    // The coarsest level whose cube changes from the sorted key p - 1 to p (nivMax_ + 1: none).
    int PremierNiveauNouveau(const TGrandVecteur<std::uint64_t>& cles, std::size_t p) const {
        if (p == 0) return 0;
        const std::uint64_t d = cles[p] ^ cles[p - 1];
        if (d == 0) return nivMax_ + 1;
        // The level's key bits start at Decalage(niveau): the highest bit that differs tells.
        const int haut = static_cast<int>(std::bit_width(d)) - 1;
        return std::max(0, nivMax_ - haut / BitsSlot);
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

    // The cubes of every level in path order, with their levels, slots, parents and children.
    void FaireLesCubes(TGrandVecteur<std::uint64_t>& cles, TCentiemes& construction) {
        DimensionnerLesNiveaux(construction);
        std::array<std::uint32_t, NbNiveaux> vus{};
        for (std::size_t p = 0; p < cles.size(); ++p) {
            for (int n = PremierNiveauNouveau(cles, p); n <= nivMax_; ++n) {
                const std::uint32_t place = vus[n]++;
                TCube& c = niveaux_[n].Cubes[place];
                c.NivCube = std::uint8_t(n);
                if (n == 0) continue;
                const std::uint32_t parent = vus[n - 1] - 1;
                c.parent_ = parent;
                c.indexParent = std::uint8_t(((cles[p] >> Decalage(n)) & 127) + 1);
                TNiveauCubes& niv = niveaux_[n - 1];
                if (niv.NbEnfants[parent]++ == 0) niv.PremierEnfant[parent] = place;
            }
            if (p % ItemsEntreEntretiens == 0)
                construction.Atteindre(15, 25, std::int64_t(p), std::int64_t(cles.size()));
        }
        Liberer(cles);
    }

    // The arrays of every level, cleared. Most of the time goes to the system's fresh pages:
    // the deepest cubes, about half of the memory, on this thread, where the window is served
    // between slices, the other arrays on the other.
    void DimensionnerLesNiveaux(TCentiemes& construction) {
        FaireEnDeux([&](int moitie) {
            if (moitie == 1) {
                AgrandirParTranches(niveaux_[nivMax_].Cubes, nbCubes_[nivMax_], construction);
                return;
            }
            for (int n = 0; n <= nivMax_; ++n) {
                TNiveauCubes& niv = niveaux_[n];
                niv.Chaine.resize(nbCubes_[n]);
                if (n == nivMax_) continue;
                niv.Cubes.resize(nbCubes_[n]);
                niv.PremierEnfant.resize(nbCubes_[n]);
                niv.NbEnfants.resize(nbCubes_[n]);
            }
        });
        construction.Atteindre(8, 15, 1, 1);
    }

    // The first record to reach a cube makes it the newest of its level so far; its ancestors
    // that it is also the first to reach follow. Until the means, nbptscube != 0 marks the cubes
    // above the deepest level already reached.
    void Creer(std::array<std::uint32_t, NbNiveaux>& restants, std::uint32_t feuille) {
        std::uint32_t place = feuille;
        for (int n = nivMax_;; --n) {
            niveaux_[n].Chaine[--restants[n]] = place;
            if (n == 0) return;
            place = niveaux_[n].Cubes[place].parent_;
            TCube& parent = niveaux_[n - 1].Cubes[place];
            if (parent.nbptscube != 0) return;
            parent.nbptscube = -1;
        }
    }

    // The records read again in file order. One thread makes the chains, which follow the order
    // of the records across all cubes; the other records each point in its deepest cube, where
    // only the order of that cube's own records matters.
    void EnregistrerLesPoints(TCentiemes& construction) {
        std::vector<bool> atteintes;
        AgrandirParTranches(atteintes, nbCubes_[nivMax_], construction);
        AgrandirParTranches(sommesFeuilles_, nbCubes_[nivMax_], construction);
        std::array<std::uint32_t, NbNiveaux> restants = nbCubes_;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            FaireEnDeux([&](int moitie) {
                if (moitie == 0)
                    MettreEnChaine(std::size_t(i), n, atteintes, restants);
                else
                    EnregistrerLot(std::size_t(i), lot, n);
            });
            i += std::int64_t(n);
            // Here, where a stop may be thrown: not inside the halves.
            construction.Atteindre(25, 95, i, total_);
        });
        Liberer(feuilleDe_);
    }

    // The cubes jump about their levels: those of a record some way ahead are asked for.
    static constexpr std::size_t AvanceFeuille = 32, AvanceParent = 16;

    // Records `premier` to premier + n - 1 that are the first to reach their deepest cube put it
    // and its new ancestors in their chains.
    void MettreEnChaine(std::size_t premier, std::size_t n, std::vector<bool>& atteintes,
                        std::array<std::uint32_t, NbNiveaux>& restants) {
        const std::uint32_t* feuilleDe = feuilleDe_.data();
        const TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        const TCube* parents = nivMax_ > 0 ? niveaux_[nivMax_ - 1].Cubes.data() : nullptr;
        for (std::size_t k = premier; k < premier + n; ++k) {
            // A new deepest cube reads its parent's place, then the parent.
            if (k + AvanceFeuille < feuilleDe_.size()) {
                const std::uint32_t f = feuilleDe[k + AvanceFeuille];
                if (f != Aucun) __builtin_prefetch(&feuilles[f]);
            }
            if (parents && k + AvanceParent < feuilleDe_.size()) {
                const std::uint32_t f = feuilleDe[k + AvanceParent];
                if (f != Aucun) __builtin_prefetch(&parents[feuilles[f].parent_]);
            }
            const std::uint32_t feuille = feuilleDe[k];
            if (feuille == Aucun || atteintes[feuille]) continue;
            atteintes[feuille] = true;
            Creer(restants, feuille);
        }
    }

    // Records `premier` to premier + n - 1, in `lot`, each into its deepest cube.
    void EnregistrerLot(std::size_t premier, const TPointScan* lot, std::size_t n) {
        const std::uint32_t* feuilleDe = feuilleDe_.data() + premier;
        TCube* feuilles = niveaux_[nivMax_].Cubes.data();
        for (std::size_t q = 0; q < n; ++q) {
            if (premier + q + AvanceFeuille < feuilleDe_.size()) {
                const std::uint32_t f = feuilleDe[q + AvanceFeuille];
                if (f != Aucun) __builtin_prefetch(&feuilles[f], 1);
            }
            const std::uint32_t feuille = feuilleDe[q];
            if (feuille != Aucun)
                Enregistrer(feuilles[feuille], sommesFeuilles_[feuille], lot[q], sommesLongues_);
        }
    }

    // The means of every cube. The level-0 cubes are cut into two runs holding about as many
    // deepest cubes, one run on each thread: their subtrees are apart.
    void LesMoyennes(TCentiemes& construction) {
        const auto premiereFeuille = [&](std::uint32_t place) {
            for (int n = 0; n < nivMax_; ++n)
                place = niveaux_[n].PremierEnfant[place];
            return place;
        };
        // The first level-0 cube whose subtree starts in the second half of the deepest cubes.
        std::uint32_t milieu = 0, haut = nbCubes_[0];
        while (milieu < haut) {
            const std::uint32_t m = milieu + (haut - milieu) / 2;
            if (premiereFeuille(m) < nbCubes_[nivMax_] / 2)
                milieu = m + 1;
            else
                haut = m;
        }
        // In slices of each run, the window served between them.
        constexpr std::uint32_t Tranches = 32;
        for (std::uint32_t t = 0; t < Tranches; ++t) {
            FaireEnDeux([&](int moitie) {
                const std::uint32_t debut = moitie == 0 ? 0 : milieu;
                const std::uint32_t fin = moitie == 0 ? milieu : nbCubes_[0];
                const std::uint64_t longueur = fin - debut;
                for (std::uint32_t place = debut + std::uint32_t(longueur * t / Tranches);
                     place < debut + std::uint32_t(longueur * (t + 1) / Tranches); ++place)
                    Moyennes(0, place);
            });
            construction.Atteindre(95, 100, t + 1, Tranches);
        }
        Liberer(sommesFeuilles_);
        Liberer(sommesLongues_);
    }

    // The means of a cube's subtree, from the children in slot order; returns its sums.
    TSommes Moyennes(int niveau, std::uint32_t place) {
        TNiveauCubes& niv = niveaux_[niveau];
        TCube& c = niv.Cubes[place];
        TSommes s;
        if (niveau == nivMax_) {
            s.Nb = -c.nbptscube;
            if (s.Nb <= PointsSommesCourtes) {
                const std::array<std::uint32_t, 4> courtes = SommesCourtes(c);
                std::copy(courtes.begin(), courtes.end(), s.Couleurs.begin());
            } else {
                s.Couleurs = sommesLongues_[SommesCourtes(c)[0]];
            }
            s.Coo = sommesFeuilles_[place];
        } else {
            const std::uint32_t premier = niv.PremierEnfant[place];
            for (std::uint32_t e = premier; e < premier + niv.NbEnfants[place]; ++e) {
                const TSommes se = Moyennes(niveau + 1, e);
                s.Coo = AddV3R(s.Coo, se.Coo);
                for (int k = 0; k < 4; ++k)
                    s.Couleurs[k] += se.Couleurs[k];
                s.Nb += se.Nb;
            }
        }
        c.nbptscube = s.Nb;
        if (s.Nb != 0) {
            c.CooMoyPts = Moyenne(s.Coo, s.Nb);
            for (int k = 0; k < 4; ++k)
                c.ColCube[k] = static_cast<std::uint8_t>(s.Couleurs[k] / s.Nb);
        }
        return s;
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
                              const TParcourirPoints& parcourir, const TSortieProgression& sortie) {
    scan.OrigGrille = dimensions.Orig;
    scan.DimGrille = dimensions.Dim;
    try {
        return TConstructionCubes(scan, parcourir).Construire(sortie);
    } catch (const std::bad_alloc& e) {
        throw EErreur("erreur enregistrement de point : " + MessageErreur(e));
    }
}
