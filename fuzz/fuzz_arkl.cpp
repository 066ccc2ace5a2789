// Arbitrary bytes as a binary scan file, through the real loader.

#include "ChargementFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    ChargerOctets(".arkl", donnees, taille);
    return 0;
}
