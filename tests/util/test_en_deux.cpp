#include "util/EnDeux.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <string>

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
