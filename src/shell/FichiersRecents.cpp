#include "shell/FichiersRecents.h"

#include <algorithm>

namespace {
std::string Nom(std::size_t rang) {
    return "FichierRecent" + std::to_string(rang + 1);
}
} // namespace

void TFichiersRecents::Ajouter(const std::string& chemin) {
    if (chemin.empty()) return;
    liste_.erase(std::remove(liste_.begin(), liste_.end(), chemin), liste_.end());
    liste_.insert(liste_.begin(), chemin);
    if (liste_.size() > NbMax) liste_.resize(NbMax);
}

void TFichiersRecents::Lire(const std::function<std::string(const std::string& nom)>& lire) {
    liste_.clear();
    // Read oldest first, so that each comes before the older ones and a name twice stays once.
    for (std::size_t rang = NbMax; rang-- > 0;)
        Ajouter(lire(Nom(rang)));
}

void TFichiersRecents::Ecrire(
    const std::function<void(const std::string& nom, const std::string& valeur)>& ecrire) const {
    for (std::size_t rang = 0; rang < NbMax; ++rang)
        ecrire(Nom(rang), rang < liste_.size() ? liste_[rang] : std::string());
}
