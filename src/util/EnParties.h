#pragma once
// Work cut in independent parts, done at once on the machine's cores: the long loops of a load.

#include <cstddef>
#include <functional>

// The parts a long loop is cut into by default: one per core of the machine, at least one.
int PartiesParDefaut();

// Runs travail(0) to travail(parties - 1) at once, the last on this thread, the others on threads
// of their own, and returns when all are done; the parts must touch separate memory. When a
// thread cannot be started, its part runs here. An exception of any part comes out here once all
// have ended (that of the lowest part when several throw).
void FaireEnParties(int parties, const std::function<void(int partie)>& travail);

// The first item of `partie` when n items are cut into `parties` parts of nearly equal sizes;
// the part ends where the next one starts.
inline std::size_t DebutPartie(std::size_t n, int partie, int parties) {
    return n * std::size_t(partie) / std::size_t(parties);
}
