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

// Each part once, whatever the batches, up to 100% and never beyond: a file that holds more than it
// announced, or a total that is no multiple of the parts, ends at 100%.
TEST(Progression, FractionUneFoisParPartJusquACent) {
    const auto textes = [](std::int64_t total, std::int64_t nbPas,
                           const std::vector<std::int64_t>& comptes) {
        TTextes t;
        TProgression p = TProgression::Fraction(t.Sortie(), "lecture : ", total, nbPas);
        std::int64_t avant = 0;
        for (const std::int64_t n : comptes) {
            p.Franchir(avant, n);
            avant = n;
        }
        return t.recus;
    };
    std::vector<std::int64_t> unParUn(210);
    for (std::size_t k = 0; k < unParUn.size(); ++k)
        unParUn[k] = std::int64_t(k) + 1;
    const std::vector<std::string> centiemes = textes(199, 100, unParUn);
    ASSERT_EQ(centiemes.size(), 100u);
    EXPECT_EQ(centiemes[0], "lecture : 1%");
    EXPECT_EQ(centiemes[49], "lecture : 50%");
    EXPECT_EQ(centiemes[99], "lecture : 100%");
    EXPECT_EQ(textes(199, 100, {1, 150, 199, 400}), centiemes);
    // 100% only once the total is reached.
    EXPECT_EQ(textes(199, 100, {198}).back(), "lecture : 99%");
    EXPECT_EQ(
        textes(39, 20, {1, 2, 39}),
        (std::vector<std::string>{
            "lecture : 5%",  "lecture : 10%", "lecture : 15%", "lecture : 20%", "lecture : 25%",
            "lecture : 30%", "lecture : 35%", "lecture : 40%", "lecture : 45%", "lecture : 50%",
            "lecture : 55%", "lecture : 60%", "lecture : 65%", "lecture : 70%", "lecture : 75%",
            "lecture : 80%", "lecture : 85%", "lecture : 90%", "lecture : 95%", "lecture : 100%"}));
    EXPECT_TRUE(textes(99, 100, unParUn).empty());
    // No overflow for a count of 2^62.
    EXPECT_EQ(textes(std::int64_t(1) << 62, 100, {std::int64_t(1) << 61}).back(), "lecture : 50%");
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
