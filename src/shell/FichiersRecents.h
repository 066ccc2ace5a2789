#pragma once
// The scans opened or saved last, newest first, as the "Fichiers récents" menu offers them and
// the settings keep them ("FichierRecent1" to "FichierRecent8").

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TFichiersRecents {
public:
    static constexpr std::size_t NbMax = 8;

    // `chemin` first; its other place in the list goes, and the oldest beyond NbMax.
    void Ajouter(const std::string& chemin);
    const std::vector<std::string>& Liste() const { return liste_; }

    // From the settings: `lire` gives the value of a name, empty when absent.
    void Lire(const std::function<std::string(const std::string& nom)>& lire);
    // To the settings: every name is written, the unused ones empty.
    void Ecrire(
        const std::function<void(const std::string& nom, const std::string& valeur)>& ecrire) const;

private:
    std::vector<std::string> liste_;
};
