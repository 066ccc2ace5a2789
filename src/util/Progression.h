#pragma once
// How a long operation tells how far it is. The operation only counts its units; the texts
// ("lecture : 12%", "écriture 12 %") are made here, and go to a sink that shows them and may stop
// the operation by throwing (the user's cancellation).

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// Where the texts go; an empty sink shows nothing.
using TSortieProgression = std::function<void(const std::string& texte)>;

class TProgression {
public:
    // How the percentage is counted and written.
    enum class TGenre {
        // "<etape>N%" each time the count reaches a multiple of `pas` (nothing when `pas` is 0),
        // N = count / pas * facteur.
        ParPas,
        // "<etape>N %" with N = count * 100 / total rounded, shown only when its text changes.
        Pourcentage,
        // "<etape>N%" at each of `nbPas` equal parts of the total reached, N from 100 / nbPas to
        // 100, each once.
        Fraction,
    };

    static TProgression ParPas(TSortieProgression sortie, std::string etape, std::int64_t pas,
                               std::int64_t facteur = 1);
    static TProgression Pourcentage(TSortieProgression sortie, std::string etape,
                                    std::int64_t total);
    // Nothing is shown for a total of fewer units than parts: a small file loads without a word.
    static TProgression Fraction(TSortieProgression sortie, std::string etape, std::int64_t total,
                                 std::int64_t nbPas = 100);
    // No count and nothing shown at first: `texte` only once the stretch lasts, through
    // Entretenir, so that a quick step shows no text.
    static TProgression Patience(TSortieProgression sortie, std::string texte);

    // The count has reached `n` units.
    void Avancer(std::int64_t n);
    // The count went from `avant` to `apres` at once (a batch): by step, the text of every
    // multiple passed; as a percentage, the text of `apres`.
    void Franchir(std::int64_t avant, std::int64_t apres);
    // A text of its own, outside the count ("préparation du tracé").
    void Afficher(const std::string& texte);
    // Called often during a long stretch that brings no new text: once a tenth of a second has
    // passed since the last text, that text is shown again, so that the sink keeps serving the
    // window's events (and may stop the operation there). Reads the clock at each call: a loop
    // over millions of items calls it every few thousand.
    void Entretenir();

private:
    TProgression(TSortieProgression sortie, TGenre genre, std::string etape, std::int64_t valeur,
                 std::int64_t facteur);
    TSortieProgression sortie_;
    TGenre genre_;
    std::string etape_;
    std::int64_t valeur_;  // the step (ParPas) or the total (Pourcentage, Fraction)
    std::int64_t facteur_; // Fraction: the number of parts
    // Fraction: the parts shown, and the count that reaches the next one.
    std::int64_t pasAffiches_ = 0, prochain_ = 0;
    std::int64_t Atteint(std::int64_t pas) const;
    // Pourcentage: the rounded percentage last shown.
    bool dejaAffiche_ = false;
    double dernierArrondi_ = 0;
    std::string dernierTexte_; // empty: none shown yet
    std::chrono::steady_clock::time_point quand_;
};
