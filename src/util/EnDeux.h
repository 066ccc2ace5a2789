#pragma once
// Work cut in two independent halves, done at once on two threads: the machines the program
// runs on have at least two cores, and the long loops of a load use only one.

#include <cstddef>
#include <functional>

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
