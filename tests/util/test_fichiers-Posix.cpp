// What files do with what only POSIX systems have: symbolic links, devices, permissions, signals.
#include "support/AttendreErreur.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/NettoyageSignaux.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(FichierTemporaire, UnLienResteUnLienEtSaCibleEstRemplacee) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("vrai.html"), "ancien");
    fs::create_symlink("vrai.html", d.Chemin("lien.html"));
    RemplacerFichier(d.Chemin("lien.html"), "nouveau");
    EXPECT_TRUE(fs::is_symlink(d.Chemin("lien.html")));
    EXPECT_EQ(LireFichier(d.Chemin("vrai.html")), "nouveau");
    // A link to nothing yet creates its target.
    fs::create_symlink("futur.html", d.Chemin("pendant.html"));
    RemplacerFichier(d.Chemin("pendant.html"), "créé");
    EXPECT_TRUE(fs::is_symlink(d.Chemin("pendant.html")));
    EXPECT_EQ(LireFichier(d.Chemin("futur.html")), "créé");
    EXPECT_EQ(d.Noms(),
              (std::vector<std::string>{"futur.html", "lien.html", "pendant.html", "vrai.html"}));
}

TEST(FichierTemporaire, CeQuiNEstPasUnFichierOrdinaireNEstPasRemplace) {
    TDossierTemporaire d;
    fs::create_directory(d.Chemin("dossier"));
    fs::create_symlink("/dev/null", d.Chemin("vers-peripherique"));
    for (const std::string& cible : {d.Chemin("dossier"), d.Chemin("vers-peripherique")})
        AttendreErreur<EErreur>([&] { RemplacerFichier(cible, "x"); },
                                "impossible de remplacer « " + cible +
                                    " » : ce n'est pas un fichier ordinaire");
    EXPECT_TRUE(fs::is_directory(d.Chemin("dossier")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(d.Noms(), (std::vector<std::string>{"dossier", "vers-peripherique"}));
}

TEST(FichierTemporaire, LeNouveauFichierGardeLesDroitsDeLAncien) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.arkl"), "ancien");
    chmod(d.Chemin("scan.arkl").c_str(), 0640);
    RemplacerFichier(d.Chemin("scan.arkl"), "nouveau");
    struct stat s {};
    ASSERT_EQ(stat(d.Chemin("scan.arkl").c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 07777, 0640u);
}

TEST(FichierTemporaire, InterrompuParUnSignalNeLaisseQueLAncienFichier) {
    for (int signal : {SIGINT, SIGTERM}) {
        TDossierTemporaire d;
        EcrireFichier(d.Chemin("rapport.html"), "ancien");
        const pid_t enfant = fork();
        ASSERT_GE(enfant, 0);
        if (enfant == 0) {
            InstallerNettoyageSurSignaux();
            TFichierTemporaire f(d.Chemin("rapport.html"));
            TFichierProvisoire p(d.Chemin("import.tmp"));
            f.Ecrire("nouv", 4);
            std::raise(signal);
            _exit(0); // not reached: the signal ends the process
        }
        int etat = 0;
        waitpid(enfant, &etat, 0);
        EXPECT_TRUE(WIFSIGNALED(etat) && WTERMSIG(etat) == signal);
        EXPECT_EQ(d.Noms(), std::vector<std::string>{"rapport.html"});
        EXPECT_EQ(LireFichier(d.Chemin("rapport.html")), "ancien");
    }
}

// A thread creates and removes temporary files without a pause while the process is stopped at
// a random moment: the signal must never find a file on the disk that it does not know of. The
// moment between the creation and the inscription is short; many stops are needed to reach it.
TEST(FichierProvisoire, UnArretAuMomentDeLaCreationNeLaissePasLeFichier) {
    std::mt19937 tirage(17);
    int laisses = 0;
    for (int essai = 0; essai < 200; ++essai) {
        TDossierTemporaire d;
        const std::string prefixe = d.Chemin("import.xyz.tmp-");
        const pid_t enfant = fork();
        ASSERT_GE(enfant, 0);
        if (enfant == 0) {
            InstallerNettoyageSurSignaux();
            std::thread([&] {
                for (;;)
                    TFichierProvisoire p(prefixe);
            }).detach();
            for (;;)
                pause();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + tirage() % 2000));
        kill(enfant, SIGTERM);
        int etat = 0;
        waitpid(enfant, &etat, 0);
        EXPECT_TRUE(WIFSIGNALED(etat) && WTERMSIG(etat) == SIGTERM);
        laisses += int(!d.Noms().empty());
    }
    EXPECT_EQ(laisses, 0);
}

TEST(FichierTemporaire, UnSignalIgnoreAuLancementResteIgnore) {
    TDossierTemporaire d;
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        std::signal(SIGHUP, SIG_IGN); // as under nohup
        InstallerNettoyageSurSignaux();
        TFichierProvisoire p(d.Chemin("import.tmp"));
        std::raise(SIGHUP);
        _exit(7); // still running: the ignored signal did not end it
    }
    int etat = 0;
    waitpid(enfant, &etat, 0);
    EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 7);
}

TEST(FichierProvisoire, PrendLesDroitsDuMasqueSansLeModifier) {
    TDossierTemporaire d;
    for (mode_t masque : {mode_t(027), mode_t(002)}) {
        const mode_t ancien = umask(masque);
        TFichierProvisoire p(d.Chemin("p"));
        struct stat s {};
        stat(p.Chemin().c_str(), &s);
        EXPECT_EQ(s.st_mode & 0777, 0666 & ~masque);
        EXPECT_EQ(umask(ancien), masque);
    }
}

// Messages name the user's file, never the temporary one written beside it.
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
