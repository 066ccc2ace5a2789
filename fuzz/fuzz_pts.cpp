// Arbitrary bytes as a PTS survey, through the real loader.

#include "ChargementFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    ChargerOctets(".pts", donnees, taille);
    return 0;
}
