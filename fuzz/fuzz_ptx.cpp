// Arbitrary bytes as a PTX survey, through the real loader.

#include "ChargementFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    ChargerOctets(".ptx", donnees, taille);
    return 0;
}
