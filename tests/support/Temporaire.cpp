#include "support/Temporaire.h"

#include "util/Fichiers.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

TDossierTemporaire::TDossierTemporaire() {
    std::mt19937_64 hasard{std::random_device{}()};
    const std::filesystem::path temporaire = std::filesystem::temp_directory_path();
    for (int essai = 0; essai < 100; ++essai) {
        dossier_ = temporaire / ("arkalune-test-" + std::to_string(hasard() % 1000000000));
        // Created by this call only: a folder that exists already is someone else's.
        if (std::filesystem::create_directory(dossier_)) return;
    }
    throw std::runtime_error("dossier temporaire");
}

TDossierTemporaire::~TDossierTemporaire() {
    std::error_code ec;
    std::filesystem::remove_all(dossier_, ec);
}

std::string TDossierTemporaire::Chemin(const std::string& nom) const {
    return TexteChemin(dossier_ / CheminFs(nom));
}

std::vector<std::string> TDossierTemporaire::Noms() const {
    std::vector<std::string> noms;
    for (const auto& e : std::filesystem::directory_iterator(dossier_))
        noms.push_back(TexteChemin(e.path().filename()));
    std::sort(noms.begin(), noms.end());
    return noms;
}

void EcrireFichier(const std::string& chemin, const std::string& contenu) {
    std::ofstream f(CheminFs(chemin), std::ios::binary);
    f.write(contenu.data(), std::streamsize(contenu.size()));
}

std::string LireFichier(const std::string& chemin) {
    std::ifstream f(CheminFs(chemin), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
