// Arbitrary bytes as an E57 file, through the real loader. Random bytes almost never carry the
// right page checksums: every other input has them recomputed, so that the fuzzer reaches the
// XML, the sections and the packets behind them.

#include "ChargementFuzz.h"
#include "util/Crc32c.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    constexpr std::size_t Page = 1024;
    if (taille == 0 || donnees[taille - 1] % 2 == 0) {
        ChargerOctets(".e57", donnees, taille);
        return 0;
    }
    std::vector<std::uint8_t> pages(donnees, donnees + taille);
    for (std::size_t p = 0; p + Page <= taille; p += Page) {
        const std::uint32_t crc = Crc32c(pages.data() + p, Page - 4);
        for (std::size_t k = 0; k < 4; ++k)
            pages[p + Page - 4 + k] = std::uint8_t(crc >> (24 - 8 * k));
    }
    ChargerOctets(".e57", pages.data(), pages.size());
    return 0;
}
