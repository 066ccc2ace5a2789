#include "util/Progression.h"

#include "util/Format.h"

#include <cmath>
#include <utility>

TProgression::TProgression(TSortieProgression sortie, TGenre genre, std::string etape,
                           std::int64_t valeur, std::int64_t facteur)
    : sortie_(std::move(sortie)), genre_(genre), etape_(std::move(etape)), valeur_(valeur),
      facteur_(facteur) {}

TProgression TProgression::ParPas(TSortieProgression sortie, std::string etape, std::int64_t pas,
                                  std::int64_t facteur) {
    return TProgression(std::move(sortie), TGenre::ParPas, std::move(etape), pas, facteur);
}

TProgression TProgression::Pourcentage(TSortieProgression sortie, std::string etape,
                                       std::int64_t total) {
    return TProgression(std::move(sortie), TGenre::Pourcentage, std::move(etape), total, 1);
}

TProgression TProgression::Patience(TSortieProgression sortie, std::string texte) {
    TProgression p(std::move(sortie), TGenre::ParPas, "", 0, 1);
    p.dernierTexte_ = std::move(texte);
    p.quand_ = std::chrono::steady_clock::now();
    return p;
}

void TProgression::Afficher(const std::string& texte) {
    dernierTexte_ = texte;
    quand_ = std::chrono::steady_clock::now();
    if (sortie_) sortie_(texte);
}

void TProgression::Entretenir() {
    if (dernierTexte_.empty() || !sortie_) return;
    if (std::chrono::steady_clock::now() - quand_ >= std::chrono::milliseconds(100))
        Afficher(dernierTexte_);
}

void TProgression::Franchir(std::int64_t avant, std::int64_t apres) {
    if (genre_ == TGenre::Pourcentage) {
        Avancer(apres);
        return;
    }
    if (valeur_ == 0) return;
    for (std::int64_t k = (avant / valeur_ + 1) * valeur_; k <= apres; k += valeur_)
        Avancer(k);
}

void TProgression::Avancer(std::int64_t n) {
    if (genre_ == TGenre::ParPas) {
        if (valeur_ != 0 && n % valeur_ == 0)
            Afficher(etape_ + std::to_string(n / valeur_ * facteur_) + "%");
        return;
    }
    // The text changes once a percent: only then is it made and shown, not at every unit of a
    // writer that counts millions. "%.0f" rounds as nearbyint does (halves to even).
    const double pourcent = double(n) * 100 / double(valeur_);
    const double arrondi = std::nearbyint(pourcent);
    if (dejaAffiche_ &&
        (arrondi == dernierArrondi_ || (std::isnan(arrondi) && std::isnan(dernierArrondi_))))
        return;
    dejaAffiche_ = true;
    dernierArrondi_ = arrondi;
    Afficher(etape_ + Formater("%.0f %%", pourcent));
}
