#include "util/Fichiers.h"
#include "util/FichiersSysteme.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The rename is on the disk only once the folder that holds the name is.
void SynchroniserDossier(const std::string& fichier) {
    std::string dossier = std::filesystem::path(fichier).parent_path().string();
    if (dossier.empty()) dossier = ".";
    const int fd = open(dossier.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Read, never set: umask() would change it for every thread for a moment.
mode_t MasqueDuProcessus() {
    std::ifstream etat("/proc/self/status");
    for (std::string ligne; std::getline(etat, ligne);)
        if (ligne.rfind("Umask:", 0) == 0)
            return mode_t(std::strtoul(ligne.c_str() + 6, nullptr, 8));
    return 022;
}

} // namespace

std::FILE* OuvrirFichier(const std::string& chemin, const char* mode) {
    return std::fopen(chemin.c_str(), mode);
}

namespace systeme {

int Taille(std::FILE* f, std::uint64_t& taille) {
    struct stat s {};
    if (fstat(fileno(f), &s) != 0) return errno;
    if (S_ISDIR(s.st_mode)) return EISDIR;
    taille = std::uint64_t(s.st_size);
    return 0;
}

int Aller(std::FILE* f, std::uint64_t position) {
    return fseeko(f, off_t(position), SEEK_SET) == 0 ? 0 : errno;
}

int Synchroniser(std::FILE* f) {
    return fsync(fileno(f)) == 0 ? 0 : errno;
}

int CreerExclusif(const std::string& prefixe, std::optional<unsigned> droits, std::string& chemin,
                  std::FILE*& f) {
    std::string modele = prefixe + "XXXXXX";
    const int fd = mkstemp(modele.data());
    if (fd < 0) return errno;
    // mkstemp makes the file private; give it the usual rights of a new file.
    fchmod(fd, droits ? mode_t(*droits) : 0666 & ~MasqueDuProcessus());
    f = fdopen(fd, "wb");
    if (!f) {
        const int code = errno;
        close(fd);
        unlink(modele.c_str());
        return code;
    }
    chemin = modele;
    return 0;
}

void Supprimer(const std::string& chemin) {
    unlink(chemin.c_str());
}

int CibleReelle(const std::string& chemin, std::string& cible) {
    std::filesystem::path p(chemin);
    std::error_code ec;
    for (int sauts = 0; std::filesystem::is_symlink(p, ec); ++sauts) {
        if (sauts == 40) return ELOOP;
        const std::filesystem::path lien = std::filesystem::read_symlink(p, ec);
        if (ec) return ec.value();
        p = lien.is_absolute() ? lien : p.parent_path() / lien;
    }
    cible = p.string();
    return 0;
}

TEtatCible EtatCible(const std::string& chemin) {
    struct stat s {};
    if (stat(chemin.c_str(), &s) != 0) return {};
    return {true, S_ISREG(s.st_mode), unsigned(s.st_mode & 07777)};
}

int Remplacer(const std::string& source, const std::string& cible) {
    if (std::rename(source.c_str(), cible.c_str()) != 0) return errno;
    SynchroniserDossier(cible);
    return 0;
}

} // namespace systeme
