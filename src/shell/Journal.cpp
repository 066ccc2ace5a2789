#include "shell/Journal.h"

#include "util/Fichiers.h"

#include <chrono>
#include <cstdio>

namespace {

// Taken while the program loads, before main.
const std::chrono::steady_clock::time_point DebutProgramme = std::chrono::steady_clock::now();

} // namespace

std::int64_t MillisecondesDepuisDebut() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 DebutProgramme)
        .count();
}

std::string LigneJournal(std::int64_t millisecondes, const std::string& genre,
                         const std::string& texte) {
    std::string ligne = std::to_string(millisecondes) + " ms " + genre + " : ";
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') continue;
        if (texte[i] == '\r' || texte[i] == '\n')
            ligne += "\\n";
        else
            ligne += texte[i];
    }
    return ligne;
}

void TJournal::Ecrire(const std::string& genre, const std::string& texte) const {
    if (!Actif()) return;
    // Opened for each line: the journal stays complete if the program is killed.
    std::FILE* f = OuvrirFichier(chemin_, "ab");
    if (!f) return;
    const std::string ligne = LigneJournal(MillisecondesDepuisDebut(), genre, texte) + "\n";
    std::fwrite(ligne.data(), 1, ligne.size(), f);
    std::fclose(f);
}
