#include "util/Crc32c.h"

#include <array>
#include <cstring>

namespace {

// Eight tables, so that eight bytes are folded per step: a page of 1 KiB is checked for every
// 1020 bytes of points, which must stay far below the cost of decoding them.
using TTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr TTables FaireTables() {
    TTables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int b = 0; b < 8; ++b)
            c = (c >> 1) ^ ((c & 1u) ? 0x82F63B78u : 0u);
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    return t;
}

constexpr TTables Tables = FaireTables();

} // namespace

std::uint32_t Crc32c(const void* donnees, std::size_t n) {
    const auto* o = static_cast<const std::uint8_t*>(donnees);
    std::uint32_t c = 0xFFFFFFFFu;
    for (; n >= 8; n -= 8, o += 8) {
        std::uint32_t bas = 0, haut = 0;
        std::memcpy(&bas, o, 4);
        std::memcpy(&haut, o + 4, 4);
        bas ^= c; // the bytes are taken in file order: the host is little-endian
        c = Tables[7][bas & 0xFFu] ^ Tables[6][(bas >> 8) & 0xFFu] ^
            Tables[5][(bas >> 16) & 0xFFu] ^ Tables[4][bas >> 24] ^ Tables[3][haut & 0xFFu] ^
            Tables[2][(haut >> 8) & 0xFFu] ^ Tables[1][(haut >> 16) & 0xFFu] ^
            Tables[0][haut >> 24];
    }
    for (; n > 0; --n, ++o)
        c = (c >> 8) ^ Tables[0][(c ^ *o) & 0xFFu];
    return c ^ 0xFFFFFFFFu;
}
