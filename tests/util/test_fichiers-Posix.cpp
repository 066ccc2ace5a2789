// What files do with what only POSIX systems have: symbolic links, devices, permissions, signals.
#include "support/AttendreErreur.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/NettoyageSignaux.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
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
