// Arbitrary bytes as XYZ text, through the real loader.

#include "ChargementFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    ChargerOctets(".xyz", donnees, taille);
    return 0;
}
