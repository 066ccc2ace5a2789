#include "shell/OptionsCalcul.h"

namespace {

constexpr TOptionCalcul Options[] = {{"--niveau", "N"},
                                     {"--proprietes", ""},
                                     {"--enregistrer", "F"},
                                     {"--niveau-enregistre", "L"},
                                     {"--zone", "X1 Y1 X2 Y2"},
                                     {"--rotation-z", "DEG"},
                                     {"--quartier", "Q"},
                                     {"--largeur", "CM"},
                                     {"--arcs", "N"},
                                     {"--masse-lin", "V"},
                                     {"--masse-surf", "V"},
                                     {"--masse-vol", "V"},
                                     {"--niveau-remplissage", "V"},
                                     {"--niveau-appui", "Z"},
                                     {"--sensibilite", ""},
                                     {"--rapport", "F"},
                                     {"--json", "F|-"},
                                     {"--pdf", "F"},
                                     {"--projet", "T"},
                                     {"--auteur", "T"},
                                     {"--verificateur", "T"}};

} // namespace

std::span<const TOptionCalcul> OptionsCalcul() {
    return Options;
}

std::string SynopsisCalcul(const std::string& debut, std::size_t largeur, std::size_t retrait) {
    std::string texte = debut + "arkalune-calcul FICHIER";
    std::size_t ligne = texte.size();
    for (const TOptionCalcul& o : Options) {
        const std::string mot = std::string("[") + o.Nom + (*o.Valeur ? " " : "") + o.Valeur + "]";
        if (ligne + 1 + mot.size() > largeur) {
            texte += "\n" + std::string(retrait, ' ') + mot;
            ligne = retrait + mot.size();
        } else {
            texte += " " + mot;
            ligne += 1 + mot.size();
        }
    }
    return texte;
}
