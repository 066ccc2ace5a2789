#include "util/Fichiers.h"

#include "util/Erreurs.h"
#include "util/NettoyageSignaux.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t TailleTampon = std::size_t(1) << 20;

[[noreturn]] void Echec(const std::string& quoi, int code) {
    throw EErreur(quoi + " : " + ErreurSysteme(code));
}

[[noreturn]] void Echec(const char* quoi, const std::string& chemin, int code) {
    Echec(std::string(quoi) + " « " + chemin + " »", code);
}
} // namespace

TFichierLecture::TFichierLecture(const std::string& chemin) : chemin_(chemin) {
    f_ = std::fopen(chemin.c_str(), "rb");
    if (!f_) Echec("impossible d'ouvrir le fichier", chemin, errno);
    struct stat s {};
    if (fstat(fileno(f_), &s) != 0 || S_ISDIR(s.st_mode)) {
        const int code = S_ISDIR(s.st_mode) ? EISDIR : errno;
        std::fclose(f_);
        Echec("impossible de lire le fichier", chemin, code);
    }
    taille_ = std::uint64_t(s.st_size);
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierLecture::~TFichierLecture() {
    if (f_) std::fclose(f_);
}

std::size_t TFichierLecture::Lire(void* tampon, std::size_t n) {
    const std::size_t lu = std::fread(tampon, 1, n, f_);
    if (lu < n && std::ferror(f_)) Echec("erreur de lecture du fichier", chemin_, errno);
    return lu;
}

void TFichierLecture::LireExact(void* tampon, std::size_t n) {
    if (Lire(tampon, n) != n) throw EErreur("fichier tronqué : « " + chemin_ + " »");
}

void TFichierLecture::Aller(std::uint64_t position) {
    if (fseeko(f_, off_t(position), SEEK_SET) != 0)
        Echec("erreur de lecture du fichier", chemin_, errno);
}

TFichierEcriture::TFichierEcriture(const std::string& chemin) : designation_(LeFichier(chemin)) {
    f_ = std::fopen(chemin.c_str(), "wb");
    if (!f_) Echec("impossible de créer le fichier", chemin, errno);
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::TFichierEcriture(std::FILE* f, const std::string& designation)
    : designation_(designation), f_(f) {
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::~TFichierEcriture() {
    if (f_) std::fclose(f_);
}

void TFichierEcriture::Ecrire(const void* donnees, std::size_t n) {
    if (std::fwrite(donnees, 1, n, f_) != n) Echec("impossible d'écrire " + designation_, errno);
}

void TFichierEcriture::Fermer(bool durable) {
    std::FILE* f = f_;
    f_ = nullptr;
    bool ok = !durable || (std::fflush(f) == 0 && fsync(fileno(f)) == 0);
    int code = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (!ok) Echec("impossible d'écrire " + designation_, code);
}

namespace {

// The file a path designates once its symbolic links are followed (even a link to nothing yet).
std::string CibleReelle(const std::string& chemin) {
    std::filesystem::path p(chemin);
    std::error_code ec;
    for (int sauts = 0; std::filesystem::is_symlink(p, ec); ++sauts) {
        if (sauts == 40) Echec("impossible de remplacer le fichier", chemin, ELOOP);
        const std::filesystem::path lien = std::filesystem::read_symlink(p, ec);
        if (ec) Echec("impossible de remplacer le fichier", chemin, ec.value());
        p = lien.is_absolute() ? lien : p.parent_path() / lien;
    }
    return p.string();
}

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

TFichierProvisoire::TFichierProvisoire(const std::string& prefixe, std::optional<unsigned> droits,
                                       std::string designation) {
    if (designation.empty()) {
        std::string dossier = std::filesystem::path(prefixe).parent_path().string();
        designation = "un fichier de travail dans « " + (dossier.empty() ? "." : dossier) + " »";
    }
    std::string modele = prefixe + "XXXXXX";
    int fd = -1;
    int code = 0;
    {
        TCreationProvisoire garde;
        fd = mkstemp(modele.data());
        code = errno;
        if (fd >= 0) InscrireFichierProvisoire(modele);
    }
    if (fd < 0) Echec("impossible de créer " + designation, code);
    chemin_ = modele;
    if (!droits) {
        // mkstemp makes the file private; give it the usual rights of a new file.
        droits = 0666 & ~MasqueDuProcessus();
    }
    fchmod(fd, mode_t(*droits));
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        code = errno;
        close(fd);
        unlink(chemin_.c_str());
        RetirerFichierProvisoire(chemin_);
        Echec("impossible de créer " + designation, code);
    }
    ecriture_.emplace(f, designation);
}

TFichierProvisoire::~TFichierProvisoire() {
    ecriture_.reset();
    if (!abandonne_) unlink(chemin_.c_str());
    RetirerFichierProvisoire(chemin_);
}

void TFichierProvisoire::FermerEcriture(bool durable) {
    ecriture_->Fermer(durable);
    ecriture_.reset();
}

void TFichierProvisoire::Abandonner() {
    abandonne_ = true;
    RetirerFichierProvisoire(chemin_);
}

TFichierTemporaire::TFichierTemporaire(const std::string& cible) : cible_(CibleReelle(cible)) {
    std::optional<unsigned> droits;
    struct stat s {};
    if (stat(cible_.c_str(), &s) == 0) {
        if (!S_ISREG(s.st_mode))
            throw EErreur("impossible de remplacer « " + cible +
                          " » : ce n'est pas un fichier ordinaire");
        droits = unsigned(s.st_mode & 07777);
    }
    provisoire_.emplace(cible_ + ".tmp-", droits, LeFichier(cible));
}

void TFichierTemporaire::Ecrire(const void* donnees, std::size_t n) {
    provisoire_->Ecriture().Ecrire(donnees, n);
}

void TFichierTemporaire::Valider() {
    provisoire_->FermerEcriture(true);
    if (std::rename(provisoire_->Chemin().c_str(), cible_.c_str()) != 0)
        Echec("impossible de remplacer le fichier", cible_, errno);
    provisoire_->Abandonner();
    SynchroniserDossier(cible_);
}

std::string LeFichier(const std::string& chemin) {
    return "le fichier « " + chemin + " »";
}

void RemplacerFichier(const std::string& chemin, std::string_view contenu) {
    TFichierTemporaire fichier(chemin);
    fichier.Ecrire(contenu.data(), contenu.size());
    fichier.Valider();
}
