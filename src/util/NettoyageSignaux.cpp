#include "util/NettoyageSignaux.h"

#include "util/NettoyageSignauxSysteme.h"

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// A fixed table: a signal handler may neither allocate nor take a lock.
struct TEmplacement {
    std::atomic<bool> occupe{false};
    char chemin[4096] = {};
};
std::array<TEmplacement, 32> Inscrits;
std::mutex GardeInscription; // between threads that inscribe; never taken by the handler

} // namespace

void SupprimerFichiersInscrits() {
    for (TEmplacement& e : Inscrits)
        if (e.occupe.load(std::memory_order_acquire)) SupprimerFichierInscrit(e.chemin);
}

bool InscrireFichierProvisoire(const std::string& chemin) {
    if (chemin.size() >= sizeof TEmplacement::chemin) return false;
    std::lock_guard garde(GardeInscription);
    for (TEmplacement& e : Inscrits)
        if (!e.occupe.load(std::memory_order_relaxed)) {
            std::memcpy(e.chemin, chemin.c_str(), chemin.size() + 1);
            e.occupe.store(true, std::memory_order_release);
            return true;
        }
    return false;
}

void RetirerFichierProvisoire(const std::string& chemin) {
    std::lock_guard garde(GardeInscription);
    for (TEmplacement& e : Inscrits)
        if (e.occupe.load(std::memory_order_relaxed) && chemin == e.chemin) {
            e.occupe.store(false, std::memory_order_release);
            return;
        }
}
