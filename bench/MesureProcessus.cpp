#include "MesureProcessus.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes.
double LireStatus(const char* cle) {
    std::ifstream f("/proc/self/status");
    std::string mot;
    while (f >> mot) {
        if (mot == cle) {
            double ko = 0;
            f >> ko;
            return ko * 1024;
        }
    }
    return 0;
}

double SecondesCPU() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// Brings the peak back to the current resident size, so that the peak of the preparation does
// not count.
void RemettreLePicAZero() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct TRapport {
    bool Reussi = false;
    TMesure Mesure;
    char Message[512] = {};
};

void Ecrire(int fd, const TRapport& r) {
    const char* p = reinterpret_cast<const char*>(&r);
    std::size_t reste = sizeof r;
    while (reste > 0) {
        const ssize_t n = ::write(fd, p, reste);
        if (n <= 0) return;
        p += n;
        reste -= std::size_t(n);
    }
}

TRapport ExecuterEnfant(const std::function<void()>& preparer,
                        const std::function<double()>& operation) {
    TRapport r;
    try {
        const double base = LireStatus("VmRSS:");
        preparer();
        RemettreLePicAZero();
        const double cpu = SecondesCPU();
        const auto debut = std::chrono::steady_clock::now();
        r.Mesure.Points = operation();
        const auto fin = std::chrono::steady_clock::now();
        r.Mesure.SecondesCPU = SecondesCPU() - cpu;
        r.Mesure.Secondes = std::chrono::duration<double>(fin - debut).count();
        r.Mesure.OctetsPic = LireStatus("VmHWM:") - base;
        r.Reussi = true;
    } catch (const std::exception& e) {
        std::snprintf(r.Message, sizeof r.Message, "%s", e.what());
    }
    return r;
}

} // namespace

TMesure MesurerDansUnProcessus(const std::function<void()>& preparer,
                               const std::function<double()>& operation) {
    int tube[2];
    if (::pipe(tube) != 0) throw std::runtime_error("pipe");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        ::close(tube[0]);
        Ecrire(tube[1], ExecuterEnfant(preparer, operation));
        // No destructor of the parent's objects may run here (they own its temporary files).
        ::_exit(0);
    }
    ::close(tube[1]);
    TRapport r;
    char* p = reinterpret_cast<char*>(&r);
    std::size_t lu = 0;
    while (lu < sizeof r) {
        const ssize_t n = ::read(tube[0], p + lu, sizeof r - lu);
        if (n <= 0) break;
        lu += std::size_t(n);
    }
    ::close(tube[0]);
    int statut = 0;
    ::waitpid(pid, &statut, 0);
    if (lu != sizeof r)
        throw std::runtime_error("le processus de mesure s'est arrêté sans rapport");
    if (!r.Reussi) throw std::runtime_error(r.Message);
    return r.Mesure;
}
