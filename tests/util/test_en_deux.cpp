#include "util/EnDeux.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <string>
#include <vector>

// An exception left on a thread would end the program, and a half still running after the call
// would work on memory its caller has let go: whichever half throws, both have ended when the
// exception comes out.
TEST(EnDeux, LesDeuxMoitiesFinissentEtLErreurRessortEnsuite) {
    for (const int lanceuse : {-1, 0, 1}) {
        SCOPED_TRACE("moitié qui lance : " + std::to_string(lanceuse));
        std::array<std::atomic<bool>, 2> finies{};
        const auto travail = [&](int moitie) {
            if (moitie == lanceuse) throw EErreur("moitié " + std::to_string(moitie));
            finies[std::size_t(moitie)] = true;
        };
        if (lanceuse < 0) {
            FaireEnDeux(travail);
            EXPECT_TRUE(finies[0] && finies[1]);
        } else {
            EXPECT_THROW(FaireEnDeux(travail), EErreur);
            EXPECT_TRUE(finies[std::size_t(1 - lanceuse)]);
        }
    }
}

// Kept items in the order of one thread, whatever each half drops (nothing, everything, an odd
// count that leaves the second half's outputs to be moved), for counts around the halving.
TEST(EnDeux, LeFiltrageGardeLOrdreDUnSeulFil) {
    for (const std::size_t n : {0u, 1u, 2u, 7u, 1000u}) {
        for (const int garde : {0, 1, 3}) { // 0: none, 1: all, 3: one in three
            SCOPED_TRACE("n = " + std::to_string(n) + ", garde = " + std::to_string(garde));
            const auto Gardee = [garde](std::size_t i) {
                return garde == 1 || (garde == 3 && i % 3 == 1);
            };
            std::vector<std::size_t> attendu, sorties(n);
            for (std::size_t i = 0; i < n; ++i)
                if (Gardee(i)) attendu.push_back(i);
            const std::size_t nb = FiltrerEnDeux(
                n,
                [&](int, std::size_t debut, std::size_t fin) {
                    std::size_t place = debut;
                    for (std::size_t i = debut; i < fin; ++i)
                        if (Gardee(i)) sorties[place++] = i;
                    return place - debut;
                },
                [&](std::size_t de, std::size_t vers, std::size_t nbSorties) {
                    Rapprocher(sorties, de, vers, nbSorties);
                });
            sorties.resize(nb);
            EXPECT_EQ(sorties, attendu);
        }
    }
}
