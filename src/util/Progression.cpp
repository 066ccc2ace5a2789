#include "util/Progression.h"

#include "util/Format.h"

#include <cmath>
#include <cstdint>
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

TProgression TProgression::Fraction(TSortieProgression sortie, std::string etape,
                                    std::int64_t total, std::int64_t nbPas) {
    TProgression p(std::move(sortie), TGenre::Fraction, std::move(etape), total, nbPas);
    p.prochain_ = total < nbPas ? INT64_MAX : p.Atteint(1);
    return p;
}

// The count from which `pas` parts of the total are done: ceil(pas * total / nbPas), without
// the product's overflow.
std::int64_t TProgression::Atteint(std::int64_t pas) const {
    const std::int64_t q = valeur_ / facteur_, r = valeur_ % facteur_;
    return pas * q + (pas * r + facteur_ - 1) / facteur_;
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
    if (genre_ != TGenre::ParPas) {
        Avancer(apres);
        return;
    }
    if (valeur_ == 0) return;
    for (std::int64_t k = (avant / valeur_ + 1) * valeur_; k <= apres; k += valeur_)
        Avancer(k);
}

void TProgression::Avancer(std::int64_t n) {
    if (genre_ == TGenre::Fraction) {
        // Every part passed, never beyond the last: a count above the total announced stays
        // at 100%.
        while (n >= prochain_ && pasAffiches_ < facteur_) {
            ++pasAffiches_;
            Afficher(etape_ + std::to_string(pasAffiches_ * 100 / facteur_) + "%");
            prochain_ = pasAffiches_ < facteur_ ? Atteint(pasAffiches_ + 1) : INT64_MAX;
        }
        return;
    }
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
