// A study's numbers are those of the vault as the user sees it: neither the order of the points in
// the file, nor a save and reopen, nor a move of the survey by whole metres, changes a bit of
// them. The survey has piers under the springing, where the cubes nearest a point in plan form a
// column and the rule that chooses among them decides the rib's springing height.

#include "NuageEssai.h"
#include "scan/FormatsScan.h"
#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

struct TPoint {
    double x, y, z;
};

// A dome over an 8 x 6 m bay and a pier of 30 x 30 cm under each corner, up to the springing.
std::vector<TPoint> VouteSurPiles() {
    TNuage baie{.x0 = 0, .x1 = 8, .y0 = 0, .y1 = 6, .pas = 0.1};
    const auto hauteur = Dome(baie, 4, 2.5);
    std::vector<TPoint> points;
    for (int i = 0; i <= 80; ++i)
        for (int j = 0; j <= 60; ++j)
            points.push_back({0.1 * i, 0.1 * j, hauteur(0.1 * i, 0.1 * j)});
    for (const double cx : {0.0, 7.7})
        for (const double cy : {0.0, 5.7})
            for (int i = 0; i <= 6; ++i)
                for (int j = 0; j <= 6; ++j)
                    for (int k = 0; k <= 30; ++k)
                        points.push_back({cx + 0.05 * i, cy + 0.05 * j, 0.13 * k});
    return points;
}

// A coordinate to the millimetre, as a survey writes it: the moved text is the same digits with
// the whole metres changed, as two exports of one survey in two frames would be.
std::string Millimetres(double v, double metres) {
    const long long mm = std::llround(v * 1000) + std::llround(metres) * 1000;
    const long long a = mm < 0 ? -mm : mm;
    return Formater("%s%lld.%03lld", mm < 0 ? "-" : "", a / 1000, a % 1000);
}

std::string Texte(const std::vector<TPoint>& points, const TPoint& deplacement) {
    std::string t;
    for (const TPoint& p : points)
        t += Millimetres(p.x, deplacement.x) + " " + Millimetres(p.y, deplacement.y) + " " +
             Millimetres(p.z, deplacement.z) + "\n";
    return t;
}

// The study without what names the file or places the survey back in its own frame.
std::string Etude(const std::string& json) {
    static const std::regex lieu(R"(,"Decalage":\[[^\]]*\]|"FichierScan":"[^"]*",)");
    return std::regex_replace(json, lieu, "");
}

// Where two studies part, with some context; empty when they are the same.
std::string Ecart(const std::string& a, const std::string& b) {
    if (a == b) return {};
    const std::size_t k = std::size_t(
        std::mismatch(a.begin(), a.begin() + std::ptrdiff_t(std::min(a.size(), b.size())),
                      b.begin())
            .first -
        a.begin());
    const std::size_t debut = k > 120 ? k - 120 : 0;
    return "…" + a.substr(debut, 200) + "\n  au lieu de\n…" + b.substr(debut, 200);
}

struct EtudeInvariante : TEtudeEssai {
    std::vector<TPoint> points = VouteSurPiles();
    void SetUp() override { FixerEnvironnement("SOURCE_DATE_EPOCH", "1796428800"); }
    void TearDown() override { FixerEnvironnement("SOURCE_DATE_EPOCH", std::nullopt); }

    std::string Etudier(const std::string& fichier, const std::string& options) {
        const TResultatCommande r = LancerCalcul(fichier + " " + options + " --json -");
        EXPECT_EQ(r.code, 0) << options << " : " << r.erreurs;
        return Etude(r.sortie);
    }
};

} // namespace

TEST_F(EtudeInvariante, OrdreDesPointsEnregistrementEtDeplacement) {
    EcrireFichier(Dossier.Chemin("releve.xyz"), Texte(points, {0, 0, 0}));
    std::vector<TPoint> renverses(points.rbegin(), points.rend());
    EcrireFichier(Dossier.Chemin("renverse.xyz"), Texte(renverses, {0, 0, 0}));
    std::vector<TPoint> melanges = points;
    std::shuffle(melanges.begin(), melanges.end(), std::mt19937(11));
    EcrireFichier(Dossier.Chemin("melange.xyz"), Texte(melanges, {0, 0, 0}));
    // Saved twice: each save lists the cubes in the reverse order of the one before.
    ASSERT_EQ(
        LancerCalcul(Dossier.Chemin("releve.xyz") + " --enregistrer " + Dossier.Chemin("une.arkl"))
            .code,
        0);
    ASSERT_EQ(
        LancerCalcul(Dossier.Chemin("une.arkl") + " --enregistrer " + Dossier.Chemin("deux.arkl"))
            .code,
        0);
    const std::vector<TPoint> deplacements = {
        {1000, -1000, 0}, {32764, 3, 1}, {651000, 6858000, 100}, {-2000, 0, -37}};
    for (std::size_t k = 0; k < deplacements.size(); ++k)
        EcrireFichier(Dossier.Chemin("deplace" + std::to_string(k) + ".xyz"),
                      Texte(points, deplacements[k]));

    bool ambigu = false;
    for (const char* niveau : {"2", "4"})
        for (const char* largeur : {"20", "40"})
            for (const char* quartier : {"1", "2", "3", "4"}) {
                const std::string options = std::string("--niveau ") + niveau + " --largeur " +
                                            largeur + " --quartier " + quartier;
                SCOPED_TRACE(options);
                const std::string reference = Etudier(Dossier.Chemin("releve.xyz"), options);
                ambigu |= reference.find("\"AppuiAmbigu\":true") != std::string::npos;
                for (const char* autre : {"renverse.xyz", "melange.xyz", "une.arkl", "deux.arkl"})
                    EXPECT_EQ(Ecart(Etudier(Dossier.Chemin(autre), options), reference), "")
                        << autre;
                // The moves, on the finer level only: the cheaper one shows as well.
                if (std::string(niveau) != "4") continue;
                for (std::size_t k = 0; k < deplacements.size(); ++k) {
                    const std::string deplace =
                        Dossier.Chemin("deplace" + std::to_string(k) + ".xyz");
                    EXPECT_EQ(Ecart(Etudier(deplace, options), reference), "")
                        << "déplacé de " << deplacements[k].x << ", " << deplacements[k].y << ", "
                        << deplacements[k].z;
                }
            }
    // The piers do make the springing a matter of choice among equally near cubes.
    EXPECT_TRUE(ambigu);
}

// Deleted points count no more, compacted or not: a save (which compacts) and a reopen give the
// study seen before the save.
TEST_F(EtudeInvariante, SuppressionSansCompactageEtRelecture) {
    EcrireFichier(Dossier.Chemin("releve.xyz"), Texte(points, {0, 0, 0}));
    ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("releve.xyz")));
    // The study from the quarter on: the scan's counts do change with the compaction.
    const auto etudier = [](TEspaceTravail& t) {
        t.ChangerOnglet(1);
        t.ChangerOnglet(2);
        t.ChangerOnglet(3);
        const std::string json = Etude(t.EtudeEnJson());
        return json.substr(json.find("\"RecModl\""));
    };
    const std::string entier = etudier(T);
    // The pier under the springing of quarter 1, a scaffolding pole to the study.
    T.ChangerOnglet(0);
    for (TCube* c : T.Scan.CubesAffiches)
        if (c->CooMoyPts.X > 7.6f && c->CooMoyPts.Y > 5.6f && c->CooMoyPts.Z < 3.9f)
            c->etatSP |= EtatSelectionne;
    T.SupprimerSelection();
    const std::string sansPile = etudier(T);
    EXPECT_NE(sansPile, entier);
    ASSERT_TRUE(T.EnregistrerSous(Dossier.Chemin("sans-pile.arkl"), &FormatArkl(), 4));
    TBancEssai relu;
    ASSERT_TRUE(relu.Travail.ChargerScan(Dossier.Chemin("sans-pile.arkl")));
    EXPECT_EQ(Ecart(etudier(relu.Travail), sansPile), "");
}
