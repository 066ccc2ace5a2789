#pragma once
// Arrays of millions of items (the cubes of each level, the index of heights) cost most of their
// time in the system's work on fresh memory, one fault per small page, and then in translating
// the addresses of their scattered reads. On large pages both nearly vanish: placing the
// cubes of the quarter of a 1e7-point survey in the index of heights took 0.56 s on small pages
// and 0.17 s on large ones. Small arrays keep the ordinary allocation.

#include <cstddef>
#include <new>
#include <vector>

namespace systeme {
// At least `octets` bytes, on large pages where the system gives them to a process that asks;
// nullptr when memory is short. Freed by LibererGrandesPages.
void* AllouerGrandesPages(std::size_t octets);
void LibererGrandesPages(void* p) noexcept;
} // namespace systeme

template <class T> struct TAllocateurGrandesPages {
    using value_type = T;
    TAllocateurGrandesPages() = default;
    template <class U> TAllocateurGrandesPages(const TAllocateurGrandesPages<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        void* p = systeme::AllouerGrandesPages(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { systeme::LibererGrandesPages(p); }
    template <class U> bool operator==(const TAllocateurGrandesPages<U>&) const noexcept {
        return true;
    }
};

template <class T> using TGrandVecteur = std::vector<T, TAllocateurGrandesPages<T>>;
