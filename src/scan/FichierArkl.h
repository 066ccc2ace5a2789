#pragma once
// The header of the binary scan file (.arkl): an 8-byte version word, then a header whose size
// depends on the version (64, 280 or 288 bytes), then the point records. Little-endian.

#include "geometry/RectangleModelisation.h"
#include "scan/UArkaluneGlb.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the scan file is little-endian");

inline constexpr std::size_t TailleEnTeteV3 = 288;

struct TEnTeteArkl {
    // The version it was read from: 0 carries no study block and no displayed level, 2 no
    // rotation. The writer always writes version 3.
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
    // Versions 2 and 3, then 3 only.
    std::int64_t NiveauAffiche = 2;
    double AngRotZdeg = 0;
};

// Size of the header that follows the version word; 0 for an unknown version.
std::size_t TailleEnTete(std::int64_t version);
TEnTeteArkl DecoderEnTete(std::int32_t version, const std::byte* octets);
std::array<std::byte, TailleEnTeteV3> EncoderEnTeteV3(const TEnTeteArkl& e);
