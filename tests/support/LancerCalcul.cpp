#include "support/LancerCalcul.h"

#include "support/Temporaire.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

TResultatCommande LancerCalcul(const std::string& args) {
    // ctest gives the program's path; run by hand, it sits in the build's app/ folder.
    const char* programme = std::getenv("ARKALUNE_CALCUL");
    const std::string chemin =
        programme ? programme
                  : (std::filesystem::read_symlink("/proc/self/exe").parent_path() /
                     "../../app/arkalune-calcul")
                        .string();
    return LancerCommande(chemin + " " + args);
}

TResultatCommande LancerCommande(const std::string& ligne) {
    TDossierTemporaire dossier;
    const std::string erreurs = dossier.Chemin("stderr");
    const std::string commande = ligne + " 2>" + erreurs;
    TResultatCommande r;
    FILE* p = popen(commande.c_str(), "r");
    if (!p) return r;
    char tampon[4096];
    std::size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, p)) > 0)
        r.sortie.append(tampon, n);
    const int etat = pclose(p);
    r.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    r.erreurs = LireFichier(erreurs);
    return r;
}
