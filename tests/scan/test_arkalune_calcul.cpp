#include "ScanEssai.h"
#include "support/Temporaire.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

struct TResultat {
    int code;
    std::string sortie;
};

// Runs the batch command with `args`; stderr is discarded.
TResultat Lancer(const std::string& args) {
    // ctest gives the program's path; run by hand, it sits in the build's app/ folder.
    const char* programme = std::getenv("ARKALUNE_CALCUL");
    const std::string chemin =
        programme ? programme
                  : (std::filesystem::read_symlink("/proc/self/exe").parent_path() /
                     "../../app/arkalune-calcul")
                        .string();
    std::string commande = chemin + " " + args + " 2>/dev/null";
    TResultat r{-1, {}};
    FILE* p = popen(commande.c_str(), "r");
    if (!p) return r;
    char tampon[4096];
    std::size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, p)) > 0) r.sortie.append(tampon, n);
    const int etat = pclose(p);
    r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    return r;
}

} // namespace

TEST(ArkaluneCalcul, ChargeAfficheEtEnregistre) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), XYZGrille(500));
    const TResultat r = Lancer(d.Chemin("scan.xyz") + " --proprietes --enregistrer " +
                               d.Chemin("mince.arkl") + " --niveau-enregistre 2");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie.rfind("Définition du scan : 1.6 mm\r\nNombre de points : 500\r\n", 0), 0u);

    const TResultat relu = Lancer(d.Chemin("mince.arkl") + " --proprietes");
    ASSERT_EQ(relu.code, 0);
    EXPECT_EQ(relu.sortie.rfind("Définition du scan : 40.0 mm\r\n", 0), 0u);
}

TEST(ArkaluneCalcul, CodesDeSortie) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), XYZGrille(10));
    EcrireFichier(d.Chemin("vide.xyz"), "");
    const struct {
        std::string args;
        int code;
    } cas[] = {
        {"", 2},
        {d.Chemin("scan.xyz") + " --inconnue", 2},
        {d.Chemin("scan.xyz") + " --niveau 5", 2},
        {d.Chemin("scan.xyz") + " --niveau", 2},
        {d.Chemin("scan.xyz") + " --enregistrer " + d.Chemin("x.txt"), 2},
        {d.Chemin("absent.xyz"), 1},
        {d.Chemin("vide.xyz"), 1},
        {d.Chemin("scan.xyz") + " --enregistrer " + d.Chemin("absent/x.arkl"), 1},
        {d.Chemin("scan.xyz") + " --niveau 0", 0},
    };
    for (const auto& c : cas) EXPECT_EQ(Lancer(c.args).code, c.code) << c.args;
}
