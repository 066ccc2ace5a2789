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
// Sequentially consistent, both: a creation either sees the stop and waits for the end, or is
// seen by the stop, which waits for its inscription.
std::atomic<int> CreationsEnCours{0};
std::atomic<bool> ArretEnCours{false};

} // namespace

void SupprimerFichiersInscrits() {
    // The other threads run on meanwhile: from now on they create no file. A creation lasts one
    // system call: a second is far more than it needs, and a thread stuck in it must not keep
    // the program from ending.
    ArretEnCours.store(true);
    for (int i = 0; i < 1000 && CreationsEnCours.load() > 0; ++i)
        PatienterUneMilliseconde();
    for (TEmplacement& e : Inscrits)
        if (e.occupe.load(std::memory_order_acquire)) SupprimerFichierInscrit(e.chemin);
}

bool CommencerCreation() {
    CreationsEnCours.fetch_add(1);
    if (!ArretEnCours.load()) return true;
    CreationsEnCours.fetch_sub(1);
    return false;
}

void FinirCreation() {
    CreationsEnCours.fetch_sub(1);
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
