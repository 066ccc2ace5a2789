#include "util/NettoyageSignaux.h"
#include "util/NettoyageSignauxSysteme.h"

#include <csignal>
#include <unistd.h>

namespace {

extern "C" void NettoyerPuisTerminer(int signal) {
    SupprimerFichiersInscrits();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void SupprimerFichierInscrit(const char* chemin) {
    unlink(chemin);
}

void InstallerNettoyageSurSignaux() {
    // A signal ignored at start (nohup, background job) must stay ignored: the
    // program was asked to outlive it.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction actuelle {};
        if (sigaction(s, nullptr, &actuelle) == 0 && actuelle.sa_handler == SIG_IGN) continue;
        std::signal(s, NettoyerPuisTerminer);
    }
}
