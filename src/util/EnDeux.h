#pragma once
// Work cut in two independent halves, done at once on two threads: the machines the program
// runs on have at least two cores, and the long loops of a load use only one.

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

// Runs travail(0) on a thread of its own and travail(1) on this one, and returns when both are
// done; the halves must touch separate memory. When no thread can be started, both run here.
// An exception of either half comes out here once both have ended.
void FaireEnDeux(const std::function<void(int moitie)>& travail);

// The bounds [debut, fin) of `moitie` (0 or 1) of n items.
inline std::size_t DebutMoitie(std::size_t n, int moitie) {
    return moitie == 0 ? 0 : n / 2;
}
inline std::size_t FinMoitie(std::size_t n, int moitie) {
    return moitie == 0 ? n / 2 : n;
}

// Items [0, n) each kept or dropped, in order, on two threads, into outputs of n places sized
// beforehand: `filtrer(moitie, debut, fin)` writes the kept items of [debut, fin) from place
// `debut` on and says how many; `rapprocher(de, vers, nb)` then moves the second half's `nb`
// outputs from place `de` down to place `vers`. The number kept, in the order of one thread.
template <class F, class R>
std::size_t FiltrerEnDeux(std::size_t n, const F& filtrer, const R& rapprocher) {
    std::array<std::size_t, 2> gardes{};
    FaireEnDeux([&](int moitie) {
        gardes[std::size_t(moitie)] = filtrer(moitie, DebutMoitie(n, moitie), FinMoitie(n, moitie));
    });
    const std::size_t milieu = DebutMoitie(n, 1);
    if (gardes[0] != milieu) rapprocher(milieu, gardes[0], gardes[1]);
    return gardes[0] + gardes[1];
}

// Moves `nb` items of `v` from place `de` down to place `vers` (vers <= de).
template <class T>
void Rapprocher(std::vector<T>& v, std::size_t de, std::size_t vers, std::size_t nb) {
    std::copy(v.begin() + std::ptrdiff_t(de), v.begin() + std::ptrdiff_t(de + nb),
              v.begin() + std::ptrdiff_t(vers));
}
