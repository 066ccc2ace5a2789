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
    std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
    const std::filesystem::path& Dossier() const { return dossier_; }

private:
    std::filesystem::path dossier_;
};

void EcrireFichier(const std::string& chemin, const std::string& contenu);
std::string LireFichier(const std::string& chemin);
