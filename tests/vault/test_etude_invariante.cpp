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
    std::vector<TPointLeve> points = VouteSurPiles();
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
    EcrireFichier(Dossier.Chemin("releve.xyz"), XYZPoints(points));
    std::vector<TPointLeve> renverses(points.rbegin(), points.rend());
    EcrireFichier(Dossier.Chemin("renverse.xyz"), XYZPoints(renverses));
    std::vector<TPointLeve> melanges = points;
    std::shuffle(melanges.begin(), melanges.end(), std::mt19937(11));
    EcrireFichier(Dossier.Chemin("melange.xyz"), XYZPoints(melanges));
    // Saved twice: each save lists the cubes in the reverse order of the one before.
    ASSERT_EQ(
        LancerCalcul(Dossier.Chemin("releve.xyz") + " --enregistrer " + Dossier.Chemin("une.arkl"))
            .code,
        0);
    ASSERT_EQ(
        LancerCalcul(Dossier.Chemin("une.arkl") + " --enregistrer " + Dossier.Chemin("deux.arkl"))
            .code,
        0);
    const std::vector<TPointLeve> deplacements = {
        {1000, -1000, 0}, {32764, 3, 1}, {651000, 6858000, 100}, {-2000, 0, -37}};
    for (std::size_t k = 0; k < deplacements.size(); ++k)
        EcrireFichier(Dossier.Chemin("deplace" + std::to_string(k) + ".xyz"),
                      XYZPoints(points, deplacements[k]));

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
    EcrireFichier(Dossier.Chemin("releve.xyz"), XYZPoints(points));
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

// A building of two bays in one survey: the zone of one bay gives, byte for byte, the study of a
// file holding that zone's points alone (bounds included).
TEST_F(EtudeInvariante, UneTraveeDUnBatiment) {
    std::vector<TPointLeve> batiment = points;
    for (const TPointLeve& p : points)
        batiment.push_back({p.x + 9, p.y, p.z});
    batiment.push_back({8.5, 3, 0.2});   // on the zone's edge: kept
    batiment.push_back({8.501, 3, 0.2}); // a millimetre beyond
    std::vector<TPointLeve> travee;
    for (const TPointLeve& p : batiment)
        if (p.x >= -0.5 && p.x <= 8.5 && p.y >= -0.5 && p.y <= 6.5) travee.push_back(p);
    ASSERT_EQ(travee.size(), points.size() + 1);
    EcrireFichier(Dossier.Chemin("batiment.xyz"), XYZPoints(batiment, {651000, 6858000, 100}));
    EcrireFichier(Dossier.Chemin("travee.xyz"), XYZPoints(travee, {651000, 6858000, 100}));
    for (const char* options : {"--quartier 1", "--quartier 3 --niveau 4"}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(
            Ecart(Etudier(Dossier.Chemin("batiment.xyz"),
                          std::string(options) + " --zone 651008.5 6858006.5 650999.5 6857999.5"),
                  Etudier(Dossier.Chemin("travee.xyz"), options)),
            "");
    }
    const TResultatCommande vide =
        LancerCalcul(Dossier.Chemin("batiment.xyz") + " --zone 0 0 10 10");
    EXPECT_EQ(vide.code, 1);
    EXPECT_NE(vide.erreurs.find("dans la zone de X 0.000 à 10.000 et de Y 0.000 à 10.000"),
              std::string::npos)
        << vide.erreurs;
    EXPECT_EQ(LancerCalcul(Dossier.Chemin("batiment.xyz") + " --zone 1 2 3").code, 2);
}
