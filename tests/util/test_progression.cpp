#include "util/Progression.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TTextes {
    std::vector<std::string> recus;
    TSortieProgression Sortie() {
        return [this](const std::string& t) { recus.push_back(t); };
    }
};

} // namespace

TEST(Progression, ParPasAuxMultiplesDuPasSeulement) {
    TTextes t;
    TProgression p = TProgression::ParPas(t.Sortie(), "lecture : ", 3);
    for (int n = 1; n <= 7; ++n)
        p.Avancer(n);
    EXPECT_EQ(t.recus, (std::vector<std::string>{"lecture : 1%", "lecture : 2%"}));
    // Counted by batches, the same texts.
    TTextes lots;
    TProgression r = TProgression::ParPas(lots.Sortie(), "lecture : ", 3);
    r.Franchir(0, 2);
    r.Franchir(2, 7);
    EXPECT_EQ(lots.recus, t.recus);

    TTextes vingtiemes;
    TProgression q = TProgression::ParPas(vingtiemes.Sortie(), "rotation : ", 2, 5);
    for (int n = 1; n <= 4; ++n)
        q.Avancer(n);
    EXPECT_EQ(vingtiemes.recus, (std::vector<std::string>{"rotation : 5%", "rotation : 10%"}));
}

TEST(Progression, SansPasRienNestAffiche) {
    TTextes t;
    TProgression p = TProgression::ParPas(t.Sortie(), "construction : ", 0);
    p.Avancer(0);
    p.Avancer(5);
    EXPECT_TRUE(t.recus.empty());
}

TEST(Progression, PourcentageArrondiAChaqueChangementDeTexte) {
    TTextes t;
    TProgression p = TProgression::Pourcentage(t.Sortie(), "écriture ", 400);
    for (int n = 1; n <= 400; ++n)
        p.Avancer(n);
    ASSERT_EQ(t.recus.size(), 101u); // 0 % (for 1/400) to 100 %, each once
    EXPECT_EQ(t.recus.front(), "écriture 0 %");
    EXPECT_EQ(t.recus[1], "écriture 1 %"); // 2/400 = 0.5 rounds to even: 0; 3/400 gives 1
    EXPECT_EQ(t.recus.back(), "écriture 100 %");
}

TEST(Progression, LeTexteLibrePasseTelQuel) {
    TTextes t;
    TProgression::Pourcentage(t.Sortie(), "x", 1).Afficher("préparation du tracé");
    EXPECT_EQ(t.recus, std::vector<std::string>{"préparation du tracé"});
    TProgression::ParPas({}, "x", 1).Afficher("sans sortie"); // nothing to call: no fault
}

// A long stretch without a new text shows the last one again, at most every tenth of a second.
TEST(Progression, EntretenirRedonneLeDernierTexte) {
    TTextes t;
    TProgression p = TProgression::Pourcentage(t.Sortie(), "compactage ", 10);
    p.Entretenir(); // nothing shown yet: nothing to give again
    EXPECT_TRUE(t.recus.empty());
    p.Avancer(5);
    p.Entretenir(); // just shown
    EXPECT_EQ(t.recus, std::vector<std::string>{"compactage 50 %"});
    // A step with no count of its own says nothing until it lasts.
    TTextes attente;
    TProgression q = TProgression::Patience(attente.Sortie(), "changement ...");
    q.Entretenir();
    EXPECT_TRUE(attente.recus.empty());

    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    p.Entretenir();
    EXPECT_EQ(t.recus, (std::vector<std::string>{"compactage 50 %", "compactage 50 %"}));
    q.Entretenir();
    EXPECT_EQ(attente.recus, std::vector<std::string>{"changement ..."});
}
