// Arbitrary bytes as a delimited text survey, through the real loader.

#include "ChargementFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    ChargerOctets(".csv", donnees, taille);
    return 0;
}
