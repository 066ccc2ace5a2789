#include "util/NettoyageSignaux.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

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
constexpr int SignauxDArret[] = {SIGINT, SIGTERM, SIGHUP};

// A creation lasts one system call: a second is far more than it needs, and a thread stuck in it
// must not keep the program from ending.
void AttendreLesCreationsEnCours() {
    const timespec milliseconde{0, 1000000};
    for (int i = 0; i < 1000 && CreationsEnCours.load() > 0; ++i)
        nanosleep(&milliseconde, nullptr);
}

extern "C" void NettoyerPuisTerminer(int signal) {
    // The other threads run on meanwhile: from now on they create no file.
    ArretEnCours.store(true);
    AttendreLesCreationsEnCours();
    for (TEmplacement& e : Inscrits)
        if (e.occupe.load(std::memory_order_acquire)) unlink(e.chemin);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void InstallerNettoyageSurSignaux() {
    // A signal ignored at start (nohup, background job) must stay ignored: the
    // program was asked to outlive it.
    for (int s : SignauxDArret) {
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

TCreationProvisoire::TCreationProvisoire() {
    sigset_t arret;
    sigemptyset(&arret);
    for (int s : SignauxDArret)
        sigaddset(&arret, s);
    pthread_sigmask(SIG_BLOCK, &arret, &masqueAvant_);
    CreationsEnCours.fetch_add(1);
    if (ArretEnCours.load()) {
        // The program is ending: the file is not created, and the thread waits for the end.
        CreationsEnCours.fetch_sub(1);
        for (;;)
            pause();
    }
}

TCreationProvisoire::~TCreationProvisoire() {
    CreationsEnCours.fetch_sub(1);
    // A signal held back meanwhile is delivered here, and finds the new file inscribed.
    pthread_sigmask(SIG_SETMASK, &masqueAvant_, nullptr);
}
