#pragma once
// What the XML section of an E57 file says about its point sets: for each scan (`data3D`), where
// its compressed vector is, how many records it holds, how each field is stored, its pose and its
// colour limits.

#include "geometry/UtilsVect.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class TCodageE57 { Entier, EntierEchelonne, Reel32, Reel64, Texte };

// One field of the prototype, in the order of the bytestreams.
struct TChampE57 {
    // Its name; a field inside a structure of the prototype is named "parent/enfant".
    std::string Nom;
    TCodageE57 Codage = TCodageE57::Reel64;
    // Integers: the range of the stored values, which gives their width in bits.
    std::int64_t Mini = 0, Maxi = 0;
    double Echelle = 1, Decalage = 0;
    // The range the file declares for its values (from the minimum and maximum written in the
    // prototype, scaled), when it wrote one.
    bool BornesEcrites = false;
    double BorneMin = 0, BorneMax = 0;
    // 0 for a constant integer; texts have no fixed width.
    unsigned Bits = 0;
};

struct TLimitesE57 {
    bool Connues = false;
    double Mini = 0, Maxi = 0;
};

struct TScanE57 {
    std::uint64_t OffsetSection = 0; // physical
    std::uint64_t NbRecords = 0;
    std::vector<TChampE57> Champs;
    // Unit quaternion w, x, y, z (normalised here) and translation: file frame = R p + T.
    std::array<double, 4> Rotation{1, 0, 0, 0};
    TV3R Translation{};
    // Red, green, blue.
    std::array<TLimitesE57, 3> LimitesCouleur{};
};

// Throws EDefautE57 for XML that cannot be read or a description that cannot be decoded (an
// unknown field type, a compression codec); a file with no point set is refused too.
std::vector<TScanE57> LireDescriptionE57(const std::string& xml);
