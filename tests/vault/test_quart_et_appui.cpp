// What the study says of the survey under it: a quarter with no survey is refused and can still
// be moved, heights read far from any point are counted, the rib's springing level is read and
// said uncertain over a pier, or set by the engineer and kept in the file, and the spread of the
// actions over the levels and the grid's placing is given on request.

#include "NuageEssai.h"
#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace {

// The first number after "`cle`": in the study's JSON (the first of a list).
double Valeur(const std::string& json, const std::string& cle) {
    std::size_t k = json.find("\"" + cle + "\":");
    EXPECT_NE(k, std::string::npos) << cle;
    if (k == std::string::npos) return NAN;
    k += cle.size() + 3;
    if (json[k] == '[') ++k;
    return std::stod(json.substr(k));
}

std::vector<TPointLeve> Sauf(const std::vector<TPointLeve>& points, auto&& ote) {
    std::vector<TPointLeve> gardes;
    for (const TPointLeve& p : points)
        if (!ote(p)) gardes.push_back(p);
    return gardes;
}

struct QuartEtAppui : TEtudeEssai {
    const std::vector<TPointLeve> voute = VouteSurPiles();
    std::string Ecrire(const std::string& nom, const std::vector<TPointLeve>& points) {
        const std::string chemin = Dossier.Chemin(nom);
        EcrireFichier(chemin, XYZPoints(points));
        return chemin;
    }
};

} // namespace

// The survey without its X+,Y+ quarter: quarter 1 holds nothing but the points on its edges, the
// three others a third each.
TEST_F(QuartEtAppui, UnQuartVideEstRefuseEtSeDeplace) {
    const std::string releve =
        Ecrire("sans-quart.xyz",
               Sauf(voute, [](const TPointLeve& p) { return p.x > 4.05 && p.y > 3.05; }));
    for (const char* q : {"2", "3", "4"})
        EXPECT_EQ(LancerCalcul(releve + " --quartier " + q).code, 0) << q;
    const TResultatCommande vide = LancerCalcul(releve);
    EXPECT_EQ(vide.code, 1);
    EXPECT_NE(vide.erreurs.find("placez-le sur la voûte"), std::string::npos) << vide.erreurs;

    // In the window "Structure" opens and says why; "Charges" does not; the quarter moves.
    ASSERT_TRUE(T.ChargerScan(releve));
    EXPECT_TRUE(T.ChangerOnglet(1));
    const auto& statuts = Banc.Plateforme.Statuts;
    EXPECT_TRUE(std::any_of(statuts.begin(), statuts.end(), [](const std::string& s) {
        return s.find("placez-le sur la voûte") != std::string::npos;
    }));
    EXPECT_FALSE(T.Executer([this] { T.ChangerOnglet(2); }));
    EXPECT_EQ(T.Etude.LbResultats, " ");
    T.ChangerOnglet(1);
    T.BtDeplacerQuartEtudieClick();
    EXPECT_EQ(T.Etude.RecModl.Q1a4, 2);
    EXPECT_TRUE(T.StructureConstruite());
}

TEST_F(QuartEtAppui, HauteursLuesLoinDeLeurPoint) {
    // Quarter 1 reduced to a disc of 30 cm: every height comes from it.
    const std::string disque =
        Ecrire("disque.xyz", Sauf(voute, [](const TPointLeve& p) {
                   return p.x > 4.05 && p.y > 3.05 && std::hypot(p.x - 6, p.y - 4.5) > 0.15;
               }));
    const TResultatCommande presqueVide = LancerCalcul(disque);
    EXPECT_EQ(presqueVide.code, 1);
    EXPECT_NE(presqueVide.erreurs.find("le quart étudié est presque vide"), std::string::npos)
        << presqueVide.erreurs;
    // A hole of 1.6 m in the web: a few heights from its edge, said, and the study goes on.
    const std::string trou = Ecrire("trou.xyz", Sauf(voute, [](const TPointLeve& p) {
                                        return std::hypot(p.x - 6, p.y - 4.5) < 0.8;
                                    }));
    const TResultatCommande r = LancerCalcul(trou + " --rapport " + Dossier.Chemin("r.html"));
    EXPECT_EQ(r.code, 0) << r.erreurs;
    const std::regex dit("([0-9]+) hauteurs lues à plus de 0\\.50 m de leur point");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.erreurs, m, dit)) << r.erreurs;
    EXPECT_GT(std::stoi(m[1]), 0);
    EXPECT_NE(LireFichier(Dossier.Chemin("r.html")).find(m[1].str() + " hauteurs lues à plus de"),
              std::string::npos);
}

TEST_F(QuartEtAppui, NiveauDAppuiLuOuImpose) {
    const std::string releve = Ecrire("voute.xyz", voute);
    // Over the pier the cubes nearest the springing points span its height: said uncertain.
    const std::string lu = LancerCalcul(releve + " --json -").sortie;
    EXPECT_NE(lu.find("\"AppuiAmbigu\":true"), std::string::npos);
    EXPECT_GT(Valeur(lu, "EtendueAppui"), 1.0);
    ASSERT_EQ(LancerCalcul(releve + " --rapport " + Dossier.Chemin("lu.html")).code, 0);
    const std::string html = LireFichier(Dossier.Chemin("lu.html"));
    EXPECT_NE(html.find("(lu dans le relevé)"), std::string::npos);
    EXPECT_NE(html.find("le niveau lu est incertain"), std::string::npos);

    // Set 2.4 m under the key: the rib ends there, the report says so, the file keeps it.
    const std::string arkl = Dossier.Chemin("impose.arkl");
    const TResultatCommande impose =
        LancerCalcul(releve + " --niveau-appui -2,4 --json " + Dossier.Chemin("impose.json") +
                     " --rapport " + Dossier.Chemin("impose.html") + " --enregistrer " + arkl);
    ASSERT_EQ(impose.code, 0) << impose.erreurs;
    const std::string json = LireFichier(Dossier.Chemin("impose.json"));
    EXPECT_EQ(Valeur(json, "NiveauAppuiImpose"), -2.4);
    EXPECT_EQ(Valeur(json, "NiveauAppuiLu"), Valeur(lu, "NiveauAppuiLu"));
    EXPECT_NE(Valeur(json, "EffortsSurAppui"), Valeur(lu, "EffortsSurAppui"));
    const std::string htmlImpose = LireFichier(Dossier.Chemin("impose.html"));
    EXPECT_NE(htmlImpose.find(": -2.40 m (imposé ; lu dans le relevé :"), std::string::npos);
    const std::string relu = LancerCalcul(arkl + " --json -").sortie;
    EXPECT_EQ(Valeur(relu, "NiveauAppuiImpose"), -2.4);
    EXPECT_EQ(Valeur(relu, "EffortsSurAppui"), Valeur(json, "EffortsSurAppui"));
    // Saved again without it, the file no longer sets it.
    ASSERT_EQ(LancerCalcul(releve + " --enregistrer " + arkl).code, 0);
    EXPECT_NE(LancerCalcul(arkl + " --json -").sortie.find("\"NiveauAppuiImpose\":null"),
              std::string::npos);

    EXPECT_EQ(LancerCalcul(releve + " --niveau-appui bas").code, 2);
}

TEST_F(QuartEtAppui, SensibiliteAuxNiveauxEtAuCalageDeLaGrille) {
    const std::string releve = Ecrire("voute.xyz", voute);
    const TResultatCommande r =
        LancerCalcul(releve + " --sensibilite --json " + Dossier.Chemin("s.json") + " --rapport " +
                     Dossier.Chemin("s.html"));
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const std::string json = LireFichier(Dossier.Chemin("s.json"));
    const std::string sensibilite = json.substr(json.find("\"Sensibilite\":"));
    for (const char* variante :
         {"niveau 3", "niveau 4", "grille décalée en X", "grille décalée en Y"})
        EXPECT_NE(sensibilite.find(std::string("\"Nom\":\"") + variante + "\""), std::string::npos)
            << variante;
    const double fx = Valeur(json, "EffortsSurAppui");
    const std::string plageFx = sensibilite.substr(sensibilite.find("\"FX\":"));
    EXPECT_LE(Valeur(plageFx, "Min"), fx);
    EXPECT_GE(Valeur(plageFx, "Max"), fx);
    EXPECT_LT(Valeur(plageFx, "Min"), Valeur(plageFx, "Max"));
    const std::string html = LireFichier(Dossier.Chemin("s.html"));
    EXPECT_NE(html.find("Sensibilité : l'étude refaite"), std::string::npos);
    EXPECT_NE(html.find("FX= " + std::to_string(std::lround(fx)) + " (de "), std::string::npos);
    // Without the option, no spread.
    EXPECT_NE(LancerCalcul(releve + " --json -").sortie.find("\"Sensibilite\":null"),
              std::string::npos);
}
