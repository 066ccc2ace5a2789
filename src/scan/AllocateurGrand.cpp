#include "scan/AllocateurGrand.h"

namespace {
constexpr std::size_t GrandePage = std::size_t(2) << 20;
}

void* AllouerGrand(std::size_t octets) {
    if (octets < GrandePage) {
        if (void* p = std::malloc(octets == 0 ? 1 : octets)) return p;
        throw std::bad_alloc();
    }
    const std::size_t arrondi = (octets + GrandePage - 1) / GrandePage * GrandePage;
    void* p = std::aligned_alloc(GrandePage, arrondi);
    if (!p) throw std::bad_alloc();
#if defined(__linux__)
    // Only advice: without large pages the array works the same.
    ::madvise(p, arrondi, MADV_HUGEPAGE);
#endif
    return p;
}
