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

template <class V> void Liberer(V& v) {
    V().swap(v);
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

    std::int64_t Construire(const TSortieProgression& sortie) {
        {
            std::vector<std::uint64_t> cles;
            std::vector<std::uint32_t> indices;
            const int bits = LireChemins(cles, indices);
            Trier(cles, indices, bits, sortie);
            CompterEtPlacer(cles, indices);
            FaireLesCubes(cles);
        }
        EnregistrerLesPoints(sortie);
        for (std::uint32_t place = 0; place < nbCubes_[0]; ++place)
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
    std::array<TNiveauCubes, NbNiveaux> niveaux_;
    // Per record: the place of its deepest cube; Aucun outside the grid.
    std::vector<std::uint32_t> feuilleDe_;

    int Decalage(int niveau) const { return BitsSlot * (nivMax_ - niveau); }

    // Each record in the grid gets the key (cell, slot at each level); returns the key's bits.
    int LireChemins(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& indices) {
        cles.reserve(std::size_t(total_));
        indices.reserve(std::size_t(total_));
        const std::array<std::int32_t, 3>& orig = scan_.OrigGrille;
        const std::array<std::int32_t, 3>& dim = scan_.DimGrille;
        TTableCellules table;
        std::vector<TV3S> coins;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            const std::size_t debut = cles.size();
            const std::int64_t premier = i;
            coins.clear();
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
                coins.push_back(CoinCellule(orig, cellule[0], cellule[1], cellule[2]));
                cles.push_back(table.Numero(cellule));
                indices.push_back(std::uint32_t(i));
            }
            AjouterLesSlots(lot, premier, indices.data() + debut, cles.data() + debut, coins.data(),
                            coins.size());
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

    // Appends to the keys of n records (their cells so far) the slot of each level: half of
    // the records on each thread, as the slots of different records do not depend on each
    // other. `coins`: the corners of their cells, which become those of their deepest cubes.
    void AjouterLesSlots(const TPointScan* lot, std::int64_t premier, const std::uint32_t* indices,
                         std::uint64_t* cles, TV3S* coins, std::size_t n) const {
        FaireEnDeux([&](int moitie) {
            const std::size_t debut = DebutMoitie(n, moitie), fin = FinMoitie(n, moitie);
            // Level by level: the slots of one record depend on each other, those of different
            // records do not, so their divisions overlap.
            for (int niveau = 0; niveau < nivMax_; ++niveau)
                for (std::size_t k = debut; k < fin; ++k) {
                    const TPointScan& pt = lot[indices[k] - premier];
                    cles[k] = (cles[k] << BitsSlot) |
                              std::uint64_t(SlotEnfant(coins[k], niveau, pt.X, pt.Y, pt.Z));
                }
        });
    }

    void Trier(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& indices, int bits,
               const TSortieProgression& sortie) const {
        // As the construction's, shown from 100 records on: a small file loads without a word.
        TProgression progression =
            TProgression::ParPas(total_ >= 100 ? sortie : TSortieProgression(), "tri : ", 1);
        TrierParCle(cles, indices, bits, [&](int centiemes) { progression.Avancer(centiemes); });
    }

    // The coarsest level whose cube changes from the sorted key p - 1 to p (nivMax_ + 1: none).
    int PremierNiveauNouveau(const std::vector<std::uint64_t>& cles, std::size_t p) const {
        if (p == 0) return 0;
        const std::uint64_t d = cles[p] ^ cles[p - 1];
        if (d == 0) return nivMax_ + 1;
        // The level's key bits start at Decalage(niveau): the highest bit that differs tells.
        const int haut = static_cast<int>(std::bit_width(d)) - 1;
        return std::max(0, nivMax_ - haut / BitsSlot);
    }

    // The cubes of each level, and each record's deepest cube by its place in path order.
    void CompterEtPlacer(const std::vector<std::uint64_t>& cles,
                         std::vector<std::uint32_t>& indices) {
        feuilleDe_.assign(std::size_t(total_), Aucun);
        for (std::size_t p = 0; p < cles.size(); ++p) {
            for (int n = PremierNiveauNouveau(cles, p); n <= nivMax_; ++n)
                ++nbCubes_[n];
            feuilleDe_[indices[p]] = nbCubes_[nivMax_] - 1;
        }
        Liberer(indices);
    }

    // The cubes of every level in path order, with their levels, slots, parents and children.
    void FaireLesCubes(std::vector<std::uint64_t>& cles) {
        for (int n = 0; n <= nivMax_; ++n) {
            TNiveauCubes& niv = niveaux_[n];
            niv.Cubes.resize(nbCubes_[n]);
            niv.Chaine.resize(nbCubes_[n]);
            if (n < nivMax_) {
                niv.PremierEnfant.resize(nbCubes_[n]);
                niv.NbEnfants.resize(nbCubes_[n]);
            }
        }
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
        }
        Liberer(cles);
    }

    // The first record to reach a cube makes it the newest of its level so far; its ancestors
    // that it is also the first to reach follow. Until the means, nbptscube != 0 marks the cubes
    // already reached.
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

    // The records read again in file order, each into its deepest cube.
    void EnregistrerLesPoints(const TSortieProgression& sortie) {
        TProgression progression = TProgression::ParPas(sortie, "construction : ", total_ / 100);
        std::vector<TCube>& feuilles = niveaux_[nivMax_].Cubes;
        std::array<std::uint32_t, NbNiveaux> restants = nbCubes_;
        // The cubes jump about their levels: the deepest cube of a record some way ahead is asked
        // for, and once it has come, its parent (which a new cube reads).
        constexpr std::size_t AvanceFeuille = 32, AvanceParent = 16;
        const std::size_t nbFeuilles = feuilleDe_.size();
        const TCube* parents = nivMax_ > 0 ? niveaux_[nivMax_ - 1].Cubes.data() : nullptr;
        std::int64_t i = 0;
        parcourir_([&](const TPointScan* lot, std::size_t n) {
            n = std::size_t(std::min<std::int64_t>(std::int64_t(n), total_ - i));
            for (std::size_t q = 0; q < n; ++q) {
                const std::size_t k = std::size_t(i);
                if (k + AvanceFeuille < nbFeuilles) {
                    const std::uint32_t f = feuilleDe_[k + AvanceFeuille];
                    if (f != Aucun) __builtin_prefetch(&feuilles[f], 1);
                }
                if (parents && k + AvanceParent < nbFeuilles) {
                    const std::uint32_t f = feuilleDe_[k + AvanceParent];
                    if (f != Aucun) __builtin_prefetch(&parents[feuilles[f].parent_]);
                }
                const std::uint32_t feuille = feuilleDe_[k];
                ++i;
                if (feuille != Aucun) {
                    TCube& c = feuilles[feuille];
                    if (c.nbptscube == 0) Creer(restants, feuille);
                    Enregistrer(c, lot[q]);
                }
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
        const std::uint32_t premier = niv.PremierEnfant[place];
        for (std::uint32_t e = premier; e < premier + niv.NbEnfants[place]; ++e) {
            const TSommes se = Moyennes(niveau + 1, e);
            s.Coo = AddV3S(s.Coo, se.Coo);
            for (int k = 0; k < 4; ++k)
                s.Couleurs[k] += se.Couleurs[k];
            s.Nb += se.Nb;
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
