#include "support/AttendreErreur.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(FichierProvisoire, NomPropreSansToucherAUnFichierExistant) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz.tmp"), "à l'utilisateur");
    std::string chemin;
    {
        TFichierProvisoire a(d.Chemin("scan.xyz.tmp")), b(d.Chemin("scan.xyz.tmp"));
        chemin = a.Chemin();
        EXPECT_NE(a.Chemin(), b.Chemin());
        EXPECT_TRUE(fs::exists(chemin));
    }
    EXPECT_FALSE(fs::exists(chemin));
    EXPECT_EQ(LireFichier(d.Chemin("scan.xyz.tmp")), "à l'utilisateur");
}

// Read back, a working copy is still the user's file for the messages, never its own name.
TEST(FichierProvisoire, RelireNommeLeFichierDeLUtilisateur) {
    TDossierTemporaire d;
    TFichierProvisoire p(d.Chemin("releve.xyz.tmp"), {}, "la copie de travail de « releve.xyz »");
    p.Ecriture().Ecrire("abc", 3);
    p.FermerEcriture();
    TFichierLecture relu = p.Relire();
    char octets[4];
    AttendreErreur<EErreur>(
        [&] { relu.LireExact(octets, 4); },
        "impossible de lire la copie de travail de « releve.xyz » : fichier tronqué");
}

TEST(FichierTemporaire, RemplaceLAncienFichierSansRienLaisserAcote) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("rapport.html"), "ancien contenu, plus long");
    RemplacerFichier(d.Chemin("rapport.html"), "nouveau");
    EXPECT_EQ(LireFichier(d.Chemin("rapport.html")), "nouveau");
    EXPECT_EQ(d.Noms(), std::vector<std::string>{"rapport.html"});
    fs::create_directory(d.Chemin("dossier"));
    AttendreErreur<EErreur>([&] { RemplacerFichier(d.Chemin("dossier"), "x"); },
                            "impossible de remplacer « " + d.Chemin("dossier") +
                                " » : ce n'est pas un fichier ordinaire");
}

// Names the system's code page cannot spell (Windows' ANSI one): the file has its very name.
TEST(Fichiers, UnNomNonAsciiEstLeNomDuFichier) {
    TDossierTemporaire d;
    const std::string nom = "voûte 穹顶 ✓.arkl";
    RemplacerFichier(d.Chemin(nom), "contenu");
    RemplacerFichier(d.Chemin(nom), "remplacé");
    EXPECT_EQ(d.Noms(), std::vector<std::string>{nom});
    TFichierLecture f(d.Chemin(nom));
    std::string lu(f.Taille(), '\0');
    f.LireExact(lu.data(), lu.size());
    EXPECT_EQ(lu, "remplacé");
    {
        TFichierEcriture e(d.Chemin("é.txt"));
        e.Ecrire("a", 1);
        e.Fermer();
    }
    EXPECT_TRUE(fs::exists(CheminFs(d.Chemin("é.txt"))));
}
