// The system's refusals in French words.

#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

TEST(ErreurSysteme, ChaqueCodeCourantASesMots) {
    const std::pair<int, const char*> cas[] = {
        {ENOENT, "fichier ou dossier introuvable"},
        {EACCES, "accès refusé"},
        {EPERM, "accès refusé"},
        {ENOSPC, "plus de place sur le disque"},
#ifdef EDQUOT
        {EDQUOT, "quota disque dépassé"},
#endif
        {EROFS, "support en lecture seule"},
        {EISDIR, "c'est un dossier"},
        {ENOTDIR, "un élément du chemin n'est pas un dossier"},
        {EEXIST, "le fichier existe déjà"},
        {EMFILE, "trop de fichiers ouverts"},
        {ENAMETOOLONG, "nom de fichier trop long"},
        {EBADF, "fichier fermé ou non ouvert pour cette opération"},
        {ELOOP, "trop de liens symboliques enchaînés (une boucle ?)"},
        {EXDEV, "déplacement impossible d'un disque à un autre"},
        {EIO, "erreur d'entrée-sortie du disque"},
        {EFBIG, "fichier trop grand"},
        {EPIPE, "le destinataire a fermé le tube"},
        {ENOMEM, "mémoire insuffisante"},
        // A code the table does not know still says it is the system's.
        {9999, "erreur du système (code 9999)"},
    };
    for (const auto& [code, texte] : cas)
        EXPECT_EQ(ErreurSysteme(code), texte) << code;
}

TEST(ErreurSysteme, LesErreursDeLaBibliothequeEnFrancais) {
    const fs::filesystem_error f("status", fs::path("/scans/voute.arkl"),
                                 std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(MessageErreur(f), "« /scans/voute.arkl » : accès refusé");
    const std::system_error s(std::make_error_code(std::errc::no_space_on_device));
    EXPECT_EQ(MessageErreur(s), "plus de place sur le disque");
    EXPECT_EQ(MessageErreur(std::bad_alloc()), "mémoire insuffisante");
}
