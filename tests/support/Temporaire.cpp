#include "support/Temporaire.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

TDossierTemporaire::TDossierTemporaire() {
    std::string modele = (std::filesystem::temp_directory_path() / "arkalune-test-XXXXXX").string();
    if (!mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
    dossier_ = modele;
}

TDossierTemporaire::~TDossierTemporaire() {
    std::error_code ec;
    std::filesystem::remove_all(dossier_, ec);
}

void EcrireFichier(const std::string& chemin, const std::string& contenu) {
    std::ofstream f(chemin, std::ios::binary);
    f.write(contenu.data(), std::streamsize(contenu.size()));
}

std::string LireFichier(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
