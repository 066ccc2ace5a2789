// The system's refusals in French words, and messages that name the user's file, never the
// temporary one written beside it.

#include "support/AttendreErreur.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(ErreurSysteme, ChaqueCodeCourantASesMots) {
    const std::pair<int, const char*> cas[] = {
        {ENOENT, "fichier ou dossier introuvable"},
        {EACCES, "accès refusé"},
        {EPERM, "accès refusé"},
        {ENOSPC, "plus de place sur le disque"},
        {EDQUOT, "quota disque dépassé"},
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

TEST(ErreurSysteme, LesMessagesNommentLeFichierDeLUtilisateur) {
    TDossierTemporaire d;
    // A chain of links that never ends.
    fs::create_symlink("b.arkl", d.Chemin("a.arkl"));
    fs::create_symlink("a.arkl", d.Chemin("b.arkl"));
    AttendreErreur<EErreur>([&] { RemplacerFichier(d.Chemin("a.arkl"), "x"); },
                            "impossible de remplacer le fichier « " + d.Chemin("a.arkl") +
                                " » : trop de liens symboliques enchaînés (une boucle ?)");
    // A name the system refuses: the message names the folder, not the temporary name.
    const std::string longNom = d.Chemin(std::string(300, 'n'));
    AttendreErreur<EErreur>([&] { TFichierProvisoire p(longNom); },
                            "impossible de créer un fichier de travail dans « " +
                                d.Dossier().string() + " » : nom de fichier trop long");
    // A write that fails midway (the file size limit stands for a full disk): the message names
    // the file being replaced, which stays as it was.
    EcrireFichier(d.Chemin("ancien.arkl"), "ancien");
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limite);
        try {
            RemplacerFichier(d.Chemin("ancien.arkl"), std::string(1 << 21, 'x'));
        } catch (const EErreur& e) {
            _exit(std::string(e.what()) == "impossible d'écrire le fichier « " +
                                               d.Chemin("ancien.arkl") + " » : fichier trop grand"
                      ? 0
                      : 1);
        }
        _exit(2);
    }
    int etat = 0;
    waitpid(enfant, &etat, 0);
    EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0) << etat;
    EXPECT_EQ(LireFichier(d.Chemin("ancien.arkl")), "ancien");
    EXPECT_EQ(std::distance(fs::directory_iterator(d.Dossier()), {}), 3);
}
