#include "EcritureReleves.h"
#include "EcritureVoute.h"
#include "scan/LectureE57.h"
#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <regex>

namespace {

// The study's JSON without what names the file and the moment of the calculation: what two
// copies of one survey in other formats must share.
std::string EtudeSansFichierNiDate(std::string json) {
    const std::size_t fichier = json.find(",\"FichierScan\":");
    if (fichier != std::string::npos) json.erase(fichier, json.rfind('}') - fichier);
    return json;
}

struct TResume {
    std::int64_t Nb = 0;
    std::uint64_t Empreinte = 1469598103934665603ull;
    TV3R Min{1e300, 1e300, 1e300}, Max{-1e300, -1e300, -1e300};
    TV3R Haut; // the highest point
};

TResume Resumer(const TParametresVoute& p) {
    TResume r;
    GenererVoute(p, [&](const TPointGenere& g) {
        ++r.Nb;
        unsigned char octets[sizeof g.P + sizeof g.Couleur];
        std::memcpy(octets, &g.P, sizeof g.P);
        std::memcpy(octets + sizeof g.P, g.Couleur.data(), sizeof g.Couleur);
        for (unsigned char o : octets)
            r.Empreinte = (r.Empreinte ^ o) * 1099511628211ull;
        for (int a = 0; a < 3; ++a) {
            r.Min[a] = std::min(r.Min[a], g.P[a]);
            r.Max[a] = std::max(r.Max[a], g.P[a]);
        }
        if (g.P.Z > r.Haut.Z || r.Nb == 1) r.Haut = g.P;
    });
    return r;
}

TEST(Generateur, DonneExactementLeNombreDePointsDemande) {
    for (std::int64_t n : {1, 2, 7, 1000, 20001}) {
        TParametresVoute p;
        p.NbPoints = n;
        EXPECT_EQ(Resumer(p).Nb, n) << n;
    }
}

TEST(Generateur, MemeGraineMemesPointsAuBitPres) {
    TParametresVoute p;
    p.NbPoints = 30000;
    p.Graine = 42;
    const TResume a = Resumer(p), b = Resumer(p);
    EXPECT_EQ(a.Empreinte, b.Empreinte);
    p.Graine = 43;
    EXPECT_NE(Resumer(p).Empreinte, a.Empreinte);
}

TEST(Generateur, LaVouteCouvreLaTraveeEtCulmineALaCle) {
    TParametresVoute p;
    p.NbPoints = 200000;
    p.PorteeX = 9;
    p.PorteeY = 5;
    const TResume r = Resumer(p);
    const double rayon = std::sqrt(9.0 * 9.0 + 5.0 * 5.0) / 2;
    const TV3R& o = p.Origine;
    // The survey reaches the four sides and the walls under the springing, not beyond.
    EXPECT_NEAR(r.Min.X, o.X, 0.05);
    EXPECT_NEAR(r.Max.X, o.X + 9, 0.05);
    EXPECT_NEAR(r.Min.Y, o.Y, 0.05);
    EXPECT_NEAR(r.Max.Y, o.Y + 5, 0.05);
    EXPECT_NEAR(r.Min.Z, o.Z - 1, 0.05);
    // The key is the highest point, over the middle of the bay.
    EXPECT_NEAR(r.Max.Z, o.Z + rayon, 0.02);
    EXPECT_NEAR(r.Haut.X, o.X + 4.5, 0.5);
    EXPECT_NEAR(r.Haut.Y, o.Y + 2.5, 0.5);
}

TEST(Generateur, RefuseLesParametresHorsLimites) {
    const auto invalide = [](auto modifier) {
        TParametresVoute p;
        modifier(p);
        EXPECT_THROW(GenererVoute(p, [](const TPointGenere&) {}), EErreur);
    };
    invalide([](TParametresVoute& p) { p.NbPoints = 0; });
    invalide([](TParametresVoute& p) { p.NbPoints = std::int64_t(1) << 31; });
    invalide([](TParametresVoute& p) { p.PorteeX = 1; });
    invalide([](TParametresVoute& p) { p.PorteeY = NAN; });
    invalide([](TParametresVoute& p) { p.Origine.Y = 1e12; });
}

struct FichiersGeneres : ::testing::Test {
    TDossierTemporaire Dossier;
    TParametresVoute P;
    void SetUp() override { P.NbPoints = 5000; }
};

TEST_F(FichiersGeneres, LeTexteXYZSeChargeSansLigneIgnoree) {
    const std::string xyz = Dossier.Chemin("voute.xyz");
    EcrireVoute(P, xyz);
    const std::string texte = LireFichier(xyz);
    const std::regex ligne(R"(\d+\.\d{8} \d+\.\d{8} \d+\.\d{8}  \d{3} \d{3} \d{3}\r\n)");
    std::size_t lignes = 0;
    for (std::size_t debut = 0; debut < texte.size(); ++lignes) {
        const std::size_t fin = texte.find('\n', debut) + 1;
        ASSERT_TRUE(std::regex_match(texte.substr(debut, fin - debut), ligne))
            << texte.substr(debut, fin - debut);
        debut = fin;
    }
    EXPECT_EQ(lignes, 5000u);

    TBancEssai banc;
    ASSERT_TRUE(banc.Travail.ChargerScan(xyz));
    EXPECT_EQ(banc.Travail.Scan.NbPoints, 5000);
    EXPECT_TRUE(banc.Plateforme.Messages.empty());
    for (const std::string& statut : banc.Plateforme.Statuts)
        EXPECT_EQ(statut.find("ignor"), std::string::npos) << statut;
}

TEST_F(FichiersGeneres, LeScanBinaireEstCeluiQueLeProgrammeEnregistre) {
    EcrireVoute(P, Dossier.Chemin("voute.xyz"));
    EcrireVoute(P, Dossier.Chemin("voute.arkl"));
    TBancEssai texte, binaire;
    ASSERT_TRUE(texte.Travail.ChargerScan(Dossier.Chemin("voute.xyz")));
    ASSERT_TRUE(binaire.Travail.ChargerScan(Dossier.Chemin("voute.arkl")));
    EXPECT_EQ(binaire.Travail.Scan.NivMax, 4);
    EXPECT_EQ(binaire.Travail.Scan.NbPoints, texte.Travail.Scan.NbCubesNiv[4]);
    EXPECT_EQ(binaire.Travail.Scan.NbCubesNiv, texte.Travail.Scan.NbCubesNiv);
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dossier.Dossier()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(FichiersGeneres, UneAutreExtensionEstRefuseeSansRienEcrire) {
    EXPECT_THROW(EcrireVoute(P, Dossier.Chemin("voute.e99")), EErreur);
    EXPECT_TRUE(std::filesystem::is_empty(Dossier.Dossier()));
}

TEST_F(FichiersGeneres, UnLeveEnGrilleNationaleDonneLesResultatsDuRepereLocal) {
    // The same vault in a local frame and moved by whole kilometres into a national grid.
    struct Cas {
        const char* nom;
        TV3R origine;
    };
    const Cas cas[] = {{"local.xyz", {652.37, 203.61, 40}},
                       {"loin.xyz", {651652.37, 6858203.61, 40}},
                       {"defaut.xyz", {1652.37, 8203.61, 40}}};
    P.NbPoints = 20000;
    std::vector<std::string> legendes;
    std::vector<std::array<std::int32_t, 5>> cubes;
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        P.Origine = c.origine;
        EcrireVoute(P, Dossier.Chemin(c.nom));
        TBancEssai banc;
        ASSERT_TRUE(banc.Travail.ChargerScan(Dossier.Chemin(c.nom)));
        for (int onglet = 1; onglet <= 3; ++onglet)
            ASSERT_TRUE(banc.Travail.ChangerOnglet(onglet));
        legendes.push_back(banc.Travail.Etude.LbResultats);
        cubes.push_back(banc.Travail.Scan.NbCubesNiv);
    }
    EXPECT_EQ(legendes[0].rfind("Actions à l'appui de l'arêtier (daN) : FX = ", 0), 0u)
        << legendes[0];
    EXPECT_EQ(legendes[1], legendes[0]);
    EXPECT_EQ(legendes[2], legendes[0]);
    // Moved by whole kilometres into the grid, the points fall in the same cubes.
    EXPECT_EQ(cubes[1], cubes[0]);
}

// The E57 survey holds the points of the XYZ text, scan after scan, in every coding: exactly the
// same 32-bit coordinates from 64-bit reals, within the coding's step otherwise.
TEST_F(FichiersGeneres, LeReleveE57DonneLesPointsDuTexte) {
    const struct {
        TOptionsE57 Options;
        double Tolerance;
    } cas[] = {
        {{TCodageE57Ecrit::Reel64, true, 0}, 0},
        {{TCodageE57Ecrit::Reel32, false, 97}, 2e-6},
        // Rounded in the scan's frame: the half step on two axes turned into one.
        {{TCodageE57Ecrit::EntierEchelonne, true, 50}, 0.5e-4 * std::sqrt(2.0) + 1e-9},
    };
    std::vector<TPointLu> attendus;
    PointsDuReleve(P, [&](const TV3R& p, const TV4By& c) { attendus.push_back({p, c}); });
    for (const auto& c : cas) {
        SCOPED_TRACE(int(c.Options.Codage));
        const std::string chemin = Dossier.Chemin("voute.e57");
        EcrireVoute(P, chemin, c.Options);
        std::vector<TPointLu> lus;
        const TBilanLecture bilan = LireE57(
            chemin,
            [&](const TPointLu* lot, std::size_t n) { lus.insert(lus.end(), lot, lot + n); }, {});
        ASSERT_EQ(lus.size(), attendus.size());
        const std::int64_t moitie = P.NbPoints / 2;
        const std::int64_t invalides =
            c.Options.Invalides
                ? moitie / c.Options.Invalides + (P.NbPoints - moitie) / c.Options.Invalides
                : 0;
        EXPECT_EQ(bilan.Ignores, invalides);
        for (std::size_t i = 0; i < lus.size(); ++i) {
            const TV3R& attendu = attendus[i].Coo;
            for (int a = 0; a < 3; ++a) {
                if (c.Tolerance == 0)
                    ASSERT_EQ(float(lus[i].Coo[a]), float(attendu[a])) << i;
                else
                    ASSERT_NEAR(lus[i].Coo[a], attendu[a], c.Tolerance) << i;
            }
            const TV4By couleur = c.Options.Couleur ? attendus[i].Couleur : TV4By{};
            ASSERT_EQ(lus[i].Couleur, couleur) << i;
        }
    }
}

TEST_F(FichiersGeneres, ChaqueFormatDeReleveDonneLaMemeEtudeQueLeTexteXYZ) {
    // Each format carries the coordinates of the XYZ text exactly (LAS to 1e-8 m around the
    // survey's middle), so the study is the same to the byte, in a local frame and in a national
    // grid.
    P.NbPoints = 20000;
    for (const TV3R origine : {TV3R{1652.37, 8203.61, 40}, TV3R{651652.37, 6858203.61, 40}}) {
        P.Origine = origine;
        std::string json;
        for (const char* nom :
             {"r.xyz", "r.csv", "r.txt", "r.pts", "r.ptx", "r.ply", "r.las", "r.e57"}) {
            SCOPED_TRACE(std::string(nom) + " " + std::to_string(origine.X));
            EcrireVoute(P, Dossier.Chemin(nom));
            TBancEssai banc;
            ASSERT_TRUE(banc.Travail.ChargerScan(Dossier.Chemin(nom)));
            EXPECT_EQ(banc.Travail.Scan.NbPoints, 20000);
            for (int onglet = 1; onglet <= 3; ++onglet)
                ASSERT_TRUE(banc.Travail.ChangerOnglet(onglet));
            const std::string etude = EtudeSansFichierNiDate(banc.Travail.EtudeEnJson());
            if (json.empty()) json = etude;
            EXPECT_EQ(etude, json);
        }
    }
}

// The batch command's study of the survey written as E57 (two scans with their poses, records
// flagged invalid) is that of its XYZ text: the same JSON, caption included.
TEST_F(FichiersGeneres, LEtudeDuReleveE57EstCelleDuTexte) {
    P.NbPoints = 30000;
    EcrireVoute(P, Dossier.Chemin("voute.xyz"));
    EcrireVoute(P, Dossier.Chemin("voute.e57"), {TCodageE57Ecrit::Reel64, true, 40});
    const TResultatCommande xyz = LancerCalcul(Dossier.Chemin("voute.xyz") + " --json -");
    const TResultatCommande e57 = LancerCalcul(Dossier.Chemin("voute.e57") + " --json -");
    ASSERT_EQ(xyz.code, 0) << xyz.erreurs;
    ASSERT_EQ(e57.code, 0) << e57.erreurs;
    EXPECT_NE(xyz.sortie.find("Actions à l'appui de l'arêtier (daN) : FX = "), std::string::npos);
    EXPECT_EQ(EtudeSansFichierNiDate(e57.sortie), EtudeSansFichierNiDate(xyz.sortie));
    // Only the status line differs: one record in 40 was flagged invalid and skipped.
    EXPECT_EQ(e57.erreurs, "750 points ignorés (marqués invalides dans le fichier ou de "
                           "coordonnées non finies)\n");
}

int Generer(const std::string& options) {
    return LancerCommande(ProgrammeEnLigne(ARKALUNE_GENERER) + " " + options).code;
}

TEST_F(FichiersGeneres, LaCommandeEcritLeFichierOuDitPourquoiNon) {
    const std::string sortie = Dossier.Chemin("v.xyz");
    EXPECT_EQ(Generer("--points 300 --graine 9 --sortie " + sortie + " --portee-x 5 --portee-y 4"),
              0);
    P.NbPoints = 300;
    P.Graine = 9;
    P.PorteeX = 5;
    P.PorteeY = 4;
    EcrireVoute(P, Dossier.Chemin("attendu.xyz"));
    EXPECT_EQ(LireFichier(sortie), LireFichier(Dossier.Chemin("attendu.xyz")));

    EXPECT_EQ(Generer("--points 10"), 2);                                       // no output
    EXPECT_EQ(Generer("--points dix --sortie " + sortie), 2);                   // not a number
    EXPECT_EQ(Generer("--sortie " + sortie + " --couleur 3"), 2);               // unknown option
    EXPECT_EQ(Generer("--points 0 --sortie " + Dossier.Chemin("zero.xyz")), 1); // out of limits
    EXPECT_EQ(Generer("--sortie " + Dossier.Chemin("absent/v.xyz")), 1);        // no such folder
    EXPECT_FALSE(std::filesystem::exists(Dossier.Chemin("zero.xyz")));
}

} // namespace
