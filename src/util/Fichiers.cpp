#include "util/Fichiers.h"

#include "util/Erreurs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t TailleTampon = std::size_t(1) << 20;

[[noreturn]] void Echec(const char* quoi, const std::string& chemin, int code) {
    throw EErreur(std::string(quoi) + " « " + chemin + " » : " + ErreurSysteme(code));
}
} // namespace

std::string ErreurSysteme(int code) {
    switch (code) {
    case ENOENT:
        return "fichier ou dossier introuvable";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOSPC:
        return "plus de place sur le disque";
    case EISDIR:
        return "c'est un dossier";
    case EROFS:
        return "support en lecture seule";
    case EDQUOT:
        return "quota disque dépassé";
    case EIO:
        return "erreur d'entrée-sortie";
    case EPIPE:
        return "le destinataire a fermé le tube";
    default:
        return "erreur système " + std::to_string(code);
    }
}

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

TFichierEcriture::TFichierEcriture(const std::string& chemin) : chemin_(chemin) {
    f_ = std::fopen(chemin.c_str(), "wb");
    if (!f_) Echec("impossible de créer le fichier", chemin, errno);
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::TFichierEcriture(std::FILE* f, const std::string& nom) : chemin_(nom), f_(f) {
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::~TFichierEcriture() {
    if (f_) std::fclose(f_);
}

void TFichierEcriture::Ecrire(const void* donnees, std::size_t n) {
    if (std::fwrite(donnees, 1, n, f_) != n) Echec("erreur d'écriture du fichier", chemin_, errno);
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
    if (!ok) Echec("erreur d'écriture du fichier", chemin_, code);
}

TFichierTemporaire::TFichierTemporaire(const std::string& cible) : cible_(cible) {
    std::string modele = cible + ".tmp-XXXXXX";
    const int fd = mkstemp(modele.data());
    if (fd < 0) Echec("impossible de créer le fichier", cible, errno);
    chemin_ = modele;
    // mkstemp makes the file private; give it the usual rights of a new file.
    const mode_t masque = umask(0);
    umask(masque);
    fchmod(fd, 0666 & ~masque);
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        const int code = errno;
        close(fd);
        std::remove(chemin_.c_str());
        Echec("impossible de créer le fichier", cible, code);
    }
    ecriture_.emplace(f, cible);
}

TFichierTemporaire::~TFichierTemporaire() {
    ecriture_.reset();
    if (!valide_) std::remove(chemin_.c_str());
}

void TFichierTemporaire::Ecrire(const void* donnees, std::size_t n) {
    ecriture_->Ecrire(donnees, n);
}

void TFichierTemporaire::Valider() {
    ecriture_->Fermer(true);
    ecriture_.reset();
    if (std::rename(chemin_.c_str(), cible_.c_str()) != 0)
        Echec("impossible de remplacer le fichier", cible_, errno);
    valide_ = true;
}
