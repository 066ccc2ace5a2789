#include "util/EnParties.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

// An exception left on a thread would end the program, and a part still running after the call
// would work on memory its caller has let go: whichever part throws, all have ended when the
// exception comes out.
TEST(EnParties, ToutesLesPartiesFinissentEtLErreurRessortEnsuite) {
    for (const int parties : {1, 2, 5}) {
        for (int lanceuse = -1; lanceuse < parties; ++lanceuse) {
            SCOPED_TRACE(std::to_string(parties) +
                         " parties, qui lance : " + std::to_string(lanceuse));
            std::vector<std::atomic<bool>> finies(static_cast<std::size_t>(parties));
            const auto travail = [&](int partie) {
                if (partie == lanceuse) throw EErreur("partie " + std::to_string(partie));
                finies[std::size_t(partie)] = true;
            };
            if (lanceuse < 0) {
                FaireEnParties(parties, travail);
            } else {
                EXPECT_THROW(FaireEnParties(parties, travail), EErreur);
            }
            for (int p = 0; p < parties; ++p)
                EXPECT_EQ(finies[std::size_t(p)], p != lanceuse) << "partie " << p;
        }
    }
}
