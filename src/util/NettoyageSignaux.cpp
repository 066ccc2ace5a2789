#include "util/NettoyageSignaux.h"

#include "util/NettoyageSignauxSysteme.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace {

// A fixed table: a signal handler may neither allocate nor take a lock.
struct TEmplacement {
    std::atomic<bool> occupe{false};
    // Odd while the name is written, and changed by each writing: a stop that reads the name while
    // a slot freed meanwhile is given to a new file (a creation slower than its wait) sees it, and
    // reads again, rather than removing a file named half by each.
    std::atomic<std::uint32_t> version{0};
    char chemin[4096] = {};
};
static_assert(std::atomic_ref<char>::is_always_lock_free);
std::array<TEmplacement, 32> Inscrits;
std::mutex GardeInscription; // between threads that inscribe; never taken by the handler
// Sequentially consistent, both: a creation either sees the stop and waits for the end, or is
// seen by the stop, which waits for its inscription.
std::atomic<int> CreationsEnCours{0};
std::atomic<bool> ArretEnCours{false};

// The name as one writing left it, in `copie`; false when the slot is free, or still being
// rewritten after a second.
bool LireNom(TEmplacement& e, char (&copie)[sizeof TEmplacement::chemin]) {
    for (int essai = 0; essai < 1000; ++essai) {
        const std::uint32_t avant = e.version.load(std::memory_order_acquire);
        if (avant % 2 == 0) {
            if (!e.occupe.load(std::memory_order_acquire)) return false;
            // Acquire loads (no fence, which ThreadSanitizer cannot follow): the version read
            // after them is at least the one of any writing they saw.
            for (std::size_t i = 0; i < sizeof copie; ++i)
                if ((copie[i] =
                         std::atomic_ref<char>(e.chemin[i]).load(std::memory_order_acquire)) ==
                    '\0')
                    break;
            if (e.version.load(std::memory_order_acquire) == avant) return true;
        }
        PatienterUneMilliseconde();
    }
    return false;
}

void SupprimerEmplacement(TEmplacement& e) {
    char copie[sizeof TEmplacement::chemin];
    if (LireNom(e, copie)) SupprimerFichierInscrit(copie);
}

void EcrireNom(TEmplacement& e, const std::string& chemin) {
    const std::uint32_t v = e.version.load(std::memory_order_relaxed);
    e.version.store(v + 1, std::memory_order_relaxed);
    // Release stores: a stop that sees one of these characters sees the odd version before it.
    for (std::size_t i = 0; i <= chemin.size(); ++i)
        std::atomic_ref<char>(e.chemin[i]).store(chemin.c_str()[i], std::memory_order_release);
    e.version.store(v + 2, std::memory_order_release);
}

} // namespace

void SupprimerFichiersInscrits() {
    // The other threads run on meanwhile: from now on they create no file. A creation lasts one
    // system call: a second is far more than it needs, and a thread stuck in it must not keep
    // the program from ending.
    ArretEnCours.store(true);
    for (int i = 0; i < 1000 && CreationsEnCours.load() > 0; ++i)
        PatienterUneMilliseconde();
    for (TEmplacement& e : Inscrits)
        SupprimerEmplacement(e);
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
            EcrireNom(e, chemin);
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
