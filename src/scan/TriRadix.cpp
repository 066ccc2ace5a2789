#include "scan/TriRadix.h"

#include "util/EnDeux.h"

#include <array>
#include <cstddef>

namespace {

// 2^11 counters per digit stay in the first-level cache.
constexpr int BitsParChiffreMax = 11;

// One digit of the keys: `largeur` bits from `decalage`.
struct TChiffre {
    int decalage;
    std::uint64_t masque;
    std::size_t De(std::uint64_t cle) const { return std::size_t((cle >> decalage) & masque); }
};

// The counts of each value of the digit in each half of the keys.
using TComptes = std::array<std::vector<std::size_t>, 2>;

void Compter(const std::vector<std::uint64_t>& cles, const TChiffre& chiffre, TComptes& comptes) {
    FaireEnDeux([&](int moitie) {
        std::vector<std::size_t>& compte = comptes[std::size_t(moitie)];
        compte.assign(chiffre.masque + 1, 0);
        for (std::size_t q = DebutMoitie(cles.size(), moitie); q < FinMoitie(cles.size(), moitie);
             ++q)
            ++compte[chiffre.De(cles[q])];
    });
}

// The counts become the places where each half puts its first key of each digit value: the
// first half's keys before the second's, so that the order of equal digits is kept.
void Placer(TComptes& comptes) {
    std::size_t debut = 0;
    for (std::size_t d = 0; d < comptes[0].size(); ++d)
        for (std::vector<std::size_t>& compte : comptes) {
            const std::size_t c = compte[d];
            compte[d] = debut;
            debut += c;
        }
}

void Repartir(const std::vector<std::uint64_t>& cles, const std::vector<std::uint32_t>& valeurs,
              const TChiffre& chiffre, TComptes& places, std::vector<std::uint64_t>& autresCles,
              std::vector<std::uint32_t>& autresValeurs) {
    FaireEnDeux([&](int moitie) {
        std::size_t* place = places[std::size_t(moitie)].data();
        for (std::size_t q = DebutMoitie(cles.size(), moitie); q < FinMoitie(cles.size(), moitie);
             ++q) {
            const std::size_t p = place[chiffre.De(cles[q])]++;
            autresCles[p] = cles[q];
            autresValeurs[p] = valeurs[q];
        }
    });
}

} // namespace

void TrierParCle(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& valeurs, int bits,
                 const TAvancementTri& avancer) {
    const std::size_t n = cles.size();
    if (bits <= 0 || n < 2) return;
    const int passes = (bits + BitsParChiffreMax - 1) / BitsParChiffreMax;
    const int largeur = (bits + passes - 1) / passes;
    TComptes comptes;
    std::vector<std::uint64_t> autresCles;
    std::vector<std::uint32_t> autresValeurs;
    // Each pass counts, then moves: two steps.
    int etapes = 0;
    const auto etapeFaite = [&] { avancer(++etapes * 100 / (2 * passes)); };
    for (int p = 0; p < passes; ++p) {
        const TChiffre chiffre{p * largeur, (std::uint64_t(1) << largeur) - 1};
        Compter(cles, chiffre, comptes);
        etapeFaite();
        // A digit that all keys share leaves the order as it is.
        const std::size_t premier = chiffre.De(cles[0]);
        if (comptes[0][premier] + comptes[1][premier] == n) {
            etapeFaite();
            continue;
        }
        Placer(comptes);
        if (autresCles.empty()) {
            autresCles.resize(n);
            autresValeurs.resize(n);
        }
        Repartir(cles, valeurs, chiffre, comptes, autresCles, autresValeurs);
        cles.swap(autresCles);
        valeurs.swap(autresValeurs);
        etapeFaite();
    }
}
