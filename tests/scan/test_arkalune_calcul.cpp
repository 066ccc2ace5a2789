#include "ScanEssai.h"
#include "shell/OptionsCalcul.h"
#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "support/Temporaire.h"
#include "util/Fichiers.h"
#include "util/Version.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace {

// 500 points on a 2.5 x 2 m slab: a quarter placed on it holds survey under every height.
std::string XYZDalle() {
    std::string t;
    for (int i = 0; i < 25; ++i)
        for (int j = 0; j < 20; ++j)
            t += std::to_string(100 + 0.1 * i) + " " + std::to_string(200 + 0.1 * j) + " 40\r\n";
    return t;
}

} // namespace

TEST(ArkaluneCalcul, ChargeAfficheEtEnregistre) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), XYZDalle());
    const TResultatCommande r = LancerCalcul(d.Chemin("scan.xyz") + " --proprietes --enregistrer " +
                                             d.Chemin("mince.arkl") + " --niveau-enregistre 2");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie.rfind("Définition du scan : 1.6 mm\r\nNombre de points : 500\r\n", 0), 0u);

    const TResultatCommande relu = LancerCalcul(d.Chemin("mince.arkl") + " --proprietes");
    ASSERT_EQ(relu.code, 0);
    EXPECT_EQ(relu.sortie.rfind("Définition du scan : 40.0 mm\r\n", 0), 0u);

    // The name is written as typed. (On Windows "mince.arkl" and "MINCE.ARKL" are one file, whose
    // replacement keeps the old name: the typed one is checked alone.)
    if (SousWindows) std::filesystem::remove(CheminFs(d.Chemin("mince.arkl")));
    ASSERT_EQ(LancerCalcul(d.Chemin("scan.xyz") + " --enregistrer " + d.Chemin("MINCE.ARKL")).code,
              0);
    // In the folder's list: on Windows "MINCE.arkl" would open "MINCE.ARKL".
    const std::vector<std::string> noms = d.Noms();
    EXPECT_NE(std::find(noms.begin(), noms.end(), "MINCE.ARKL"), noms.end());
    EXPECT_EQ(std::find(noms.begin(), noms.end(), "MINCE.arkl"), noms.end());
}

TEST(ArkaluneCalcul, LesLignesIgnoreesSontDitesSurLaSortieDErreur) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), "X Y Z\r\n" + XYZGrille(10) + "fin\r\n");
    EcrireFichier(d.Chemin("propre.xyz"), XYZGrille(10));
    const TResultatCommande r = LancerCalcul(d.Chemin("scan.xyz"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.erreurs.rfind("2 lignes ignorées (ce ne sont pas des points X Y Z)\n", 0), 0u)
        << r.erreurs;
    EXPECT_EQ(LancerCalcul(d.Chemin("propre.xyz")).erreurs.find("ignor"), std::string::npos);
}

TEST(ArkaluneCalcul, CodesDeSortie) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), XYZGrille(10));
    EcrireFichier(d.Chemin("vide.xyz"), "");
    const struct {
        std::string args;
        int code;
    } cas[] = {
        {"", 2},
        {d.Chemin("scan.xyz") + " --inconnue", 2},
        {d.Chemin("scan.xyz") + " --niveau 5", 2},
        {d.Chemin("scan.xyz") + " --niveau", 2},
        {d.Chemin("scan.xyz") + " --enregistrer " + d.Chemin("x.txt"), 2},
        {d.Chemin("absent.xyz"), 1},
        {d.Chemin("vide.xyz"), 1},
        {d.Chemin("scan.xyz") + " --enregistrer " + d.Chemin("absent/x.arkl"), 1},
        {d.Chemin("scan.xyz") + " --niveau 0", 0},
    };
    for (const auto& c : cas)
        EXPECT_EQ(LancerCalcul(c.args).code, c.code) << c.args;
}

TEST(ArkaluneCalcul, AideEtSortieImpossible) {
    for (const char* aide : {"--help", "-h", "scan.xyz --niveau 9 --help"}) {
        const TResultatCommande r = LancerCalcul(aide);
        EXPECT_EQ(r.code, 0) << aide;
        EXPECT_EQ(r.sortie.rfind("usage : arkalune-calcul FICHIER", 0), 0u) << aide;
    }
    // The synopsis names every option the text describes, those of the table that the help's
    // synopsis follows too.
    const std::string usage = LancerCalcul("--help").sortie;
    std::set<std::string> table, synopsis, decrites;
    for (const TOptionCalcul& o : OptionsCalcul())
        table.insert(o.Nom);
    const std::regex crochet(R"(\[(--[a-z-]+))"), description(R"((?:\n  |, )(--[a-z-]+))");
    for (std::sregex_iterator i(usage.begin(), usage.end(), crochet), fin; i != fin; ++i)
        synopsis.insert((*i)[1]);
    for (std::sregex_iterator i(usage.begin(), usage.end(), description), fin; i != fin; ++i)
        decrites.insert((*i)[1]);
    EXPECT_EQ(synopsis, table);
    EXPECT_EQ(decrites, table);
    // The project's version, whatever else the line holds.
    const TResultatCommande version = LancerCalcul("scan.xyz --version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.sortie, std::string("arkalune-calcul ") + VersionArkalune + "\n");
    EXPECT_NE(std::string(VersionArkalune).find('.'), std::string::npos);
}

TEST(ArkaluneCalcul, UneSortieImpossibleEstUnEchec) {
    if (SousWindows) GTEST_SKIP() << "pas de /dev/full sous Windows";
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("scan.xyz"), XYZGrille(10));
    // A result that cannot be written is a failure, never a silent success.
    const TResultatCommande plein = LancerCalcul(d.Chemin("scan.xyz") + " >/dev/full");
    EXPECT_EQ(plein.code, 1);
    EXPECT_NE(plein.erreurs.find("arkalune-calcul : écriture impossible sur la sortie standard : "
                                 "plus de place sur le disque\n"),
              std::string::npos);
}
