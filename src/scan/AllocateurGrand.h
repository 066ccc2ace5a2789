#pragma once
// An allocator for the large arrays of a scan (tens of millions of cubes read in no order of
// memory): on Linux they are asked for in 2 MB pages, so that reaching any cube does not cost
// a walk of the page tables as well as a cache miss.

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void* AllouerGrand(std::size_t octets);

template <class T> struct TAllocateurGrand {
    using value_type = T;
    TAllocateurGrand() = default;
    template <class U> TAllocateurGrand(const TAllocateurGrand<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllouerGrand(n * sizeof(T))); }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <class U> bool operator==(const TAllocateurGrand<U>&) const { return true; }
};
