#include "util/NettoyageSignaux.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

// A fixed table: a signal handler may neither allocate nor take a lock.
struct TEmplacement {
    std::atomic<bool> occupe{false};
    char chemin[4096] = {};
};
std::array<TEmplacement, 32> Inscrits;
std::mutex GardeInscription; // between threads that inscribe; never taken by the handler

extern "C" void NettoyerPuisTerminer(int signal) {
    for (TEmplacement& e : Inscrits)
        if (e.occupe.load(std::memory_order_acquire)) unlink(e.chemin);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void InstallerNettoyageSurSignaux() {
    // A signal ignored at start (nohup, background job) must stay ignored: the
    // program was asked to outlive it.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction actuelle {};
        if (sigaction(s, nullptr, &actuelle) == 0 && actuelle.sa_handler == SIG_IGN) continue;
        std::signal(s, NettoyerPuisTerminer);
    }
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
