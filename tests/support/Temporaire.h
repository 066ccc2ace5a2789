#pragma once
// A private folder for a test's files, removed at the end; small file helpers.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

class TDossierTemporaire {
public:
    TDossierTemporaire();
    ~TDossierTemporaire();
    std::string Chemin(const std::string& nom) const;
    const std::filesystem::path& Dossier() const { return dossier_; }
    // The names in the folder, sorted (UTF-8): a stray temporary file shows here.
    std::vector<std::string> Noms() const;

private:
    std::filesystem::path dossier_;
};

void EcrireFichier(const std::string& chemin, const std::string& contenu);
std::string LireFichier(const std::string& chemin);
