#pragma once
// Runs the batch command arkalune-calcul, as a user would from a shell.

#include <string>

struct TResultatCommande {
    int code = -1; // exit status; -1 when the program did not end normally
    std::string sortie;
    std::string erreurs;
};

// `args` is given to the shell as it stands (quote paths that need it).
TResultatCommande LancerCalcul(const std::string& args);
// Any command line, run by the shell: `commande` and its arguments.
TResultatCommande LancerCommande(const std::string& commande);
