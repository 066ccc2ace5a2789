#pragma once
// What the text readers share: the file cut into lines with the progress of the reading, and the
// batch of points handed on.

#include "scan/DecoupageLignes.h"
#include "scan/PointsLus.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <string_view>
#include <vector>

// The progress of a text is counted in lines of a typical survey ("x y z r g b"): a file of fewer
// than a hundred of them loads without a word.
inline constexpr std::uint64_t OctetsParLigne = 39;

// Gives every line of the file to `traiter(ligne, tropLongue)` (`tropLongue`: cut at the bound of
// a line), showing the progress "lecture : N%".
template <class F>
void LireLignes(const std::string& chemin, const TSortieProgression& sortie, F&& traiter) {
    TFichierLecture texte(chemin);
    TProgression progression =
        TProgression::Fraction(sortie, "lecture : ", std::int64_t(texte.Taille() / OctetsParLigne));
    // Small enough to stay in cache between the read and the parsing.
    std::vector<char> tampon(std::size_t(std::clamp<std::uint64_t>(texte.Taille(), 1, 256 << 10)));
    TDecoupageLignes decoupage;
    std::uint64_t lus = 0;
    for (;;) {
        const std::size_t n = texte.Lire(tampon.data(), tampon.size());
        if (n == 0) break;
        decoupage.Ajouter(std::string_view(tampon.data(), n), traiter);
        lus += n;
        progression.Avancer(std::int64_t(lus / OctetsParLigne));
    }
    decoupage.Terminer(traiter);
}

// The fields of `ligne` separated by runs of spaces or tabs (a CR counts as one), at most `max`
// of them put in `champs`; returns how many.
std::size_t ChampsSepares(std::string_view ligne, std::string_view* champs, std::size_t max);

// Reads the first `n` fields as reals into `v`; false when one is missing or not a number.
bool LireReels(const std::string_view* champs, std::size_t nbChamps, double* v, std::size_t n);

// A colour component read from text, an integer or a real, rounded and bounded to 0..255; false
// when the field is no number.
bool LireComposante(std::string_view champ, std::uint8_t& composante);

// Points gathered into batches for the import.
class TLotPointsLus {
public:
    explicit TLotPointsLus(const TRecevoirPointsLus& recevoir);
    void Ajouter(const TPointLu& p) {
        lot_.push_back(p);
        if (lot_.size() == lot_.capacity()) Vider();
    }
    // Hands on what is gathered; at the end of the file.
    void Vider();

private:
    const TRecevoirPointsLus& recevoir_;
    std::vector<TPointLu> lot_;
};
