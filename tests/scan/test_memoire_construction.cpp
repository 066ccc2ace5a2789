// The construction's peak of memory, counted by the allocator: every malloc and free of the
// program passes through the counting functions below, so that an array per record or per
// cube that outlives its step shows, whatever its size or its life.

#include "ScanEssai.h"
#include "scan/ConstructionGrille.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <malloc.h>
#include <random>

extern "C" {
void* __libc_malloc(std::size_t n);
void* __libc_calloc(std::size_t n, std::size_t taille);
void* __libc_realloc(void* p, std::size_t n);
void* __libc_memalign(std::size_t alignement, std::size_t n);
void __libc_free(void* p);
}

namespace {

std::atomic<std::int64_t> enCours{0}, pic{0};

void* Compter(void* p) {
    if (!p) return p;
    const std::int64_t c = enCours += std::int64_t(malloc_usable_size(p));
    std::int64_t v = pic.load();
    while (c > v && !pic.compare_exchange_weak(v, c)) {
    }
    return p;
}

void Decompter(void* p) {
    if (p) enCours -= std::int64_t(malloc_usable_size(p));
}

} // namespace

extern "C" {
void* malloc(std::size_t n) noexcept {
    return Compter(__libc_malloc(n));
}
void* calloc(std::size_t n, std::size_t taille) noexcept {
    return Compter(__libc_calloc(n, taille));
}
void* realloc(void* p, std::size_t n) noexcept {
    Decompter(p);
    void* q = __libc_realloc(p, n);
    Compter(q || n == 0 ? q : p);
    return q;
}
void* memalign(std::size_t alignement, std::size_t n) noexcept {
    return Compter(__libc_memalign(alignement, n));
}
void* aligned_alloc(std::size_t alignement, std::size_t n) noexcept {
    return memalign(alignement, n);
}
int posix_memalign(void** p, std::size_t alignement, std::size_t n) noexcept {
    *p = memalign(alignement, n);
    return *p ? 0 : ENOMEM;
}
void free(void* p) noexcept {
    Decompter(p);
    __libc_free(p);
}
}

namespace {

// A survey of a vault's surface: rows of points 2 mm apart across a half cylinder, as a scanner
// sweeps it, about one point in each deepest cube.
std::vector<TPointScan> Releve(int nb) {
    std::vector<TPointScan> points;
    const int parRangee = 1500;
    for (int n = 0; n < nb; ++n) {
        const double angle = 3.14159 * (n % parRangee) / parRangee;
        const float y = 0.002f * float(n / parRangee);
        points.push_back({float(3 * std::cos(angle)),
                          y,
                          float(3 * std::sin(angle)),
                          {std::uint8_t(n), std::uint8_t(n >> 8), 200, 0}});
    }
    return points;
}

} // namespace

// Beyond the cubes it leaves, the construction holds at most a few bytes a point at once:
// the record-to-cube map (4 bytes) and the small arrays of a step.
TEST(MemoireConstruction, PicParPointBorne) {
    const int nb = 1000000;
    std::vector<TPointScan> points = Releve(nb);
    for (const bool melange : {false, true}) {
        SCOPED_TRACE(melange ? "ordre mélangé" : "ordre du balayage");
        if (melange) std::shuffle(points.begin(), points.end(), std::mt19937(3));
        const std::int64_t avant = enCours;
        pic = avant;
        TEtatScan scan;
        ConstruireDepuisPoints(scan, points);
        const double garde = double(enCours - avant) / nb, crete = double(pic - avant) / nb;
        EXPECT_GT(garde, 25.0); // the cubes are counted
        EXPECT_LE(crete, garde + 6.0) << "pic " << crete << " octets par point, cubes " << garde;
    }
}
