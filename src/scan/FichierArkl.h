#pragma once
// The header of the binary scan file (.arkl): an 8-byte version word, then a header whose size
// depends on the version (64, 280, 288, 312 or 328 bytes), then the point records.
// Little-endian. Version 4 is version 3 followed by the shift of the coordinates, three signed
// 64-bit words; version 5 is version 4 followed by the rib's springing level set by the engineer
// (a 32-bit word, 1 when it is set, 4 bytes of zeros, then the level relative to the key as a
// 64-bit real); version 6 is version 5 followed, after the records, by the cubes of every level
// (see CubesArkl.h). Each file is written in the lowest version that holds what it carries.

#include "geometry/RectangleModelisation.h"
#include "scan/UArkaluneGlb.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

static_assert(std::endian::native == std::endian::little, "the scan file is little-endian");

inline constexpr std::size_t TailleEnTeteMax = 328;

struct TEnTeteArkl {
    // The version it was read from: 0 carries no study block and no displayed level, 2 no
    // rotation, 3 no shift, 4 no springing level.
    std::int32_t Version = 3;
    // Study block (versions 2 and 3).
    TRectangleModelisation RecModl;
    std::int32_t TaillePointsIndex = 0;
    std::int32_t LargeurAretier = 0;
    std::int32_t NbArcsVoute = 0;
    std::int32_t MlinAretier = 0;
    std::int32_t MvolRemplissage = 0;
    std::int32_t MsurfVoute = 0;
    double NivRemplissage = 0;
    // All versions.
    std::int64_t NiveauPoints = 0;
    std::int64_t NbPoints = 0;
    TV3S CooMin;
    TV3S CooMax;
    // Versions 2 and up, then 3 and up.
    std::int64_t NiveauAffiche = 2;
    double AngRotZdeg = 0;
    // Version 4.
    TDecalage Decalage{};
    // Version 5: the springing level relative to the key, when the engineer sets it.
    std::optional<double> NiveauAppui;
    // Version 6: the cubes of every level follow the records.
    bool AvecCubes = false;
};

// Size of the header that follows the version word; 0 for an unknown version.
std::size_t TailleEnTete(std::int64_t version);
TEnTeteArkl DecoderEnTete(std::int32_t version, const std::byte* octets);
// The version a header is written as: 6 when the cubes follow, 5 when it carries a springing
// level, 4 when it carries a shift, 3 otherwise.
std::int64_t VersionEcrite(const TEnTeteArkl& e);
// The header of that version: its first TailleEnTete(VersionEcrite(e)) bytes.
std::array<std::byte, TailleEnTeteMax> EncoderEnTete(const TEnTeteArkl& e);
