#pragma once
// The scan: a hierarchy of cubes (5 x 5 x 5 children per cube, five levels of definition), each
// holding the mean position, mean colour and count of the points that fell into it.

#include "geometry/UtilsVect.h"
#include "scan/Decalage.h"
#include "scan/ReserveCubes.h"

#include <array>
#include <cstdint>
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

class TEtatScan;

class TCube {
public:
    TCube* CubeParent = nullptr;
    TCube* SvtNiv = nullptr; // next cube of the same level's chain (towards older cubes)
    std::uint8_t NivCube = 0;
    std::uint8_t etatSP = 0;
    std::uint8_t indexParent = 0; // 1-based slot in the parent's children
    TV3S CooOriCube;
    TV3S CooMoyPts;
    TV4By ColCube{};
    std::int32_t nbptscube = 0; // negative while a deepest-level cube is being filled

    // Children, by slot i*25 + j*5 + k (0..124). Only cubes above the deepest level have them.
    bool ALesEnfants() const { return possedeEnfants_; }
    TCube* Enfant(int slot) const;
    template <class F> void PourChaqueEnfant(F&& f) const {
        for (int n = 0; n < nbEnfants_; ++n)
            f(enfants_[n]);
    }
    int NbEnfants() const { return nbEnfants_; }

    void EnregistrerUnPoint(TEtatScan& scan, float x, float y, float z, const TV4By& couleur);
    void CalculerLesMoyennes(TV3S& sommeCoo, std::array<std::int64_t, 4>& sommeCouleurs,
                             std::int32_t& nbPoints);
    void MarquerSupprime(bool supp);
    // True when the owner may destroy this cube, after destroying what may go below it.
    bool Compacter(TEtatScan& scan);

private:
    friend class TEtatScan;
    // The bytes first: they fill the gap after nbptscube, which keeps a cube at 88 bytes.
    std::uint8_t nbEnfants_ = 0;
    std::uint8_t capacite_ = 0;
    bool possedeEnfants_ = false;
    TCube* precNiv_ = nullptr;  // previous cube in the chain, so that unlinking is O(1)
    TCube** enfants_ = nullptr; // non-empty children in slot order
    std::array<std::uint64_t, 2> occupes_{}; // one bit per occupied slot

    int RangDuSlot(int slot) const; // number of occupied slots before `slot`
    bool SlotOccupe(int slot) const { return (occupes_[slot >> 6] >> (slot & 63)) & 1u; }
};

// A scan holds millions of cubes: their size is most of its memory.
static_assert(sizeof(TCube) <= 88);

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
    std::vector<TCube*> CubesAffiches;
    // Changes each time CubesAffiches is rebuilt or emptied: what is derived from the displayed
    // set (the index of heights) is kept while it stays the same.
    std::uint64_t VersionAffiches = 0;
    bool ScanModifie = false;

    // Level-0 cells, X index outermost: cell (i, j, k) at (i * DimGrille[1] + j) * DimGrille[2] +
    // k.
    std::vector<TCube*> Grille;
    std::size_t IndiceCellule(int i, int j, int k) const {
        return (std::size_t(i) * std::size_t(DimGrille[1]) + std::size_t(j)) *
                   std::size_t(DimGrille[2]) +
               std::size_t(k);
    }
    void AllouerGrille();

    TCube* CreerCube(TCube* parent, std::uint8_t index1, std::uint8_t niveau, const TV3S& coOri);
    void DetruireCube(TCube* cube);

    void ChoisirNivAffiche(int niveau);
    std::int64_t NbCubesTotal() const;
    void ReinitialiserBoiteEnglobante();
    // Empties the scan: every cube destroyed, grid, chains, counts and displayed list emptied.
    void Vider();
    // Empties the scan and resets its box, its shift and its deepest level: the state a load
    // starts from.
    void Reinitialiser();
    // Exchanges everything the two scans hold, their cubes included.
    void Echanger(TEtatScan& autre);

    template <class F> void PourChaqueCubeDuNiveau(int niveau, F&& f) const {
        for (TCube* c = PremierCubeNiv[niveau]; c; c = c->SvtNiv)
            f(c);
    }

private:
    friend class TCube;
    TReserveCubes reserve_;
    void AjouterEnfant(TCube* parent, int slot, TCube* enfant);
    void RetirerEnfant(TCube* parent, int slot);
    void DetruireSousArbre(TCube* cube);
};
