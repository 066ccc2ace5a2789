// The settings' names and the window placement string, without a window.

#include "shell/FichiersRecents.h"
#include "shell/Journal.h"
#include "shell/ReglagesFenetre.h"

#include <gtest/gtest.h>

TEST(ReglagesFenetre, LesNomsSeTrouventQuelleQueSoitLeurCasse) {
    TMagasinReglages m;
    m.Ajouter("FArkalune\tdernierscan", "/scans");
    m.Ajouter("FArkalune\tVide", "");
    m.Ajouter("FArkalune\tPixelsPerInchDsgn", "abc");
    EXPECT_EQ(m.GetStr("FArkalune", "DernierScan"), "/scans");
    EXPECT_EQ(m.GetStr("Autre", "DernierScan"), "");
    EXPECT_EQ(m.GetLong("FArkalune", "PixelsPerInchDsgn", 120), 120);
    // Writing keeps the stored spelling: one value, not two.
    m.PutStr("FArkalune", "DernierScan", "/ailleurs");
    m.PutLong("FArkalune", "PixelsPerInchDsgn", 96);
    EXPECT_EQ(m.Donnees().size(), 2u);
    EXPECT_EQ(m.Donnees().begin()->first, "FArkalune\tdernierscan");
    EXPECT_EQ(m.GetStr("FARKALUNE", "DERNIERSCAN"), "/ailleurs");
    EXPECT_EQ(m.GetLong("FArkalune", "PixelsPerInchDsgn", 120), 96);
}

TEST(ReglagesFenetre, WinLTWHLuEtEcrit) {
    struct TCas {
        const char* texte;
        TEtatFenetre etat;
        bool rectangle;
        TRectangleFenetre r;
    };
    const TCas cas[] = {
        {"-30 -5 800 600", TEtatFenetre::Normale, true, {0, 0, 800, 600}},
        {"A10 20 800 600", TEtatFenetre::Maximisee, true, {10, 20, 800, 600}},
        {"i10 20 800 600", TEtatFenetre::Minimisee, true, {10, 20, 800, 600}},
        {"  7   8 9 10", TEtatFenetre::Normale, true, {7, 8, 9, 10}},
        {"10 20", TEtatFenetre::Normale, false, {}},
        {"", TEtatFenetre::Normale, false, {}},
        {"x1 2 3 4", TEtatFenetre::Normale, false, {}},
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.texte);
        const TPlacementFenetre p = LireWinLTWH(c.texte);
        EXPECT_EQ(p.etat, c.etat);
        ASSERT_EQ(p.rectangle.has_value(), c.rectangle);
        if (c.rectangle) {
            EXPECT_EQ(*p.rectangle, c.r);
        }
    }
    EXPECT_EQ(EcrireWinLTWH(TEtatFenetre::Maximisee, {12, 40, 800, 600}), "A12 40 800 600");
    EXPECT_EQ(EcrireWinLTWH(TEtatFenetre::Normale, {-3, 4, 5, 6}), "-3 4 5 6");
}

TEST(ReglagesFenetre, LaFenetreResteSurLEcran) {
    EXPECT_EQ(GarderSurEcran({3000, 10, 800, 600}, 1920, 1080),
              (TRectangleFenetre{1070, 10, 800, 600}));
    EXPECT_EQ(GarderSurEcran({-900, 2000, 800, 600}, 1920, 1080),
              (TRectangleFenetre{50, 430, 800, 600}));
    EXPECT_EQ(GarderSurEcran({100, 100, 800, 600}, 1920, 1080),
              (TRectangleFenetre{100, 100, 800, 600}));
    // No larger than the screen, whatever the settings say.
    EXPECT_EQ(GarderSurEcran({0, 0, 40000, 40000}, 1920, 1080),
              (TRectangleFenetre{0, 0, 1920, 1080}));
    EXPECT_EQ(GarderSurEcran({5000, 3000, 2000000000, 700}, 1920, 1080),
              (TRectangleFenetre{-50, 330, 1920, 700}));
}

// Exactly 50 pixels left on the screen is enough; one fewer moves the window.
TEST(ReglagesFenetre, LimitesDuMaintienSurLEcran) {
    const struct {
        TRectangleFenetre avant, apres;
    } cas[] = {
        {{1870, 10, 800, 600}, {1870, 10, 800, 600}}, // 50 pixels left on the right
        {{1871, 10, 800, 600}, {1070, 10, 800, 600}},
        {{-750, 10, 800, 600}, {-750, 10, 800, 600}}, // 50 pixels left on the left
        {{-751, 10, 800, 600}, {50, 10, 800, 600}},
        {{100, 1030, 800, 600}, {100, 1030, 800, 600}}, // 50 pixels left at the bottom
        {{100, 1031, 800, 600}, {100, 430, 800, 600}},
        {{100, 0, 800, 600}, {100, 0, 800, 600}}, // the title bar at the top
        {{100, -1, 800, 600}, {100, 0, 800, 600}},
    };
    for (const auto& c : cas)
        EXPECT_EQ(GarderSurEcran(c.avant, 1920, 1080), c.apres)
            << c.avant.gauche << " " << c.avant.haut;
}

TEST(Journal, UneLigneParTexte) {
    EXPECT_EQ(LigneJournal(1234, "message", "Définition\r\nNombre\nfin"),
              "1234 ms message : Définition\\nNombre\\nfin");
    // The clock runs from the program's start and never goes back.
    const std::int64_t avant = MillisecondesDepuisDebut();
    EXPECT_GE(avant, 0);
    EXPECT_GE(MillisecondesDepuisDebut(), avant);
}

TEST(ReglagesFenetre, FichiersRecents) {
    TFichiersRecents r;
    for (int n = 1; n <= 10; ++n)
        r.Ajouter("/scans/" + std::to_string(n) + ".arkl");
    r.Ajouter("/scans/5.arkl"); // opened again: first, and once
    r.Ajouter("");
    const std::vector<std::string> attendus = {"/scans/5.arkl", "/scans/10.arkl", "/scans/9.arkl",
                                               "/scans/8.arkl", "/scans/7.arkl",  "/scans/6.arkl",
                                               "/scans/4.arkl", "/scans/3.arkl"};
    EXPECT_EQ(r.Liste(), attendus);

    // Through the settings' names and back; gaps and twice-named files read as one list.
    TMagasinReglages m;
    r.Ecrire([&](const std::string& nom, const std::string& v) { m.PutStr("FArkalune", nom, v); });
    EXPECT_EQ(m.GetStr("FArkalune", "FichierRecent1"), "/scans/5.arkl");
    TFichiersRecents relu;
    relu.Lire([&](const std::string& nom) { return m.GetStr("FArkalune", nom); });
    EXPECT_EQ(relu.Liste(), attendus);
    TMagasinReglages troue;
    troue.PutStr("F", "FichierRecent2", "/a.arkl");
    troue.PutStr("F", "fichierrecent5", "/b.arkl");
    troue.PutStr("F", "FichierRecent7", "/a.arkl");
    relu.Lire([&](const std::string& nom) { return troue.GetStr("F", nom); });
    EXPECT_EQ(relu.Liste(), (std::vector<std::string>{"/a.arkl", "/b.arkl"}));
}
