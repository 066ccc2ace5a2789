#include "util/GrandesPages.h"

#include <cstdlib>

// Large pages on Windows need a privilege that a desktop user does not hold: small pages.
void* systeme::AllouerGrandesPages(std::size_t octets) {
    return std::malloc(octets == 0 ? 1 : octets);
}

void systeme::LibererGrandesPages(void* p) noexcept {
    std::free(p);
}
