#include "util/GrandesPages.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {
// The size of a large page on the machines we run on; arrays below a few of them gain nothing.
constexpr std::size_t GrandePage = std::size_t(2) << 20;
constexpr std::size_t SeuilGrandesPages = 4 * GrandePage;
} // namespace

void* systeme::AllouerGrandesPages(std::size_t octets) {
    if (octets < SeuilGrandesPages) return std::malloc(octets == 0 ? 1 : octets);
    void* p = nullptr;
    if (::posix_memalign(&p, GrandePage, octets) != 0) return nullptr;
    // Only advice: a system without large pages, or with them turned off, keeps small ones.
    static_cast<void>(::madvise(p, octets, MADV_HUGEPAGE));
    return p;
}

void systeme::LibererGrandesPages(void* p) noexcept {
    std::free(p);
}
