#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "support/Temporaire.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

std::string ProgrammeDeLaConstruction(const std::string& chemin) {
    // The test programs sit two folders below the build's root.
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../.." / chemin)
        .string();
}

std::string ProgrammeEnLigne(const std::string& chemin) {
    return chemin;
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

void FixerEnvironnement(const char* nom, const std::optional<std::string>& valeur) {
    if (valeur)
        setenv(nom, valeur->c_str(), 1);
    else
        unsetenv(nom);
}
