#include "util/Erreurs.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

std::string ErreurSysteme(int code) {
    switch (code) {
    case ENOENT:
        return "fichier ou dossier introuvable";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOSPC:
        return "plus de place sur le disque";
#ifdef EDQUOT // not on Windows, where a quota gives ENOSPC
    case EDQUOT:
        return "quota disque dépassé";
#endif
    case EROFS:
        return "support en lecture seule";
    case EISDIR:
        return "c'est un dossier";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case EEXIST:
        return "le fichier existe déjà";
    case ENOTEMPTY:
        return "le dossier n'est pas vide";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ENAMETOOLONG:
        return "nom de fichier trop long";
    case EBADF:
        return "fichier fermé ou non ouvert pour cette opération";
    case ELOOP:
        return "trop de liens symboliques enchaînés (une boucle ?)";
    case EXDEV:
        return "déplacement impossible d'un disque à un autre";
    case EIO:
        return "erreur d'entrée-sortie du disque";
    case EFBIG:
    case EOVERFLOW:
        return "fichier trop grand";
    case ENOMEM:
        return "mémoire insuffisante";
    case EPIPE:
        return "le destinataire a fermé le tube";
    case EBUSY:
    case ETXTBSY:
        return "fichier ou périphérique occupé";
    case ENXIO:
    case ENODEV:
        return "périphérique absent";
    case EINVAL:
        return "opération impossible sur ce fichier";
    case EINTR:
        return "opération interrompue";
    case EAGAIN:
        return "ressource momentanément indisponible";
#ifdef ESTALE // NFS's, not on Windows
    case ESTALE:
        return "fichier réseau devenu inaccessible";
#endif
    case ETIMEDOUT:
        return "délai dépassé";
    default:
        return "erreur du système (code " + std::to_string(code) + ")";
    }
}

std::string MessageErreur(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return "mémoire insuffisante";
    if (const auto* f = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
        const std::string raison = ErreurSysteme(f->code().value());
        return f->path1().empty() ? raison : "« " + f->path1().string() + " » : " + raison;
    }
    if (const auto* s = dynamic_cast<const std::system_error*>(&e))
        if (s->code().category() == std::generic_category() ||
            s->code().category() == std::system_category())
            return ErreurSysteme(s->code().value());
    return e.what();
}
