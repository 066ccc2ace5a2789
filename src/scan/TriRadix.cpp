#include "scan/TriRadix.h"

#include <array>
#include <cstddef>

namespace {
// 2^11 counters per digit stay in the first-level cache.
constexpr int BitsParChiffreMax = 11;
} // namespace

void TrierParCle(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& valeurs, int bits) {
    const std::size_t n = cles.size();
    if (bits <= 0 || n < 2) return;
    const int passes = (bits + BitsParChiffreMax - 1) / BitsParChiffreMax;
    const int largeur = (bits + passes - 1) / passes;
    const std::uint64_t masque = (std::uint64_t(1) << largeur) - 1;
    // Every digit's counts in one reading of the keys.
    std::vector<std::size_t> comptes(std::size_t(passes) << largeur);
    for (std::uint64_t c : cles)
        for (int p = 0; p < passes; ++p)
            ++comptes[(std::size_t(p) << largeur) + ((c >> (p * largeur)) & masque)];
    std::vector<std::uint64_t> autresCles;
    std::vector<std::uint32_t> autresValeurs;
    for (int p = 0; p < passes; ++p) {
        std::size_t* compte = comptes.data() + (std::size_t(p) << largeur);
        // A digit that all keys share leaves the order as it is.
        if (compte[(cles[0] >> (p * largeur)) & masque] == n) continue;
        std::size_t debut = 0;
        for (std::size_t d = 0; d <= masque; ++d) {
            const std::size_t c = compte[d];
            compte[d] = debut;
            debut += c;
        }
        if (autresCles.empty()) {
            autresCles.resize(n);
            autresValeurs.resize(n);
        }
        const int decalage = p * largeur;
        for (std::size_t q = 0; q < n; ++q) {
            const std::size_t place = compte[(cles[q] >> decalage) & masque]++;
            autresCles[place] = cles[q];
            autresValeurs[place] = valeurs[q];
        }
        cles.swap(autresCles);
        valeurs.swap(autresValeurs);
    }
}
