#include "util/NettoyageSignaux.h"
#include "util/NettoyageSignauxSysteme.h"

#include <csignal>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int SignauxDArret[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void NettoyerPuisTerminer(int signal) {
    SupprimerFichiersInscrits();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void SupprimerFichierInscrit(const char* chemin) {
    unlink(chemin);
}

void PatienterUneMilliseconde() {
    const timespec milliseconde{0, 1000000};
    nanosleep(&milliseconde, nullptr);
}

void InstallerNettoyageSurSignaux() {
    // A signal ignored at start (nohup, background job) must stay ignored: the
    // program was asked to outlive it.
    for (int s : SignauxDArret) {
        struct sigaction actuelle {};
        if (sigaction(s, nullptr, &actuelle) == 0 && actuelle.sa_handler == SIG_IGN) continue;
        std::signal(s, NettoyerPuisTerminer);
    }
}

TCreationProvisoire::TCreationProvisoire() {
    static_assert(sizeof(sigset_t) <= sizeof signauxAvant_);
    sigset_t arret, avant;
    sigemptyset(&arret);
    for (int s : SignauxDArret)
        sigaddset(&arret, s);
    pthread_sigmask(SIG_BLOCK, &arret, &avant);
    std::memcpy(signauxAvant_, &avant, sizeof avant);
    if (!CommencerCreation())
        for (;;)
            pause();
}

TCreationProvisoire::~TCreationProvisoire() {
    FinirCreation();
    // A signal held back meanwhile is delivered here, and finds the new file inscribed.
    sigset_t avant;
    std::memcpy(&avant, signauxAvant_, sizeof avant);
    pthread_sigmask(SIG_SETMASK, &avant, nullptr);
}
