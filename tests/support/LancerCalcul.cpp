#include "support/LancerCalcul.h"

#include "support/CommandeSysteme.h"

#include <cstdlib>

TResultatCommande LancerCalcul(const std::string& args) {
    // ctest gives the program's path; run by hand, it sits in the build's app/ folder.
    const char* programme = std::getenv("ARKALUNE_CALCUL");
    return LancerCommande(
        ProgrammeEnLigne(programme ? programme : ProgrammeDeLaConstruction("app/arkalune-calcul")) +
        " " + args);
}
