#pragma once
// The scan: a hierarchy of cubes (5 x 5 x 5 children per cube, five levels of definition), each
// holding the mean position, mean colour and count of the points that fell into it.

#include "geometry/UtilsVect.h"
#include "scan/Decalage.h"
#include "scan/ListeCubes.h"
#include "util/GrandesPages.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// One point of a scan file or of the XYZ import's temporary file: 16 bytes, little-endian.
struct TPointScan {
    float X = 0, Y = 0, Z = 0;
    TV4By Couleur{};
};
static_assert(sizeof(TPointScan) == 16);

inline constexpr int NbNiveaux = 5;
inline constexpr std::array<float, NbNiveaux> TailleNiv = {1.0f, 0.2f, 0.04f, 0.008f, 0.0016f};
// Items of the displayed-level list, also used by "Propriétés".
inline constexpr const char* ItemsNivAff[NbNiveaux] = {"0 : 1 m", "1 : 20 cm", "2 : 4 cm",
                                                       "3 : 8 mm", "4 : 1.6 mm"};

// State bits of a cube.
inline constexpr std::uint8_t EtatSelectionne = 1;
inline constexpr std::uint8_t EtatMasque = 2;
inline constexpr std::uint8_t EtatSupprime = 4;

// A cube's own values. Its links (parent, next of its level, children) are positions in the
// arrays of the scan that holds it, read through TEtatScan: a scan holds tens of millions of
// cubes and their size is most of its memory.
class TCube {
public:
    TV3S CooMoyPts;
    TV4By ColCube{};
    std::int32_t nbptscube = 0;
    std::uint8_t NivCube = 0;
    std::uint8_t etatSP = 0;
    std::uint8_t indexParent = 0; // 1-based slot in the parent's children

private:
    friend class TEtatScan;
    friend class TConstructionCubes;
    friend class TCubesArkl;
    bool detruit_ = false;
    std::uint32_t parent_ = 0; // place of the parent in the array of its level
};
static_assert(sizeof(TCube) == 28);

// The cubes of one level, in path order: grouped by parent, in slot order within a parent (the
// level-0 cubes in the grid's order), so that a subtree lies in one stretch of each level.
struct TNiveauCubes {
    TGrandVecteur<TCube> Cubes;
    // The level's chain, newest cube first: places in Cubes.
    TGrandVecteur<std::uint32_t> Chaine;
    // For each cube above the deepest level: the place of its first child in the next level, and
    // how many places from there its children had (the destroyed ones stay, marked).
    TGrandVecteur<std::uint32_t> PremierEnfant;
    TGrandVecteur<std::uint8_t> NbEnfants;
};

// An occupied level-0 cell, by its indices from OrigGrille.
using TCellule = std::array<std::int32_t, 3>;

class TEtatScan {
public:
    TEtatScan() = default;
    TEtatScan(const TEtatScan&) = delete;
    TEtatScan& operator=(const TEtatScan&) = delete;

    std::int32_t NivMax = 4;
    std::int32_t NbPoints = 0;
    TV3S CooMin{PlusGrandReel, PlusGrandReel, PlusGrandReel};
    TV3S CooMax{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    // Metres subtracted from the file's coordinates to give every coordinate above (survey grids).
    TDecalage Decalage{};
    std::array<std::int32_t, 3> OrigGrille{};
    std::array<std::int32_t, 3> DimGrille{};
    std::array<TCube*, NbNiveaux> PremierCubeNiv{};
    std::array<std::int32_t, NbNiveaux> NbCubesNiv{};
    std::int32_t NivAffiche = 0;
    TListeCubes CubesAffiches;
    // Changes each time CubesAffiches is rebuilt or emptied, or its cubes are deleted or
    // restored: what is derived from the displayed survey (the index of heights) is kept while
    // it stays the same.
    std::uint64_t VersionAffiches = 0;
    bool ScanModifie = false;
    // Since the load or the last save, a change that undoing the deletions cannot take back (a
    // compaction, a new frame): the scan then stays to be saved after the undo.
    bool ModifieSansRetour = false;

    // The level-0 grid, sparse: the occupied cells in the order X index, then Y, then Z, and
    // their cubes (empty once destroyed by the compaction).
    std::vector<TCellule> CellulesGrille;
    std::vector<TCube*> Grille;

    // Replaces the cubes by those of `niveaux` (the counts and chain heads follow); `cellules`
    // gives the cell of each level-0 cube, in the same order.
    void InstallerCubes(std::array<TNiveauCubes, NbNiveaux>&& niveaux,
                        std::vector<TCellule>&& cellules);

    TCube* CubeParent(const TCube* c) const;
    TV3S CooOriCube(const TCube* c) const;
    // Children, by slot i*25 + j*5 + k (0..124). Only cubes above the deepest level have them.
    TCube* Enfant(const TCube* c, int slot) const;
    int NbEnfants(const TCube* c) const;
    template <class F> void PourChaqueEnfant(const TCube* c, F&& f) const {
        if (c->NivCube >= NivMax) return;
        const TNiveauCubes& niv = niveaux_[c->NivCube];
        const std::size_t n = Place(c);
        TCube* enfant = niveaux_[c->NivCube + 1u].Cubes.data() + niv.PremierEnfant[n];
        for (TCube* fin = enfant + niv.NbEnfants[n]; enfant != fin; ++enfant)
            if (!enfant->detruit_) f(enfant);
    }

    // true: sets the deleted bit on the cube and every cube below it; false: clears the
    // selected, masked and deleted bits on them.
    void MarquerSupprime(TCube* c, bool supp);
    // True when the owner may destroy the cube, after destroying what may go below it.
    bool Compacter(TCube* c);
    void DetruireCube(TCube* cube);

    // `entretenir` is called every few thousand cubes (the window's events served meanwhile).
    void ChoisirNivAffiche(int niveau, const std::function<void()>& entretenir = {});
    std::int64_t NbCubesTotal() const;
    void ReinitialiserBoiteEnglobante();
    // Empties the scan: every cube destroyed, grid, chains, counts and displayed list emptied.
    void Vider();
    // Empties the scan and resets its box, its shift and its deepest level: the state a load
    // starts from.
    void Reinitialiser();
    // Exchanges everything the two scans hold, their cubes included.
    void Echanger(TEtatScan& autre);

    // The cubes of a level in chain order, newest first.
    template <class F> void PourChaqueCubeDuNiveau(int niveau, F&& f) const {
        const std::size_t n = std::size_t(niveau);
        const auto& chaine = niveaux_[n].Chaine;
        TCube* cubes = niveaux_[n].Cubes.data();
        // The chain jumps about the level: ask for the cubes a little ahead.
        constexpr std::size_t Avance = 8;
        for (std::size_t k = teteChaine_[n]; k < chaine.size(); ++k) {
            if (k + Avance < chaine.size()) __builtin_prefetch(cubes + chaine[k + Avance]);
            TCube* c = cubes + chaine[k];
            if (!c->detruit_) f(c);
        }
    }

private:
    friend class TCubesArkl;
    // mutable: a const scan still hands out its cubes for reading or for their state bits.
    mutable std::array<TNiveauCubes, NbNiveaux> niveaux_;
    // Where each chain starts: the cubes before have been destroyed.
    std::array<std::size_t, NbNiveaux> teteChaine_{};
    std::size_t Place(const TCube* c) const {
        return std::size_t(c - niveaux_[c->NivCube].Cubes.data());
    }
    void DetruireSousArbre(TCube* cube);
};
