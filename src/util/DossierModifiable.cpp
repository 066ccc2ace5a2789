#include "util/DossierModifiable.h"

#include "util/Fichiers.h"

#include <exception>

bool DossierModifiable(const std::string& dossier) {
    try {
        // Removed as it goes out of scope.
        const TFichierProvisoire essai(TexteChemin(CheminFs(dossier) / ".arkalune-essai-"));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
