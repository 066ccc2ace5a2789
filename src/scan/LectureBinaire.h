#pragma once
// What the binary survey readers share: numbers decoded from bytes in either order, and the
// refusal of a file with its reason.

#include "util/Erreurs.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

// A value of type T stored at `p`, least significant byte first.
template <class T> T LirePetitBoutiste(const unsigned char* p) {
    static_assert(std::endian::native == std::endian::little);
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A value of type T stored at `p`, most significant byte first.
template <class T> T LireGrandBoutiste(const unsigned char* p) {
    unsigned char inverse[sizeof(T)];
    for (std::size_t k = 0; k < sizeof(T); ++k)
        inverse[k] = p[sizeof(T) - 1 - k];
    return LirePetitBoutiste<T>(inverse);
}

// "fichier « scan.las » : <raison>"
[[noreturn]] inline void RefuserFichier(const std::string& chemin, const std::string& raison) {
    throw EErreur("fichier « " + chemin + " » : " + raison);
}
