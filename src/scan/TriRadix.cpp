#include "scan/TriRadix.h"

#include "util/EnParties.h"

#include <algorithm>
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

// The counts of each value of the digit in each part of the keys.
using TComptes = std::vector<std::vector<std::size_t>>;

// Keys of each part handled between two reports of the progress.
constexpr std::size_t TrancheParPartie = std::size_t(1) << 17;

// Runs f(partie, debut, fin) over each part of n keys, a slice of each at a time, one thread a
// part, and reports after each slice how many keys are done.
template <class F>
void ParTranches(std::size_t n, int parties, const std::function<void(std::int64_t)>& fait, F&& f) {
    const std::size_t plusLongue = n - DebutPartie(n, parties - 1, parties);
    for (std::size_t decalage = 0; decalage < plusLongue; decalage += TrancheParPartie) {
        FaireEnParties(parties, [&](int partie) {
            const std::size_t debut = DebutPartie(n, partie, parties) + decalage;
            const std::size_t fin =
                std::min(DebutPartie(n, partie + 1, parties), debut + TrancheParPartie);
            if (debut < fin) f(partie, debut, fin);
        });
        fait(std::int64_t(std::min(n, std::size_t(parties) * (decalage + TrancheParPartie))));
    }
}

void Compter(const TGrandVecteur<std::uint64_t>& cles, const TChiffre& chiffre, TComptes& comptes,
             const std::function<void(std::int64_t)>& fait) {
    for (std::vector<std::size_t>& compte : comptes)
        compte.assign(chiffre.masque + 1, 0);
    ParTranches(cles.size(), int(comptes.size()), fait,
                [&](int partie, std::size_t debut, std::size_t fin) {
                    std::vector<std::size_t>& compte = comptes[std::size_t(partie)];
                    for (std::size_t q = debut; q < fin; ++q)
                        ++compte[chiffre.De(cles[q])];
                });
}

// The counts become the places where each part puts its first key of each digit value: the
// keys of a part before those of the next, so that the order of equal digits is kept.
void Placer(TComptes& comptes) {
    std::size_t debut = 0;
    for (std::size_t d = 0; d < comptes[0].size(); ++d)
        for (std::vector<std::size_t>& compte : comptes) {
            const std::size_t c = compte[d];
            compte[d] = debut;
            debut += c;
        }
}

void Repartir(const TGrandVecteur<std::uint64_t>& cles, const TGrandVecteur<std::uint32_t>& valeurs,
              const TChiffre& chiffre, TComptes& places, TGrandVecteur<std::uint64_t>& autresCles,
              TGrandVecteur<std::uint32_t>& autresValeurs,
              const std::function<void(std::int64_t)>& fait) {
    ParTranches(cles.size(), int(places.size()), fait,
                [&](int partie, std::size_t debut, std::size_t fin) {
                    std::size_t* place = places[std::size_t(partie)].data();
                    for (std::size_t q = debut; q < fin; ++q) {
                        const std::size_t p = place[chiffre.De(cles[q])]++;
                        autresCles[p] = cles[q];
                        autresValeurs[p] = valeurs[q];
                    }
                });
}

} // namespace

void TrierParCle(TGrandVecteur<std::uint64_t>& cles, TGrandVecteur<std::uint32_t>& valeurs,
                 int bits, const TAvancementTri& avancer, int parties) {
    const std::size_t n = cles.size();
    if (bits <= 0 || n < 2) return;
    const int passes = (bits + BitsParChiffreMax - 1) / BitsParChiffreMax;
    const int largeur = (bits + passes - 1) / passes;
    TComptes comptes(std::size_t(std::max(parties, 1)));
    TGrandVecteur<std::uint64_t> autresCles;
    TGrandVecteur<std::uint32_t> autresValeurs;
    // Each pass counts, then moves: two steps of n keys.
    const std::int64_t total = 2 * passes * std::int64_t(n);
    std::int64_t etapesFaites = 0;
    const std::function<void(std::int64_t)> fait = [&](std::int64_t clesFaites) {
        avancer(etapesFaites * std::int64_t(n) + clesFaites, total);
    };
    const auto etapeFaite = [&] {
        ++etapesFaites;
        fait(0);
    };
    for (int p = 0; p < passes; ++p) {
        const TChiffre chiffre{p * largeur, (std::uint64_t(1) << largeur) - 1};
        Compter(cles, chiffre, comptes, fait);
        etapeFaite();
        // A digit that all keys share leaves the order as it is.
        const std::size_t premier = chiffre.De(cles[0]);
        std::size_t avecLePremier = 0;
        for (const std::vector<std::size_t>& compte : comptes)
            avecLePremier += compte[premier];
        if (avecLePremier == n) {
            etapeFaite();
            continue;
        }
        Placer(comptes);
        if (autresCles.empty()) {
            // Fresh pages, a slice at a time: the progress is told between slices.
            autresCles.reserve(n);
            autresValeurs.reserve(n);
            for (std::size_t k = 0; k < n; k += 2 * TrancheParPartie) {
                autresCles.resize(std::min(n, k + 2 * TrancheParPartie));
                autresValeurs.resize(autresCles.size());
                fait(0);
            }
        }
        Repartir(cles, valeurs, chiffre, comptes, autresCles, autresValeurs, fait);
        cles.swap(autresCles);
        valeurs.swap(autresValeurs);
        etapeFaite();
    }
}
