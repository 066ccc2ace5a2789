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

struct TSommes {
    TV3S Coo;
    std::array<std::int64_t, 4> Couleurs{};
    std::int32_t Nb = 0;
};

std::uint8_t MoyenneGlissante(std::uint8_t ancien, std::int32_t nb, std::uint8_t nouveau) {
    // (ancien*nb - nouveau) div (nb - 1), nb negative: the running mean rounded down.
    return static_cast<std::uint8_t>((std::int64_t(ancien) * nb - nouveau) /
                                     (std::int64_t(nb) - 1));
}

// A point recorded in its deepest cube: while the scan is built the cube holds the negated count,
// the sum of the coordinates and the running mean of the colours.
void Enregistrer(TCube& c, const TPointScan& pt) {
    if (c.nbptscube == 0) {
        c.ColCube = pt.Couleur;
        c.CooMoyPts = {pt.X, pt.Y, pt.Z};
        c.nbptscube = -1;
        return;
    }
    for (int n = 0; n < 4; ++n)
        c.ColCube[n] = MoyenneGlissante(c.ColCube[n], c.nbptscube, pt.Couleur[n]);
    c.nbptscube -= 1;
    c.CooMoyPts = AddV3S(c.CooMoyPts, {pt.X, pt.Y, pt.Z});
}

template <class T> void Liberer(std::vector<T>& v) {
    std::vector<T>().swap(v);
}

} // namespace

// Builds every level at once instead of point by point: each point's path of slots is computed
// from its coordinates alone, a stable sort by path groups the points of each cube (in file
// order within a cube), and a cube's place in its chain comes from the first point that reached
// it. Only the points' deepest cubes are then read in file order.
class TConstructionCubes {
public:
    TConstructionCubes(TEtatScan& scan, const TParcourirPoints& parcourir)
        : scan_(scan), parcourir_(parcourir), nivMax_(scan.NivMax), total_(scan.NbPoints) {}

    std::int64_t Construire(const TSortieProgression& sortie) {
        {
            std::vector<std::uint64_t> cles;
            std::vector<std::uint32_t> indices;
            const int bits = LireChemins(cles, indices);
            TrierParCle(cles, indices, bits);
            Grouper(cles, indices);
        }
        PlacerDansLesChaines();
        RemplirLesCubes();
        EnregistrerLesPoints(sortie);
        for (std::uint32_t place : niveaux_[0].Enfants)
            Moyennes(0, place);
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
    // While the levels are made, Enfants holds each cube's place in its chain, by path order.
    std::array<TNiveauCubes, NbNiveaux> niveaux_;
    // By path order: the parent's place in the path order of its level, the slot.
    std::array<std::vector<std::uint32_t>, NbNiveaux> parents_;
    std::array<std::vector<std::uint8_t>, NbNiveaux> slots_;
    // Per record: its deepest cube, by path order then by chain place; Aucun outside the grid.
    std::vector<std::uint32_t> feuilleDe_;

    int Decalage(int niveau) const { return BitsSlot * (nivMax_ - niveau); }

    // Each record in the grid gets the key (cell, slot at each level); returns the key's bits.
    int LireChemins(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& indices) {
        cles.reserve(std::size_t(total_));
        indices.reserve(std::size_t(total_));
        const std::array<std::int32_t, 3>& orig = scan_.OrigGrille;
        const std::array<std::int32_t, 3>& dim = scan_.DimGrille;
        TTableCellules table;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            for (std::size_t q = 0; q < n; ++q, ++i) {
                const TPointScan& pt = lot[q];
                const double cx = std::floor(double(pt.X)) - orig[0];
                const double cy = std::floor(double(pt.Y)) - orig[1];
                const double cz = std::floor(double(pt.Z)) - orig[2];
                if (!(cx >= 0 && cx < dim[0] && cy >= 0 && cy < dim[1] && cz >= 0 && cz < dim[2])) {
                    ++horsGrille_;
                    continue;
                }
                const TCellule cellule{int(cx), int(cy), int(cz)};
                TV3S coin = CoinCellule(orig, cellule[0], cellule[1], cellule[2]);
                std::uint64_t chemin = table.Numero(cellule);
                for (int niveau = 0; niveau < nivMax_; ++niveau)
                    chemin = (chemin << BitsSlot) |
                             std::uint64_t(SlotEnfant(coin, niveau, pt.X, pt.Y, pt.Z));
                cles.push_back(chemin);
                indices.push_back(std::uint32_t(i));
            }
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
        for (std::uint64_t& c : cles)
            c = (std::uint64_t(rang[c >> decalage]) << decalage) | (c & masque);
        return decalage +
               (cellules_.empty() ? 0 : static_cast<int>(std::bit_width(cellules_.size() - 1)));
    }

    // The coarsest level whose cube differs between the keys a and b (nivMax_ + 1: none).
    int PremierNiveauNouveau(std::uint64_t a, std::uint64_t b) const {
        const std::uint64_t d = a ^ b;
        for (int niveau = 0; niveau <= nivMax_; ++niveau)
            if ((d >> Decalage(niveau)) != 0) return niveau;
        return nivMax_ + 1;
    }

    // The sorted keys give the cubes of every level in path order, their parents and slots, and
    // each record's deepest cube.
    void Grouper(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& indices) {
        const std::size_t m = cles.size();
        for (std::size_t p = 0; p < m; ++p)
            for (int n = p == 0 ? 0 : PremierNiveauNouveau(cles[p], cles[p - 1]); n <= nivMax_; ++n)
                ++nbCubes_[n];
        for (int n = 1; n <= nivMax_; ++n) {
            parents_[n].reserve(nbCubes_[n]);
            slots_[n].reserve(nbCubes_[n]);
        }
        feuilleDe_.assign(std::size_t(total_), Aucun);
        std::array<std::uint32_t, NbNiveaux> vus{};
        for (std::size_t p = 0; p < m; ++p) {
            const std::uint64_t c = cles[p];
            for (int n = p == 0 ? 0 : PremierNiveauNouveau(c, cles[p - 1]); n <= nivMax_; ++n) {
                if (n > 0) {
                    parents_[n].push_back(vus[n - 1] - 1);
                    slots_[n].push_back(std::uint8_t((c >> Decalage(n)) & 127));
                }
                ++vus[n];
            }
            feuilleDe_[indices[p]] = vus[nivMax_] - 1;
        }
        Liberer(cles);
        Liberer(indices);
    }

    // Walking the records in file order, the first record of a cube creates it: the chain of a
    // level runs from the newest cube to the oldest. Each record then names its deepest cube by
    // its chain place.
    void PlacerDansLesChaines() {
        for (int n = 0; n <= nivMax_; ++n)
            niveaux_[n].Enfants.assign(nbCubes_[n], Aucun);
        std::array<std::uint32_t, NbNiveaux> crees{};
        for (std::uint32_t& feuille : feuilleDe_) {
            if (feuille == Aucun) continue;
            std::uint32_t* place = &niveaux_[nivMax_].Enfants[feuille];
            for (int n = nivMax_, q = int(feuille); niveaux_[n].Enfants[q] == Aucun; --n) {
                niveaux_[n].Enfants[q] = nbCubes_[n] - 1 - crees[n]++;
                if (n == 0) break;
                q = int(parents_[n][q]);
            }
            feuille = *place;
        }
    }

    // The cubes of each level in chain order, with their parents, slots and child lists.
    void RemplirLesCubes() {
        for (int n = nivMax_; n >= 0; --n) {
            TNiveauCubes& niv = niveaux_[n];
            niv.Cubes.resize(nbCubes_[n]);
            for (std::uint32_t q = 0; q < nbCubes_[n]; ++q) {
                TCube& c = niv.Cubes[niv.Enfants[q]];
                c.NivCube = std::uint8_t(n);
                if (n > 0) {
                    c.indexParent = std::uint8_t(slots_[n][q] + 1);
                    c.parent_ = niveaux_[n - 1].Enfants[parents_[n][q]];
                } else {
                    c.parent_ = q;
                }
            }
            Liberer(slots_[n]);
            if (n == nivMax_) continue;
            niv.PremierEnfant.assign(nbCubes_[n], 0);
            niv.NbEnfants.assign(nbCubes_[n], 0);
            const std::vector<std::uint32_t>& parents = parents_[n + 1];
            for (std::uint32_t q = 0; q < nbCubes_[n + 1]; ++q) {
                const std::uint32_t p = niv.Enfants[parents[q]];
                if (niv.NbEnfants[p]++ == 0) niv.PremierEnfant[p] = q;
            }
            Liberer(parents_[n + 1]);
        }
    }

    // The records read again in file order, each into its deepest cube.
    void EnregistrerLesPoints(const TSortieProgression& sortie) {
        TProgression progression = TProgression::ParPas(sortie, "construction : ", total_ / 100);
        std::vector<TCube>& feuilles = niveaux_[nivMax_].Cubes;
        constexpr std::size_t Avance = 16;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            for (std::size_t q = 0; q < n; ++q) {
                if (std::size_t(i) + Avance < feuilleDe_.size()) {
                    const std::uint32_t plusLoin = feuilleDe_[std::size_t(i) + Avance];
                    if (plusLoin != Aucun) __builtin_prefetch(&feuilles[plusLoin], 1);
                }
                const std::uint32_t feuille = feuilleDe_[std::size_t(i)];
                ++i;
                if (feuille != Aucun) Enregistrer(feuilles[feuille], lot[q]);
                progression.Avancer(i);
            }
        });
        Liberer(feuilleDe_);
    }

    // The means of a cube's subtree, from the children in slot order; returns its sums.
    TSommes Moyennes(int niveau, std::uint32_t place) {
        TNiveauCubes& niv = niveaux_[niveau];
        TCube& c = niv.Cubes[place];
        TSommes s;
        if (niveau == nivMax_) {
            c.nbptscube = -c.nbptscube;
            s.Coo = c.CooMoyPts;
            if (c.nbptscube > 1) {
                const double n = c.nbptscube;
                c.CooMoyPts = {static_cast<float>(c.CooMoyPts.X / n),
                               static_cast<float>(c.CooMoyPts.Y / n),
                               static_cast<float>(c.CooMoyPts.Z / n)};
            }
            for (int q = 0; q < 4; ++q)
                s.Couleurs[q] = std::int64_t(c.ColCube[q]) * c.nbptscube;
            s.Nb = c.nbptscube;
            return s;
        }
        const TNiveauCubes& enf = niveaux_[niveau + 1];
        const std::uint32_t* liste = enf.Enfants.data() + niv.PremierEnfant[place];
        const int nb = niv.NbEnfants[place];
        // The children lie anywhere in their level: ask for all of them before the first.
        for (int q = 0; q < nb; ++q) {
            __builtin_prefetch(&enf.Cubes[liste[q]], 1);
            if (niveau + 1 < nivMax_) {
                __builtin_prefetch(&enf.PremierEnfant[liste[q]]);
                __builtin_prefetch(&enf.NbEnfants[liste[q]]);
            }
        }
        for (int q = 0; q < nb; ++q) {
            const TSommes e = Moyennes(niveau + 1, liste[q]);
            s.Coo = AddV3S(s.Coo, e.Coo);
            for (int k = 0; k < 4; ++k)
                s.Couleurs[k] += e.Couleurs[k];
            s.Nb += e.Nb;
        }
        c.nbptscube = s.Nb;
        if (s.Nb != 0) {
            const double n = s.Nb;
            c.CooMoyPts = {static_cast<float>(s.Coo.X / n), static_cast<float>(s.Coo.Y / n),
                           static_cast<float>(s.Coo.Z / n)};
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
        throw EErreur(std::string("erreur enregistrement de point : ") + e.what());
    }
}
